// The window table, the broadcasts, the message loop and the waits, driven
// through the test host.
#include <gtest/gtest.h>

#include "tests/ui_host.h"

namespace {
using namespace corva::testhost;

// Handles that need not be windows: the table does not look at them.
constexpr CvHWND kA = 0x10001, kB = 0x10002, kC = 0x10003, kD = 0x10004;

class WindowTableTest : public testing::Test {
 protected:
  void SetUp() override { corva::ui::table() = corva::ui::WindowTable{}; }
  void TearDown() override { corva::ui::table() = corva::ui::WindowTable{}; }
  static std::vector<CvHWND> handles(bool dialogs) {
    const auto& l = corva::ui::list(dialogs);
    std::vector<CvHWND> out;
    for (std::uint16_t i = 0; i < l.count; ++i) out.push_back(l.entries[i].window);
    return out;
  }
};

TEST_F(WindowTableTest, EachListHoldsFifteen) {
  for (std::uint16_t i = 1; i <= 15; ++i) ASSERT_EQ(AddWindowToTable(kA + i, i, 1), 1) << i;
  EXPECT_EQ(AddWindowToTable(kA + 16, 16, 1), 0);
  EXPECT_EQ(AddWindowToTable(kA + 16, 0, 1), 0);
  for (std::uint16_t i = 1; i <= 15; ++i) ASSERT_EQ(AddWindowToTable(kB + i, i, 0), 1) << i;
  EXPECT_EQ(AddWindowToTable(kB, 99, 0), 0);
  EXPECT_EQ(GetWindowFromMenu(15, 1), kA + 15);
  EXPECT_EQ(GetWindowFromMenu(16, 1), 0u);
}

TEST_F(WindowTableTest, MenuCommandsBelongToOneEntryPerList) {
  struct Step {
    CvHWND window;
    std::uint16_t menu;
    std::uint8_t dialog;
    std::uint8_t added;
  };
  const Step steps[] = {
      {kA, 7, 1, 1}, {kB, 7, 1, 0},  // same command, same list
      {kB, 7, 0, 1},                 // the other list has its own commands
      {kC, 0, 1, 1}, {kD, 0, 1, 1},  // any number without a command
      {kA, 0, 1, 1},                 // the same handle again
  };
  for (const Step& s : steps)
    EXPECT_EQ(AddWindowToTable(s.window, s.menu, s.dialog), s.added) << s.window << "/" << s.menu;
  EXPECT_EQ(handles(true), (std::vector<CvHWND>{kA, kC, kD, kA}));
  EXPECT_EQ(GetWindowFromMenu(7, 1), kA);
  EXPECT_EQ(GetWindowFromMenu(7, 0), kB);
  EXPECT_EQ(GetWindowFromMenu(0, 1), kC);  // the first registered without a command
  EXPECT_EQ(GetMenuFromWindow(kA, 1), 7);  // lookups by handle find the first
  EXPECT_EQ(GetMenuFromWindow(kB, 1), 0);

  // Removing the middle keeps the order and clears the slot that falls free.
  EXPECT_EQ(RemoveWindowFromTable(kC, 1), 1);
  EXPECT_EQ(handles(true), (std::vector<CvHWND>{kA, kD, kA}));
  EXPECT_EQ(corva::ui::list(true).entries[3].window, 0u);
  EXPECT_EQ(GetMenuFromWindow(kC, 1), 0);
  // The wrong list changes nothing.
  EXPECT_EQ(RemoveWindowFromTable(kB, 1), 0);
  EXPECT_EQ(GetWindowFromMenu(7, 0), kB);
  // The first of two entries of one handle goes first.
  EXPECT_EQ(RemoveWindowFromTable(kA, 1), 1);
  EXPECT_EQ(handles(true), (std::vector<CvHWND>{kD, kA}));
  EXPECT_EQ(GetMenuFromWindow(kA, 1), 0);
  EXPECT_EQ(GetWindowFromMenu(7, 1), 0u);
  EXPECT_EQ(AddWindowToTable(kC, 7, 1), 1);  // the command is free again
}

TEST_F(WindowTableTest, FrozenTableTakesNoEntries) {
  corva::ui::table().frozen = 1;
  EXPECT_EQ(IsSystemFrozen(), 1);
  EXPECT_EQ(AddWindowToTable(kA, 0, 1), 0);
  EXPECT_EQ(handles(true).size(), 0u);
}

TEST_F(WindowTableTest, AcceleratorPairHasOneLevelOfUndo) {
  EXPECT_EQ(GetAccelerator(), 0u);
  EXPECT_EQ(SetAccelerator(0xA1), 0u);
  EXPECT_EQ(RestoreAccelerator(), 0u);  // the one current before: none
  EXPECT_EQ(GetAccelerator(), 0u);
  SetAccelerator(0xA1);
  EXPECT_EQ(SetAccelerator(0xB2), 0xA1u);
  EXPECT_EQ(RestoreAccelerator(), 0xA1u);
  EXPECT_EQ(GetAccelerator(), 0xA1u);
  EXPECT_EQ(RestoreAccelerator(), 0xA1u);  // nothing further to undo
}

TEST(TestHost, BroadcastsReachDialogsFirstAndSkipTheExcluded) {
  Host host;
  const WindowHandle c1 = host.open_customer(10), c2 = host.open_customer(11);
  const WindowHandle l1 = host.open_ledger(20), l2 = host.open_ledger(21);
  ASSERT_TRUE(c1 && c2 && l1 && l2);
  auto receivers = [&host] {
    std::vector<WindowHandle> r;
    for (const Seen& s : host.seen_of(kHostNotice)) r.push_back(s.window);
    host.seen.clear();
    return r;
  };
  SendMessageToDataEntryScreens(0, kHostNotice, 1, 0);
  EXPECT_EQ(receivers(), (std::vector<WindowHandle>{c1, c2, l1, l2}));
  SendMessageToDataEntryScreensExceptFor(l1, kHostNotice, 1, 0);
  EXPECT_EQ(receivers(), (std::vector<WindowHandle>{c1, c2, l2}));
  BroadcastMessageWithExclusion(c2, kHostNotice, 1, 0);
  EXPECT_EQ(receivers(), (std::vector<WindowHandle>{c1, l1, l2}));

  // Only the palette message goes on to the main window, posted.
  BroadcastMessage(kHostNotice, 1, 0);
  EXPECT_EQ(queued_message_count(), 0u);
  BroadcastMessage(WM_PALETTECHANGED, host.frame(), 0);
  BroadcastMessageWithExclusion(l2, WM_PALETTECHANGED, host.frame(), 0);
  MSG msg{};
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, host.frame());
    EXPECT_EQ(msg.message, WM_PALETTECHANGED);
  }
  EXPECT_EQ(queued_message_count(), 0u);

  PostMessageToMainWindow(kHostNotice, 3, 4);
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, host.frame());
  MyCorvaLibDataPtr->MainWindow = 0;
  PostMessageToMainWindow(kHostNotice, 3, 4);
  EXPECT_EQ(queued_message_count(), 0u);
}

