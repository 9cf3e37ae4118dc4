// Windows: handles, classes, the tree, text, styles, visibility, focus,
// activation, rectangles, properties and the caption flash.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "windows/internal.h"

namespace corva::platform {
namespace win {
namespace {

struct Slot {
  std::uint16_t generation = 0;
  std::shared_ptr<Window> window;
};

constexpr std::size_t kSlots = 0x10000;  // index 0 is never used

struct Registry {
  std::recursive_mutex mutex;
  Slot* slots = new Slot[kSlots];
  std::uint32_t next_fresh = 1;
  std::deque<std::uint16_t> free_slots;
  std::vector<WindowHandle> top_levels;
  std::map<std::string, std::shared_ptr<ClassInfo>> classes;  // by lower-case name
  Atom next_class_atom = 0xC001;
  std::map<ThreadId, std::shared_ptr<ThreadState>> threads;
  ThreadId next_thread = 1;
  bool foreground = true;
};

Registry& registry() {
  // Never destroyed: windows may outlive static destructors in a host.
  static Registry* r = new Registry;
  return *r;
}

struct ThreadRef {
  std::shared_ptr<ThreadState> state;
  ThreadRef() {
    Registry& r = registry();
    std::lock_guard g(r.mutex);
    state = std::make_shared<ThreadState>();
    state->id = r.next_thread++;
    r.threads[state->id] = state;
  }
  ~ThreadRef() {
    Registry& r = registry();
    std::lock_guard g(r.mutex);
    r.threads.erase(state->id);
  }
};

}  // namespace

std::recursive_mutex& lock() { return registry().mutex; }

Window* find(WindowHandle hwnd, bool report) {
  const std::uint32_t index = hwnd & 0xFFFF;
  if (index != 0) {
    Slot& s = registry().slots[index];
    if (s.window && s.generation == (hwnd >> 16)) return s.window.get();
  }
  if (report) SetLastError(kErrorInvalidWindowHandle);
  return nullptr;
}

std::shared_ptr<Window> hold(WindowHandle hwnd) {
  const std::uint32_t index = hwnd & 0xFFFF;
  if (index == 0) return nullptr;
  Slot& s = registry().slots[index];
  if (s.window && s.generation == (hwnd >> 16)) return s.window;
  return nullptr;
}

WindowHandle enter(std::shared_ptr<Window> window) {
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  std::uint32_t index;
  if (r.next_fresh < kSlots) {
    index = r.next_fresh++;
  } else if (!r.free_slots.empty()) {
    index = r.free_slots.front();
    r.free_slots.pop_front();
  } else {
    SetLastError(kErrorNotEnoughMemory);
    return 0;
  }
  Slot& s = r.slots[index];
  s.generation = static_cast<std::uint16_t>(s.generation + 1);
  if (s.generation == 0) s.generation = 1;
  const WindowHandle h = (static_cast<std::uint32_t>(s.generation) << 16) | index;
  window->handle = h;
  s.window = std::move(window);
  return h;
}

void leave(WindowHandle hwnd) {
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  const std::uint32_t index = hwnd & 0xFFFF;
  Slot& s = r.slots[index];
  if (!s.window || s.window->handle != hwnd) return;
  s.window.reset();
  r.free_slots.push_back(static_cast<std::uint16_t>(index));
  auto& tl = r.top_levels;
  tl.erase(std::remove(tl.begin(), tl.end(), hwnd), tl.end());
}

std::vector<WindowHandle>& top_levels() { return registry().top_levels; }

ThreadState& current_thread() {
  thread_local ThreadRef ref;
  return *ref.state;
}

ThreadState& owner_thread(const Window& w) {
  ThreadState& me = current_thread();
  if (w.thread == me.id) return me;
  std::shared_ptr<ThreadState> other = thread_state(w.thread);
  return other ? *other : me;
}

std::shared_ptr<ThreadState> thread_state(ThreadId id) {
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  auto it = r.threads.find(id);
  return it == r.threads.end() ? nullptr : it->second;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

bool equal_no_case(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::shared_ptr<ClassInfo> find_class(std::string_view name) {
  ensure_predefined_classes();
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  auto it = r.classes.find(lower(name));
  return it == r.classes.end() ? nullptr : it->second;
}

namespace {
void add_class_locked(Registry& r, const char* name, WindowProc proc, std::uint32_t style,
                      ModuleHandle instance, Kind kind, bool predefined,
                      std::uint32_t background = 0) {
  auto c = std::make_shared<ClassInfo>();
  c->name = name;
  c->procedure = proc;
  c->style = style;
  c->instance = instance;
  c->atom = r.next_class_atom++;
  c->kind = kind;
  c->predefined = predefined;
  c->background = background;
  r.classes[lower(name)] = std::move(c);
}
}  // namespace

void ensure_predefined_classes() {
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  if (r.classes.count("edit") != 0) return;
  add_class_locked(r, "EDIT", edit_proc, 0, 0, Kind::kEdit, true);
  add_class_locked(r, "STATIC", static_proc, 0, 0, Kind::kStatic, true);
  add_class_locked(r, "BUTTON", button_proc, 0, 0, Kind::kButton, true);
  add_class_locked(r, "LISTBOX", listbox_proc, 0, 0, Kind::kListBox, true);
  add_class_locked(r, "COMBOBOX", combobox_proc, 0, 0, Kind::kComboBox, true);
  add_class_locked(r, "MDICLIENT", mdiclient_proc, 0, 0, Kind::kMdiClient, true);
  add_class_locked(r, "#32770", dialog_class_proc, 0, 0, Kind::kDialog, true);
}

int frame_width(std::uint32_t style) {
  if (style & WS_THICKFRAME) return 4;
  if (style & (WS_BORDER | WS_DLGFRAME)) return 1;
  return 0;
}
int caption_height(std::uint32_t style) { return (style & WS_CAPTION) == WS_CAPTION ? 18 : 0; }
int menu_bar_height(const Window& w) { return !(w.style & WS_CHILD) && w.menu != 0 ? kMenuBarHeight : 0; }

void fit_combo_box(Window& w) {
  if (w.cls->kind != Kind::kComboBox || (w.style & 3) < CBS_DROPDOWN) return;
  // A drop-down combo box is as high as its edit; the rest is its list.
  w.dropped_height = w.rect.height();
  w.rect.bottom = w.rect.top + std::min(w.rect.height(), kComboHeight);
}

Point client_origin(const Window& w) {
  Point p{w.rect.left + frame_width(w.style), w.rect.top + frame_width(w.style) +
                                                  caption_height(w.style) + menu_bar_height(w)};
  if (w.style & WS_CHILD) {
    if (const Window* parent = find(w.parent, false)) {
      const Point o = client_origin(*parent);
      p.x += o.x;
      p.y += o.y;
    }
  }
  return p;
}

void notify_parent(WindowHandle control, std::uint32_t code) {
  const Window* w = find(control, false);
  if (w == nullptr || (w->style & WS_CHILD) == 0 || w->parent == 0) return;
  const WindowHandle parent = w->parent;
  SendMessageA(parent, WM_COMMAND, make_wparam(static_cast<std::uint32_t>(w->id), code),
               static_cast<LPARAM>(control));
}

}  // namespace win

using namespace win;

// ---- Classes ---------------------------------------------------------------------

Atom RegisterClassA(const WindowClass& wc) {
  if (wc.name == nullptr || wc.name[0] == '\0' || wc.procedure == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  ensure_predefined_classes();
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  std::string key = lower(wc.name);
  if (r.classes.count(key) != 0) {
    SetLastError(kErrorClassAlreadyExists);
    return 0;
  }
  add_class_locked(r, wc.name, wc.procedure, wc.style, wc.instance, Kind::kGeneric, false,
                   wc.background);
  return r.classes[key]->atom;
}

bool UnregisterClassA(const char* name, ModuleHandle) {
  if (name == nullptr) return false;
  Registry& r = registry();
  std::lock_guard g(r.mutex);
  auto it = r.classes.find(lower(name));
  if (it == r.classes.end() || it->second->predefined) return false;
  for (std::size_t i = 1; i < r.next_fresh && i < kSlots; ++i) {
    if (r.slots[i].window && r.slots[i].window->cls == it->second) return false;
  }
  r.classes.erase(it);
  return true;
}

// ---- Default procedure -------------------------------------------------------------

LRESULT DefWindowProcA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE:
      return 1;
    case WM_SETTEXT:
      w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      return 1;
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      const std::size_t size = wParam;
      if (buffer == nullptr || size == 0) return 0;
      const std::size_t n = std::min(w->text.size(), size - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
      w->font = static_cast<FontHandle>(wParam);
      return 0;
    case WM_GETFONT:
      return static_cast<LRESULT>(w->font);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessageA(hwnd, WM_CLOSE, 0, 0);
          return 0;
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          if (w->ex_style & WS_EX_MDICHILD)
            SendMessageA(w->parent, WM_MDINEXT, static_cast<WPARAM>(hwnd),
                         (wParam & 0xFFF0) == SC_PREVWINDOW ? 1 : 0);
          return 0;
      }
      return 0;
    case WM_ACTIVATE:
      if (loword(wParam) != WA_INACTIVE) {
        const WindowHandle focus = current_thread().focus;
        if (focus != hwnd && !IsChild(hwnd, focus)) SetFocus(hwnd);
      }
      return 0;
    case WM_PAINT:
      if (standard_control(w->cls->kind)) {
        paint_control(hwnd);
      } else {
        ValidateRect(hwnd, nullptr);
      }
      return 0;
    case WM_NCPAINT:
      paint_nonclient(hwnd);
      return 0;
    case WM_ERASEBKGND:
      erase_background(hwnd, static_cast<DcHandle>(wParam));
      return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return 0;
    default:
      return 0;
  }
}

LRESULT CallWindowProcA(WindowProc procedure, WindowHandle hwnd, std::uint32_t message,
                        WPARAM wParam, LPARAM lParam) {
  return procedure != nullptr ? procedure(hwnd, message, wParam, lParam) : 0;
}

// ---- Creation and destruction ------------------------------------------------------

WindowHandle CreateWindowExA(std::uint32_t ex_style, const char* class_name_text,
                             const char* text, std::uint32_t style, int x, int y, int width,
                             int height, WindowHandle parent, MenuHandle menu,
                             ModuleHandle instance, void* param) {
  if (class_name_text == nullptr) {
    SetLastError(kErrorCannotFindWndClass);
    return 0;
  }
  auto cls = find_class(class_name_text);
  if (cls == nullptr) {
    SetLastError(kErrorCannotFindWndClass);
    return 0;
  }
  ThreadState& ts = current_thread();
  Window* p = nullptr;
  if (parent != 0) {
    p = find(parent);
    if (p == nullptr) return 0;
  } else if (style & WS_CHILD) {
    SetLastError(1406);  // a child window needs a parent
    return 0;
  }
  auto w = std::make_shared<Window>();
  w->thread = ts.id;
  w->cls = cls;
  w->procedure = cls->procedure;
  w->text = text != nullptr ? text : "";
  w->style = style;
  w->ex_style = ex_style;
  w->instance = instance;
  if (style & WS_CHILD) {
    w->id = static_cast<int>(menu);
    w->parent = parent;
  } else {
    w->menu = menu;
    w->owner = parent != 0 ? top_level_parent(parent) : 0;
  }
  w->rect = Rect{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  fit_combo_box(*w);
  if (cls->kind == Kind::kDialog) w->default_id = IDC_OK;
  const WindowHandle h = enter(w);
  if (h == 0) return 0;
  {
    std::lock_guard g(lock());
    if (style & WS_CHILD) {
      p->children.push_back(h);
    } else {
      top_levels().push_back(h);
    }
  }
  CreateStruct cs{param, instance, menu, parent, height, width, y, x, style, text,
                  class_name_text, ex_style};
  const LPARAM lp = reinterpret_cast<LPARAM>(&cs);
  if (SendMessageA(h, WM_NCCREATE, 0, lp) == 0 || SendMessageA(h, WM_CREATE, 0, lp) == -1) {
    DestroyWindow(h);
    return 0;
  }
  Window* made = find(h, false);
  if (made == nullptr) return 0;
  if (p != nullptr && p->cls->kind == Kind::kMdiClient && (style & WS_CHILD)) {
    SendMessageA(parent, WM_MDIACTIVATE, static_cast<WPARAM>(h), 0);
  }
  if ((style & WS_VISIBLE) && (style & WS_CHILD) == 0) {
    SendMessageA(h, WM_SHOWWINDOW, 1, 0);
    SetActiveWindow(h);
  }
  return h;
}

namespace {

// Sends WM_DESTROY to the window and then to its children, frees the children,
// then sends WM_NCDESTROY and frees the window.
void destroy_tree(WindowHandle h) {
  Window* w = find(h, false);
  if (w == nullptr) return;
  SendMessageA(h, WM_DESTROY, 0, 0);
  w = find(h, false);
  if (w == nullptr) return;
  const std::vector<WindowHandle> children = w->children;
  for (WindowHandle c : children) {
    if (Window* cw = find(c, false)) {
      cw->destroying = true;
      destroy_tree(c);
    }
  }
  SendMessageA(h, WM_NCDESTROY, 0, 0);
  w = find(h, false);
  if (w == nullptr) return;
  kill_timers(h);
  remove_queued(h);
  for (const Property& p : w->properties) {
    if (p.named) GlobalDeleteAtom(p.atom);
  }
  w->properties.clear();
  if (w->update_pending) --owner_thread(*w).paints_pending;
  if (w->style & WS_CHILD) {
    if (Window* parent = find(w->parent, false)) {
      auto& siblings = parent->children;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), h), siblings.end());
      if (parent->mdi_active == h) {
        parent->mdi_active = 0;
        if (!siblings.empty() && !parent->destroying) {
          SendMessageA(parent->handle, WM_MDIACTIVATE, static_cast<WPARAM>(siblings.back()), 0);
        }
      }
    }
  }
  ThreadState& ts = current_thread();
  if (ts.focus == h) ts.focus = 0;
  if (ts.active == h) ts.active = 0;
  leave(h);
}

}  // namespace

