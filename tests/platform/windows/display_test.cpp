// The window system with a display attached (a recording stand-in), and the
// mouse input a display queues.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "corvaplat/clipboard.h"
#include "corvaplat/display.h"
#include "corvaplat/windows.h"

namespace {
using namespace corva::platform;

// Notes as text ("shown 0x..."), and pumps that run a script of input.
struct Recorder final : DisplayBackend {
  std::vector<std::string>* notes;
  std::vector<int>* timeouts;
  std::function<bool()> on_pump;
  std::atomic<int>* wakes;
  Recorder(std::vector<std::string>* n, std::vector<int>* t, std::atomic<int>* w)
      : notes(n), timeouts(t), wakes(w) {}
  void note(const char* what, WindowHandle h, std::string extra = "") {
    notes->push_back(std::string(what) + extra);
    static_cast<void>(h);
  }
  void created(WindowHandle h) override { note("created", h); }
  void shown(WindowHandle h) override {
    note((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) ? "shown" : "hidden", h);
  }
  void placed(WindowHandle h) override {
    Rect r{};
    GetWindowRect(h, &r);
    note("placed", h, " " + std::to_string(r.left) + "," + std::to_string(r.top));
  }
  void retitled(WindowHandle h) override { note("retitled", h, " " + window_text(h)); }
  void invalidated(WindowHandle h, const Rect& r) override {
    note("invalid", h, " " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
                           std::to_string(r.right) + "," + std::to_string(r.bottom));
  }
  void destroyed(WindowHandle h) override { note("destroyed", h); }
  void activated(WindowHandle h, bool active) override { note(active ? "active" : "inactive", h); }
  bool pump(int timeout_ms) override {
    timeouts->push_back(timeout_ms);
    return on_pump ? on_pump() : true;
  }
  void wake() override { ++*wakes; }
  int message_box(const MessageBoxRequest&) override { return IDNO; }
  std::string board;
  void set_clipboard(const std::string& text) override { board = "desktop:" + text; }
  bool clipboard(std::string* text) override {
    *text = board;
    return !board.empty();
  }
  DisplayStatistics statistics() const override { return {}; }
};

std::vector<MSG> g_got;
LRESULT keep_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
  if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) g_got.push_back(MSG{h, m, w, l, 0, {0, 0}});
  if (m == WM_COMMAND && (w >> 16) == BN_CLICKED) g_got.push_back(MSG{h, m, w, l, 0, {0, 0}});
  return DefWindowProcA(h, m, w, l);
}

class Display : public testing::Test {
 protected:
  std::vector<std::string> notes;
  std::vector<int> timeouts;
  std::atomic<int> wakes{0};
  Recorder* recorder = nullptr;

  void SetUp() override {
    reset_window_system();
    g_got.clear();
    WindowClass wc;
    wc.name = "Keeper";
    wc.procedure = keep_proc;
    ASSERT_NE(RegisterClassA(wc), 0);
    auto r = std::make_unique<Recorder>(&notes, &timeouts, &wakes);
    recorder = r.get();
    attach_display(std::move(r));
  }
  void TearDown() override {
    attach_display(nullptr);
    reset_window_system();
  }
  // Takes and dispatches everything queued.
  static void drain() {
    MSG m{};
    while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
};

TEST_F(Display, TopLevelChangesReachTheDisplayChildrenOnlyAsPaint) {
  // A captioned window 200x100 at (10,20): frame 1, caption 18.
  const WindowHandle top = CreateWindowExA(0, "Keeper", "One", WS_POPUP | WS_CAPTION, 10, 20, 200,
                                           100, 0, 0, 0, nullptr);
  const WindowHandle child = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 6, 50, 20,
                                             top, 101, 0, nullptr);
  notes.clear();
  ShowWindow(top, SW_SHOW);
  SetWindowTextA(top, "Two");
  SetWindowTextA(child, "typed");
  MoveWindow(top, 30, 40, 200, 100, false);
  const Rect part{1, 2, 3, 4};
  InvalidateRect(child, &part, false);
  DestroyWindow(top);
  const std::vector<std::string> expected = {
      "invalid 1,19-199,99", "shown", "active", "retitled Two", "placed 30,40",
      // The child's client point (1,2) lies at frame 1 + 5 and frame 1 + caption 18 + 6.
      "invalid 7,27-9,29", "destroyed"};
  // Paint requests of the child's own text change are the controls' business.
  std::vector<std::string> seen;
  for (const std::string& n : notes) {
    if (n != "invalid 6,25-56,45") seen.push_back(n);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(Display, TheQueueWaitsOnTheDisplayAndTimersTogether) {
  const WindowHandle top = CreateWindowExA(0, "Keeper", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                           0, 0, 0, nullptr);
  drain();
  // No timer: the wait has no limit, until the display queues a key.
  recorder->on_pump = [typed = false]() mutable {
    if (!typed) press_key('A');
    typed = true;
    return true;
  };
  timeouts.clear();
  MSG m{};
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 1);
  EXPECT_EQ(m.message, WM_KEYDOWN);
  ASSERT_FALSE(timeouts.empty());
  EXPECT_EQ(timeouts.front(), -1);
  drain();
  // A timer bounds the wait by its period.
  SetTimer(top, 7, 50, nullptr);
  timeouts.clear();
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 1);
  ASSERT_FALSE(timeouts.empty());
  EXPECT_GT(timeouts.front(), 0);
  EXPECT_LE(timeouts.front(), 50);
  EXPECT_EQ(m.message, WM_TIMER);
  // A post from another thread wakes the display's wait.
  const int before = wakes;
  std::thread([top] { PostMessageA(top, WM_USER, 0, 0); }).join();
  EXPECT_GT(wakes, before);
}