TEST(TestHost, ScreensMayCloseWhileABroadcastRuns) {
  Host host;
  const WindowHandle c1 = host.open_customer(10), c2 = host.open_customer(11);
  const WindowHandle l1 = host.open_ledger(20);
  // A stale handle: its window went away without leaving the table.
  const WindowHandle gone = host.open_ledger(21);
  ASSERT_TRUE(DestroyWindow(gone));
  ASSERT_EQ(AddWindowToTable(gone, 21, 0), 1);
  host.seen.clear();
  // Each customer screen closes and leaves the table while it handles this.
  BroadcastMessage(kHostNotice, kCloseYourself, 0);
  std::vector<WindowHandle> r;
  for (const Seen& s : host.seen_of(kHostNotice)) r.push_back(s.window);
  EXPECT_EQ(r, (std::vector<WindowHandle>{c1, c2, l1}));
  EXPECT_FALSE(IsWindow(c1));
  EXPECT_FALSE(IsWindow(c2));
  EXPECT_EQ(corva::ui::list(true).count, 0);
  EXPECT_EQ(GetWindowFromMenu(20, 0), l1);
}

TEST(TestHost, KeystrokesReachTheModelessScreenOnce) {
  Host host;
  WindowHandle d = 0;
  std::string name, terms, after_mnemonic;
  std::uint32_t taxable = 0;
  host.then([&] { d = host.open_customer(); });
  host.then([&] { type_text("Acme Hardware"); });  // the edit takes 8
  host.then([&] {
    name = window_text(GetDlgItem(d, kNameEdit));
    press_key(VK_TAB);
    type_text("c");  // the combo box selects by first letter
  });
  host.then([&] {
    terms = window_text(GetDlgItem(d, kTermsCombo));
    press_key(VK_TAB);
    type_text(" ");
  });
  host.then([&] {
    taxable = IsDlgButtonChecked(d, kTaxableCheck);
    press_key('N', false, false, true);  // Alt+N: the label's mnemonic
  });
  host.then([&] {
    after_mnemonic = class_name(GetFocus());
    press_key(VK_RETURN);  // the default button
  });
  host.run();
  EXPECT_EQ(name, "Acme Har");
  EXPECT_EQ(terms, "Cash");
  EXPECT_EQ(taxable, BST_CHECKED);
  EXPECT_EQ(after_mnemonic, "EDIT");
  EXPECT_FALSE(IsWindow(d));
  EXPECT_EQ(GetWindowFromMenu(kCmdCustomer, 1), 0u);
  // The frame saw none of the screen's keys.
  for (const Seen& s : host.seen) EXPECT_NE(s.window, host.frame()) << s.message;
}

