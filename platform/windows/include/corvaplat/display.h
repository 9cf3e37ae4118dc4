// A live display: the desktop shows the window system's top-level windows.
//
// The window model stays the one truth. A display mirrors each top-level
// window of the thread that attached it as a native window, paints it from the
// model, and turns what a person does (keys, clicks, activation, closing) back
// into the queue's input and messages. Without a display everything stays
// headless.
//
// A display component is a shared object (libcorvadisplay-NAME.so) that the
// layer loads by name, so the layer itself has no dependency on any toolkit:
// CORVALIB_DISPLAY=gtk in the environment, or select_display("gtk").
#pragma once
#include <corvaplat/msgbox.h>
#include <corvaplat/windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace corva::platform {

// What a display measured, for benchmarks and tests.
struct DisplayStatistics {
  std::uint64_t events = 0;          // native events handled
  std::uint64_t keys = 0;            // key presses turned into input
  std::uint64_t paints = 0;          // times a part of a window was painted from the model
  std::uint64_t painted_pixels = 0;  // the area of those parts
  std::uint64_t frames = 0;          // native frames shown
  // Key press to the first frame that shows its effect, in microseconds, over
  // the last keys measured.
  std::uint64_t median_key_to_frame_us = 0;
  std::uint64_t worst_key_to_frame_us = 0;
};

// What the window system tells a display and asks of it. Every call comes on
// the thread that attached the display, never with the window system's lock
// held. A display never calls back into the window system from inside a
// notification: what a person did is kept and acted on in pump().
class CORVAPLAT_API DisplayBackend {
 public:
  virtual ~DisplayBackend();
  // A top-level window was created (shown or not; see shown()).
  virtual void created(WindowHandle window) = 0;
  // Its visibility or its minimized / maximized state changed (read GWL_STYLE).
  virtual void shown(WindowHandle window) = 0;
  // Its rectangle (screen coordinates, frame included) changed.
  virtual void placed(WindowHandle window) = 0;
  virtual void retitled(WindowHandle window) = 0;
  // A part of it needs painting again: `rect` in the window's own coordinates
  // (the top-left of its frame is 0,0).
  virtual void invalidated(WindowHandle window, const Rect& rect) = 0;
  virtual void destroyed(WindowHandle window) = 0;
  // It became the active window, or stopped being it.
  virtual void activated(WindowHandle window, bool active) = 0;

  // Paints what was invalidated, then handles native events, waiting up to
  // timeout_ms for the first (0: only what is there now; -1: no limit). What a
  // person did becomes queued input or messages. False when the display has
  // gone (the connection to the desktop was lost).
  virtual bool pump(int timeout_ms) = 0;
  // Makes a pump that waits return soon; callable from any thread.
  virtual void wake() = 0;
  // Shows a message box as a modal native dialog owned by `request.owner`'s
  // window; returns the button, or 0 when the display cannot show one.
  virtual int message_box(const MessageBoxRequest& request) = 0;
  // The desktop's clipboard: takes the text, and answers it (false when the
  // desktop holds no text or does not answer in time).
  virtual void set_clipboard(const std::string& text) = 0;
  virtual bool clipboard(std::string* text) = 0;
  virtual DisplayStatistics statistics() const = 0;
};

// The entry point a display component exports (C linkage): a new display for
// the calling thread, or null with the reason in *error.
using DisplayFactory = DisplayBackend* (*)(std::string* error);
constexpr const char* kDisplayFactoryName = "corva_display_create";

// Attaches a display to the calling thread's windows, replacing an earlier
// one; the top-level windows that exist already are mirrored at once. Null
// detaches, and the windows go on headless.
CORVAPLAT_API void attach_display(std::unique_ptr<DisplayBackend> display);
// Loads the display component NAME (libcorvadisplay-NAME.so, next to the
// platform library or on the library path) and attaches what it makes. False,
// with the reason in *error, when there is no such component or no desktop.
CORVAPLAT_API bool select_display(const std::string& name, std::string* error);
// The display attached to the calling thread, or null.
CORVAPLAT_API DisplayBackend* current_display();
// The display went away: detaches it without touching it again, and says so
// once per process on standard error.
CORVAPLAT_API void display_lost(const char* why);

}  // namespace corva::platform
