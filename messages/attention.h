// What the message engine needs of the application's windows: keyboard focus,
// flashing the main window while the application waits in the background, its
// timer, one turn of the message loop, and the boxes themselves.
//
// The calls go through one table so that tests can drive the wait. The
// defaults are the platform's window layer (focus, FlashWindow, SetTimer on
// the main window, MyGetMessage for one turn of the loop, the main window as
// the boxes' owner) and its message-box presenter for the boxes themselves.
#pragma once
#include <cstdint>

#include "corvalib/base.h"

namespace corva::messages {

// The help-enabled box as the platform shows it (MessageBoxIndirectA).
struct HelpBoxRequest {
  std::uint32_t size;  // 40
  CvHWND owner;
  CvHMODULE instance;
  const char* text;
  const char* caption;
  std::uint32_t style;
  std::uint32_t context_help_id;
  void (*help_callback)();  // called when the user asks for help in the box
  std::uint32_t language;   // 9: English, neutral sublanguage
};

struct Attention {
  CvHWND (*get_focus)();
  void (*set_focus)(CvHWND window);
  void (*flash_window)(CvHWND window, bool invert);
  bool (*set_timer)(CvHWND window, std::uintptr_t id, std::uint32_t milliseconds);
  void (*kill_timer)(CvHWND window, std::uintptr_t id);
  // Fetches and dispatches one message of the application's loop; false when
  // the message fetched was the quit message.
  bool (*pump_one)();
  // Modeless windows of the application on or off (CWinApp::EnableModeless).
  void (*enable_modeless)(bool enable);
  // The safe owner of a box; puts the top-level window it disabled (or 0) in
  // *disabled when that is not null.
  CvHWND (*safe_owner)(CvHWND* disabled);
  void (*enable_window)(CvHWND window, bool enable);
  CvHWND (*top_level_parent)(CvHWND window);
  void (*post_message)(CvHWND window, std::uint32_t message, std::uintptr_t wparam,
                       std::intptr_t lparam);
  // The application's name (box captions) and instance handle.
  const char* (*application_name)();
  CvHMODULE (*application_instance)();
  // The framework's plain box (AfxMessageBox) and the help-enabled box.
  int (*framework_box)(const char* text, std::uint32_t style, std::int32_t help_id);
  int (*help_box)(const HelpBoxRequest& request);
  // The library path's invisible owner window; false when it cannot be made.
  bool (*create_owner)(CvHWND* window);
  void (*destroy_owner)(CvHWND window);
  // The library path's box (MessageBoxA).
  int (*message_box)(CvHWND owner, const char* text, const char* caption, std::uint32_t style);
};

// The table in force, and the defaults.
Attention& attention();
const Attention& default_attention();

// Installs a table for the life of the object (a test's or the window layer's
// wiring) and puts the previous one back afterwards.
class AttentionOverride {
 public:
  AttentionOverride() : saved_(attention()) {}
  ~AttentionOverride() { attention() = saved_; }
  AttentionOverride(const AttentionOverride&) = delete;
  AttentionOverride& operator=(const AttentionOverride&) = delete;
  Attention& calls() { return attention(); }

 private:
  Attention saved_;
};

}  // namespace corva::messages