bool DestroyWindow(WindowHandle hwnd) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  ThreadState& ts = current_thread();
  if (w->thread != ts.id) {
    SetLastError(kErrorAccessDenied);
    return false;
  }
  if (w->destroying) return true;  // already on its way (a handler asked again)
  w->destroying = true;
  const bool top = (w->style & WS_CHILD) == 0;
  const WindowHandle owner = w->owner;
  if (top) {
    // Owned windows go first.
    std::vector<WindowHandle> owned;
    {
      std::lock_guard g(lock());
      for (WindowHandle t : top_levels()) {
        const Window* tw = find(t, false);
        if (tw != nullptr && tw->owner == hwnd) owned.push_back(t);
      }
    }
    for (WindowHandle o : owned) DestroyWindow(o);
  }
  // The focus leaves the window and its children before they go.
  if (ts.focus != 0 && (ts.focus == hwnd || IsChild(hwnd, ts.focus))) {
    const WindowHandle old = ts.focus;
    ts.focus = 0;
    SendMessageA(old, WM_KILLFOCUS, 0, 0);
  }
  const bool was_active = top && ts.active == hwnd;
  if (was_active) {
    ts.active = 0;
    SendMessageA(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  if (find(hwnd, false) != nullptr && (w->style & WS_VISIBLE)) {
    w->style &= ~WS_VISIBLE;
    SendMessageA(hwnd, WM_SHOWWINDOW, 0, 0);
  }
  destroy_tree(hwnd);
  if (was_active && ts.active == 0) {
    // Activation goes to the owner, else to the last visible top-level window.
    WindowHandle next = 0;
    if (IsWindow(owner) && IsWindowVisible(owner)) {
      next = owner;
    } else {
      const auto windows = thread_windows();
      for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IsWindowVisible(*it) && !find(*it, false)->destroying) {
          next = *it;
          break;
        }
      }
    }
    if (next != 0) SetActiveWindow(next);
  }
  return true;
}

