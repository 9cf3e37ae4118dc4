// How the standard controls paint themselves (WM_PAINT), with the brush and
// colours their parent answers to WM_CTLCOLOR*.
#include <corvaplat/paint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "windows/internal.h"

namespace corva::platform::win {
namespace {

// What a control's paint needs of its window, copied out first: the colour
// messages run the parent's code, which may change or destroy the control.
struct ControlState {
  Kind kind = Kind::kGeneric;
  std::uint32_t style = 0;
  std::string text;
  int sel_start = 0, sel_end = 0;
  std::uint32_t check = 0;
  bool pushed = false;
  std::vector<std::string> items;
  int current = -1;
  bool dropped = false;
  int dropped_height = 0;
  bool focused = false;
  bool default_button = false;
};

bool snapshot(WindowHandle hwnd, ControlState& out) {
  std::lock_guard g(lock());
  const Window* w = find(hwnd, false);
  if (w == nullptr) return false;
  out.kind = w->cls->kind;
  out.style = w->style;
  out.text = w->text;
  out.sel_start = std::min(w->sel_start, w->sel_end);
  out.sel_end = std::max(w->sel_start, w->sel_end);
  out.check = w->check;
  out.pushed = w->pushed;
  for (const ListItem& item : w->items) out.items.push_back(item.text);
  out.current = w->current;
  out.dropped = w->dropped;
  out.dropped_height = w->dropped_height;
  out.focused = current_thread().focus == w->handle;
  return true;
}

bool disabled(const ControlState& s) { return (s.style & WS_DISABLED) != 0; }

// The control's colours: the defaults of its kind set into the context, then
// the parent's WM_CTLCOLOR* answer (which may set others); the brush it
// answers, else the default one.
GdiHandle control_brush(WindowHandle hwnd, DcHandle dc, std::uint32_t message) {
  const bool window_like = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(window_like ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(window_like ? COLOR_WINDOW : COLOR_BTNFACE));
  const WindowHandle parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd)
                                                                          : hwnd;
  GdiHandle brush = 0;
  if (parent != 0)
    brush = static_cast<GdiHandle>(
        SendMessageA(parent, message, static_cast<WPARAM>(dc), static_cast<LPARAM>(hwnd)));
  if (object_color(brush) == kClrInvalid)
    brush = GetSysColorBrush(window_like ? COLOR_WINDOW : COLOR_BTNFACE);
  return brush;
}

int line_height(DcHandle dc) {
  TextMetric tm{};
  GetTextMetricsA(dc, &tm);
  return std::max(1, tm.height);
}

int width_of(DcHandle dc, std::string_view text) {
  Size s{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &s);
  return s.cx;
}

void text_in(DcHandle dc, const std::string& text, Rect r, std::uint32_t format) {
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// Text in the greyed look of a disabled control.
void grey_text(DcHandle dc, const std::string& text, const Rect& r, std::uint32_t format) {
  const int mode = SetBkMode(dc, TRANSPARENT);
  const ColorRef color = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  text_in(dc, text, r, format);
  SetTextColor(dc, color);
  SetBkMode(dc, mode);
}

void label(DcHandle dc, const ControlState& s, const std::string& text, const Rect& r,
           std::uint32_t format) {
  if (disabled(s)) {
    grey_text(dc, text, r, format);
  } else {
    text_in(dc, text, r, format);
  }
}

// The dotted rectangle around what has the focus.
void focus_rect(DcHandle dc, const Rect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  const GdiHandle pen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_WINDOWTEXT));
  const GdiHandle old = SelectObject(dc, pen);
  MoveToEx(dc, r.left, r.top, nullptr);
  LineTo(dc, r.right - 1, r.top);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left, r.bottom - 1);
  LineTo(dc, r.left, r.top);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A small triangle pointing down, centred in `r`.
void down_arrow(DcHandle dc, const Rect& r, ColorRef color) {
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - 1;
  for (int k = 0; k < 4; ++k) fill(dc, Rect{cx - 3 + k, cy + k, cx + 4 - k, cy + k + 1}, color);
}