TEST_F(Display, ALostDisplayIsToldOnceAndTheWindowsGoOnHeadless) {
  const WindowHandle top = CreateWindowExA(0, "Keeper", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                           0, 0, 0, nullptr);
  recorder->on_pump = [] { return false; };
  testing::internal::CaptureStderr();
  MSG m{};
  EXPECT_FALSE(PeekMessageA(&m, top, WM_USER, WM_USER, PM_REMOVE));  // the pump finds it gone
  EXPECT_EQ(current_display(), nullptr);
  PostQuitMessage(3);
  EXPECT_EQ(GetMessageA(&m, 0, 0, 0), 0);  // headless, the queue still works
  display_lost("again");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("display lost"), said.rfind("display lost")) << said;
  EXPECT_NE(said.find("display lost"), std::string::npos);
  EXPECT_TRUE(IsWindow(top));
}

TEST_F(Display, ADisplayIsChosenByAWordAndAnUnknownOneIsRefused) {
  struct Case {
    const char* name;
    const char* reason;
  } const cases[] = {{"nosuch", "cannot load libcorvadisplay-nosuch.so"},
                     {"../gtk", "a display is named by a word"},
                     {"", "a display is named by a word"}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(select_display(c.name, &error)) << c.name;
    EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    EXPECT_EQ(current_display(), recorder);  // the attached one stays
  }
}