bool IsWindow(WindowHandle hwnd) { return find(hwnd, false) != nullptr; }

bool IsChild(WindowHandle parent, WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  while (w != nullptr && (w->style & WS_CHILD)) {
    if (w->parent == parent) return parent != 0;
    w = find(w->parent, false);
  }
  return false;
}

WindowHandle GetParent(WindowHandle hwnd) {
  const Window* w = find(hwnd);
  if (w == nullptr) return 0;
  return (w->style & WS_CHILD) ? w->parent : w->owner;
}

WindowHandle SetParent(WindowHandle hwnd, WindowHandle parent) {
  Window* w = find(hwnd);
  if (w == nullptr || !(w->style & WS_CHILD)) return 0;
  Window* np = find(parent);
  if (np == nullptr || parent == hwnd || IsChild(hwnd, parent)) return 0;
  const WindowHandle old = w->parent;
  if (Window* op = find(old, false)) {
    op->children.erase(std::remove(op->children.begin(), op->children.end(), hwnd),
                       op->children.end());
  }
  np->children.push_back(hwnd);
  w->parent = parent;
  return old;
}

WindowHandle GetWindow(WindowHandle hwnd, std::uint32_t relation) {
  const Window* w = find(hwnd);
  if (w == nullptr) return 0;
  switch (relation) {
    case GW_CHILD:
      return w->children.empty() ? 0 : w->children.front();
    case GW_OWNER:
      return (w->style & WS_CHILD) ? 0 : w->owner;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
      std::vector<WindowHandle> siblings;
      if (w->style & WS_CHILD) {
        const Window* p = find(w->parent, false);
        if (p == nullptr) return 0;
        siblings = p->children;
      } else {
        siblings = thread_windows();
      }
      auto it = std::find(siblings.begin(), siblings.end(), hwnd);
      if (it == siblings.end()) return 0;
      if (relation == GW_HWNDFIRST) return siblings.front();
      if (relation == GW_HWNDLAST) return siblings.back();
      if (relation == GW_HWNDNEXT) return it + 1 == siblings.end() ? 0 : *(it + 1);
      return it == siblings.begin() ? 0 : *(it - 1);
    }
    default:
      SetLastError(kErrorInvalidParameter);
      return 0;
  }
}

