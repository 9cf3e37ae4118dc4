// The window system's own state, shared by its source files.
#pragma once
#include <corvaplat/gdi.h>
#include <corvaplat/windows.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace corva::platform::win {

enum class Kind { kGeneric, kEdit, kStatic, kButton, kListBox, kComboBox, kMdiClient, kDialog };

struct ClassInfo {
  std::string name;
  WindowProc procedure = nullptr;
  std::uint32_t style = 0;
  ModuleHandle instance = 0;
  Atom atom = 0;
  Kind kind = Kind::kGeneric;
  bool predefined = false;
  std::uint32_t background = 0;  // brush, 0: none
};

struct ListItem {
  std::string text;
  std::uintptr_t data = 0;
};

struct Property {
  Atom atom;
  std::uintptr_t value;
  bool named;  // the atom was added for a name and goes with the property
};

struct Window {
  WindowHandle handle = 0;
  ThreadId thread = 0;
  std::shared_ptr<ClassInfo> cls;
  WindowProc procedure = nullptr;
  std::string text;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  int id = 0;
  MenuHandle menu = 0;
  ModuleHandle instance = 0;
  WindowHandle parent = 0;  // child windows
  WindowHandle owner = 0;   // top-level windows
  std::vector<WindowHandle> children;
  Rect rect{};  // in the parent's client coordinates (top-level: screen)
  LRESULT user_data = 0;
  FontHandle font = 0;
  std::vector<Property> properties;
  bool update_pending = false;
  Rect update{};
  bool highlighted = false;  // caption drawn as active
  int flashes = 0;
  bool destroying = false;

  // Control state.
  std::uint32_t edit_limit = 32767;
  int sel_start = 0, sel_end = 0;
  std::uint32_t check = 0;
  bool pushed = false;
  std::vector<ListItem> items;
  int current = -1;
  int dropped_height = 0;
  bool dropped = false;  // combo box list shown
  WindowHandle mdi_active = 0;

  // Dialog state.
  DialogProc dialog_proc = nullptr;
  LRESULT msg_result = 0;
  LRESULT dialog_user = 0;
  int default_id = IDC_OK;
  bool ended = false;
  LRESULT end_result = 0;
  WindowHandle saved_focus = 0;
};

struct Timer {
  WindowHandle hwnd;
  std::uintptr_t id;
  std::uint32_t period;
  std::uint64_t due;
  TimerProc procedure;
};

// One thread's queue, focus and key state.
struct ThreadState {
  ThreadId id = 0;
  std::mutex mutex;  // guards posted, quit (other threads post)
  std::condition_variable posted_cv;
  std::deque<MSG> posted;
  bool quit = false;
  int quit_code = 0;
  std::deque<MSG> input;
  std::vector<Timer> timers;
  std::uintptr_t next_timer_id = 1;
  WindowHandle focus = 0;
  WindowHandle active = 0;
  std::atomic<int> paints_pending{0};  // windows of the thread with an update rectangle
  std::array<std::uint8_t, 256> keys{};        // as delivered
  std::array<std::uint8_t, 256> async_keys{};  // as typed
  IdleHandler idle = nullptr;
  void* idle_context = nullptr;
};

// Process-wide: the handle slots, classes, top-level order, templates,
// accelerator tables. Guarded by lock(); procedures are never called with it held.
std::recursive_mutex& lock();

// The live window for a handle, or null (last error 1400 when `report`).
Window* find(WindowHandle hwnd, bool report = true);
std::shared_ptr<Window> hold(WindowHandle hwnd);
// Allocates a handle for a new window and enters it; 0 when all slots are taken.
WindowHandle enter(std::shared_ptr<Window> window);
void leave(WindowHandle hwnd);
std::vector<WindowHandle>& top_levels();

std::shared_ptr<ClassInfo> find_class(std::string_view name);
void ensure_predefined_classes();

ThreadState& current_thread();
// The state of the thread a window belongs to.
ThreadState& owner_thread(const Window& w);
// The state of another thread, or null when it has never used the window system.
std::shared_ptr<ThreadState> thread_state(ThreadId id);