// A vertical scroll bar: arrows at both ends and the thumb where `first` of
// `total` items (`page` visible) puts it.
void scroll_bar(DcHandle dc, const Rect& r, int first, int page, int total) {
  constexpr int kArrow = 16;
  fill(dc, r, GetSysColor(COLOR_3DLIGHT));
  const Rect up{r.left, r.top, r.right, r.top + kArrow};
  const Rect down{r.left, r.bottom - kArrow, r.right, r.bottom};
  for (const Rect& b : {up, down}) {
    fill(dc, b, GetSysColor(COLOR_BTNFACE));
    raised_edge(dc, b);
  }
  const int cx = (r.left + r.right) / 2;
  for (int k = 0; k < 4; ++k) {
    fill(dc, Rect{cx - k, up.top + 6 + k, cx + k + 1, up.top + 7 + k}, GetSysColor(COLOR_BTNTEXT));
    fill(dc, Rect{cx - 3 + k, down.top + 6 + k, cx + 4 - k, down.top + 7 + k},
         GetSysColor(COLOR_BTNTEXT));
  }
  const int track = r.height() - 2 * kArrow;
  if (total <= 0 || track <= 8) return;
  const int thumb = std::max(8, track * std::min(page, total) / total);
  const int room = track - thumb;
  const int top = up.bottom + (total > page ? room * first / (total - page) : 0);
  const Rect t{r.left, top, r.right, top + thumb};
  fill(dc, t, GetSysColor(COLOR_BTNFACE));
  raised_edge(dc, t);
}

// ---- Static -----------------------------------------------------------------------