WindowHandle GetTopWindow(WindowHandle parent) {
  if (parent == 0) {
    const auto windows = thread_windows();
    return windows.empty() ? 0 : windows.front();
  }
  return GetWindow(parent, GW_CHILD);
}

WindowHandle top_level_parent(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  while (w != nullptr && (w->style & WS_CHILD)) {
    const Window* p = find(w->parent, false);
    if (p == nullptr) break;
    w = p;
  }
  return w != nullptr ? w->handle : 0;
}

WindowHandle FindWindowA(const char* cls, const char* text) {
  for (WindowHandle h : thread_windows()) {
    const Window* w = find(h, false);
    if (w == nullptr) continue;
    if (cls != nullptr && !equal_no_case(w->cls->name, cls)) continue;
    if (text != nullptr && w->text != text) continue;
    return h;
  }
  return 0;
}

std::vector<WindowHandle> thread_windows() {
  const ThreadId me = current_thread().id;
  std::vector<WindowHandle> out;
  std::lock_guard g(lock());
  for (WindowHandle h : top_levels()) {
    const Window* w = find(h, false);
    if (w != nullptr && w->thread == me) out.push_back(h);
  }
  return out;
}

ThreadId GetWindowThreadProcessId(WindowHandle hwnd, std::uint32_t* process) {
  std::lock_guard g(lock());
  const Window* w = find(hwnd);
  if (w == nullptr) return 0;
  if (process != nullptr) *process = 1;
  return w->thread;
}

ThreadId GetCurrentThreadId() { return current_thread().id; }

int GetClassNameA(WindowHandle hwnd, char* buffer, int size) {
  const Window* w = find(hwnd);
  if (w == nullptr || buffer == nullptr || size <= 0) return 0;
  const std::size_t n = std::min(w->cls->name.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, w->cls->name.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

std::string class_name(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  return w != nullptr ? w->cls->name : std::string();
}

// ---- Window words ------------------------------------------------------------------

LRESULT GetWindowLongPtrA(WindowHandle hwnd, int index) {
  const Window* w = find(hwnd);
  if (w == nullptr) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LRESULT>(w->procedure);
    case GWLP_HINSTANCE: return static_cast<LRESULT>(w->instance);
    case GWLP_HWNDPARENT: return static_cast<LRESULT>((w->style & WS_CHILD) ? w->parent : w->owner);
    case GWLP_ID: return (w->style & WS_CHILD) ? w->id : static_cast<LRESULT>(w->menu);
    case GWL_STYLE: return static_cast<LRESULT>(static_cast<std::int32_t>(w->style));
    case GWL_EXSTYLE: return static_cast<LRESULT>(static_cast<std::int32_t>(w->ex_style));
    case GWLP_USERDATA: return w->user_data;
  }
  if (w->cls->kind == Kind::kDialog) {
    if (index == DWLP_MSGRESULT) return w->msg_result;
    if (index == DWLP_DLGPROC) return reinterpret_cast<LRESULT>(w->dialog_proc);
    if (index == DWLP_USER) return w->dialog_user;
  }
  SetLastError(1413);  // invalid index
  return 0;
}

LRESULT SetWindowLongPtrA(WindowHandle hwnd, int index, LRESULT value) {
  Window* w = find(hwnd);
  if (w == nullptr) return 0;
  const LRESULT old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC:
      if (value == 0) return 0;
      w->procedure = reinterpret_cast<WindowProc>(value);
      return old;
    case GWLP_HINSTANCE: w->instance = static_cast<ModuleHandle>(value); return old;
    case GWLP_HWNDPARENT:
      if (w->style & WS_CHILD) return 0;
      w->owner = static_cast<WindowHandle>(value);
      return old;
    case GWLP_ID:
      if (w->style & WS_CHILD) w->id = static_cast<int>(value);
      else w->menu = static_cast<MenuHandle>(value);
      return old;
    case GWL_STYLE: w->style = static_cast<std::uint32_t>(value); return old;
    case GWL_EXSTYLE: w->ex_style = static_cast<std::uint32_t>(value); return old;
    case GWLP_USERDATA: w->user_data = value; return old;
  }
  if (w->cls->kind == Kind::kDialog) {
    if (index == DWLP_MSGRESULT) { w->msg_result = value; return old; }
    if (index == DWLP_DLGPROC) { w->dialog_proc = reinterpret_cast<DialogProc>(value); return old; }
    if (index == DWLP_USER) { w->dialog_user = value; return old; }
  }
  SetLastError(1413);
  return 0;
}

