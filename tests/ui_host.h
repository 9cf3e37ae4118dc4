// A test host: the product's shape in miniature, built through the platform's
// window API. A frame window with an MDI client, MDI screens of an ordinary
// window class, and modeless dialog screens registered in the window table;
// the loop runs through MyGetMessage while a script plays the user's part
// whenever the queue runs dry.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "corvalib.h"
#include "corvaplat/clock.h"
#include "corvaplat/windows.h"
#include "ui/window_table.h"

namespace corva::testhost {

using namespace corva::platform;

// What reached a window procedure.
struct Seen {
  WindowHandle window;
  std::uint32_t message;
  WPARAM wparam;
};

// Module handle under which the host's dialog templates are registered.
constexpr ModuleHandle kHostModule = 0x7E57;
constexpr std::uint16_t kCustomerDialog = 300;
constexpr int kNameEdit = 101, kTermsCombo = 102, kTaxableCheck = 103, kNameLabel = 104;
constexpr std::uint16_t kCmdSave = 40001, kCmdCustomer = 40010, kCmdLedger = 40011;
constexpr std::uint32_t kHostNotice = WM_USER + 50;
constexpr WPARAM kCloseYourself = 99;  // a notice that makes a customer screen close

class Host {
 public:
  Host() {
    current() = this;
    reset_window_system();
    ui::table() = ui::WindowTable{};
    saved_ = *MyCorvaLibDataPtr;
    clear_window_fields();
    WindowClass frame{"CvxFrame", frame_proc, 0, kHostModule};
    WindowClass screen{"CvxScreen", screen_proc, 0, kHostModule};
    RegisterClassA(frame);
    RegisterClassA(screen);
    DialogTemplate t;
    t.caption = "Customer";
    t.cx = 200;
    t.cy = 100;
    t.items = {
        {"STATIC", "&Name", kNameLabel, WS_VISIBLE, 4, 4, 40, 10},
        {"EDIT", "", kNameEdit, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 50, 4, 100, 12},
        {"COMBOBOX", "", kTermsCombo, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 50, 20, 100, 60},
        {"BUTTON", "&Taxable", kTaxableCheck, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 50, 36, 80, 10},
        {"BUTTON", "OK", IDC_OK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 50, 80, 40, 14},
        {"BUTTON", "Cancel", IDC_CANCEL, WS_VISIBLE | WS_TABSTOP, 100, 80, 40, 14},
    };
    register_dialog_template(kHostModule, kCustomerDialog, t);
    frame_ = CreateWindowExA(0, "CvxFrame", "Corvantis", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             800, 600, 0, 0, kHostModule, nullptr);
    client_ = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE, 0, 0, 780, 540, frame_,
                              0xCAC, kHostModule, nullptr);
    MyCorvaLibDataPtr->MainWindow = frame_;
    MyCorvaLibDataPtr->MDIClientWindow = client_;
    set_idle_handler(run_script, this);
  }
  ~Host() {
    set_idle_handler(nullptr, nullptr);
    reset_window_system();
    ui::table() = ui::WindowTable{};
    MyCorvaLibDataPtr->MainWindow = saved_.MainWindow;
    MyCorvaLibDataPtr->MDIClientWindow = saved_.MDIClientWindow;
    MyCorvaLibDataPtr->TopWindow = saved_.TopWindow;
    MyCorvaLibDataPtr->AppActive = saved_.AppActive;
    current() = nullptr;
  }
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  WindowHandle frame() const { return frame_; }
  WindowHandle client() const { return client_; }

  // A modeless customer screen, registered for its menu command.
  WindowHandle open_customer(std::uint16_t menu = kCmdCustomer) {
    const WindowHandle d =
        CreateDialogParamA(kHostModule, kCustomerDialog, frame_, customer_proc, 0);
    if (d != 0 && !AddWindowToTable(d, menu, 1)) {
      DestroyWindow(d);
      return 0;
    }
    return d;
  }

  // An MDI screen of an ordinary window class, registered in the window list.
  WindowHandle open_ledger(std::uint16_t menu = kCmdLedger, const char* title = "Ledger") {
    const WindowHandle w =
        CreateWindowExA(WS_EX_MDICHILD, "CvxScreen", title, WS_CHILD | WS_VISIBLE | WS_CAPTION,
                        10, 10, 300, 200, client_, 0, kHostModule, nullptr);
    if (w != 0) AddWindowToTable(w, menu, 0);
    return w;
  }