TEST_F(Display, MouseInputGoesToTheWindowUnderThePointerOrTheCapture) {
  // A bare popup (no frame): window and client coordinates agree.
  const WindowHandle top = CreateWindowExA(0, "Keeper", "", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                                           200, 0, 0, 0, nullptr);
  const WindowHandle label = CreateWindowExA(0, "STATIC", "&Name", WS_CHILD | WS_VISIBLE, 0, 0,
                                             300, 40, top, 100, 0, nullptr);
  const WindowHandle edit = CreateWindowExA(0, "EDIT", "hello", WS_CHILD | WS_VISIBLE, 10, 10, 100,
                                            20, top, 101, 0, nullptr);
  const WindowHandle disabled = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10,
                                           50, 100, 20, top, 102, 0, nullptr);
  const WindowHandle ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 100, 80, 30,
                                          top, IDC_OK, 0, nullptr);
  ASSERT_NE(label, 0u);
  ASSERT_NE(disabled, 0u);
  drain();
  struct Case {
    Point at;  // in the top-level window
    std::uint32_t message, delivered;
    WindowHandle expected;
    Point client;
  } const cases[] = {
      {{15, 12}, WM_LBUTTONDOWN, WM_LBUTTONDOWN, edit, {5, 2}},  // the edit lies over the static
      {{200, 5}, WM_LBUTTONDOWN, WM_LBUTTONDOWN, top, {200, 5}},  // the static lets it through
      {{20, 55}, WM_LBUTTONUP, WM_LBUTTONUP, top, {20, 55}},      // a disabled field takes none
      {{15, 12}, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, edit, {5, 2}},  // no CS_DBLCLKS: a press
      {{-5, 300}, WM_MOUSEMOVE, WM_MOUSEMOVE, top, {-5, 300}},     // outside: still the window
  };
  for (const Case& c : cases) {
    mouse_input(top, c.message, c.at, 0);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, c.expected) << c.at.x << "," << c.at.y;
    EXPECT_EQ(m.message, c.delivered);
    EXPECT_EQ(static_cast<std::int16_t>(m.lParam & 0xFFFF), c.client.x);
    EXPECT_EQ(static_cast<std::int16_t>((m.lParam >> 16) & 0xFFFF), c.client.y);
    EXPECT_EQ(m.pt.x, 100 + c.at.x);  // the point on the screen
  }
  // The standard controls: a click puts the focus in the edit, and the
  // button clicks only when released over itself.
  mouse_input(top, WM_LBUTTONDOWN, Point{15, 12}, MK_LBUTTON);
  mouse_input(top, WM_LBUTTONUP, Point{15, 12}, 0);
  drain();
  EXPECT_EQ(GetFocus(), edit);
  g_got.clear();
  mouse_input(top, WM_LBUTTONDOWN, Point{20, 110}, MK_LBUTTON);
  drain();
  EXPECT_EQ(GetCapture(), ok);
  mouse_input(top, WM_LBUTTONUP, Point{250, 190}, 0);  // released elsewhere: the capture has it
  drain();
  EXPECT_EQ(GetCapture(), 0u);
  EXPECT_TRUE(g_got.empty());
  mouse_input(top, WM_LBUTTONDOWN, Point{20, 110}, MK_LBUTTON);
  mouse_input(top, WM_LBUTTONUP, Point{21, 111}, 0);
  drain();
  ASSERT_EQ(g_got.size(), 1u);
  EXPECT_EQ(g_got[0].message, WM_COMMAND);
  EXPECT_EQ(g_got[0].wParam, WPARAM{IDC_OK});
  // Input queued for a window that has gone is dropped.
  mouse_input(top, WM_LBUTTONDOWN, Point{20, 110}, MK_LBUTTON);
  DestroyWindow(top);
  MSG m{};
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
}

TEST_F(Display, EditsCutCopyAndPasteThroughTheDesktopClipboard) {
  const WindowHandle top = CreateWindowExA(0, "Keeper", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100,
                                           0, 0, 0, nullptr);
  const WindowHandle from = CreateWindowExA(0, "EDIT", "hello", WS_CHILD | WS_VISIBLE, 0, 0, 100,
                                            20, top, 101, 0, nullptr);
  const WindowHandle into = CreateWindowExA(0, "EDIT", "[]", WS_CHILD | WS_VISIBLE, 0, 30, 100, 20,
                                            top, 102, 0, nullptr);
  SendMessageA(from, EM_SETSEL, 1, 3);
  SendMessageA(from, WM_COPY, 0, 0);
  EXPECT_EQ(recorder->board, "desktop:el");
  EXPECT_EQ(window_text(from), "hello");
  SendMessageA(from, WM_CUT, 0, 0);
  EXPECT_EQ(window_text(from), "hlo");
  // Ctrl+V typed into the field pastes what the desktop holds, first line only.
  recorder->board = "12.50\nsecond line";
  SetFocus(into);
  SendMessageA(into, EM_SETSEL, 1, 1);
  press_key('V', false, true);
  drain();
  EXPECT_EQ(window_text(into), "[12.50]");
  // Without a display the process keeps its own.
  attach_display(nullptr);
  set_clipboard_text("local");
  SendMessageA(into, EM_SETSEL, 0, -1);
  SendMessageA(into, WM_PASTE, 0, 0);
  EXPECT_EQ(window_text(into), "local");
}

TEST_F(Display, HitTestingAFramedWindow) {
  // 200x100, frame 1, caption 18, with a close box.
  const WindowHandle top = CreateWindowExA(0, "Keeper", "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                                           0, 200, 100, 0, 0, 0, nullptr);
  struct Case {
    Point at;
    std::uint32_t expected;
  } const cases[] = {{{0, 50}, HTBORDER},   {{50, 5}, HTCAPTION}, {{190, 5}, HTCLOSE},
                     {{50, 19}, HTCLIENT},  {{199, 99}, HTBORDER}, {{200, 50}, HTNOWHERE},
                     {{-1, 5}, HTNOWHERE}};
  for (const Case& c : cases) {
    EXPECT_EQ(window_hit_test(top, c.at), c.expected) << c.at.x << "," << c.at.y;
  }
  EXPECT_EQ(window_hit_test(0, Point{1, 1}), HTNOWHERE);
}

}  // namespace