void paint_static(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r) {
  const std::uint32_t type = s.style & SS_TYPEMASK;
  switch (type) {
    case SS_BLACKRECT: fill(dc, r, GetSysColor(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: fill(dc, r, GetSysColor(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: fill(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT)); return;
    case SS_BLACKFRAME: frame(dc, r, GetSysColor(COLOR_WINDOWFRAME)); return;
    case SS_GRAYFRAME: frame(dc, r, GetSysColor(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: frame(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT)); return;
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
      bevel(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
      return;
    default: break;
  }
  const GdiHandle brush = control_brush(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &r, brush);
  std::uint32_t format = (s.style & SS_NOPREFIX) ? std::uint32_t{DT_NOPREFIX} : 0u;
  if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
  else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
  else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) format |= DT_SINGLELINE;
  else format |= DT_WORDBREAK;
  if (s.style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  label(dc, s, s.text, r, format);
}

// ---- Edit -------------------------------------------------------------------------

void paint_edit(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r) {
  const bool read_only = (s.style & ES_READONLY) != 0;
  const GdiHandle brush =
      control_brush(hwnd, dc, read_only || disabled(s) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  FillRect(dc, &r, brush);
  std::string text = s.text;
  if (s.style & ES_PASSWORD) text.assign(text.size(), '*');
  const int lh = line_height(dc);
  const bool multiline = (s.style & ES_MULTILINE) != 0;
  // Lines with the offset of their first character.
  std::vector<std::pair<std::size_t, std::string>> lines;
  if (multiline) {
    std::size_t start = 0;
    while (true) {
      const std::size_t end = text.find('\n', start);
      std::string line = text.substr(start, end == std::string::npos ? end : end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.emplace_back(start, line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  } else {
    lines.emplace_back(0, text);
  }
  const int room = std::max(1, r.width() - 4);
  const auto caret = static_cast<std::size_t>(std::clamp(s.sel_end, 0, int(text.size())));
  const bool show_selection = s.focused || (s.style & ES_NOHIDESEL);
  const ColorRef text_color = disabled(s) ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
  int y = multiline || r.height() <= lh ? r.top + 1 : r.top + (r.height() - lh) / 2;
  SetBkMode(dc, TRANSPARENT);
  for (const auto& [start, line] : lines) {
    // A long line scrolls so the caret stays in view.
    int scroll = 0;
    if (caret >= start && caret <= start + line.size()) {
      const int at = width_of(dc, std::string_view(line).substr(0, caret - start));
      if (at > room - 1) scroll = at - room + 1;
    }
    int x = r.left + 2 - scroll;
    const int w = width_of(dc, line);
    if (scroll == 0 && !multiline && (s.style & 3) == ES_RIGHT) x = r.right - 2 - w;
    if (scroll == 0 && !multiline && (s.style & 3) == ES_CENTER) x = r.left + (r.width() - w) / 2;
    const int line_x = x;
    // Before, in and after the selection.
    const std::size_t a = std::clamp<std::size_t>(std::size_t(s.sel_start), start, start + line.size()) - start;
    const std::size_t b = std::clamp<std::size_t>(std::size_t(s.sel_end), start, start + line.size()) - start;
    const std::string_view parts[3] = {std::string_view(line).substr(0, a),
                                       std::string_view(line).substr(a, b - a),
                                       std::string_view(line).substr(b)};
    for (int p = 0; p < 3; ++p) {
      const bool selected = p == 1 && show_selection && !parts[1].empty();
      const int pw = width_of(dc, parts[p]);
      if (selected) fill(dc, Rect{x, y, x + pw, y + lh}, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_color);
      TextOutA(dc, x, y, parts[p].data(), static_cast<int>(parts[p].size()));
      x += pw;
    }
    if (s.focused && caret >= start && caret <= start + line.size()) {
      const int cx = line_x + width_of(dc, std::string_view(line).substr(0, caret - start));
      fill(dc, Rect{cx, y, cx + 1, y + lh}, text_color);
    }
    y += lh;
  }
}

// ---- Buttons ----------------------------------------------------------------------

void paint_push_button(WindowHandle hwnd, DcHandle dc, const ControlState& s, Rect r) {
  control_brush(hwnd, dc, WM_CTLCOLORBTN);
  if (s.default_button || s.focused) {
    frame(dc, r, GetSysColor(COLOR_WINDOWFRAME));
    r = inset(r, 1);
  }
  fill(dc, r, GetSysColor(COLOR_BTNFACE));
  if (s.pushed) {
    frame(dc, r, GetSysColor(COLOR_BTNSHADOW));
  } else {
    raised_edge(dc, r);
  }
  Rect text = inset(r, 2);
  if (s.pushed) OffsetRect(&text, 1, 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  label(dc, s, s.text, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (s.focused) focus_rect(dc, inset(r, 3));
}

void paint_check_mark(DcHandle dc, int x, int y, ColorRef color) {
  // Seven columns: down two, then up five, three pixels thick.
  static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) fill(dc, Rect{x + i, y + kTop[i], x + i + 1, y + kTop[i] + 3}, color);
}

void paint_check_or_radio(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r,
                          bool radio) {
  const GdiHandle brush = control_brush(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &r, brush);
  constexpr int kBox = 13;
  const bool left_text = (s.style & BS_LEFTTEXT) != 0;
  const int top = r.top + (r.height() - kBox) / 2;
  const int left = left_text ? r.right - kBox : r.left;
  const Rect box{left, top, left + kBox, top + kBox};
  const ColorRef mark = disabled(s) ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_WINDOWTEXT);
  const ColorRef inside = s.pushed || disabled(s) ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW);
  if (radio) {
    const GdiHandle pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    const GdiHandle old_pen = SelectObject(dc, pen);
    const GdiHandle old_brush = SelectObject(dc, stock_brush(inside));
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (s.check == BST_CHECKED) {
      SelectObject(dc, stock_brush(mark));
      SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
  } else {
    fill(dc, box, s.check == BST_INDETERMINATE ? GetSysColor(COLOR_BTNFACE) : inside);
    sunken_edge(dc, box);
    if (s.check == BST_CHECKED || s.check == BST_INDETERMINATE)
      paint_check_mark(dc, box.left + 3, box.top + 3,
                       s.check == BST_INDETERMINATE ? GetSysColor(COLOR_BTNSHADOW) : mark);
  }
  Rect text = left_text ? Rect{r.left, r.top, box.left - 4, r.bottom}
                        : Rect{box.right + 4, r.top, r.right, r.bottom};
  label(dc, s, s.text, text, DT_SINGLELINE | DT_VCENTER);
  if (s.focused && !s.text.empty()) {
    Rect used = text;
    text_in(dc, s.text, used, DT_SINGLELINE | DT_CALCRECT);
    const int lh = line_height(dc);
    const int y = r.top + (r.height() - lh) / 2;
    focus_rect(dc, Rect{text.left - 1, y - 1, text.left + used.width() + 2,
                        std::min(r.bottom, y + lh + 1)});
  }
}

void paint_group_box(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r) {
  const GdiHandle brush = control_brush(hwnd, dc, WM_CTLCOLORSTATIC);
  const int lh = line_height(dc);
  const Rect edge{r.left, r.top + lh / 2, r.right, r.bottom};
  frame(dc, Rect{edge.left, edge.top, edge.right - 1, edge.bottom - 1}, GetSysColor(COLOR_BTNSHADOW));
  frame(dc, Rect{edge.left + 1, edge.top + 1, edge.right, edge.bottom},
        GetSysColor(COLOR_BTNHIGHLIGHT));
  if (s.text.empty()) return;
  Rect text{r.left + 8, r.top, r.right - 8, r.top + lh};
  Rect used = text;
  text_in(dc, s.text, used, DT_SINGLELINE | DT_CALCRECT);
  const Rect behind{text.left - 2, text.top, std::min(text.right, text.left + used.width() + 2),
                    text.bottom};
  FillRect(dc, &behind, brush);
  label(dc, s, s.text, text, DT_SINGLELINE);
}

// ---- Lists ------------------------------------------------------------------------

// Items of a list from `first`, one line each, inside `r`; the current item
// highlighted (with the focus rectangle when `focused`).
void paint_items(DcHandle dc, const ControlState& s, const Rect& r, int first, bool focused) {
  const int lh = line_height(dc);
  const ColorRef text_color = disabled(s) ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
  SetBkMode(dc, TRANSPARENT);
  int y = r.top;
  for (int i = first; i < static_cast<int>(s.items.size()) && y < r.bottom; ++i, y += lh) {
    const Rect item{r.left, y, r.right, y + lh};
    const bool current = i == s.current;
    if (current) fill(dc, item, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, current ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_color);
    text_in(dc, s.items[static_cast<std::size_t>(i)], Rect{item.left + 2, item.top, item.right, item.bottom},
            DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (current && focused) focus_rect(dc, item);
  }
}

void paint_list(DcHandle dc, const ControlState& s, Rect r, bool focused) {
  const int lh = line_height(dc);
  const int page = std::max(1, r.height() / lh);
  const int total = static_cast<int>(s.items.size());
  const int first = s.current >= page ? s.current - page + 1 : 0;
  if ((s.style & WS_VSCROLL) && total > page) {
    scroll_bar(dc, Rect{r.right - 16, r.top, r.right, r.bottom}, first, page, total);
    r.right -= 16;
  }
  paint_items(dc, s, r, first, focused);
}

void paint_listbox(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r) {
  const GdiHandle brush = control_brush(hwnd, dc, WM_CTLCOLORLISTBOX);
  FillRect(dc, &r, brush);
  paint_list(dc, s, r, s.focused);
}

void paint_combobox(WindowHandle hwnd, DcHandle dc, const ControlState& s, const Rect& r) {
  const bool simple = (s.style & 3) == CBS_SIMPLE;
  const int lh = line_height(dc);
  const int field_height = simple ? std::min(r.height(), lh + 6) : r.height();
  const Rect field{r.left, r.top, r.right, r.top + field_height};
  const GdiHandle brush = control_brush(hwnd, dc, WM_CTLCOLOREDIT);
  FillRect(dc, &field, brush);
  sunken_edge(dc, field);
  Rect text = inset(field, 2);
  if (!simple) {
    const Rect button{text.right - 16, text.top, text.right, text.bottom};
    fill(dc, button, GetSysColor(COLOR_BTNFACE));
    raised_edge(dc, button);
    down_arrow(dc, button, disabled(s) ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT));
    text.right = button.left;
  }
  const bool list_only = (s.style & 3) == CBS_DROPDOWNLIST;
  const bool hilite = list_only && s.focused && !s.dropped;
  if (hilite) fill(dc, inset(text, 1), GetSysColor(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  const ColorRef color = GetTextColor(dc);
  if (hilite) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  label(dc, s, s.text, Rect{text.left + 2, text.top, text.right, text.bottom},
        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetTextColor(dc, color);
  if (hilite) focus_rect(dc, inset(text, 1));
  if (simple) {
    const Rect list{r.left, field.bottom, r.right, r.bottom};
    const GdiHandle list_brush = control_brush(hwnd, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &list, list_brush);
    frame(dc, list, GetSysColor(COLOR_WINDOWFRAME));
    paint_list(dc, s, inset(list, 1), false);
    return;
  }
  if (!s.dropped) return;
  // The dropped-down list shows over whatever lies below the control.
  defer_overlay([hwnd, s, field_height] {
    if (!IsWindow(hwnd)) return;
    const DcHandle over = overlay_dc(hwnd);
    const int lh2 = line_height(over);
    Rect whole{};
    GetWindowRect(hwnd, &whole);
    const int items = std::max<int>(1, static_cast<int>(s.items.size()));
    const int height = std::min(std::max(lh2 + 2, s.dropped_height - field_height), items * lh2 + 2);
    const Rect list{0, field_height, whole.width(), field_height + height};
    const GdiHandle brush = control_brush(hwnd, over, WM_CTLCOLORLISTBOX);
    FillRect(over, &list, brush);
    frame(over, list, GetSysColor(COLOR_WINDOWFRAME));
    paint_list(over, s, inset(list, 1), false);
    ReleaseDC(hwnd, over);
  });
}

}  // namespace

void paint_control(WindowHandle hwnd) {
  ControlState s;
  if (!snapshot(hwnd, s)) return;
  PaintStruct ps{};
  const DcHandle dc = BeginPaint(hwnd, &ps);
  if (dc == 0) return;
  Rect r{};
  GetClientRect(hwnd, &r);
  const std::uint32_t type = s.style & BS_TYPEMASK;
  switch (s.kind) {
    case Kind::kStatic: paint_static(hwnd, dc, s, r); break;
    case Kind::kEdit: paint_edit(hwnd, dc, s, r); break;
    case Kind::kListBox: paint_listbox(hwnd, dc, s, r); break;
    case Kind::kComboBox: paint_combobox(hwnd, dc, s, r); break;
    case Kind::kButton:
      if (type == BS_GROUPBOX) {
        paint_group_box(hwnd, dc, s, r);
      } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        s.default_button = type == BS_DEFPUSHBUTTON;
        paint_push_button(hwnd, dc, s, r);
      } else {
        paint_check_or_radio(hwnd, dc, s, r, type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
      }
      break;
    default: break;
  }
  EndPaint(hwnd, &ps);
}

}  // namespace corva::platform::win
