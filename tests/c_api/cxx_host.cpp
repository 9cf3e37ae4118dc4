// A C++ host that uses the library and the platform layer side by side, with
// the layer's namespace opened: every name resolves without qualification,
// and a message from the platform's queue goes to Dispatch as it is.
#include <corvalib.h>
#include <corvaplat/platform.h>

#include <type_traits>

using namespace corva::platform;

static_assert(std::is_same_v<CvMSG, MSG>);

int main() {
  const MenuHandle bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 100, "&File");
  AppendMenuA(bar, MF_STRING, 101, "&Edit");
  if (GetMenuItemCount(bar) != 2 || menu_item_count(bar) != 2) return 1;
  DestroyMenu(bar);

  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 7, 0);
  MSG msg{};
  if (!PeekMessageA(&msg, 0, 0, 0, PM_REMOVE) || msg.wParam != 7) return 2;
  Dispatch(&msg);
  return 0;
}
