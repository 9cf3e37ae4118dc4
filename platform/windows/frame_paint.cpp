// Painting helpers shared by the standard controls, and the non-client frame
// (border and caption) the default procedure paints.
#include <corvaplat/menus.h>
#include <corvaplat/paint.h>

#include <algorithm>
#include <string>

#include "windows/internal.h"

namespace corva::platform::win {
namespace {

constexpr int kMenuItemHeight = 18;

// A menu item's text split at its tab: the label and the accelerator.
struct MenuText {
  std::string label, accelerator;
};
MenuText menu_text(MenuHandle menu, int position) {
  std::string text(static_cast<std::size_t>(std::max(0, GetMenuStringA(menu, position, nullptr, 0,
                                                                       MF_BYPOSITION))),
                   '\0');
  if (!text.empty())
    GetMenuStringA(menu, static_cast<std::uint32_t>(position), text.data(),
                   static_cast<int>(text.size()) + 1, MF_BYPOSITION);
  const std::size_t tab = text.find('\t');
  if (tab == std::string::npos) return MenuText{text, {}};
  return MenuText{text.substr(0, tab), text.substr(tab + 1)};
}

int text_width(DcHandle dc, const std::string& text) {
  Rect r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return r.width();
}

void menu_label(DcHandle dc, const std::string& text, Rect r, std::uint32_t format,
                ColorRef color) {
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | format);
}

// A popup menu as it shows when open, its top-left corner at `at` (context
// coordinates).
void paint_popup(DcHandle dc, MenuHandle popup, Point at) {
  const int count = GetMenuItemCount(popup);
  if (count <= 0) return;
  int labels = 0, accelerators = 0;
  for (int i = 0; i < count; ++i) {
    const MenuText t = menu_text(popup, i);
    labels = std::max(labels, text_width(dc, t.label));
    accelerators = std::max(accelerators, text_width(dc, t.accelerator));
  }
  int height = 6;
  for (int i = 0; i < count; ++i)
    height += (GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) ? 8 : kMenuItemHeight;
  const int width = 20 + labels + (accelerators > 0 ? 24 + accelerators : 0) + 20;
  const Rect box{at.x, at.y, at.x + width, at.y + height};
  SetBkMode(dc, TRANSPARENT);
  fill(dc, box, GetSysColor(COLOR_MENU));
  raised_edge(dc, box);
  int y = at.y + 3;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t state = GetMenuState(popup, i, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      fill(dc, Rect{box.left + 3, y + 3, box.right - 3, y + 4}, GetSysColor(COLOR_BTNSHADOW));
      fill(dc, Rect{box.left + 3, y + 4, box.right - 3, y + 5}, GetSysColor(COLOR_BTNHIGHLIGHT));
      y += 8;
      continue;
    }
    const Rect item{box.left + 3, y, box.right - 3, y + kMenuItemHeight};
    const bool hilite = (state & MF_HILITE) != 0;
    if (hilite) fill(dc, item, GetSysColor(COLOR_HIGHLIGHT));
    const ColorRef color = (state & MF_GRAYED) ? GetSysColor(COLOR_GRAYTEXT)
                           : hilite            ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                               : GetSysColor(COLOR_MENUTEXT);
    if (state & MF_CHECKED) {
      // A check mark in the left margin.
      const int cx = item.left + 6, cy = item.top + kMenuItemHeight / 2;
      for (int k = 0; k < 2; ++k) {
        fill(dc, Rect{cx, cy + k - 1, cx + 2, cy + k + 1}, color);
        fill(dc, Rect{cx + 2, cy + k + 1, cx + 3, cy + k + 2}, color);
        for (int j = 0; j < 4; ++j)
          fill(dc, Rect{cx + 3 + j, cy + k - j, cx + 4 + j, cy + k - j + 1}, color);
      }
    }
    const MenuText t = menu_text(popup, i);
    menu_label(dc, t.label, Rect{item.left + 17, item.top, item.right, item.bottom}, 0, color);
    if (!t.accelerator.empty())
      menu_label(dc, t.accelerator, Rect{item.left, item.top, item.right - 14, item.bottom},
                 DT_RIGHT | DT_NOPREFIX, color);
    if (state & MF_POPUP) {
      // The arrow of a submenu.
      const int ax = item.right - 10, ay = item.top + kMenuItemHeight / 2;
      for (int k = 0; k < 4; ++k) fill(dc, Rect{ax + k, ay - 3 + k, ax + k + 1, ay + 4 - k}, color);
    }
    y += kMenuItemHeight;
  }
}

