#include "messages/attention.h"

#include "corvaplat/msgbox.h"

namespace corva::messages {
namespace {

CvHWND no_window() { return 0; }
void ignore_window(CvHWND) {}
void no_flash(CvHWND, bool) {}
bool no_timer(CvHWND, std::uintptr_t, std::uint32_t) { return false; }
void no_kill(CvHWND, std::uintptr_t) {}
bool no_message() { return true; }
void no_modeless(bool) {}
CvHWND no_owner(CvHWND* disabled) {
  if (disabled != nullptr) *disabled = 0;
  return 0;
}
void no_enable(CvHWND, bool) {}
CvHWND no_parent(CvHWND window) { return window; }
void no_post(CvHWND, std::uint32_t, std::uintptr_t, std::intptr_t) {}
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
    no_window,    ignore_window, no_flash,   no_timer,    no_kill,      no_message,
    no_modeless,  no_owner,      no_enable,  no_parent,   no_post,      name,
    no_instance,  plain_box,     indirect_box, windowless_owner, ignore_window, library_box,
};

Attention g_attention = kDefaults;

}  // namespace

Attention& attention() { return g_attention; }
const Attention& default_attention() { return kDefaults; }

}  // namespace corva::messages
