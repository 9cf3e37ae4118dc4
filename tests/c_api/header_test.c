/* The public headers compile as C11, and a C program links and runs against
 * the shared library. */
#include <corvalib.h>
#include <stddef.h>
#include <string.h>

_Static_assert(sizeof(StringInstanceEntry) == 6, "packed string-search entry");
_Static_assert(offsetof(CorvaLibDataType, DataPath) == 24 + sizeof(void *), "record layout");
/* The platform's message record, as C++ hosts see it. */
_Static_assert(sizeof(CvMSG) == (sizeof(void *) == 8 ? 40 : 28), "message record size");
_Static_assert(offsetof(CvMSG, pt) == (sizeof(void *) == 8 ? 28 : 20), "message record layout");

int main(void) {
  char text[9] = "  ab";
  Trim(8, text);
  if (strcmp(text, "ab") != 0) return 1;
  if (MyCorvaLibDataPtr == NULL || GetPerInstanceData(3) != (uintptr_t)MyCorvaLibDataPtr) return 2;
  char *copy = lstrdup("abc");
  if (copy == NULL || strcmp(copy, "abc") != 0) return 3;
  _RealDeAllocate(copy);
  return 0;
}
