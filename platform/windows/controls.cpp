// The standard controls: edit, static, button, list box, combo box, and the
// MDI client.
#include <algorithm>
#include <cstring>

#include <corvaplat/text.h>

#include "windows/internal.h"

namespace corva::platform::win {
namespace {

constexpr std::uint32_t kEditMaximum = 0x7FFFFFFE;

const char* text_of(LPARAM lParam) {
  return lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
}

// ---- Edit -------------------------------------------------------------------------

void normalise_selection(Window& w) {
  const int n = static_cast<int>(w.text.size());
  w.sel_start = std::clamp(w.sel_start, 0, n);
  w.sel_end = std::clamp(w.sel_end, 0, n);
}

// Replaces the selection with text, cut so that the whole stays within the
// limit; returns whether anything of it was cut.
bool replace_selection(Window& w, std::string_view text) {
  normalise_selection(w);
  const int a = std::min(w.sel_start, w.sel_end), b = std::max(w.sel_start, w.sel_end);
  const std::size_t kept = w.text.size() - static_cast<std::size_t>(b - a);
  std::size_t room = w.edit_limit > kept ? w.edit_limit - kept : 0;
  const bool cut = text.size() > room;
  text = text.substr(0, std::min(room, text.size()));
  w.text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), text);
  w.sel_start = w.sel_end = a + static_cast<int>(text.size());
  return cut;
}

char edit_case(const Window& w, char c) {
  if (w.style & ES_UPPERCASE) return char_upper(c);
  if (w.style & ES_LOWERCASE) return char_lower(c);
  return c;
}

}  // namespace

