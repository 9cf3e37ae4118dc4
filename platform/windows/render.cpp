// Rendering a window tree into a surface or an image file: each window gets
// the messages the screen would send it (frame, background, client area),
// parents before children, the bottom of the z-order first.
#include <corvaplat/paint.h>
#include <corvaplat/raster.h>
#include <corvaplat/render.h>

#include "windows/internal.h"

namespace corva::platform {
namespace {

std::vector<WindowHandle> children_of(WindowHandle hwnd) {
  std::lock_guard g(win::lock());
  const win::Window* w = win::find(hwnd, false);
  return w != nullptr ? w->children : std::vector<WindowHandle>{};
}

// Paints one window and its descendants. Any procedure may destroy its
// window (or others), so each step checks the window is still there.
void paint_tree(WindowHandle hwnd) {
  if (!IsWindow(hwnd) || (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) == 0) return;
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  if (!IsWindow(hwnd)) return;
  if (const DcHandle dc = GetDC(hwnd)) {
    SendMessageA(hwnd, WM_ERASEBKGND, dc, 0);
    ReleaseDC(hwnd, dc);
  }
  if (!IsWindow(hwnd)) return;
  SendMessageA(hwnd, WM_PAINT, 0, 0);
  const std::vector<WindowHandle> children = children_of(hwnd);
  for (auto it = children.rbegin(); it != children.rend(); ++it) paint_tree(*it);
}

bool render_window(ImageKind kind, WindowHandle window, const char* path, std::string* error) {
  Rect whole{};
  if (!GetWindowRect(window, &whole)) {
    if (error != nullptr) *error = "no such window";
    return false;
  }
  return write_image(
      kind, path, whole.width(), whole.height(),
      [window](cairo_surface_t* surface) { paint_window_to_surface(window, surface, nullptr); },
      error);
}

}  // namespace

bool paint_window_to_surface(WindowHandle window, cairo_surface_t* surface, const Rect* clip) {
  Rect whole{};
  if (surface == nullptr || !GetWindowRect(window, &whole)) return false;
  win::PaintTarget target{{}, surface, window, Point{whole.left, whole.top},
                          Rect{0, 0, whole.width(), whole.height()}};
  if (clip != nullptr) target.clip = win::intersect(target.clip, *clip);
  // A render started from inside another one's paint gets its own target.
  win::PaintTarget* const outer = win::paint_target();
  win::paint_target() = &target;
  struct Restore {
    win::PaintTarget* outer;
    ~Restore() { win::paint_target() = outer; }
  } restore{outer};
  paint_tree(window);
  // Overlays may queue more overlays (a submenu of an open menu).
  for (std::size_t i = 0; i < target.overlays.size(); ++i) {
    auto paint = std::move(target.overlays[i]);
    paint();
  }
  return true;
}

bool render_window_png(WindowHandle window, const char* path, std::string* error) {
  return render_window(ImageKind::kPng, window, path, error);
}

bool render_window_svg(WindowHandle window, const char* path, std::string* error) {
  return render_window(ImageKind::kSvg, window, path, error);
}

}  // namespace corva::platform