  // The user's part: steps run one at a time whenever the queue is empty; when
  // the script is done the loop is told to quit.
  void then(std::function<void()> step) { script_.push_back({std::move(step), false}); }
  // A step after which the loop waits for what is due (a timer) before the next.
  void then_wait(std::function<void()> step) { script_.push_back({std::move(step), true}); }
  // Runs the host's main loop as the product does, until the quit message.
  int run() {
    int turns = 0;
    while (MyGetMessage() != 0) ++turns;
    return turns;
  }

  std::vector<Seen> seen;  // every message of interest, in order
  std::vector<std::uint16_t> commands;  // frame commands (menu and accelerators)

  std::vector<Seen> seen_of(std::uint32_t message) const {
    std::vector<Seen> out;
    for (const Seen& s : seen) {
      if (s.message == message) out.push_back(s);
    }
    return out;
  }

  static Host*& current() {
    static Host* h = nullptr;
    return h;
  }

 private:
  static bool run_script(void* context) {
    auto* self = static_cast<Host*>(context);
    if (self->script_.empty()) {
      PostQuitMessage(0);
      return true;
    }
    Step step = std::move(self->script_.front());
    self->script_.pop_front();
    step.run();
    return !step.wait;
  }

  static void note(WindowHandle h, std::uint32_t m, WPARAM w) {
    if (Host* host = current()) host->seen.push_back(Seen{h, m, w});
  }

  static bool interesting(std::uint32_t m) {
    return m == WM_COMMAND || m == WM_TIMER || m == WM_SYSCOMMAND || m == WM_CHAR ||
           m == WM_KEYDOWN || m >= WM_USER || m == WM_PALETTECHANGED || m == WM_MDIACTIVATE ||
           m == WM_DESTROY;
  }

  static LRESULT frame_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
    if (interesting(m)) note(h, m, w);
    if (m == WM_COMMAND && current() != nullptr) current()->commands.push_back(
        static_cast<std::uint16_t>(w & 0xFFFF));
    // The product's frame keeps the library's active flag.
    if (m == WM_ACTIVATEAPP) {
      if (w != 0) WeBecomeActive();
      else WeBecomeInactive();
    }
    return DefWindowProcA(h, m, w, l);
  }

  static LRESULT screen_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
    if (interesting(m)) note(h, m, w);
    if (m == WM_DESTROY) RemoveWindowFromTable(h, 0);
    return DefWindowProcA(h, m, w, l);
  }

  static std::intptr_t customer_proc(WindowHandle d, std::uint32_t m, WPARAM w, LPARAM) {
    if (interesting(m)) note(d, m, w);
    switch (m) {
      case WM_INITDIALOG:
        SendDlgItemMessageA(d, kNameEdit, EM_LIMITTEXT, 8, 0);
        for (const char* terms : {"Net 30", "Cash", "Net 10"}) {
          SendDlgItemMessageA(d, kTermsCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(terms));
        }
        return 1;
      case WM_COMMAND:
        if ((w & 0xFFFF) == IDC_OK || (w & 0xFFFF) == IDC_CANCEL) {
          DestroyWindow(d);
          return 1;
        }
        return 0;
      case WM_DESTROY:
        RemoveWindowFromTable(d, 1);
        return 1;
      case kHostNotice:
        if (w == kCloseYourself) DestroyWindow(d);
        return 1;
    }
    return 0;
  }

  static void clear_window_fields() {
    MyCorvaLibDataPtr->MainWindow = 0;
    MyCorvaLibDataPtr->MDIClientWindow = 0;
    MyCorvaLibDataPtr->TopWindow = 0;
    MyCorvaLibDataPtr->AppActive = 0;
  }

  CorvaLibDataType saved_{};
  WindowHandle frame_ = 0, client_ = 0;
  struct Step {
    std::function<void()> run;
    bool wait;
  };
  std::deque<Step> script_;
};

// A clock whose every reading moves it on by a step: code that spins on the
// tick count (WaitFor, YieldFor) sees time pass.
class SteppingClock final : public Clock {
 public:
  explicit SteppingClock(std::uint64_t start_ms, std::uint64_t step_ms = 1)
      : now_ms_(start_ms), step_(step_ms) {}
  std::chrono::system_clock::time_point now() override {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(now_ms_));
  }
  std::chrono::seconds utc_offset(std::chrono::system_clock::time_point) override {
    return std::chrono::seconds(0);
  }
  std::uint64_t ticks_ms() override {
    ++reads;
    const std::uint64_t t = now_ms_;
    now_ms_ += step_;
    return t;
  }
  void sleep(std::chrono::milliseconds d) override {
    now_ms_ += static_cast<std::uint64_t>(d.count());
  }
  int reads = 0;

 private:
  std::uint64_t now_ms_, step_;
};

}  // namespace corva::testhost