std::int32_t GetWindowLongA(WindowHandle hwnd, int index) {
  return static_cast<std::int32_t>(GetWindowLongPtrA(hwnd, index));
}
std::int32_t SetWindowLongA(WindowHandle hwnd, int index, std::int32_t value) {
  return static_cast<std::int32_t>(SetWindowLongPtrA(hwnd, index, value));
}

// ---- Text --------------------------------------------------------------------------

bool SetWindowTextA(WindowHandle hwnd, const char* text) {
  if (!IsWindow(hwnd)) {
    SetLastError(kErrorInvalidWindowHandle);
    return false;
  }
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""))
         != 0;
}

int GetWindowTextA(WindowHandle hwnd, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (!IsWindow(hwnd)) {
    SetLastError(kErrorInvalidWindowHandle);
    return 0;
  }
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(WindowHandle hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(kErrorInvalidWindowHandle);
    return 0;
  }
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

std::string window_text(WindowHandle hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  if (n <= 0) return std::string();
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  s.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, s.data(), n + 1)));
  return s;
}

// ---- Visibility and enabled state --------------------------------------------------

bool ShowWindow(WindowHandle hwnd, int command) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  const bool was = (w->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE;
  // The show state: normal and restore undo minimizing and maximizing.
  if (command == SW_SHOWNORMAL || command == SW_RESTORE) w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE) w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
  if (command == SW_SHOWMAXIMIZED) w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
  if (show != was) {
    if (show) w->style |= WS_VISIBLE;
    else w->style &= ~WS_VISIBLE;
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    if (show) InvalidateRect(hwnd, nullptr, true);
  }
  const bool activates = command == SW_SHOWNORMAL || command == SW_SHOW ||
                         command == SW_SHOWMAXIMIZED || command == SW_RESTORE;
  if (IsWindow(hwnd) && show && activates && !(w->style & WS_CHILD)) SetActiveWindow(hwnd);
  if (IsWindow(hwnd) && !show && !(w->style & WS_CHILD) && current_thread().active == hwnd) {
    // A hidden window gives up activation to its owner.
    if (IsWindow(w->owner) && IsWindowVisible(w->owner)) SetActiveWindow(w->owner);
  }
  return was;
}

bool IsWindowVisible(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  while (w != nullptr) {
    if ((w->style & WS_VISIBLE) == 0) return false;
    if ((w->style & WS_CHILD) == 0) return true;
    w = find(w->parent, false);
  }
  return false;
}

bool EnableWindow(WindowHandle hwnd, bool enable) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  const bool was_disabled = (w->style & WS_DISABLED) != 0;
  if (was_disabled == enable) {
    if (enable) {
      w->style &= ~WS_DISABLED;
    } else {
      w->style |= WS_DISABLED;
      ThreadState& ts = current_thread();
      if (ts.focus == hwnd || IsChild(hwnd, ts.focus)) SetFocus(0);
    }
    SendMessageA(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  }
  return was_disabled;
}

bool IsWindowEnabled(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  return w != nullptr && (w->style & WS_DISABLED) == 0;
}

// ---- Focus and activation ----------------------------------------------------------

