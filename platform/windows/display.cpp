// The attached display: loading a display component, and the window system's
// notes to it about its top-level windows.
#include <corvaplat/config.h>
#include <corvaplat/display.h>
#include <corvaplat/modules.h>

#include <cstdio>

#include "windows/internal.h"

namespace corva::platform {

DisplayBackend::~DisplayBackend() = default;

namespace win {
namespace {

struct DisplayState {
  std::mutex mutex;  // guards `display` against wake() from other threads
  std::unique_ptr<DisplayBackend> display;
  ThreadId thread = 0;
  std::atomic<bool> environment_read{false};
  bool loss_told = false;
  // Displays that lost their desktop: kept, never called again.
  std::vector<DisplayBackend*> lost;
};

DisplayState& state() {
  // Never destroyed: a display may still be asked to wake during exit.
  static DisplayState* s = new DisplayState;
  return *s;
}

// The first top-level window of the process picks the display the
// environment names.
void read_environment() {
  if (state().environment_read.exchange(true)) return;
  const std::string name = display_choice();
  if (name.empty() || name == "none") return;
  std::string error;
  if (!select_display(name, &error)) {
    std::fprintf(stderr, "corvalib: display \"%s\" not available (%s); windows stay headless\n",
                 name.c_str(), error.c_str());
  }
}

// The top-level window of `hwnd` and the offset of hwnd's client area in it.
const Window* top_of(WindowHandle hwnd, Point* client_offset) {
  const Window* w = find(hwnd, false);
  if (w == nullptr) return nullptr;
  const Point origin = client_origin(*w);
  while (w != nullptr && (w->style & WS_CHILD)) w = find(w->parent, false);
  if (w == nullptr) return nullptr;
  *client_offset = Point{origin.x - w->rect.left, origin.y - w->rect.top};
  return w;
}

}  // namespace

DisplayBackend* thread_display() {
  DisplayState& s = state();
  if (!s.environment_read) read_environment();
  if (s.display == nullptr || s.thread != current_thread().id) return nullptr;
  return s.display.get();
}

void tell_display(DisplayNote note, WindowHandle hwnd) {
  if (note == DisplayNote::kCreated) read_environment();
  DisplayBackend* d = thread_display();
  if (d == nullptr) return;
  const Window* w = find(hwnd, false);
  if (w == nullptr || (w->style & WS_CHILD)) return;
  switch (note) {
    case DisplayNote::kCreated: d->created(hwnd); break;
    case DisplayNote::kShown: d->shown(hwnd); break;
    case DisplayNote::kPlaced: d->placed(hwnd); break;
    case DisplayNote::kRetitled: d->retitled(hwnd); break;
    case DisplayNote::kDestroyed: d->destroyed(hwnd); break;
    case DisplayNote::kActivated: d->activated(hwnd, true); break;
    case DisplayNote::kDeactivated: d->activated(hwnd, false); break;
    case DisplayNote::kRepaint: d->invalidated(hwnd, Rect{0, 0, w->rect.width(), w->rect.height()}); break;
  }
}

void tell_display_invalid(WindowHandle hwnd, const Rect& client_rect) {
  DisplayBackend* d = thread_display();
  if (d == nullptr) return;
  Point offset{};
  const Window* top = top_of(hwnd, &offset);
  if (top == nullptr) return;
  Rect r = client_rect;
  OffsetRect(&r, offset.x, offset.y);
  d->invalidated(top->handle, r);
}

bool pump_display(int timeout_ms) {
  DisplayBackend* d = thread_display();
  if (d == nullptr) return false;
  if (!d->pump(timeout_ms)) {
    display_lost("the connection to the desktop was lost");
    return false;
  }
  return true;
}

void wake_display() {
  DisplayState& s = state();
  std::lock_guard g(s.mutex);
  if (s.display != nullptr) s.display->wake();
}

}  // namespace win

using namespace win;

void attach_display(std::unique_ptr<DisplayBackend> display) {
  DisplayState& s = state();
  s.environment_read = true;  // a host's own choice wins over the environment
  std::unique_ptr<DisplayBackend> old;
  {
    std::lock_guard g(s.mutex);
    old = std::move(s.display);
    s.display = std::move(display);
    s.thread = current_thread().id;
  }
  old.reset();
  if (s.display == nullptr) return;
  for (WindowHandle h : thread_windows()) {
    s.display->created(h);
    if (IsWindowVisible(h)) s.display->shown(h);
  }
}

bool select_display(const std::string& name, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (name.empty() || name.find('/') != std::string::npos) {
    *error = "a display is named by a word, such as gtk";
    return false;
  }
  const std::string file = "libcorvadisplay-" + name + ".so";
  // Beside the platform library first, then on the library path.
  const std::string directory = platform_directory();
  ModuleHandle module = directory.empty() ? 0 : LoadLibraryA((directory + "/" + file).c_str());
  if (module == 0) module = LoadLibraryA(file.c_str());
  if (module == 0) {
    *error = "cannot load " + file;
    return false;
  }
  const auto factory = reinterpret_cast<DisplayFactory>(GetProcAddress(module, kDisplayFactoryName));
  if (factory == nullptr) {
    *error = file + " is not a display component";
    return false;
  }
  DisplayBackend* made = factory(error);
  if (made == nullptr) return false;
  attach_display(std::unique_ptr<DisplayBackend>(made));
  return true;
}

DisplayBackend* current_display() { return thread_display(); }

void display_lost(const char* why) {
  DisplayState& s = state();
  {
    std::lock_guard g(s.mutex);
    // A toolkit that lost its desktop cannot be shut down cleanly; it stays
    // loaded and is never called again.
    if (s.display != nullptr) s.lost.push_back(s.display.release());
  }
  if (!s.loss_told) {
    s.loss_told = true;
    std::fprintf(stderr, "corvalib: display lost (%s); windows go on headless\n",
                 why != nullptr ? why : "no reason given");
    std::fflush(stderr);
  }
}

}  // namespace corva::platform
