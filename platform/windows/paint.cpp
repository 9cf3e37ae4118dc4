// Device contexts of windows, the paint cycle and the system colours.
#include <corvaplat/paint.h>
#include <corvaplat/raster.h>

#include <algorithm>

#include "windows/internal.h"

namespace corva::platform {
namespace win {

PaintTarget*& paint_target() {
  thread_local PaintTarget* target = nullptr;
  return target;
}

Rect intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Rect client_screen_rect(WindowHandle hwnd) {
  Rect c{};
  Point o{0, 0};
  GetClientRect(hwnd, &c);
  ClientToScreen(hwnd, &o);
  OffsetRect(&c, o.x, o.y);
  return c;
}

Rect shown_part(WindowHandle hwnd, bool whole) {
  Rect r{};
  if (whole) {
    GetWindowRect(hwnd, &r);
  } else {
    r = client_screen_rect(hwnd);
  }
  for (const Window* w = find(hwnd, false); w != nullptr && (w->style & WS_CHILD);
       w = find(w->parent, false)) {
    if (w->parent == 0) break;
    r = intersect(r, client_screen_rect(w->parent));
  }
  return r;
}

namespace {

bool in_target(const PaintTarget& t, WindowHandle hwnd) {
  return hwnd == t.root || IsChild(t.root, hwnd);
}

// A context of the window that paints into the render target when the window
// is part of the tree being rendered, else only records.
DcHandle window_dc(WindowHandle hwnd, bool whole) {
  if (hwnd != 0 && !IsWindow(hwnd)) return 0;
  const auto font =
      hwnd != 0 ? static_cast<GdiHandle>(SendMessageA(hwnd, WM_GETFONT, 0, 0)) : 0;
  const PaintTarget* t = paint_target();
  if (hwnd == 0 || t == nullptr || !in_target(*t, hwnd)) return open_dc(hwnd, font);
  Rect area{};
  if (whole) {
    GetWindowRect(hwnd, &area);
  } else {
    area = client_screen_rect(hwnd);
  }
  Rect limit = shown_part(hwnd, whole);
  OffsetRect(&limit, -t->origin.x, -t->origin.y);
  limit = intersect(limit, t->clip);
  return open_surface_dc(t->surface, hwnd, font,
                         Point{area.left - t->origin.x, area.top - t->origin.y}, limit);
}

}  // namespace

DcHandle overlay_dc(WindowHandle hwnd) {
  const PaintTarget* t = paint_target();
  Rect area{};
  if (t == nullptr || !in_target(*t, hwnd) || !GetWindowRect(hwnd, &area))
    return window_dc(hwnd, true);
  const auto font = static_cast<GdiHandle>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  return open_surface_dc(t->surface, hwnd, font,
                         Point{area.left - t->origin.x, area.top - t->origin.y}, t->clip);
}

void defer_overlay(std::function<void()> paint) {
  if (PaintTarget* t = paint_target()) {
    t->overlays.push_back(std::move(paint));
  } else {
    paint();
  }
}

}  // namespace win

using namespace win;

DcHandle GetDC(WindowHandle window) { return window_dc(window, false); }
DcHandle GetWindowDC(WindowHandle window) { return window_dc(window, true); }
int ReleaseDC(WindowHandle, DcHandle dc) { return close_dc(dc) ? 1 : 0; }

DcHandle BeginPaint(WindowHandle window, PaintStruct* paint) {
  if (paint == nullptr) return 0;
  Rect update{};
  if (!GetUpdateRect(window, &update, false)) GetClientRect(window, &update);
  const DcHandle dc = GetDC(window);
  if (dc == 0) return 0;
  ValidateRect(window, nullptr);
  *paint = PaintStruct{dc, false, update};
  return dc;
}

bool EndPaint(WindowHandle window, const PaintStruct* paint) {
  return paint != nullptr && ReleaseDC(window, paint->hdc) == 1;
}

ColorRef GetSysColor(int index) {
  static constexpr ColorRef kColours[] = {
      0xC8D0D4, 0x808000, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4,
  };
  if (index < 0 || index >= static_cast<int>(std::size(kColours))) return 0;
  return kColours[index];
}

GdiHandle GetSysColorBrush(int index) {
  if (index < 0 || index > COLOR_3DLIGHT) return 0;
  return stock_brush(GetSysColor(index));
}

}  // namespace corva::platform
