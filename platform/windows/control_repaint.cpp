// The standard controls ask to be painted again whenever a message changed
// how they look, as the Windows controls do; a live display shows the change
// at its next frame.
#include "windows/internal.h"

namespace corva::platform::win {

bool changes_look(std::uint32_t message) {
  switch (message) {
    case WM_SETTEXT: case WM_CHAR: case WM_KEYDOWN: case WM_SETFOCUS: case WM_KILLFOCUS:
    case WM_ENABLE: case WM_SETFONT: case WM_CUT: case WM_PASTE: case WM_CLEAR:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_CAPTURECHANGED:
    case EM_SETSEL: case EM_REPLACESEL:
    case BM_SETCHECK: case BM_SETSTATE: case BM_SETSTYLE: case BM_CLICK:
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
    case LB_SETCURSEL: case LB_SELECTSTRING:
    case CB_ADDSTRING: case CB_INSERTSTRING: case CB_DELETESTRING: case CB_RESETCONTENT:
    case CB_SETCURSEL: case CB_SELECTSTRING:
      return true;
    default:
      return false;
  }
}

}  // namespace corva::platform::win
