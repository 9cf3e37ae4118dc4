// Putting a message on screen: waiting for the application to come to the
// foreground, the help level around the box, the help-enabled box, and the
// library's own windowless path.
#include "corvalib/frame.h"
#include "corvaplat/modules.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/process.h"
#include "frame/state.h"
#include "messages/attention.h"
#include "messages/engine.h"

namespace corva::messages {
namespace {

constexpr std::uint32_t kHelp = 0x4000;      // MB_HELP
constexpr std::uint32_t kSystemModal = 0x1000;
constexpr std::uintptr_t kWaitTimer = 2;
constexpr std::uint32_t kWaitPeriod = 500;  // milliseconds
constexpr int kHelpSlot = 6;
constexpr std::uint32_t kKeyUp = 0x101;     // WM_KEYUP
constexpr std::uintptr_t kF1 = 0x70;        // VK_F1

using SetHelpLevelFn = std::uint16_t (*)(std::uint16_t);

// Sets the help module's level; the previous level, 0 without a help module.
std::uint16_t set_help_level(std::uint16_t level) {
  const CvHMODULE module = GetLibraryHandle(kHelpSlot);
  if (module == 0) return 0;
  void* entry = platform::GetProcAddress(module, "_SetHelpLevel@4");
  if (entry == nullptr) return 0;
  return reinterpret_cast<SetHelpLevelFn>(entry)(level);
}

// Pumps the application's messages, flashing the main window, until the
// application is the active one (or the box does not need to wait).
void wait_for_foreground(std::uint32_t style) {
  Attention& a = attention();
  const CorvaLibDataType& r = frame::record();
  bool flashed = false;
  bool timer = false;
  while (r.MainWindow != 0 && r.AppActive == 0 && (style & kSystemModal) == 0) {
    const CvHWND main = r.MainWindow;
    a.flash_window(main, true);
    if (!flashed) {
      flashed = true;
      if (!a.set_timer(main, kWaitTimer, kWaitPeriod)) break;
      timer = true;
    }
    if (!a.pump_one()) platform::FatalAppExitA(0, "Quit while message pending.");
  }
  if (flashed) {
    if (timer) a.kill_timer(r.MainWindow, kWaitTimer);
    a.flash_window(r.MainWindow, false);
  }
}

// Help or F1 in a box: the owner's top-level window hears F1 released and
// opens help at the level the box set.
void help_callback() {
  Attention& a = attention();
  const CvHWND owner = a.safe_owner(nullptr);
  a.post_message(a.top_level_parent(owner), kKeyUp, kF1, 0);
}

int show_help_box(const char* text, std::uint32_t style, std::uint16_t context) {
  Attention& a = attention();
  a.enable_modeless(false);
  CvHWND disabled = 0;
  const CvHWND owner = a.safe_owner(&disabled);
  const HelpBoxRequest request{40,    owner, a.application_instance(), text,
                               a.application_name(), style, context, help_callback, 9};
  const int button = a.help_box(request);
  if (disabled != 0) a.enable_window(disabled, true);
  a.enable_modeless(true);
  return button;
}

}  // namespace

int show_message_text(const char* text, std::uint32_t style, std::uint16_t help_context) {
  Attention& a = attention();
  const CvHWND focus = a.get_focus();
  wait_for_foreground(style);
  CorvaLibDataType& r = frame::record();
  r.MessageShowing = 1;
  int button;
  if (text[0] == '|') {
    const std::uint16_t previous = set_help_level(help_context);
    button = show_help_box(text + 1, style | kHelp, help_context);
    set_help_level(previous);
  } else {
    const std::uint16_t previous = set_help_level(0);
    button = a.framework_box(text, style, -1);
    set_help_level(previous);
  }
  r.MessageShowing = 0;
  if (focus != 0 && a.get_focus() != focus) a.set_focus(focus);
  return button;
}

int show_library_message(const char* text, std::uint32_t style) {
  Attention& a = attention();
  const CvHWND focus = a.get_focus();
  CvHWND owner = 0;
  if (!a.create_owner(&owner)) return platform::IDCANCEL;
  a.set_focus(owner);
  const int button = a.message_box(a.get_focus(), text, "Corvantis Library", style);
  if (focus != 0 && a.get_focus() != focus) a.set_focus(focus);
  a.destroy_owner(owner);
  return button;
}

}  // namespace corva::messages