TEST(TestHost, AcceleratorComesBeforeTheDialogs) {
  Host host;
  const Accel keys[] = {{FVIRTKEY | FCONTROL, 'S', kCmdSave}, {0, 'q', kCmdLedger}};
  const AccelHandle table = CreateAcceleratorTableA(keys, 2);
  ASSERT_NE(table, 0u);
  SetAccelerator(table);
  WindowHandle d = 0;
  host.then([&] { d = host.open_customer(); });
  host.then([&] {
    press_key('S', false, true);
    type_text("aqb");  // 'q' is taken as the accelerator character
  });
  host.run();
  EXPECT_EQ(host.commands, (std::vector<std::uint16_t>{kCmdSave, kCmdLedger}));
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "ab");
  // Without a table the same keys go to the screen.
  RestoreAccelerator();
  host.commands.clear();
  host.then([] { type_text("q"); });
  host.run();
  EXPECT_TRUE(host.commands.empty());
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "abq");
  DestroyAcceleratorTable(table);
}

TEST(TestHost, MdiKeysMoveBetweenAndCloseScreens) {
  Host host;
  const WindowHandle a = host.open_ledger(1, "A"), b = host.open_ledger(2, "B"),
                     c = host.open_ledger(3, "C");
  auto active = [&host] {
    return static_cast<WindowHandle>(SendMessageA(host.client(), WM_MDIGETACTIVE, 0, 0));
  };
  ASSERT_EQ(active(), c);
  WindowHandle after_next = 0, after_prev = 0;
  host.then([] { press_key(VK_F6, false, true); });
  host.then([&] {
    after_next = active();
    press_key(VK_F6, true, true);
  });
  host.then([&] {
    after_prev = active();
    press_key(VK_F4, false, true);
  });
  host.run();
  EXPECT_EQ(after_next, a);
  EXPECT_EQ(after_prev, c);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(GetWindowFromMenu(3, 0), 0u);  // it left the table as it closed
  EXPECT_EQ(active(), b);
  EXPECT_NE(dump_window_tree(host.frame()).find("MDICLIENT"), std::string::npos);
}

TEST(TestHost, TimersAndTheQuitMessage) {
  ManualClock clock;
  set_clock(&clock);
  {
    Host host;
    ASSERT_EQ(SetTimer(host.frame(), 2, 500, nullptr), 2u);
    static int thread_ticks = 0;
    thread_ticks = 0;
    const std::uintptr_t t =
        SetTimer(0, 0, 750, [](WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
          ++thread_ticks;
        });
    ASSERT_NE(t, 0u);
    for (int i = 0; i < 4; ++i) host.then_wait([] {});
    host.run();
    // Four waits: timer 2 at 500, 1000 and 1500, the thread's at 750; the
    // thread's, due again at 1500, still comes before the quit message.
    EXPECT_EQ(host.seen_of(WM_TIMER).size(), 3u);
    EXPECT_EQ(thread_ticks, 2);
    EXPECT_EQ(clock.slept().count(), 1500);
    // The quit message itself is not dispatched.
    PostQuitMessage(0);
    host.seen.clear();
    EXPECT_EQ(MyGetMessage(), 0);
    EXPECT_TRUE(host.seen.empty());
  }
  set_clock(nullptr);
}

