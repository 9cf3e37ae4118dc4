// Painting helpers shared by the standard controls, and the non-client frame
// (border and caption) the default procedure paints.
#include <corvaplat/paint.h>

#include "windows/internal.h"

namespace corva::platform::win {

void fill(DcHandle dc, const Rect& r, ColorRef color) {
  FillRect(dc, &r, stock_brush(color));
}

void frame(DcHandle dc, const Rect& r, ColorRef color) {
  if (r.width() <= 0 || r.height() <= 0) return;
  fill(dc, Rect{r.left, r.top, r.right, r.top + 1}, color);
  fill(dc, Rect{r.left, r.bottom - 1, r.right, r.bottom}, color);
  fill(dc, Rect{r.left, r.top, r.left + 1, r.bottom}, color);
  fill(dc, Rect{r.right - 1, r.top, r.right, r.bottom}, color);
}

void bevel(DcHandle dc, const Rect& r, ColorRef top_left, ColorRef bottom_right) {
  if (r.width() <= 0 || r.height() <= 0) return;
  fill(dc, Rect{r.left, r.top, r.right - 1, r.top + 1}, top_left);
  fill(dc, Rect{r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
  fill(dc, Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  fill(dc, Rect{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

Rect inset(const Rect& r, int by) { return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void raised_edge(DcHandle dc, const Rect& r) {
  bevel(dc, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  bevel(dc, inset(r, 1), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void sunken_edge(DcHandle dc, const Rect& r) {
  bevel(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
  bevel(dc, inset(r, 1), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
}

void paint_nonclient(WindowHandle hwnd) {
  const std::uint32_t style = static_cast<std::uint32_t>(GetWindowLongA(hwnd, GWL_STYLE));
  const int border = frame_width(style);
  const int caption = caption_height(style);
  if (border == 0 && caption == 0) return;
  Rect whole{};
  GetWindowRect(hwnd, &whole);
  const Rect r{0, 0, whole.width(), whole.height()};
  const DcHandle dc = GetWindowDC(hwnd);
  if (dc == 0) return;
  if (border >= 4) {
    fill(dc, r, GetSysColor(COLOR_BTNFACE));
    raised_edge(dc, r);
  } else if (border == 1) {
    frame(dc, r, GetSysColor((style & WS_DLGFRAME) && !(style & WS_BORDER) ? COLOR_BTNSHADOW
                                                                           : COLOR_WINDOWFRAME));
  }
  if (caption > 0) {
    const bool active = caption_active(hwnd);
    const Rect bar{border, border, r.right - border, border + caption - 1};
    fill(dc, bar, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    fill(dc, Rect{bar.left, bar.bottom, bar.right, bar.bottom + 1}, GetSysColor(COLOR_BTNFACE));
    const std::string title = window_text(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    Rect text = bar;
    text.left += 4;
    DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  ReleaseDC(hwnd, dc);
}

bool caption_active(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  if (w == nullptr) return false;
  return w->highlighted || GetActiveWindow() == hwnd;
}

}  // namespace corva::platform::win
