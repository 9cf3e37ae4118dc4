// Dialogs: registered templates, modeless and modal dialogs, the default
// dialog procedure, the dialog keys, and the dialog-item helpers.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include <corvaplat/text.h>

#include "windows/internal.h"

namespace corva::platform {
namespace win {
namespace {

std::map<std::pair<ModuleHandle, std::uint16_t>, DialogTemplate>& templates() {
  static auto* t = new std::map<std::pair<ModuleHandle, std::uint16_t>, DialogTemplate>;
  return *t;
}

int to_px_x(int units) { return units * kBaseUnitX / 4; }
int to_px_y(int units) { return units * kBaseUnitY / 8; }

bool usable(WindowHandle h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

bool is_tab_stop(WindowHandle h) {
  return usable(h) && (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) != 0;
}

std::uint32_t dlg_code(WindowHandle h, const MSG* msg) {
  return static_cast<std::uint32_t>(
      SendMessageA(h, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0,
                   reinterpret_cast<LPARAM>(msg)));
}

// The immediate child of the dialog that holds the window.
WindowHandle dialog_child(WindowHandle dialog, WindowHandle h) {
  while (h != 0 && GetParent(h) != dialog) h = GetParent(h);
  return h;
}

void focus_control(WindowHandle control) {
  if (control == 0) return;
  SetFocus(control);
  if (dlg_code(control, nullptr) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

// Sends the command of a button (or of an identifier without a control).
void command(WindowHandle dialog, int id) {
  const WindowHandle control = GetDlgItem(dialog, id);
  if (control != 0 && !IsWindowEnabled(control)) return;
  SendMessageA(dialog, WM_COMMAND, make_wparam(static_cast<std::uint32_t>(id), BN_CLICKED),
               static_cast<LPARAM>(control));
}

// The first character after a single '&' of a text, 0 when there is none.
char mnemonic_of(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return text[i + 1];
  }
  return 0;
}

// Finds the control whose text names the character as its mnemonic and acts
// on it: a button is clicked (a push button) or focused and clicked, a static
// text or group box gives the focus to the next tab stop after it. Hidden
// controls answer too, as they do in the dialog manager: whoever hides a
// labelled control disarms its mnemonic.
bool mnemonic(WindowHandle dialog, char c) {
  const Window* d = find(dialog, false);
  if (d == nullptr || c == 0) return false;
  const std::vector<WindowHandle> children = d->children;
  const char lc = char_lower(c);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Window* w = find(children[i], false);
    if (w == nullptr || (w->style & WS_DISABLED)) continue;
    const Kind k = w->cls->kind;
    if (k != Kind::kButton && k != Kind::kStatic) continue;
    if (k == Kind::kStatic && (w->style & SS_NOPREFIX)) continue;
    const char m = mnemonic_of(w->text);
    if (m == 0 || char_lower(m) != lc) continue;
    const std::uint32_t type = w->style & BS_TYPEMASK;
    if (k == Kind::kStatic || (k == Kind::kButton && type == BS_GROUPBOX)) {
      for (std::size_t j = i + 1; j < children.size(); ++j) {
        if (is_tab_stop(children[j])) {
          focus_control(children[j]);
          break;
        }
      }
      return true;
    }
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) SetFocus(children[i]);
    SendMessageA(children[i], BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

// The next control of the group in the given direction (arrow keys).
WindowHandle next_in_group(WindowHandle dialog, WindowHandle control, bool previous) {
  const Window* d = find(dialog, false);
  if (d == nullptr) return 0;
  const auto& s = d->children;
  auto at = std::find(s.begin(), s.end(), control);
  if (at == s.end()) return 0;
  auto starts_group = [](WindowHandle h) { return (GetWindowLongA(h, GWL_STYLE) & WS_GROUP) != 0; };
  auto first = at;
  while (first != s.begin() && !starts_group(*first)) --first;
  auto last = at + 1;
  while (last != s.end() && !starts_group(*last)) ++last;
  const std::vector<WindowHandle> group(first, last);
  const auto n = static_cast<std::ptrdiff_t>(group.size());
  const auto pos = std::find(group.begin(), group.end(), control) - group.begin();
  for (std::ptrdiff_t k = 1; k < n; ++k) {
    const std::ptrdiff_t i = ((pos + (previous ? -k : k)) % n + n) % n;
    if (usable(group[static_cast<std::size_t>(i)])) return group[static_cast<std::size_t>(i)];
  }
  return control;
}

}  // namespace

void reset_templates_and_accelerators_part();

void reset_templates_and_accelerators() {
  {
    std::lock_guard g(lock());
    templates().clear();
  }
  reset_templates_and_accelerators_part();
}

LRESULT dialog_class_proc(WindowHandle hwnd, std::uint32_t message, WPARAM wParam,
                          LPARAM lParam) {
  return DefDlgProcA(hwnd, message, wParam, lParam);
}

}  // namespace win

using namespace win;

void register_dialog_template(ModuleHandle module, std::uint16_t id, DialogTemplate dialog) {
  std::lock_guard g(lock());
  templates()[{module, id}] = std::move(dialog);
}

void unregister_dialog_template(ModuleHandle module, std::uint16_t id) {
  std::lock_guard g(lock());
  templates().erase({module, id});
}

const DialogTemplate* find_dialog_template(ModuleHandle module, std::uint16_t id) {
  std::lock_guard g(lock());
  auto it = templates().find({module, id});
  return it == templates().end() ? nullptr : &it->second;
}

namespace {

WindowHandle create_dialog(ModuleHandle module, std::uint16_t id, WindowHandle owner,
                           DialogProc procedure, LPARAM param, bool modal) {
  const DialogTemplate* found = find_dialog_template(module, id);
  if (found == nullptr) {
    SetLastError(kErrorResourceNameNotFound);
    return 0;
  }
  const DialogTemplate t = *found;
  std::uint32_t style = t.style;
  if (modal) style |= WS_VISIBLE;
  const bool visible = (style & WS_VISIBLE) != 0;
  style &= ~WS_VISIBLE;  // shown once its controls are there
  Rect r{0, 0, to_px_x(t.cx), to_px_y(t.cy)};
  AdjustWindowRect(&r, style, false);
  Point origin{to_px_x(t.x), to_px_y(t.y)};
  if (style & WS_CHILD) {
    // A child dialog is placed in its parent's client area.
  } else if (owner != 0) {
    ClientToScreen(owner, &origin);
  }
  const char* cls = t.class_name.empty() ? "#32770" : t.class_name.c_str();
  const WindowHandle dialog =
      CreateWindowExA(0, cls, t.caption.c_str(), style, origin.x + r.left, origin.y + r.top,
                      r.width(), r.height(), owner, 0, module, nullptr);
  if (dialog == 0) return 0;
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LRESULT>(procedure));
  Window* d = find(dialog, false);
  for (const DialogItem& item : t.items) {
    const WindowHandle c = CreateWindowExA(0, item.class_name.c_str(), item.text.c_str(),
                                           item.style | WS_CHILD | WS_VISIBLE, to_px_x(item.x), to_px_y(item.y),
                                           to_px_x(item.cx), to_px_y(item.cy), dialog,
                                           static_cast<MenuHandle>(item.id), module, nullptr);
    if (c == 0) {
      DestroyWindow(dialog);
      return 0;
    }
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && equal_no_case(item.class_name, "BUTTON"))
      d->default_id = item.id;
  }
  const WindowHandle first = GetNextDlgTabItem(dialog, 0, false);
  const LRESULT focus = procedure != nullptr
                            ? procedure(dialog, WM_INITDIALOG, static_cast<WPARAM>(first), param)
                            : 1;
  if (!IsWindow(dialog)) return 0;
  if (visible) ShowWindow(dialog, SW_SHOW);
  if (focus != 0 && IsWindow(first)) focus_control(first);
  return dialog;
}

}  // namespace

WindowHandle CreateDialogParamA(ModuleHandle module, std::uint16_t id, WindowHandle owner,
                                DialogProc procedure, LPARAM param) {
  return create_dialog(module, id, owner, procedure, param, false);
}

LRESULT DialogBoxParamA(ModuleHandle module, std::uint16_t id, WindowHandle owner,
                        DialogProc procedure, LPARAM param) {
  const bool owner_enabled = owner != 0 && IsWindowEnabled(owner);
  const WindowHandle dialog = create_dialog(module, id, owner, procedure, param, true);
  if (dialog == 0) return -1;
  if (owner_enabled) EnableWindow(owner, false);
  LRESULT result = 0;
  MSG msg{};
  for (;;) {
    const Window* d = find(dialog, false);
    if (d == nullptr) break;
    if (d->ended) {
      result = d->end_result;
      break;
    }
    const int got = GetMessageA(&msg, 0, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (got < 0) break;
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (owner_enabled && IsWindow(owner)) EnableWindow(owner, true);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (IsWindow(owner)) SetActiveWindow(owner);
  return result;
}

bool EndDialog(WindowHandle dialog, LRESULT result) {
  Window* d = find(dialog);
  if (d == nullptr || d->cls->kind != Kind::kDialog) return false;
  d->ended = true;
  d->end_result = result;
  ShowWindow(dialog, SW_HIDE);
  return true;
}

LRESULT DefDlgProcA(WindowHandle dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  Window* d = find(dialog);
  if (d == nullptr) return 0;
  if (d->dialog_proc != nullptr) {
    d->msg_result = 0;
    const std::intptr_t handled = d->dialog_proc(dialog, message, wParam, lParam);
    d = find(dialog, false);
    if (d == nullptr) return 0;
    if (handled != 0) {
      switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
          return handled;
        default:
          return d->msg_result;
      }
    }
  }
  switch (message) {
    case WM_CLOSE:
      command(dialog, IDC_CANCEL);
      return 0;
    case DM_GETDEFID:
      return d->default_id != 0 ? static_cast<LRESULT>(make_wparam(
                                      static_cast<std::uint32_t>(d->default_id), DC_HASDEFID))
                                : 0;
    case DM_SETDEFID: {
      // The old default button loses its default style, the new one gains it.
      const WindowHandle old = GetDlgItem(dialog, d->default_id);
      if (old != 0 && class_name(old) == "BUTTON" &&
          (GetWindowLongA(old, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        SendMessageA(old, BM_SETSTYLE, BS_PUSHBUTTON, 0);
      d->default_id = static_cast<int>(loword(wParam));
      const WindowHandle now = GetDlgItem(dialog, d->default_id);
      if (now != 0 && class_name(now) == "BUTTON" &&
          (GetWindowLongA(now, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON)
        SendMessageA(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, 0);
      return 1;
    }
    case WM_NEXTDLGCTL: {
      WindowHandle target;
      if (lParam != 0) target = static_cast<WindowHandle>(wParam);
      else target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (IsWindow(target)) focus_control(target);
      return 0;
    }
    case WM_SETFOCUS: {
      const WindowHandle back = IsChild(dialog, d->saved_focus) ? d->saved_focus
                                                                 : GetNextDlgTabItem(dialog, 0, false);
      if (back != 0) SetFocus(back);
      return 0;
    }
    case WM_ACTIVATE:
      if (loword(wParam) == WA_INACTIVE) {
        const WindowHandle f = GetFocus();
        if (IsChild(dialog, f)) d->saved_focus = f;
        return 0;
      }
      if (!IsChild(dialog, GetFocus())) SendMessageA(dialog, WM_SETFOCUS, 0, 0);
      return 0;
    case WM_GETDLGCODE:
      return 0;
  }
  return DefWindowProcA(dialog, message, wParam, lParam);
}

bool IsDialogMessageA(WindowHandle dialog, MSG* msg) {
  if (msg == nullptr || !IsWindow(dialog)) return false;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return false;
  const WindowHandle target = msg->hwnd;
  const std::uint32_t code = dlg_code(target, msg);
  switch (msg->message) {
    case WM_KEYDOWN:
      switch (msg->wParam) {
        case VK_TAB:
          if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) break;
          focus_control(GetNextDlgTabItem(dialog, dialog_child(dialog, target),
                                          GetKeyState(VK_SHIFT) < 0));
          return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) break;
          const WindowHandle next = next_in_group(dialog, dialog_child(dialog, target),
                                                  msg->wParam == VK_LEFT || msg->wParam == VK_UP);
          if (next != 0 && next != target) {
            SetFocus(next);
            if (class_name(next) == "BUTTON" &&
                (GetWindowLongA(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
              SendMessageA(next, BM_CLICK, 0, 0);
          }
          return true;
        }
        case VK_RETURN: {
          if (code & DLGC_WANTALLKEYS) break;
          int id;
          if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            id = GetDlgCtrlID(target);
          } else {
            const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
            id = hiword(static_cast<std::uintptr_t>(def)) == DC_HASDEFID
                     ? static_cast<int>(loword(static_cast<std::uintptr_t>(def)))
                     : IDC_OK;
          }
          command(dialog, id);
          return true;
        }
        case VK_ESCAPE:
          if (code & DLGC_WANTALLKEYS) break;
          command(dialog, IDC_CANCEL);
          return true;
      }
      break;
    case WM_CHAR: {
      // Characters that the focus does not take are mnemonics.
      if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) break;
      const auto c = static_cast<char>(msg->wParam & 0xFF);
      if (static_cast<unsigned char>(c) > ' ' && mnemonic(dialog, c)) return true;
      break;
    }
    case WM_SYSCHAR:
      if (mnemonic(dialog, static_cast<char>(msg->wParam & 0xFF))) return true;
      break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return true;
}

bool MapDialogRect(WindowHandle dialog, Rect* rect) {
  if (!IsWindow(dialog) || rect == nullptr) return false;
  *rect = Rect{to_px_x(rect->left), to_px_y(rect->top), to_px_x(rect->right),
               to_px_y(rect->bottom)};
  return true;
}

// ---- Dialog items --------------------------------------------------------------------

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
  const Window* d = find(dialog);
  if (d == nullptr) return 0;
  for (WindowHandle c : d->children) {
    const Window* w = find(c, false);
    if (w != nullptr && w->id == id) return c;
  }
  SetLastError(1421);  // control ID not found
  return 0;
}

int GetDlgCtrlID(WindowHandle hwnd) {
  const Window* w = find(hwnd);
  return w != nullptr && (w->style & WS_CHILD) ? w->id : 0;
}

LRESULT SendDlgItemMessageA(WindowHandle dialog, int id, std::uint32_t message, WPARAM wParam,
                            LPARAM lParam) {
  const WindowHandle c = GetDlgItem(dialog, id);
  return c != 0 ? SendMessageA(c, message, wParam, lParam) : 0;
}

bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text) {
  const WindowHandle c = GetDlgItem(dialog, id);
  return c != 0 && SetWindowTextA(c, text);
}

std::uint32_t GetDlgItemTextA(WindowHandle dialog, int id, char* buffer, int size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  const WindowHandle c = GetDlgItem(dialog, id);
  return c != 0 ? static_cast<std::uint32_t>(GetWindowTextA(c, buffer, size)) : 0;
}

bool SetDlgItemInt(WindowHandle dialog, int id, std::uint32_t value, bool is_signed) {
  char buf[16];
  if (is_signed) std::snprintf(buf, sizeof buf, "%d", static_cast<std::int32_t>(value));
  else std::snprintf(buf, sizeof buf, "%u", value);
  return SetDlgItemTextA(dialog, id, buf);
}

std::uint32_t GetDlgItemInt(WindowHandle dialog, int id, bool* translated, bool is_signed) {
  if (translated != nullptr) *translated = false;
  const WindowHandle c = GetDlgItem(dialog, id);
  if (c == 0) return 0;
  const std::string text = window_text(c);
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (is_signed && i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  const std::size_t digits_at = i;
  std::uint64_t v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    v = v * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (v > 0xFFFFFFFFull) return 0;
    ++i;
  }
  if (i == digits_at) return 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return 0;
  if (is_signed && v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
  if (translated != nullptr) *translated = true;
  return negative ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(v))
                  : static_cast<std::uint32_t>(v);
}

bool CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check) {
  const WindowHandle c = GetDlgItem(dialog, id);
  if (c == 0) return false;
  SendMessageA(c, BM_SETCHECK, check, 0);
  return true;
}

std::uint32_t IsDlgButtonChecked(WindowHandle dialog, int id) {
  const WindowHandle c = GetDlgItem(dialog, id);
  return c != 0 ? static_cast<std::uint32_t>(SendMessageA(c, BM_GETCHECK, 0, 0)) : 0;
}

bool CheckRadioButton(WindowHandle dialog, int first, int last, int check) {
  if (!IsWindow(dialog)) return false;
  for (int id = first; id <= last; ++id) {
    if (const WindowHandle c = GetDlgItem(dialog, id))
      SendMessageA(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return true;
}

WindowHandle GetNextDlgTabItem(WindowHandle dialog, WindowHandle control, bool previous) {
  const Window* d = find(dialog);
  if (d == nullptr) return 0;
  const std::vector<WindowHandle>& s = d->children;
  const auto n = static_cast<std::ptrdiff_t>(s.size());
  if (n == 0) return 0;
  std::ptrdiff_t pos = std::find(s.begin(), s.end(), control) - s.begin();
  if (pos == n) pos = previous ? 0 : n - 1;  // no control: start at an end
  for (std::ptrdiff_t k = 1; k <= n; ++k) {
    const std::ptrdiff_t i = ((pos + (previous ? -k : k)) % n + n) % n;
    if (is_tab_stop(s[static_cast<std::size_t>(i)])) return s[static_cast<std::size_t>(i)];
  }
  return control;
}

}  // namespace corva::platform
