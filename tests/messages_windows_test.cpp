// The message engine on the platform's window layer: a box that waits for the
// application to come to the foreground flashes the real main window on its
// timer and pumps the real message loop.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvalib/ui.h"
#include "corvaplat/clock.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/windows.h"
#include "support/boxes.h"

namespace {

namespace pf = corva::platform;

int g_ticks = 0;
int g_ticks_until_active = 0;

// The host's frame: on the third tick of the wait timer the user clicks it.
pf::LRESULT frame_procedure(pf::WindowHandle hwnd, std::uint32_t message, pf::WPARAM wParam,
                            pf::LPARAM lParam) {
  if (message == pf::WM_TIMER && wParam == 2 && ++g_ticks == g_ticks_until_active)
    WeBecomeActive();
  return pf::DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(MessagesOnWindows, WaitFlashesTheMainWindowUntilActive) {
  pf::ManualClock clock;
  pf::Clock* previous_clock = pf::set_clock(&clock);
  corva::test::BoxRecorder boxes;
  pf::WindowClass frame_class;
  frame_class.name = "MessagesTestFrame";
  frame_class.procedure = frame_procedure;
  ASSERT_NE(pf::RegisterClassA(frame_class), 0);
  const pf::WindowHandle main =
      pf::CreateWindowExA(0, "MessagesTestFrame", "Ledger", pf::WS_OVERLAPPEDWINDOW, 0, 0, 640,
                          480, 0, 0, 0, nullptr);
  ASSERT_NE(main, 0u);
  MyCorvaLibDataPtr->MainWindow = main;

  for (int ticks : {1, 3}) {
    g_ticks = 0;
    g_ticks_until_active = ticks;
    boxes.clear();
    MyCorvaLibDataPtr->AppActive = 0;
    const int flashes_before = pf::flash_count(main);
    const auto start = clock.ticks_ms();
    EXPECT_EQ(Message(0, 20300), pf::IDOK);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Call Corvantis Technical Support.");
    EXPECT_EQ(g_ticks, ticks);
    // One flash per pass of the wait: before the first tick and after each one
    // that left the application in the background.
    EXPECT_EQ(pf::flash_count(main) - flashes_before, ticks);
    EXPECT_EQ(clock.ticks_ms() - start, 500u * static_cast<unsigned>(ticks));
    EXPECT_FALSE(pf::timer_running(main, 2));  // the wait killed its timer
  }
  MyCorvaLibDataPtr->MainWindow = 0;
  pf::DestroyWindow(main);
  pf::UnregisterClassA("MessagesTestFrame", 0);
  pf::set_clock(previous_clock);
}

}  // namespace