// Control and dialog procedures.
LRESULT edit_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT static_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT button_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT listbox_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT combobox_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT mdiclient_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);
LRESULT dialog_class_proc(WindowHandle, std::uint32_t, WPARAM, LPARAM);

// Helpers.
void notify_parent(WindowHandle control, std::uint32_t code);
std::string lower(std::string_view s);
bool equal_no_case(std::string_view a, std::string_view b);
// Frame widths of a style: the border on each side and the caption on top.
int frame_width(std::uint32_t style);
int caption_height(std::uint32_t style);
// The menu bar of a top-level window with a menu, below its caption.
constexpr int kMenuBarHeight = 19;
int menu_bar_height(const Window& w);
// A drop-down combo box given a height keeps it as its dropped height and
// stays as high as its edit field.
constexpr int kComboHeight = 20;
void fit_combo_box(Window& w);
// The screen position of the window's client origin.
Point client_origin(const Window& w);
void remove_queued(WindowHandle hwnd);
void reset_templates_and_accelerators();
void kill_timers(WindowHandle hwnd);
// Dialog base units (pixels per 4 horizontal and 8 vertical dialog units).
constexpr int kBaseUnitX = 8;
constexpr int kBaseUnitY = 16;

inline std::uint32_t loword(std::uintptr_t v) { return static_cast<std::uint32_t>(v & 0xFFFF); }
inline std::uint32_t hiword(std::uintptr_t v) {
  return static_cast<std::uint32_t>((v >> 16) & 0xFFFF);
}
inline WPARAM make_wparam(std::uint32_t lo, std::uint32_t hi) {
  return static_cast<WPARAM>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}

}  // namespace corva::platform::win

typedef struct _cairo_surface cairo_surface_t;

namespace corva::platform::win {

// The surface a window tree is being rendered into, for the rendering thread.
struct PaintTarget {
  // What shows over everything else (open menus, dropped lists), painted
  // after the whole tree.
  std::vector<std::function<void()>> overlays;
  cairo_surface_t* surface = nullptr;
  WindowHandle root = 0;
  Point origin{};  // the screen point at the surface's (0, 0)
  Rect clip{};     // surface coordinates
};
PaintTarget*& paint_target();

Rect intersect(const Rect& a, const Rect& b);
// The window's client area in screen coordinates.
Rect client_screen_rect(WindowHandle hwnd);
// The part of the window (whole, or its client area) its ancestors' client
// areas leave showing, in screen coordinates.
Rect shown_part(WindowHandle hwnd, bool whole);

}  // namespace corva::platform::win

namespace corva::platform::win {

// Painting helpers: a fill, a one-pixel frame, a two-colour bevel, and the
// raised and sunken two-pixel edges of the standard controls.
void fill(DcHandle dc, const Rect& r, ColorRef color);
void frame(DcHandle dc, const Rect& r, ColorRef color);
void bevel(DcHandle dc, const Rect& r, ColorRef top_left, ColorRef bottom_right);
Rect inset(const Rect& r, int by);
void raised_edge(DcHandle dc, const Rect& r);
void sunken_edge(DcHandle dc, const Rect& r);
// A context of the whole window that only the render's clip limits, for what
// shows over other windows (an open popup menu, a dropped-down list).
DcHandle overlay_dc(WindowHandle hwnd);
// Runs `paint` once the tree is painted (at once when nothing is rendered).
void defer_overlay(std::function<void()> paint);
// Whether the caption shows as active.
bool caption_active(WindowHandle hwnd);
// The frame, caption and menu bar, as the default procedure paints them
// (WM_NCPAINT).
void paint_nonclient(WindowHandle hwnd);
// The standard controls (edit, static, button, list box, combo box) paint
// everything in WM_PAINT and nothing in WM_ERASEBKGND.
inline bool standard_control(Kind k) {
  return k == Kind::kEdit || k == Kind::kStatic || k == Kind::kButton || k == Kind::kListBox ||
         k == Kind::kComboBox;
}
void paint_control(WindowHandle hwnd);
// The default WM_ERASEBKGND: nothing for a standard control; a dialog's
// WM_CTLCOLORDLG brush (else the face colour); the workspace colour for an MDI
// client; the class's background brush, else the window colour.
void erase_background(WindowHandle hwnd, DcHandle dc);

}  // namespace corva::platform::win