TEST(TestHost, WaitsSpinOnTheTickCount) {
  SteppingClock clock(1000);
  set_clock(&clock);
  {
    Host host;
    for (int i = 0; i < 3; ++i) PostMessageA(host.frame(), kHostNotice, static_cast<WPARAM>(i), 0);
    WaitFor(0);
    WaitFor(20);
    EXPECT_EQ(queued_message_count(), 3u);  // no message handled while waiting
    EXPECT_GE(clock.reads, 20);
    YieldFor(0);  // the queued messages are handled before the clock is read
    EXPECT_EQ(host.seen_of(kHostNotice).size(), 3u);
    EXPECT_EQ(queued_message_count(), 0u);
    SetTimer(host.frame(), 5, 10, nullptr);
    YieldFor(35);
    EXPECT_EQ(host.seen_of(WM_TIMER).size(), 3u);
  }
  set_clock(nullptr);
  // A wait that would cross the wrap of the tick count ends at once.
  SteppingClock late(0xFFFFFFFAull);
  set_clock(&late);
  WaitFor(10);
  YieldFor(10);
  EXPECT_LE(late.reads, 4);
  set_clock(nullptr);
}

TEST(TestHost, FocusRedirectAndActiveFlag) {
  Host host;
  EXPECT_EQ(RedirectFocusToTop(), 0);  // no TopWindow
  const WindowHandle top = host.open_ledger();
  const WindowHandle other = host.open_customer();
  const WindowHandle before = GetFocus();
  ASSERT_NE(before, top);
  MyCorvaLibDataPtr->TopWindow = top;
  ShowWindow(top, SW_HIDE);
  EXPECT_EQ(RedirectFocusToTop(), 0);
  EXPECT_EQ(GetFocus(), before);
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(RedirectFocusToTop(), 1);
  EXPECT_EQ(GetFocus(), top);
  DestroyWindow(top);
  EXPECT_EQ(RedirectFocusToTop(), 0);
  (void)other;

  WeBecomeActive();
  EXPECT_EQ(MyCorvaLibDataPtr->AppActive, 1);
  WeBecomeInactive();
  EXPECT_EQ(MyCorvaLibDataPtr->AppActive, 0);
  Dispatch(nullptr);  // harmless
  CvMSG m{host.frame(), kHostNotice, 8, 0, 0, {0, 0}};
  Dispatch(&m);
  ASSERT_EQ(host.seen_of(kHostNotice).size(), 1u);
  EXPECT_EQ(host.seen_of(kHostNotice)[0].wparam, 8u);
}

}  // namespace

namespace {

TEST(WindowProperties, DialogIdDataAndSavedNoPrefix) {
  Host host;
  const WindowHandle d = host.open_customer();
  EXPECT_EQ(GetDialogID(d), 0u);
  EXPECT_EQ(AttachDialogID(d, 120), 1);
  EXPECT_EQ(GetDialogID(d), 120u);
  EXPECT_EQ(RemoveDialogID(d), 120u);
  EXPECT_EQ(GetDialogID(d), 0u);
  int record = 0;
  EXPECT_EQ(GetMyWindowData(d), nullptr);
  EXPECT_EQ(SetMyWindowData(d, &record), 1);
  EXPECT_EQ(GetMyWindowData(d), &record);
  EXPECT_EQ(RemoveMyWindowData(d), &record);
  EXPECT_EQ(GetMyWindowData(d), nullptr);

  // One label with SS_NOPREFIX, one without, and an edit that is no static.
  const WindowHandle plain = GetDlgItem(d, kNameLabel);
  const WindowHandle bare = CreateWindowExA(0, "Static", "100%&", WS_CHILD | SS_NOPREFIX, 0, 0, 9,
                                            9, d, 900, 0, nullptr);
  const WindowHandle edit = GetDlgItem(d, kNameEdit);
  SS_NOPREFIX_Save(d);
  EXPECT_EQ(SS_NOPREFIX_State(bare), 0x80u);
  EXPECT_EQ(SS_NOPREFIX_State(plain), 0u);
  EXPECT_EQ(GetPropA(plain, GlobalFindAtomA("SS_NOPREFIX SAVE AREA")), 0u);
  EXPECT_EQ(SS_NOPREFIX_State(edit), 0u);
  SS_NOPREFIX_Remove(d);
  EXPECT_EQ(SS_NOPREFIX_State(bare), 0u);

  // Handles that are not windows take and give nothing.
  DestroyWindow(d);
  EXPECT_EQ(AttachDialogID(d, 5), 0);
  EXPECT_EQ(SetMyWindowData(d, &record), 0);
  EXPECT_EQ(GetDialogID(0), 0u);
  SS_NOPREFIX_Save(0);
  EXPECT_EQ(SS_NOPREFIX_State(0), 0u);
}

}  // namespace