// The menu bar across the top of the client area, items from the left; an
// item marked MF_HILITE shows highlighted, with its popup open below it.
void paint_menu_bar(WindowHandle hwnd, DcHandle dc, const Rect& bar) {
  const MenuHandle menu = GetMenu(hwnd);
  const GdiHandle font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  fill(dc, bar, GetSysColor(COLOR_MENU));
  SetBkMode(dc, TRANSPARENT);
  int x = bar.left + 2;
  MenuHandle open = 0;
  Point open_at{};
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    const MenuText t = menu_text(menu, i);
    const std::uint32_t state = GetMenuState(menu, i, MF_BYPOSITION);
    const Rect item{x, bar.top + 1, x + text_width(dc, t.label) + 14, bar.bottom - 1};
    const bool hilite = (state & MF_HILITE) != 0;
    if (hilite) {
      fill(dc, item, GetSysColor(COLOR_HIGHLIGHT));
      if (state & MF_POPUP) {
        open = GetSubMenu(menu, i);
        open_at = Point{item.left, bar.bottom};
      }
    }
    menu_label(dc, t.label, item, DT_CENTER,
               (state & MF_GRAYED) ? GetSysColor(COLOR_GRAYTEXT)
               : hilite            ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                   : GetSysColor(COLOR_MENUTEXT));
    x = item.right;
  }
  SelectObject(dc, font);
  if (open != 0) {
    // The open popup lies over the client area: it gets a context the window's
    // frame does not clip.
    defer_overlay([hwnd, open, open_at] {
      if (!IsWindow(hwnd) || !IsMenu(open)) return;
      const DcHandle over = overlay_dc(hwnd);
      SelectObject(over, GetStockObject(DEFAULT_GUI_FONT));
      paint_popup(over, open, open_at);
      ReleaseDC(hwnd, over);
    });
  }
}

}  // namespace

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
  if (border == 0 && caption == 0 && GetMenu(hwnd) == 0) return;
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
  if (const Window* w = find(hwnd, false); w != nullptr && menu_bar_height(*w) > 0) {
    const int top = border + caption;
    paint_menu_bar(hwnd, dc, Rect{border, top, r.right - border, top + menu_bar_height(*w)});
  }
  ReleaseDC(hwnd, dc);
}

void erase_background(WindowHandle hwnd, DcHandle dc) {
  GdiHandle brush = 0;
  Kind kind = Kind::kGeneric;
  {
    std::lock_guard g(lock());
    const Window* w = find(hwnd, false);
    if (w == nullptr) return;
    brush = w->cls->background;
    kind = w->cls->kind;
  }
  if (standard_control(kind)) return;
  if (kind == Kind::kDialog) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    brush = static_cast<GdiHandle>(SendMessageA(hwnd, WM_CTLCOLORDLG, static_cast<WPARAM>(dc),
                                                static_cast<LPARAM>(hwnd)));
    if (object_color(brush) == kClrInvalid) brush = GetSysColorBrush(COLOR_BTNFACE);
  } else if (kind == Kind::kMdiClient) {
    brush = GetSysColorBrush(COLOR_APPWORKSPACE);
  }
  if (object_color(brush) == kClrInvalid) brush = GetSysColorBrush(COLOR_WINDOW);
  Rect r{};
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, brush);
}

bool caption_active(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  if (w == nullptr) return false;
  if (w->ex_style & WS_EX_MDICHILD) {
    const Window* client = find(w->parent, false);
    return client != nullptr && client->mdi_active == hwnd;
  }
  return w->highlighted || GetActiveWindow() == hwnd;
}

}  // namespace corva::platform::win
