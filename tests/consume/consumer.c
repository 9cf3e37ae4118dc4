/* An outside program using the installed library. */
#include <corvalib.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  char text[11] = "ab";
  Justify(10, text, 5, 2);
  if (strcmp(text, "   ab") != 0 || MyCorvaLibDataPtr == NULL) return 1;
  puts(text);
  return 0;
}