WindowHandle SetFocus(WindowHandle hwnd) {
  ThreadState& ts = current_thread();
  const WindowHandle old = IsWindow(ts.focus) ? ts.focus : 0;
  if (hwnd == 0) {
    ts.focus = 0;
    if (old != 0) SendMessageA(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  Window* w = find(hwnd);
  if (w == nullptr) return 0;
  if (w->thread != ts.id) {
    SetLastError(kErrorAccessDenied);
    return 0;
  }
  const WindowHandle top = top_level_parent(hwnd);
  if (ts.active != top) {
    SetActiveWindow(top);
    if (!IsWindow(hwnd)) return 0;
  }
  const WindowHandle before = IsWindow(ts.focus) ? ts.focus : 0;
  if (before == hwnd) return old;
  ts.focus = hwnd;
  if (before != 0) SendMessageA(before, WM_KILLFOCUS, static_cast<WPARAM>(hwnd), 0);
  if (ts.focus == hwnd && IsWindow(hwnd))
    SendMessageA(hwnd, WM_SETFOCUS, static_cast<WPARAM>(before), 0);
  return old;
}

WindowHandle GetFocus() {
  ThreadState& ts = current_thread();
  return IsWindow(ts.focus) ? ts.focus : 0;
}

WindowHandle SetActiveWindow(WindowHandle hwnd) {
  ThreadState& ts = current_thread();
  const WindowHandle old = IsWindow(ts.active) ? ts.active : 0;
  if (hwnd != 0) {
    const Window* w = find(hwnd);
    if (w == nullptr) return 0;
    if (w->thread != ts.id) return 0;
    hwnd = top_level_parent(hwnd);
  }
  if (hwnd == old) return old;
  ts.active = hwnd;
  if (Window* ow = find(old, false)) {
    ow->highlighted = false;
    SendMessageA(old, WM_ACTIVATE, make_wparam(WA_INACTIVE, 0), static_cast<LPARAM>(hwnd));
  }
  if (hwnd != 0 && ts.active == hwnd) {
    if (Window* nw = find(hwnd, false)) nw->highlighted = registry().foreground;
    SendMessageA(hwnd, WM_ACTIVATE, make_wparam(WA_ACTIVE, 0), static_cast<LPARAM>(old));
  } else if (hwnd == 0 && ts.focus != 0) {
    SetFocus(0);
  }
  return old;
}

WindowHandle GetActiveWindow() {
  ThreadState& ts = current_thread();
  return IsWindow(ts.active) ? ts.active : 0;
}

bool SetForegroundWindow(WindowHandle hwnd) {
  if (!IsWindow(hwnd)) return false;
  set_application_foreground(true);
  SetActiveWindow(hwnd);
  return true;
}

WindowHandle GetForegroundWindow() { return registry().foreground ? GetActiveWindow() : 0; }

void set_application_foreground(bool foreground) {
  Registry& r = registry();
  if (r.foreground == foreground) return;
  r.foreground = foreground;
  ThreadState& ts = current_thread();
  if (!foreground && IsWindow(ts.active)) {
    find(ts.active, false)->highlighted = false;
    SendMessageA(ts.active, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  for (WindowHandle h : thread_windows()) {
    SendMessageA(h, WM_ACTIVATEAPP, foreground ? 1 : 0, 0);
  }
  if (foreground && IsWindow(ts.active)) {
    find(ts.active, false)->highlighted = true;
    SendMessageA(ts.active, WM_ACTIVATE, WA_ACTIVE, 0);
  }
}

bool application_foreground() { return registry().foreground; }

// ---- Rectangles --------------------------------------------------------------------

bool GetWindowRect(WindowHandle hwnd, Rect* rect) {
  const Window* w = find(hwnd);
  if (w == nullptr || rect == nullptr) return false;
  Rect r = w->rect;
  if (w->style & WS_CHILD) {
    if (const Window* p = find(w->parent, false)) {
      const Point o = client_origin(*p);
      OffsetRect(&r, o.x, o.y);
    }
  }
  *rect = r;
  return true;
}

bool GetClientRect(WindowHandle hwnd, Rect* rect) {
  const Window* w = find(hwnd);
  if (w == nullptr || rect == nullptr) return false;
  const int f = frame_width(w->style);
  const int c = caption_height(w->style) + menu_bar_height(*w);
  *rect = Rect{0, 0, std::max(0, w->rect.width() - 2 * f), std::max(0, w->rect.height() - 2 * f - c)};
  return true;
}

bool ClientToScreen(WindowHandle hwnd, Point* point) {
  const Window* w = find(hwnd);
  if (w == nullptr || point == nullptr) return false;
  const Point o = client_origin(*w);
  point->x += o.x;
  point->y += o.y;
  return true;
}

bool ScreenToClient(WindowHandle hwnd, Point* point) {
  const Window* w = find(hwnd);
  if (w == nullptr || point == nullptr) return false;
  const Point o = client_origin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return true;
}

int MapWindowPoints(WindowHandle from, WindowHandle to, Point* points, int count) {
  Point a{0, 0}, b{0, 0};
  if (from != 0 && !ClientToScreen(from, &a)) return 0;
  if (to != 0 && !ClientToScreen(to, &b)) return 0;
  const int dx = a.x - b.x, dy = a.y - b.y;
  for (int i = 0; points != nullptr && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(0);
  return static_cast<int>((dx & 0xFFFF) | (static_cast<std::uint32_t>(dy & 0xFFFF) << 16));
}

bool SetWindowPos(WindowHandle hwnd, WindowHandle insert_after, int x, int y, int width,
                  int height, std::uint32_t flags) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  const Rect old = w->rect;
  Rect r = old;
  if (!(flags & SWP_NOMOVE)) {
    r = Rect{x, y, x + old.width(), y + old.height()};
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(width, 0);
    r.bottom = r.top + std::max(height, 0);
  }
  w->rect = r;
  if (!(flags & SWP_NOSIZE)) fit_combo_box(*w);
  if (!(flags & SWP_NOZORDER) && (w->style & WS_CHILD)) {
    if (Window* p = find(w->parent, false)) {
      auto& s = p->children;
      s.erase(std::remove(s.begin(), s.end(), hwnd), s.end());
      if (insert_after == 1) {  // HWND_BOTTOM
        s.push_back(hwnd);
      } else if (insert_after == 0) {  // HWND_TOP
        s.insert(s.begin(), hwnd);
      } else {
        auto it = std::find(s.begin(), s.end(), insert_after);
        s.insert(it == s.end() ? s.end() : it + 1, hwnd);
      }
    }
  }
  if (r.left != old.left || r.top != old.top)
    SendMessageA(hwnd, WM_MOVE, 0, static_cast<LPARAM>(make_wparam(static_cast<std::uint32_t>(r.left),
                                                                   static_cast<std::uint32_t>(r.top))));
  if (r.width() != old.width() || r.height() != old.height()) {
    Rect c{};
    GetClientRect(hwnd, &c);
    SendMessageA(hwnd, WM_SIZE, 0,
                 static_cast<LPARAM>(make_wparam(static_cast<std::uint32_t>(c.right),
                                                 static_cast<std::uint32_t>(c.bottom))));
  }
  if (!IsWindow(hwnd)) return true;
  if (flags & SWP_SHOWWINDOW) {
    if (!(w->style & WS_VISIBLE)) {
      w->style |= WS_VISIBLE;
      SendMessageA(hwnd, WM_SHOWWINDOW, 1, 0);
    }
  } else if (flags & SWP_HIDEWINDOW) {
    if (w->style & WS_VISIBLE) {
      w->style &= ~WS_VISIBLE;
      SendMessageA(hwnd, WM_SHOWWINDOW, 0, 0);
    }
  }
  if (IsWindow(hwnd) && !(flags & SWP_NOREDRAW) && IsWindowVisible(hwnd))
    InvalidateRect(hwnd, nullptr, true);
  if (IsWindow(hwnd) && !(flags & SWP_NOACTIVATE) && !(w->style & WS_CHILD) &&
      (w->style & WS_VISIBLE))
    SetActiveWindow(hwnd);
  return true;
}

bool MoveWindow(WindowHandle hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, 0, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

bool AdjustWindowRect(Rect* rect, std::uint32_t style, bool menu) {
  if (rect == nullptr) return false;
  const int f = frame_width(style);
  rect->left -= f;
  rect->top -= f + caption_height(style) + (menu ? kMenuBarHeight : 0);
  rect->right += f;
  rect->bottom += f;
  return true;
}

namespace {
struct DeferredMove {
  WindowHandle hwnd, insert_after;
  int x, y, width, height;
  std::uint32_t flags;
};
std::map<DeferHandle, std::vector<DeferredMove>>& deferred() {
  static auto* d = new std::map<DeferHandle, std::vector<DeferredMove>>;
  return *d;
}
DeferHandle g_next_defer = 0x00600001;
}  // namespace

DeferHandle BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::lock_guard g(lock());
  const DeferHandle h = g_next_defer++;
  deferred()[h].reserve(static_cast<std::size_t>(count));
  return h;
}

DeferHandle DeferWindowPos(DeferHandle moves, WindowHandle hwnd, WindowHandle insert_after, int x,
                           int y, int width, int height, std::uint32_t flags) {
  std::lock_guard g(lock());
  auto it = deferred().find(moves);
  if (it == deferred().end()) return 0;
  if (!IsWindow(hwnd)) {
    deferred().erase(it);
    SetLastError(kErrorInvalidWindowHandle);
    return 0;
  }
  it->second.push_back(DeferredMove{hwnd, insert_after, x, y, width, height, flags});
  return moves;
}

bool EndDeferWindowPos(DeferHandle moves) {
  std::vector<DeferredMove> list;
  {
    std::lock_guard g(lock());
    auto it = deferred().find(moves);
    if (it == deferred().end()) return false;
    list = std::move(it->second);
    deferred().erase(it);
  }
  for (const DeferredMove& m : list)
    SetWindowPos(m.hwnd, m.insert_after, m.x, m.y, m.width, m.height, m.flags);
  return true;
}

bool InvalidateRect(WindowHandle hwnd, const Rect* rect, bool) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  Rect r{};
  if (rect != nullptr) {
    r = *rect;
  } else {
    GetClientRect(hwnd, &r);
  }
  if (IsRectEmpty(&r)) return true;
  if (w->update_pending) {
    UnionRect(&w->update, &w->update, &r);
  } else {
    w->update = r;
    w->update_pending = true;
    ++owner_thread(*w).paints_pending;
  }
  return true;
}

bool ValidateRect(WindowHandle hwnd, const Rect*) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  if (w->update_pending) --owner_thread(*w).paints_pending;
  w->update_pending = false;
  w->update = Rect{};
  return true;
}

bool GetUpdateRect(WindowHandle hwnd, Rect* rect, bool) {
  const Window* w = find(hwnd);
  if (w == nullptr) return false;
  if (rect != nullptr) *rect = w->update_pending ? w->update : Rect{};
  return w->update_pending;
}

bool UpdateWindow(WindowHandle hwnd) {
  const Window* w = find(hwnd);
  if (w == nullptr) return false;
  if (w->update_pending) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return true;
}

bool SetRectEmpty(Rect* rect) {
  if (rect == nullptr) return false;
  *rect = Rect{};
  return true;
}
bool IsRectEmpty(const Rect* rect) {
  return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}
bool UnionRect(Rect* out, const Rect* a, const Rect* b) {
  if (out == nullptr || a == nullptr || b == nullptr) return false;
  const bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
  if (ea && eb) {
    *out = Rect{};
    return false;
  }
  if (ea) { *out = *b; return true; }
  if (eb) { *out = *a; return true; }
  *out = Rect{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  return true;
}
bool OffsetRect(Rect* rect, int dx, int dy) {
  if (rect == nullptr) return false;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return true;
}

// ---- Properties --------------------------------------------------------------------

namespace {
Property* find_property(Window& w, Atom atom) {
  for (Property& p : w.properties) {
    if (p.atom == atom) return &p;
  }
  return nullptr;
}
std::uintptr_t remove_property(Window& w, Atom atom) {
  for (auto it = w.properties.begin(); it != w.properties.end(); ++it) {
    if (it->atom != atom) continue;
    const std::uintptr_t v = it->value;
    if (it->named) GlobalDeleteAtom(it->atom);
    w.properties.erase(it);
    return v;
  }
  return 0;
}
}  // namespace

bool SetPropA(WindowHandle hwnd, const char* name, std::uintptr_t value) {
  Window* w = find(hwnd);
  if (w == nullptr || name == nullptr) return false;
  const Atom existing = GlobalFindAtomA(name);
  if (existing != 0) {
    if (Property* p = find_property(*w, existing)) {
      p->value = value;
      return true;
    }
  }
  const Atom atom = GlobalAddAtomA(name);
  if (atom == 0) return false;
  w->properties.push_back(Property{atom, value, true});
  return true;
}

bool SetPropA(WindowHandle hwnd, Atom atom, std::uintptr_t value) {
  Window* w = find(hwnd);
  if (w == nullptr || atom == 0) return false;
  if (Property* p = find_property(*w, atom)) {
    p->value = value;
  } else {
    w->properties.push_back(Property{atom, value, false});
  }
  return true;
}

std::uintptr_t GetPropA(WindowHandle hwnd, const char* name) {
  if (name == nullptr) return 0;
  return GetPropA(hwnd, GlobalFindAtomA(name));
}

std::uintptr_t GetPropA(WindowHandle hwnd, Atom atom) {
  Window* w = find(hwnd);
  if (w == nullptr || atom == 0) return 0;
  const Property* p = find_property(*w, atom);
  return p != nullptr ? p->value : 0;
}

std::uintptr_t RemovePropA(WindowHandle hwnd, const char* name) {
  if (name == nullptr) return 0;
  return RemovePropA(hwnd, GlobalFindAtomA(name));
}

std::uintptr_t RemovePropA(WindowHandle hwnd, Atom atom) {
  Window* w = find(hwnd);
  if (w == nullptr || atom == 0) return 0;
  return remove_property(*w, atom);
}

// ---- Flashing ----------------------------------------------------------------------

bool FlashWindow(WindowHandle hwnd, bool invert) {
  Window* w = find(hwnd);
  if (w == nullptr) return false;
  const bool before = w->highlighted;
  if (invert) {
    w->highlighted = !w->highlighted;
    ++w->flashes;
  } else {
    w->highlighted = current_thread().active == hwnd && registry().foreground;
  }
  return before;
}

int flash_count(WindowHandle hwnd) {
  const Window* w = find(hwnd, false);
  return w != nullptr ? w->flashes : 0;
}

// ---- Dump --------------------------------------------------------------------------

namespace {

void quote(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", u);
      out += buf;
    } else {
      out += c;
    }
  }
  out += '"';
}

void dump_one(std::string& out, WindowHandle h, int depth) {
  const Window* w = find(h, false);
  if (w == nullptr) return;
  char buf[160];
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  std::snprintf(buf, sizeof buf, "0x%08x %s", h, w->cls->name.c_str());
  out += buf;
  if (w->style & WS_CHILD) {
    std::snprintf(buf, sizeof buf, " id=%d", w->id);
    out += buf;
  }
  out += ' ';
  quote(out, w->text);
  std::snprintf(buf, sizeof buf, " style=0x%08x (%d,%d)-(%d,%d)", w->style, w->rect.left,
                w->rect.top, w->rect.right, w->rect.bottom);
  out += buf;
  if (!(w->style & WS_CHILD) && w->owner != 0) {
    std::snprintf(buf, sizeof buf, " owner=0x%08x", w->owner);
    out += buf;
  }
  const Kind k = w->cls->kind;
  if (k == Kind::kButton) {
    const std::uint32_t type = w->style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
      out += w->check == BST_CHECKED ? " checked" : w->check == BST_INDETERMINATE ? " indeterminate"
                                                                                : " unchecked";
  } else if (k == Kind::kListBox || k == Kind::kComboBox) {
    std::snprintf(buf, sizeof buf, " items=%zu sel=%d", w->items.size(), w->current);
    out += buf;
  }
  if (!(w->style & WS_VISIBLE)) out += " hidden";
  if (w->style & WS_DISABLED) out += " disabled";
  const ThreadState& ts = current_thread();
  if (ts.focus == h) out += " focus";
  if (ts.active == h) out += " active";
  out += '\n';
  for (WindowHandle c : w->children) dump_one(out, c, depth + 1);
}

}  // namespace

std::string dump_window_tree(WindowHandle hwnd) {
  std::string out;
  if (hwnd == 0) {
    for (WindowHandle h : thread_windows()) dump_one(out, h, 0);
  } else {
    dump_one(out, hwnd, 0);
  }
  return out;
}

void reset_window_system() {
  for (WindowHandle h : thread_windows()) DestroyWindow(h);
  ThreadState& ts = current_thread();
  {
    std::lock_guard g(ts.mutex);
    ts.posted.clear();
    ts.quit = false;
  }
  ts.input.clear();
  ts.timers.clear();
  ts.focus = ts.active = 0;
  ts.paints_pending = 0;
  ts.keys.fill(0);
  ts.async_keys.fill(0);
  ts.idle = nullptr;
  ts.idle_context = nullptr;
  Registry& r = registry();
  {
    std::lock_guard g(r.mutex);
    for (auto it = r.classes.begin(); it != r.classes.end();) {
      it = it->second->predefined ? std::next(it) : r.classes.erase(it);
    }
    r.foreground = true;
  }
  reset_templates_and_accelerators();
}

}  // namespace corva::platform
