// Mouse input: queueing it, choosing the window it goes to, capture, hit
// testing a top-level window's frame, and what the standard controls do with
// clicks.
#include <algorithm>

#include <corvaplat/clock.h>

#include "windows/internal.h"

namespace corva::platform {
namespace win {
namespace {

bool contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Static text and group boxes let clicks through to what lies beneath them.
bool transparent(const Window& w) {
  return w.cls->kind == Kind::kStatic ||
         (w.cls->kind == Kind::kButton && (w.style & BS_TYPEMASK) == BS_GROUPBOX);
}

// The deepest visible, enabled child of `h` under the screen point, or h.
WindowHandle deepest(WindowHandle h, Point screen) {
  const Window* w = find(h, false);
  if (w == nullptr) return 0;
  const Point origin = client_origin(*w);
  const Point local{screen.x - origin.x, screen.y - origin.y};
  for (WindowHandle c : w->children) {
    const Window* cw = find(c, false);
    if (cw == nullptr || !(cw->style & WS_VISIBLE) || (cw->style & WS_DISABLED) || transparent(*cw))
      continue;
    if (contains(cw->rect, local)) return deepest(c, screen);
  }
  return h;
}

LPARAM point_lparam(Point p) {
  return static_cast<LPARAM>(make_wparam(static_cast<std::uint32_t>(p.x), static_cast<std::uint32_t>(p.y)));
}

Point lparam_point(LPARAM lp) {
  return Point{static_cast<std::int16_t>(lp & 0xFFFF), static_cast<std::int16_t>((lp >> 16) & 0xFFFF)};
}

// Pixels of one list box item, as the list paints them.
constexpr int kListItemHeight = kBaseUnitY;

LRESULT button_mouse(WindowHandle hwnd, const Window& w, std::uint32_t message, LPARAM lParam) {
  if ((w.style & BS_TYPEMASK) == BS_GROUPBOX) return 0;
  Rect client{};
  GetClientRect(hwnd, &client);
  const bool inside = contains(client, lparam_point(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd);
      SetCapture(hwnd);
      SendMessageA(hwnd, BM_SETSTATE, 1, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd && ((SendMessageA(hwnd, BM_GETSTATE, 0, 0) & 4) != 0) != inside)
        SendMessageA(hwnd, BM_SETSTATE, inside ? 1 : 0, 0);
      return 0;
    case WM_LBUTTONUP: {
      const bool pushed = (SendMessageA(hwnd, BM_GETSTATE, 0, 0) & 4) != 0;
      const bool captured = GetCapture() == hwnd;
      SendMessageA(hwnd, BM_SETSTATE, 0, 0);
      if (captured) ReleaseCapture();
      if (captured && pushed && inside) SendMessageA(hwnd, BM_CLICK, 0, 0);
      return 0;
    }
  }
  return 0;
}

}  // namespace

bool is_mouse_message(std::uint32_t message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

bool resolve_mouse(MSG& m) {
  const Window* top = find(m.hwnd, false);
  if (top == nullptr) return false;
  const Point screen{top->rect.left + m.pt.x, top->rect.top + m.pt.y};
  m.pt = screen;
  ThreadState& ts = current_thread();
  if (m.message == WM_MOUSEWHEEL) {
    m.hwnd = IsWindow(ts.focus) ? ts.focus : m.hwnd;
    m.lParam = point_lparam(screen);
    return true;
  }
  WindowHandle target = IsWindow(ts.capture) ? ts.capture : deepest(m.hwnd, screen);
  const Window* w = find(target, false);
  if (w == nullptr) return false;
  if ((m.message == WM_LBUTTONDBLCLK || m.message == WM_RBUTTONDBLCLK ||
       m.message == WM_MBUTTONDBLCLK) &&
      !(w->cls->style & CS_DBLCLKS))
    m.message -= 2;  // the button-down message of the same button
  const Point origin = client_origin(*w);
  m.hwnd = target;
  m.lParam = point_lparam(Point{screen.x - origin.x, screen.y - origin.y});
  return true;
}

LRESULT standard_mouse(WindowHandle hwnd, std::uint32_t message, WPARAM, LPARAM lParam) {
  std::shared_ptr<Window> held = hold(hwnd);
  if (!held) return 0;
  Window& w = *held;
  const bool press = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
  switch (w.cls->kind) {
    case Kind::kButton:
      return button_mouse(hwnd, w, message, lParam);
    case Kind::kEdit:
      if (press) {
        SetFocus(hwnd);
        // The caret goes to the character boundary nearest the click, counted
        // in average character widths.
        const int x = lparam_point(lParam).x;
        const int at = std::clamp((x + kBaseUnitX / 2) / kBaseUnitX, 0, static_cast<int>(w.text.size()));
        SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(at), at);
        InvalidateRect(hwnd, nullptr, false);
      }
      return 0;
    case Kind::kListBox:
      if (press) {
        SetFocus(hwnd);
        const int index = lparam_point(lParam).y / kListItemHeight;
        if (index >= 0 && index < static_cast<int>(w.items.size()) && index != w.current) {
          w.current = index;
          InvalidateRect(hwnd, nullptr, false);
          if (w.style & LBS_NOTIFY) notify_parent(hwnd, LBN_SELCHANGE);
        }
      }
      return 0;
    case Kind::kComboBox:
      if (press) SetFocus(hwnd);
      return 0;
    default:
      return 0;
  }
}

}  // namespace win

using namespace win;

void mouse_input(WindowHandle top_level, std::uint32_t message, Point at, std::uint32_t keys,
                 int wheel_delta) {
  if (!is_mouse_message(message)) return;
  const WPARAM wp = (keys & 0xFFFF) | (static_cast<WPARAM>(static_cast<std::uint16_t>(wheel_delta)) << 16);
  current_thread().input.push_back(MSG{top_level, message, wp, 0, GetTickCount(), at});
}

std::uint32_t window_hit_test(WindowHandle top_level, Point at) {
  const Window* w = find(top_level, false);
  if (w == nullptr) return HTNOWHERE;
  const int width = w->rect.width(), height = w->rect.height();
  if (at.x < 0 || at.y < 0 || at.x >= width || at.y >= height) return HTNOWHERE;
  const int f = frame_width(w->style), c = caption_height(w->style);
  if (c > 0 && at.y >= f && at.y < f + c && at.x >= f && at.x < width - f) {
    if ((w->style & WS_SYSMENU) && at.x >= width - f - c) return HTCLOSE;
    return HTCAPTION;
  }
  if (at.x < f || at.y < f || at.x >= width - f || at.y >= height - f) return HTBORDER;
  return HTCLIENT;
}

WindowHandle SetCapture(WindowHandle hwnd) {
  ThreadState& ts = current_thread();
  const WindowHandle old = IsWindow(ts.capture) ? ts.capture : 0;
  if (hwnd != 0 && !IsWindow(hwnd)) return old;
  ts.capture = hwnd;
  if (old != 0 && old != hwnd) SendMessageA(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
  return old;
}

bool ReleaseCapture() {
  SetCapture(0);
  return true;
}

WindowHandle GetCapture() {
  const ThreadState& ts = current_thread();
  return IsWindow(ts.capture) ? ts.capture : 0;
}

}  // namespace corva::platform
