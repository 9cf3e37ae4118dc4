// The headless window system of the platform layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvaplat/clock.h"
#include "corvaplat/windows.h"

namespace {
using namespace corva::platform;

// Every message a recording window receives, in order.
std::vector<std::uint32_t> g_seen;
std::vector<WindowHandle> g_seen_by;

LRESULT recording_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
  g_seen.push_back(m);
  g_seen_by.push_back(h);
  return DefWindowProcA(h, m, w, l);
}

class Windows : public testing::Test {
 protected:
  void SetUp() override {
    reset_window_system();
    g_seen.clear();
    g_seen_by.clear();
    WindowClass wc;
    wc.name = "Recorder";
    wc.procedure = recording_proc;
    ASSERT_NE(RegisterClassA(wc), 0);
  }
  void TearDown() override {
    set_clock(nullptr);
    reset_window_system();
  }
  static WindowHandle make(WindowHandle parent = 0, int id = 0, std::uint32_t style = WS_VISIBLE,
                           const char* cls = "Recorder", const char* text = "") {
    if (parent != 0) style |= WS_CHILD;
    return CreateWindowExA(0, cls, text, style, 0, 0, 100, 50, parent,
                           static_cast<MenuHandle>(id), 0, nullptr);
  }
  static int count(std::uint32_t m) {
    return static_cast<int>(std::count(g_seen.begin(), g_seen.end(), m));
  }
};

TEST_F(Windows, HandlesAreNeverReusedWhileAlive) {
  std::vector<WindowHandle> live;
  for (int i = 0; i < 50; ++i) live.push_back(make());
  for (int i = 0; i < 50; i += 2) ASSERT_TRUE(DestroyWindow(live[static_cast<std::size_t>(i)]));
  for (int i = 0; i < 50; ++i) {
    const WindowHandle h = make();
    ASSERT_NE(h, 0u);
    for (std::size_t k = 1; k < live.size(); k += 2) ASSERT_NE(h, live[k]);
  }
  // A destroyed handle answers nothing and reports an invalid window.
  EXPECT_FALSE(IsWindow(live[0]));
  EXPECT_EQ(SendMessageA(live[0], WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetLastError(), kErrorInvalidWindowHandle);
  EXPECT_FALSE(PostMessageA(live[0], WM_USER, 0, 0));
  EXPECT_FALSE(SetWindowTextA(live[0], "x"));
  EXPECT_FALSE(DestroyWindow(live[0]));
  EXPECT_EQ(GetDlgItem(live[0], 1), 0u);
  EXPECT_FALSE(IsWindow(0));
}

TEST_F(Windows, PostedMessagesComeBackInOrderAndQuitEndsTheLoop) {
  const WindowHandle w = make();
  for (std::uint32_t i = 0; i < 5; ++i) ASSERT_TRUE(PostMessageA(w, WM_USER + i, i, 0));
  PostQuitMessage(7);
  MSG msg{};
  std::vector<std::uint32_t> got;
  while (GetMessageA(&msg, 0, 0, 0) > 0) {
    got.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(got, (std::vector<std::uint32_t>{WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3,
                                              WM_USER + 4}));
  EXPECT_EQ(count(WM_USER + 4), 1);
}

TEST_F(Windows, FullQueueRefusesThePost) {
  for (std::size_t i = 0; i < kMessageQueueLimit; ++i) ASSERT_TRUE(PostMessageA(0, WM_USER, 0, 0));
  EXPECT_FALSE(PostMessageA(0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorNotEnoughQuota);
  MSG msg{};
  std::size_t n = 0;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) ++n;
  EXPECT_EQ(n, kMessageQueueLimit);
}

TEST_F(Windows, TimersRunOnThePlatformClock) {
  ManualClock clock;
  set_clock(&clock);
  const WindowHandle w = make();
  ASSERT_EQ(SetTimer(w, 2, 500, nullptr), 2u);
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  clock.advance(std::chrono::milliseconds(499));
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  clock.advance(std::chrono::milliseconds(1));
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_EQ(msg.wParam, 2u);
  // However late, one WM_TIMER, then the next period.
  clock.advance(std::chrono::milliseconds(5000));
  EXPECT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  // GetMessage sleeps on the clock until the timer is due.
  ASSERT_EQ(GetMessageA(&msg, 0, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_GE(clock.slept().count(), 500);
  EXPECT_TRUE(KillTimer(w, 2));
  EXPECT_FALSE(KillTimer(w, 2));
  DestroyWindow(w);
  EXPECT_FALSE(timer_running(w, 2));
}

TEST_F(Windows, FlashWindowInvertsTheCaption) {
  const WindowHandle w = make();
  ASSERT_EQ(GetActiveWindow(), w);
  EXPECT_TRUE(FlashWindow(w, true));    // was drawn active
  EXPECT_FALSE(FlashWindow(w, true));   // inverted once
  EXPECT_TRUE(FlashWindow(w, false));   // back to its active state
  EXPECT_EQ(flash_count(w), 2);
  EXPECT_FALSE(FlashWindow(0, true));
}

}  // namespace