LRESULT edit_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Window> held = hold(hwnd);
  if (!held) return 0;
  Window& w = *held;
  switch (message) {
    case WM_SETTEXT:
      w.text = text_of(lParam);
      w.sel_start = w.sel_end = 0;
      notify_parent(hwnd, EN_CHANGE);
      return 1;
    case EM_LIMITTEXT:
      w.edit_limit = wParam == 0 ? kEditMaximum : static_cast<std::uint32_t>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(w.edit_limit);
    case EM_SETSEL: {
      const auto start = static_cast<std::intptr_t>(wParam);
      const std::intptr_t end = lParam;
      const int n = static_cast<int>(w.text.size());
      if (start == -1) {
        w.sel_start = w.sel_end;  // no selection; the caret stays
        return 1;
      }
      int s = static_cast<int>(std::clamp<std::intptr_t>(start, 0, n));
      int e = end < 0 ? n : static_cast<int>(std::clamp<std::intptr_t>(end, 0, n));
      if (s > e) std::swap(s, e);
      w.sel_start = s;
      w.sel_end = e;
      return 1;
    }
    case EM_GETSEL: {
      normalise_selection(w);
      const auto s = static_cast<std::uint32_t>(std::min(w.sel_start, w.sel_end));
      const auto e = static_cast<std::uint32_t>(std::max(w.sel_start, w.sel_end));
      if (wParam != 0) *reinterpret_cast<std::uint32_t*>(wParam) = s;
      if (lParam != 0) *reinterpret_cast<std::uint32_t*>(lParam) = e;
      return static_cast<LRESULT>(make_wparam(s, e));
    }
    case EM_REPLACESEL:
      if (replace_selection(w, text_of(lParam))) notify_parent(hwnd, EN_MAXTEXT);
      notify_parent(hwnd, EN_CHANGE);
      return 0;
    case WM_CHAR: {
      if (w.style & ES_READONLY) return 0;
      const char c = static_cast<char>(wParam & 0xFF);
      if (c == '\b') {
        normalise_selection(w);
        if (w.sel_start == w.sel_end && w.sel_start > 0) --w.sel_start;
        replace_selection(w, "");
        notify_parent(hwnd, EN_CHANGE);
        return 0;
      }
      const auto u = static_cast<unsigned char>(c);
      if (u < 0x20 && !((w.style & ES_MULTILINE) && (c == '\r' || c == '\t'))) return 0;
      if ((w.style & ES_NUMBER) && (c < '0' || c > '9')) return 0;
      const char typed[3] = {edit_case(w, c == '\r' ? '\r' : c), '\n', '\0'};
      const std::string_view in(typed, c == '\r' ? 2 : 1);
      if (w.text.size() - static_cast<std::size_t>(std::abs(w.sel_end - w.sel_start)) + in.size() >
          w.edit_limit) {
        notify_parent(hwnd, EN_MAXTEXT);
        return 0;
      }
      replace_selection(w, in);
      notify_parent(hwnd, EN_CHANGE);
      return 0;
    }
    case WM_KEYDOWN: {
      normalise_selection(w);
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      const int n = static_cast<int>(w.text.size());
      int caret = w.sel_end;
      switch (wParam) {
        case VK_LEFT: caret = std::max(0, caret - 1); break;
        case VK_RIGHT: caret = std::min(n, caret + 1); break;
        case VK_HOME: caret = 0; break;
        case VK_END: caret = n; break;
        case VK_DELETE:
          if (w.style & ES_READONLY) return 0;
          if (w.sel_start == w.sel_end && w.sel_end < n) ++w.sel_end;
          replace_selection(w, "");
          notify_parent(hwnd, EN_CHANGE);
          return 0;
        default: return 0;
      }
      w.sel_end = caret;
      if (!shift) w.sel_start = caret;
      return 0;
    }
    case WM_SETFOCUS:
      notify_parent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      notify_parent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS |
             ((w.style & ES_MULTILINE) ? std::uint32_t{DLGC_WANTALLKEYS} : 0u);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- Static -------------------------------------------------------------------------

LRESULT static_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_STATIC;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- Button -------------------------------------------------------------------------

namespace {

bool checkable(std::uint32_t type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
         type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

// The siblings of a control in its group: from the WS_GROUP control at or
// before it up to the next WS_GROUP control.
std::vector<WindowHandle> group_of(WindowHandle control) {
  const Window* w = find(control, false);
  if (w == nullptr) return {};
  const Window* p = find(w->parent, false);
  if (p == nullptr) return {control};
  const auto& s = p->children;
  auto at = std::find(s.begin(), s.end(), control);
  if (at == s.end()) return {control};
  auto first = at;
  while (first != s.begin()) {
    const Window* fw = find(*first, false);
    if (fw != nullptr && (fw->style & WS_GROUP)) break;
    --first;
  }
  std::vector<WindowHandle> out;
  for (auto it = first; it != s.end(); ++it) {
    const Window* gw = find(*it, false);
    if (it != first && gw != nullptr && (gw->style & WS_GROUP)) break;
    out.push_back(*it);
  }
  return out;
}

void click(WindowHandle hwnd) {
  Window* w = find(hwnd, false);
  if (w == nullptr || (w->style & WS_DISABLED)) return;
  switch (w->style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
      w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      w->check = (w->check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      for (WindowHandle g : group_of(hwnd)) {
        Window* gw = find(g, false);
        if (gw != nullptr && gw->cls->kind == Kind::kButton &&
            (gw->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
          gw->check = g == hwnd ? BST_CHECKED : BST_UNCHECKED;
      }
      break;
  }
  notify_parent(hwnd, BN_CLICKED);
}

}  // namespace

LRESULT button_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (w == nullptr) return 0;
  const std::uint32_t type = w->style & BS_TYPEMASK;
  switch (message) {
    case BM_GETCHECK:
      return checkable(type) ? w->check : 0;
    case BM_SETCHECK:
      if (checkable(type)) {
        w->check = static_cast<std::uint32_t>(wParam) & 3;
        if (w->check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
          w->check = BST_CHECKED;
      }
      return 0;
    case BM_GETSTATE:
      return (checkable(type) ? w->check : 0) | (w->pushed ? 4u : 0u) |
             (current_thread().focus == hwnd ? BST_FOCUS : 0u);
    case BM_SETSTATE:
      w->pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & 0xFFFF0000u) | static_cast<std::uint32_t>(wParam & 0xFFFF);
      if (lParam != 0) InvalidateRect(hwnd, nullptr, true);
      return 0;
    case BM_CLICK:
      click(hwnd);
      return 0;
    case WM_CHAR:
      if (wParam == ' ') click(hwnd);
      return 0;
    case WM_GETDLGCODE:
      switch (type) {
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- List box and combo box ------------------------------------------------------------

namespace {

int compare_no_case(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(char_lower(a[i]));
    const auto cb = static_cast<unsigned char>(char_lower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool starts_no_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && compare_no_case(text.substr(0, prefix.size()), prefix) == 0;
}

int add_item(Window& w, std::string_view text, bool sorted) {
  std::size_t at = w.items.size();
  if (sorted) {
    at = 0;
    while (at < w.items.size() && compare_no_case(w.items[at].text, text) <= 0) ++at;
  }
  w.items.insert(w.items.begin() + static_cast<std::ptrdiff_t>(at), ListItem{std::string(text), 0});
  if (w.current >= static_cast<int>(at)) ++w.current;
  return static_cast<int>(at);
}

int insert_item(Window& w, std::intptr_t index, std::string_view text) {
  const auto n = static_cast<std::intptr_t>(w.items.size());
  if (index == -1) index = n;
  if (index < 0 || index > n) return LB_ERR;
  w.items.insert(w.items.begin() + index, ListItem{std::string(text), 0});
  if (w.current >= index) ++w.current;
  return static_cast<int>(index);
}

int delete_item(Window& w, std::intptr_t index) {
  if (index < 0 || index >= static_cast<std::intptr_t>(w.items.size())) return LB_ERR;
  w.items.erase(w.items.begin() + index);
  if (w.current == index) w.current = -1;
  else if (w.current > index) --w.current;
  return static_cast<int>(w.items.size());
}

int find_item(const Window& w, std::intptr_t start, std::string_view text, bool exact) {
  const int n = static_cast<int>(w.items.size());
  if (n == 0) return LB_ERR;
  int from = (start < -1 || start >= n) ? 0 : static_cast<int>(start) + 1;
  for (int k = 0; k < n; ++k) {
    const int i = (from + k) % n;
    const std::string& t = w.items[static_cast<std::size_t>(i)].text;
    if (exact ? compare_no_case(t, text) == 0 : starts_no_case(t, text)) return i;
  }
  return LB_ERR;
}

bool valid_index(const Window& w, WPARAM index) {
  return static_cast<std::intptr_t>(index) >= 0 && index < w.items.size();
}

// The messages list boxes and combo boxes share, with their numbers for one
// kind; answers true and sets `result` when the message was one of them.
struct ListMessages {
  std::uint32_t add, insert, remove, reset, set_cur, get_cur, get_text, get_text_len, count,
      select, find, find_exact, get_data, set_data;
};
constexpr ListMessages kListBox{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                LB_SETCURSEL, LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN, LB_GETCOUNT,
                                LB_SELECTSTRING, LB_FINDSTRING, LB_FINDSTRINGEXACT,
                                LB_GETITEMDATA, LB_SETITEMDATA};
constexpr ListMessages kComboBox{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                 CB_SETCURSEL, CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN,
                                 CB_GETCOUNT, CB_SELECTSTRING, CB_FINDSTRING, CB_FINDSTRINGEXACT,
                                 CB_GETITEMDATA, CB_SETITEMDATA};

bool list_message(Window& w, const ListMessages& k, bool sorted, std::uint32_t m, WPARAM wParam,
                  LPARAM lParam, LRESULT& result) {
  if (m == k.add) {
    result = add_item(w, text_of(lParam), sorted);
  } else if (m == k.insert) {
    result = insert_item(w, static_cast<std::intptr_t>(wParam), text_of(lParam));
  } else if (m == k.remove) {
    result = delete_item(w, static_cast<std::intptr_t>(wParam));
  } else if (m == k.reset) {
    w.items.clear();
    w.current = -1;
    result = 0;
  } else if (m == k.set_cur) {
    if (static_cast<std::intptr_t>(wParam) == -1) {
      w.current = -1;
      result = LB_ERR;
    } else if (!valid_index(w, wParam)) {
      result = LB_ERR;
    } else {
      w.current = static_cast<int>(wParam);
      result = w.current;
    }
  } else if (m == k.get_cur) {
    result = w.current;
  } else if (m == k.get_text) {
    if (!valid_index(w, wParam) || lParam == 0) {
      result = LB_ERR;
    } else {
      const std::string& t = w.items[wParam].text;
      std::memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
      result = static_cast<LRESULT>(t.size());
    }
  } else if (m == k.get_text_len) {
    result = valid_index(w, wParam) ? static_cast<LRESULT>(w.items[wParam].text.size()) : LRESULT{LB_ERR};
  } else if (m == k.count) {
    result = static_cast<LRESULT>(w.items.size());
  } else if (m == k.find || m == k.find_exact) {
    result = find_item(w, static_cast<std::intptr_t>(wParam), text_of(lParam), m == k.find_exact);
  } else if (m == k.select) {
    const int i = find_item(w, static_cast<std::intptr_t>(wParam), text_of(lParam), false);
    if (i >= 0) w.current = i;
    result = i;
  } else if (m == k.get_data) {
    result = valid_index(w, wParam) ? static_cast<LRESULT>(w.items[wParam].data) : LRESULT{LB_ERR};
  } else if (m == k.set_data) {
    if (!valid_index(w, wParam)) {
      result = LB_ERR;
    } else {
      w.items[wParam].data = static_cast<std::uintptr_t>(lParam);
      result = 0;
    }
  } else {
    return false;
  }
  return true;
}

// Moves the selection by a key; returns whether it changed.
bool step_selection(Window& w, WPARAM key) {
  const int n = static_cast<int>(w.items.size());
  if (n == 0) return false;
  int c = w.current;
  switch (key) {
    case VK_UP: c = std::max(0, c - 1); break;
    case VK_DOWN: c = std::min(n - 1, c + 1); break;
    case VK_HOME: c = 0; break;
    case VK_END: c = n - 1; break;
    default: return false;
  }
  if (c == w.current) return false;
  w.current = c;
  return true;
}

}  // namespace

LRESULT listbox_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Window> held = hold(hwnd);
  if (!held) return 0;
  Window& w = *held;
  LRESULT result = 0;
  if (list_message(w, kListBox, (w.style & LBS_SORT) != 0, message, wParam, lParam, result))
    return result;
  switch (message) {
    case WM_KEYDOWN:
      if (step_selection(w, wParam) && (w.style & LBS_NOTIFY)) notify_parent(hwnd, LBN_SELCHANGE);
      return 0;
    case WM_CHAR: {
      const char c[2] = {static_cast<char>(wParam & 0xFF), '\0'};
      const int i = find_item(w, w.current, c, false);
      if (i >= 0 && i != w.current) {
        w.current = i;
        if (w.style & LBS_NOTIFY) notify_parent(hwnd, LBN_SELCHANGE);
      }
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT combobox_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Window> held = hold(hwnd);
  if (!held) return 0;
  Window& w = *held;
  const bool list_only = (w.style & 3) == CBS_DROPDOWNLIST;
  LRESULT result = 0;
  const int before = w.current;
  if (list_message(w, kComboBox, (w.style & CBS_SORT) != 0, message, wParam, lParam, result)) {
    // The edit part shows the selected item.
    if (message == CB_SETCURSEL || message == CB_SELECTSTRING) {
      w.text = w.current >= 0 ? w.items[static_cast<std::size_t>(w.current)].text : std::string();
    } else if (message == CB_RESETCONTENT) {
      w.text.clear();
    } else if (message == CB_DELETESTRING && before >= 0 && w.current < 0) {
      w.text.clear();
    }
    return result;
  }
  switch (message) {
    case CB_LIMITTEXT:
      w.edit_limit = wParam == 0 ? kEditMaximum : static_cast<std::uint32_t>(wParam);
      return 1;
    case CB_SHOWDROPDOWN:
      if ((w.style & 3) >= CBS_DROPDOWN) w.dropped = wParam != 0;
      return 1;
    case CB_GETDROPPEDSTATE:
      return w.dropped ? 1 : 0;
    case CB_GETDROPPEDCONTROLRECT: {
      if (lParam == 0) return 0;
      Rect r{};
      GetWindowRect(hwnd, &r);
      if (w.dropped_height > 0) r.bottom = r.top + w.dropped_height;
      *reinterpret_cast<Rect*>(lParam) = r;
      return 1;
    }
    case WM_KEYDOWN:
      if (step_selection(w, wParam)) {
        w.text = w.items[static_cast<std::size_t>(w.current)].text;
        notify_parent(hwnd, CBN_SELCHANGE);
      }
      return 0;
    case WM_CHAR: {
      const char c = static_cast<char>(wParam & 0xFF);
      if (list_only) {
        const char s[2] = {c, '\0'};
        const int i = find_item(w, w.current, s, false);
        if (i >= 0 && i != w.current) {
          w.current = i;
          w.text = w.items[static_cast<std::size_t>(i)].text;
          notify_parent(hwnd, CBN_SELCHANGE);
        }
        return 0;
      }
      if (c == '\b') {
        if (!w.text.empty()) w.text.pop_back();
      } else if (static_cast<unsigned char>(c) >= 0x20 && w.text.size() < w.edit_limit) {
        w.text += c;
      }
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- MDI client ---------------------------------------------------------------------

LRESULT mdiclient_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_MDIACTIVATE: {
      const auto child = static_cast<WindowHandle>(wParam);
      if (!IsChild(hwnd, child) || GetParent(child) != hwnd) return 0;
      const WindowHandle old = w->mdi_active;
      if (old == child) return 0;
      w->mdi_active = child;
      if (IsWindow(old))
        SendMessageA(old, WM_MDIACTIVATE, static_cast<WPARAM>(old), static_cast<LPARAM>(child));
      SendMessageA(child, WM_MDIACTIVATE, static_cast<WPARAM>(old), static_cast<LPARAM>(child));
      return 0;
    }
    case WM_MDIGETACTIVE:
      return static_cast<LRESULT>(IsWindow(w->mdi_active) ? w->mdi_active : 0);
    case WM_MDIDESTROY:
      if (GetParent(static_cast<WindowHandle>(wParam)) == hwnd)
        DestroyWindow(static_cast<WindowHandle>(wParam));
      return 0;
    case WM_MDINEXT: {
      const auto& s = w->children;
      if (s.size() < 2) return 0;
      const WindowHandle from = wParam != 0 ? static_cast<WindowHandle>(wParam) : w->mdi_active;
      auto it = std::find(s.begin(), s.end(), from);
      if (it == s.end()) return 0;
      WindowHandle next;
      if (lParam != 0) next = it == s.begin() ? s.back() : *(it - 1);
      else next = it + 1 == s.end() ? s.front() : *(it + 1);
      SendMessageA(hwnd, WM_MDIACTIVATE, static_cast<WPARAM>(next), 0);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace corva::platform::win
