// Device contexts of windows and the paint cycle: GetDC, BeginPaint, the
// system colours the standard controls paint with.
//
// While a window tree is rendered (corvaplat/render.h) the contexts of its
// windows paint into the render's surface, each clipped to the part of its
// window that shows; at any other time they only record into the drawing log.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/gdi.h>
#include <corvaplat/windows.h>

#include <cstdint>

namespace corva::platform {

// A context for the window's client area (0: the screen); it starts with the
// window's font (WM_GETFONT), else the system font. 0 for a destroyed window.
CORVAPLAT_API DcHandle GetDC(WindowHandle window);
// A context for the whole window, frame and caption included.
CORVAPLAT_API DcHandle GetWindowDC(WindowHandle window);
CORVAPLAT_API int ReleaseDC(WindowHandle window, DcHandle dc);

struct PaintStruct {
  DcHandle hdc;
  bool erase;
  Rect paint;  // the part to repaint, client coordinates
};
// Starts a WM_PAINT: a client-area context and the update rectangle (the whole
// client area when none is pending), which is then validated.
CORVAPLAT_API DcHandle BeginPaint(WindowHandle window, PaintStruct* paint);
CORVAPLAT_API bool EndPaint(WindowHandle window, const PaintStruct* paint);

// System colours, as a standard desktop scheme has them.
enum : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22,
};
// The colour of a system colour index; 0 for an unknown index.
CORVAPLAT_API ColorRef GetSysColor(int index);
// A stock brush of a system colour (never deleted); 0 for an unknown index.
CORVAPLAT_API GdiHandle GetSysColorBrush(int index);

}  // namespace corva::platform
