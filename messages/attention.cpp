#include "messages/attention.h"

#include "corvalib/ui.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/windows.h"
#include "frame/state.h"

namespace corva::messages {
namespace {

// Focus, flashing, the timer and the message loop are the window layer's.
CvHWND focus() { return platform::GetFocus(); }
void set_focus(CvHWND window) { platform::SetFocus(window); }
void flash(CvHWND window, bool invert) { platform::FlashWindow(window, invert); }
bool start_timer(CvHWND window, std::uintptr_t id, std::uint32_t milliseconds) {
  return platform::SetTimer(window, id, milliseconds, nullptr) != 0;
}
void kill_timer(CvHWND window, std::uintptr_t id) { platform::KillTimer(window, id); }
bool pump_one() { return MyGetMessage() != 0; }
void ignore_window(CvHWND) {}
void no_modeless(bool) {}
// A box belongs to the application's main window while there is one.
CvHWND main_owner(CvHWND* disabled) {
  if (disabled != nullptr) *disabled = 0;
  const CvHWND main = frame::record().MainWindow;
  return platform::IsWindow(main) ? main : 0;
}
void enable(CvHWND window, bool on) { platform::EnableWindow(window, on); }
CvHWND top_level(CvHWND window) {
  for (CvHWND parent = window; parent != 0; parent = platform::GetParent(window)) window = parent;
  return window;
}
void post(CvHWND window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  platform::PostMessageA(window, message, wparam, lparam);
}
const char* name() { return "Corvantis"; }
CvHMODULE no_instance() { return 0; }

int plain_box(const char* text, std::uint32_t style, std::int32_t) {
  return platform::MessageBoxA(0, text, name(), style);
}
int indirect_box(const HelpBoxRequest& r) {
  return platform::MessageBoxA(r.owner, r.text, r.caption, r.style);
}
bool windowless_owner(CvHWND* window) {
  *window = 0;
  return true;
}
int library_box(CvHWND owner, const char* text, const char* caption, std::uint32_t style) {
  return platform::MessageBoxA(owner, text, caption, style);
}

const Attention kDefaults = {
    focus,       set_focus,   flash,      start_timer,  kill_timer,       pump_one,
    no_modeless, main_owner,  enable,     top_level,    post,             name,
    no_instance, plain_box,   indirect_box, windowless_owner, ignore_window, library_box,
};

Attention g_attention = kDefaults;

}  // namespace

Attention& attention() { return g_attention; }
const Attention& default_attention() { return kDefaults; }

}  // namespace corva::messages
