// The headless window system of the platform layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
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

namespace {

TEST_F(Windows, EditKeepsItsLimitAndSelection) {
  const WindowHandle parent = make();
  const WindowHandle e = make(parent, 101, WS_VISIBLE, "EDIT");
  SendMessageA(e, EM_LIMITTEXT, 5, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 5);
  struct Step {
    const char* typed;  // typed at the caret, after the selection below
    int sel_from, sel_to;
    const char* text;
  };
  const Step steps[] = {
      {"abcdefg", -2, 0, "abcde"},  // typing stops at the limit
      {"X", 1, 3, "aXde"},          // a selection is replaced
      {"\b", -2, 0, "ade"},         // backspace at the caret, after the X
      {"\b", 0, -1, ""},            // backspace removes a selection
  };
  SetFocus(e);
  for (const Step& s : steps) {
    if (s.sel_from != -2) SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(s.sel_from), s.sel_to);
    for (const char* p = s.typed; *p; ++p) SendMessageA(e, WM_CHAR, static_cast<WPARAM>(*p), 0);
    EXPECT_EQ(window_text(e), s.text) << s.typed;
  }
  // SetWindowText is not held to the limit; EM_REPLACESEL is.
  SetWindowTextA(e, "1234567");
  EXPECT_EQ(window_text(e), "1234567");
  std::uint32_t from = 9, to = 9;
  SendMessageA(e, EM_SETSEL, 2, -1);
  SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 2u);
  EXPECT_EQ(to, 7u);
  SendMessageA(e, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("xyz"));
  EXPECT_EQ(window_text(e), "12xyz");
  // The parent hears of every change.
  EXPECT_GE(count(WM_COMMAND), 5);
}

TEST_F(Windows, ButtonsKeepTheirCheckStates) {
  const WindowHandle d = make();
  struct Case {
    std::uint32_t style;
    std::vector<std::uint32_t> after_clicks;  // BM_GETCHECK after each BM_CLICK
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, {0, 0}},
      {BS_CHECKBOX, {0, 0}},  // not automatic: the owner checks it
      {BS_AUTOCHECKBOX, {1, 0, 1}},
      {BS_AUTO3STATE, {1, 2, 0}},
      {BS_AUTORADIOBUTTON, {1, 1}},
  };
  int id = 200;
  for (const Case& c : cases) {
    const WindowHandle b = make(d, ++id, WS_VISIBLE | WS_GROUP | c.style, "BUTTON");
    for (std::uint32_t want : c.after_clicks) {
      SendMessageA(b, BM_CLICK, 0, 0);
      EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(want)) << c.style;
    }
  }
  // A radio group: checking one unchecks the others of its group only.
  const WindowHandle r1 = make(d, 301, WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, "BUTTON");
  const WindowHandle r2 = make(d, 302, WS_VISIBLE | BS_AUTORADIOBUTTON, "BUTTON");
  const WindowHandle r3 = make(d, 303, WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, "BUTTON");
  SendMessageA(r1, BM_CLICK, 0, 0);
  SendMessageA(r3, BM_CLICK, 0, 0);
  SendMessageA(r2, BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(d, 301), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(d, 302), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(d, 303), BST_CHECKED);
  CheckRadioButton(d, 301, 303, 301);
  EXPECT_EQ(IsDlgButtonChecked(d, 301) + 2 * IsDlgButtonChecked(d, 302) +
                4 * IsDlgButtonChecked(d, 303),
            1u);
  // BM_SETSTYLE changes the low word only.
  const WindowHandle p = make(d, 310, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, "BUTTON");
  SendMessageA(p, BM_SETSTYLE, BS_DEFPUSHBUTTON, 0);
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(p, GWL_STYLE)),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  // Clicks are told to the parent; a disabled button takes none.
  g_seen.clear();
  EnableWindow(p, false);
  SendMessageA(p, BM_CLICK, 0, 0);
  EXPECT_EQ(count(WM_COMMAND), 0);
  EnableWindow(p, true);
  SendMessageA(p, BM_CLICK, 0, 0);
  EXPECT_EQ(count(WM_COMMAND), 1);
}

TEST_F(Windows, ListAndComboBoxesKeepItemsAndData) {
  const WindowHandle d = make();
  for (const char* cls : {"LISTBOX", "COMBOBOX"}) {
    const bool combo = std::string(cls) == "COMBOBOX";
    const std::uint32_t add = combo ? CB_ADDSTRING : LB_ADDSTRING;
    const std::uint32_t sorted = combo ? CBS_SORT | CBS_DROPDOWNLIST : LBS_SORT;
    const WindowHandle plain = make(d, 1, WS_VISIBLE | (combo ? CBS_DROPDOWNLIST : 0u), cls);
    const WindowHandle sort = make(d, 2, WS_VISIBLE | sorted, cls);
    auto text = [combo](WindowHandle h, int i) {
      char buf[80] = {};
      SendMessageA(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(buf));
      return std::string(buf);
    };
    for (const char* item : {"Petty cash", "bank", "Accounts"}) {
      SendMessageA(plain, add, 0, reinterpret_cast<LPARAM>(item));
      SendMessageA(sort, add, 0, reinterpret_cast<LPARAM>(item));
    }
    EXPECT_EQ(text(plain, 0), "Petty cash") << cls;
    EXPECT_EQ(text(sort, 0), "Accounts") << cls;  // sorted without regard to case
    EXPECT_EQ(text(sort, 1), "bank") << cls;
    const std::uint32_t set_data = combo ? CB_SETITEMDATA : LB_SETITEMDATA;
    const std::uint32_t get_data = combo ? CB_GETITEMDATA : LB_GETITEMDATA;
    const std::uint32_t set_cur = combo ? CB_SETCURSEL : LB_SETCURSEL;
    const std::uint32_t get_cur = combo ? CB_GETCURSEL : LB_GETCURSEL;
    EXPECT_EQ(SendMessageA(plain, set_data, 2, 0xACC), 0);
    EXPECT_EQ(SendMessageA(plain, get_data, 2, 0), 0xACC);
    EXPECT_EQ(SendMessageA(plain, get_data, 3, 0), -1);
    EXPECT_EQ(SendMessageA(plain, get_cur, 0, 0), -1);
    EXPECT_EQ(SendMessageA(plain, set_cur, 1, 0), 1);
    if (combo) {
      EXPECT_EQ(window_text(plain), "bank");
    }
    EXPECT_EQ(SendMessageA(plain, set_cur, 7, 0), -1);  // out of range: kept
    EXPECT_EQ(SendMessageA(plain, get_cur, 0, 0), 1);
    // Deleting before the selection moves it; deleting it clears it.
    SendMessageA(plain, combo ? CB_DELETESTRING : LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageA(plain, get_cur, 0, 0), 0);
    EXPECT_EQ(SendMessageA(plain, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(plain, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                           static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ACCOUNTS")),
              1);
    EXPECT_EQ(SendMessageA(plain, set_cur, static_cast<WPARAM>(-1), 0), -1);
    EXPECT_EQ(SendMessageA(plain, get_cur, 0, 0), -1);
    DestroyWindow(plain);
    DestroyWindow(sort);
  }
}

TEST_F(Windows, DestroyingSendsDestroyParentFirstAndMovesTheFocus) {
  const WindowHandle top = make();
  const WindowHandle child = make(top, 1);
  const WindowHandle grandchild = make(child, 2);
  const WindowHandle owned = CreateWindowExA(0, "Recorder", "", WS_VISIBLE | WS_POPUP, 0, 0, 10,
                                             10, top, 0, 0, nullptr);
  ASSERT_EQ(GetParent(owned), top);  // a popup's parent is its owner
  EXPECT_EQ(SetFocus(grandchild), owned);  // the popup was created last
  g_seen.clear();
  g_seen_by.clear();
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<std::pair<std::uint32_t, WindowHandle>> got;
  for (std::size_t i = 0; i < g_seen.size(); ++i) {
    if (g_seen[i] == WM_DESTROY || g_seen[i] == WM_NCDESTROY || g_seen[i] == WM_KILLFOCUS)
      got.emplace_back(g_seen[i], g_seen_by[i]);
  }
  const std::vector<std::pair<std::uint32_t, WindowHandle>> want = {
      {WM_DESTROY, owned},      {WM_NCDESTROY, owned},      {WM_KILLFOCUS, grandchild},
      {WM_DESTROY, top},        {WM_DESTROY, child},        {WM_DESTROY, grandchild},
      {WM_NCDESTROY, grandchild}, {WM_NCDESTROY, child},    {WM_NCDESTROY, top}};
  EXPECT_EQ(got, want);
  for (WindowHandle h : {top, child, grandchild, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetFocus(), 0u);
  EXPECT_EQ(GetActiveWindow(), 0u);
}

TEST_F(Windows, FocusAndActivationMessages) {
  const WindowHandle a = make();
  const WindowHandle b = make();
  const WindowHandle ca = make(a, 1), cb = make(b, 2);
  EXPECT_EQ(GetActiveWindow(), b);
  g_seen.clear();
  g_seen_by.clear();
  EXPECT_EQ(SetFocus(ca), b);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), ca);
  EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), WM_ACTIVATE), g_seen.end());
  EXPECT_EQ(g_seen.back(), WM_SETFOCUS);
  EXPECT_EQ(g_seen_by.back(), ca);
  // Disabling the focus takes it away; hiding leaves it.
  EnableWindow(a, false);
  EXPECT_EQ(GetFocus(), 0u);
  EXPECT_FALSE(IsWindowEnabled(a));
  EXPECT_TRUE(IsWindowEnabled(ca));  // enabled itself, though its parent is not
  EXPECT_TRUE(EnableWindow(a, true));
  SetFocus(cb);
  ShowWindow(b, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(cb));
  EXPECT_TRUE(ShowWindow(cb, SW_HIDE));  // it was visible itself
  // The application in the background: WM_ACTIVATEAPP to every top-level window.
  g_seen.clear();
  set_application_foreground(false);
  EXPECT_EQ(count(WM_ACTIVATEAPP), 2);
  EXPECT_EQ(GetForegroundWindow(), 0u);
  EXPECT_FALSE(FlashWindow(a, false));  // not drawn active in the background
  set_application_foreground(true);
}

TEST_F(Windows, RectanglesAndClientAreas) {
  const WindowHandle top = CreateWindowExA(0, "Recorder", "", WS_CAPTION | WS_THICKFRAME, 100, 50,
                                           400, 300, 0, 0, 0, nullptr);
  const WindowHandle c =
      CreateWindowExA(0, "Recorder", "", WS_CHILD | WS_BORDER, 10, 20, 50, 30, top, 7, 0, nullptr);
  Rect r{};
  ASSERT_TRUE(GetClientRect(top, &r));
  EXPECT_EQ(r, (Rect{0, 0, 392, 274}));  // 4 on each side, caption 18
  ASSERT_TRUE(GetWindowRect(c, &r));
  EXPECT_EQ(r, (Rect{114, 92, 164, 122}));
  Point p{0, 0};
  ClientToScreen(c, &p);
  EXPECT_EQ(p.x, 115);
  EXPECT_EQ(p.y, 93);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 11);
  EXPECT_EQ(p.y, 21);
  Point q{1, 1};
  MapWindowPoints(c, top, &q, 1);
  EXPECT_EQ(q.x, 12);
  EXPECT_EQ(q.y, 22);
  Rect a{0, 0, 10, 10};
  AdjustWindowRect(&a, WS_CAPTION | WS_THICKFRAME, false);
  EXPECT_EQ(a, (Rect{-4, -22, 14, 14}));
  ASSERT_TRUE(SetWindowPos(c, 0, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER));
  GetWindowRect(c, &r);
  EXPECT_EQ(r, (Rect{114, 92, 194, 132}));
  MoveWindow(c, 1, 2, 3, 4, false);
  GetClientRect(c, &r);
  EXPECT_EQ(r, (Rect{0, 0, 1, 2}));
  Rect u{};
  EXPECT_FALSE(UnionRect(&u, &u, &u));
  Rect x{5, 5, 6, 6};
  EXPECT_TRUE(UnionRect(&u, &a, &x));
  EXPECT_EQ(u, a);
}

TEST_F(Windows, PropertiesByNameAndAtom) {
  const WindowHandle w = make();
  const Atom atom = GlobalAddAtomA("CVX DIALOG ID");
  EXPECT_TRUE(SetPropA(w, atom, 120));
  EXPECT_EQ(GetPropA(w, atom), 120u);
  EXPECT_EQ(GetPropA(w, "cvx dialog id"), 120u);  // names compare without case
  EXPECT_TRUE(SetPropA(w, "Test Data Ptr", 0xBEEF));
  const Atom named = GlobalFindAtomA("TEST DATA PTR");
  EXPECT_NE(named, 0);
  EXPECT_EQ(GetPropA(w, named), 0xBEEFu);
  EXPECT_EQ(RemovePropA(w, "Test Data Ptr"), 0xBEEFu);
  EXPECT_EQ(GlobalFindAtomA("TEST DATA PTR"), 0);  // the name went with it
  EXPECT_EQ(GetPropA(w, "Test Data Ptr"), 0u);
  EXPECT_EQ(RemovePropA(w, atom), 120u);
  EXPECT_EQ(RemovePropA(w, atom), 0u);
  SetPropA(w, "Left behind", 1);
  DestroyWindow(w);
  EXPECT_EQ(GlobalFindAtomA("Left behind"), 0);
  EXPECT_FALSE(SetPropA(w, atom, 1));
  GlobalDeleteAtom(atom);
}

TEST_F(Windows, KeysTranslateIntoCharactersAndAccelerators) {
  const WindowHandle w = make();
  SetFocus(w);
  const Accel keys[] = {{FVIRTKEY | FCONTROL, 'P', 7}, {FVIRTKEY, VK_F1, 8}, {0, '+', 9}};
  const AccelHandle table = CreateAcceleratorTableA(keys, 3);
  type_text("aB1!\n");
  press_key('P', false, true);
  press_key(VK_F1);
  press_key('Q', false, false, true);  // Alt+Q
  type_text("+");
  std::string chars;
  std::vector<int> commands;
  std::vector<std::uint32_t> sys;
  MSG msg{};
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
    if (TranslateAcceleratorA(w, table, &msg)) {
      commands.push_back(static_cast<int>(msg.wParam));
      continue;
    }
    TranslateMessage(&msg);
    if (msg.message == WM_CHAR) chars += static_cast<char>(msg.wParam);
    if (msg.message == WM_SYSCHAR || msg.message == WM_SYSKEYDOWN) sys.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(chars, "aB1!\r");
  EXPECT_EQ(commands, (std::vector<int>{'P', VK_F1, '+'}));
  EXPECT_EQ(count(WM_COMMAND), 3);
  EXPECT_EQ(sys, (std::vector<std::uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR}));
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  EXPECT_FALSE(TranslateAcceleratorA(w, 0xBAD, &msg));
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
}

std::intptr_t plain_dialog(WindowHandle, std::uint32_t m, WPARAM, LPARAM) {
  if (m == WM_COMMAND) g_seen.push_back(WM_COMMAND);
  return m == WM_INITDIALOG ? 1 : 0;
}

// Template items are created as visible children even when their style does
// not say so: focus lands on the first tab stop and Tab moves on.
TEST_F(Windows, DialogTemplateItemsAreVisibleChildren) {
  DialogTemplate t;
  t.items = {{"EDIT", "", 21, WS_TABSTOP, 0, 0, 40, 12},
             {"BUTTON", "OK", IDC_OK, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 30, 12}};
  register_dialog_template(9, 5, t);
  const WindowHandle d = CreateDialogParamA(9, 5, 0, plain_dialog, 0);
  ASSERT_NE(d, 0u);
  for (int id : {21, static_cast<int>(IDC_OK)}) {
    const std::uint32_t style = static_cast<std::uint32_t>(GetWindowLongA(GetDlgItem(d, id), GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE) << id;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, id))) << id;
  }
  EXPECT_EQ(GetFocus(), GetDlgItem(d, 21));
  EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, 21), false), GetDlgItem(d, IDC_OK));
  DestroyWindow(d);
}

TEST_F(Windows, DialogKeysMoveFocusAndPressButtons) {
  DialogTemplate t;
  t.caption = "Keys";
  t.cx = 100;
  t.cy = 60;
  t.items = {{"STATIC", "&First", 10, WS_VISIBLE, 0, 0, 20, 8},
             {"EDIT", "", 11, WS_VISIBLE | WS_TABSTOP, 0, 10, 40, 12},
             {"EDIT", "", 12, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0, 24, 40, 12},
             {"BUTTON", "&Go", 13, WS_VISIBLE | WS_TABSTOP, 0, 40, 30, 12},
             {"BUTTON", "OK", IDC_OK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 40, 40, 30, 12}};
  register_dialog_template(9, 1, t);
  const WindowHandle d = CreateDialogParamA(9, 1, 0, plain_dialog, 0);
  ASSERT_NE(d, 0u);
  EXPECT_EQ(GetFocus(), GetDlgItem(d, 11));
  EXPECT_EQ(SendMessageA(d, DM_GETDEFID, 0, 0) & 0xFFFF, IDC_OK);
  auto key = [d](std::uint32_t vk, bool shift = false, bool alt = false) {
    press_key(vk, shift, false, alt);
    MSG msg{};
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(d, &msg)) DispatchMessageA(&msg);
    }
    return GetDlgCtrlID(GetFocus());
  };
  EXPECT_EQ(key(VK_TAB), 13);  // the disabled edit is skipped
  EXPECT_EQ(key(VK_TAB), IDC_OK);
  EXPECT_EQ(key(VK_TAB), 11);  // round again
  EXPECT_EQ(key(VK_TAB, true), IDC_OK);
  EXPECT_EQ(key('F', false, true), 11);  // the label's mnemonic
  g_seen.clear();
  std::vector<int> commands;
  key(VK_RETURN);  // the default button
  key('G', false, true);
  key(VK_ESCAPE);
  EXPECT_EQ(count(WM_COMMAND), 3);
  // The new default button takes the default style from the old one.
  SendMessageA(d, DM_SETDEFID, 13, 0);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(d, 13), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(d, IDC_OK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  // A message of another window is left alone.
  const WindowHandle other = make();
  MSG foreign{other, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(d, &foreign));
  EXPECT_EQ(CreateDialogParamA(9, 2, 0, plain_dialog, 0), 0u);  // no such template
}

TEST_F(Windows, DialogItemIntegers) {
  const WindowHandle d = make();
  const WindowHandle e = make(d, 5, WS_VISIBLE, "EDIT");
  struct Case {
    const char* text;
    bool is_signed;
    bool ok;
    std::uint32_t value;
  };
  const Case cases[] = {{"12", false, true, 12},          {"  12  ", false, true, 12},
                        {"-3", true, true, 0xFFFFFFFDu},  {"-3", false, false, 0},
                        {"4294967295", false, true, 0xFFFFFFFFu},
                        {"4294967296", false, false, 0},  {"2147483648", true, false, 0},
                        {"12a", false, false, 0},         {"", false, false, 0}};
  for (const Case& c : cases) {
    SetWindowTextA(e, c.text);
    bool ok = !c.ok;
    EXPECT_EQ(GetDlgItemInt(d, 5, &ok, c.is_signed), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
  SetDlgItemInt(d, 5, static_cast<std::uint32_t>(-42), true);
  EXPECT_EQ(window_text(e), "-42");
  bool ok = true;
  EXPECT_EQ(GetDlgItemInt(d, 6, &ok, false), 0u);  // no such control
  EXPECT_FALSE(ok);
}

TEST_F(Windows, DumpShowsTheTree) {
  const WindowHandle top = CreateWindowExA(0, "Recorder", "Main \"1\"", WS_VISIBLE | WS_CAPTION, 0,
                                           0, 200, 100, 0, 0, 0, nullptr);
  const WindowHandle e = make(top, 101, WS_VISIBLE | WS_DISABLED, "EDIT", "12.50");
  const WindowHandle b = make(top, 102, 0, "BUTTON", "\x1fHide");
  SendMessageA(b, BM_SETSTYLE, BS_AUTOCHECKBOX, 0);
  SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
  char want[400];
  std::snprintf(want, sizeof want,
                "0x%08x Recorder \"Main \\\"1\\\"\" style=0x10c00000 (0,0)-(200,100) focus active\n"
                "  0x%08x EDIT id=101 \"12.50\" style=0x58000000 (0,0)-(100,50) disabled\n"
                "  0x%08x BUTTON id=102 \"\\x1fHide\" style=0x40000003 (0,0)-(100,50) checked "
                "hidden\n",
                top, e, b);
  EXPECT_EQ(dump_window_tree(top), want);
  EXPECT_EQ(dump_window_tree(0), want);
  EXPECT_EQ(dump_window_tree(0xDEAD), "");
}

TEST_F(Windows, PostsFromAnotherThreadWakeTheLoop) {
  const WindowHandle w = make();
  std::thread poster([w] {
    for (int i = 0; i < 100; ++i) PostMessageA(w, WM_USER, static_cast<WPARAM>(i), 0);
    PostMessageA(w, WM_CLOSE, 0, 0);
  });
  MSG msg{};
  int got = 0;
  while (IsWindow(w) && GetMessageA(&msg, 0, 0, 0) > 0) {
    if (msg.message == WM_USER) {
      EXPECT_EQ(msg.wParam, static_cast<WPARAM>(got));
      ++got;
    }
    DispatchMessageA(&msg);
  }
  poster.join();
  EXPECT_EQ(got, 100);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace

namespace {

std::intptr_t modal_dialog(WindowHandle d, std::uint32_t m, WPARAM w, LPARAM l) {
  if (m == WM_INITDIALOG) {
    SetWindowLongPtrA(d, DWLP_USER, l);
    return 1;
  }
  if (m == WM_COMMAND && (w & 0xFFFF) == IDC_OK) {
    EndDialog(d, GetWindowLongPtrA(d, DWLP_USER) + static_cast<LRESULT>(window_text(GetFocus()).size()));
    return 1;
  }
  return 0;
}

TEST_F(Windows, ModalDialogRunsItsOwnLoopWithTheOwnerDisabled) {
  DialogTemplate t;
  t.items = {{"EDIT", "", 5, WS_VISIBLE | WS_TABSTOP, 0, 0, 40, 12}};
  register_dialog_template(9, 3, t);
  const WindowHandle owner = make();
  static WindowHandle s_owner = 0;
  static bool owner_was_enabled = true;
  s_owner = owner;
  set_idle_handler(
      [](void*) {
        owner_was_enabled = IsWindowEnabled(s_owner);
        type_text("four\n");  // Enter: the edit is not a button, so IDOK
        return true;
      },
      nullptr);
  EXPECT_EQ(DialogBoxParamA(9, 3, owner, modal_dialog, 100), 104);
  set_idle_handler(nullptr, nullptr);
  EXPECT_FALSE(owner_was_enabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(thread_windows(), std::vector<WindowHandle>{owner});  // the dialog is gone
  EXPECT_EQ(DialogBoxParamA(9, 4, owner, modal_dialog, 0), -1);
}

}  // namespace

namespace {

// Every call on a handle whose window is gone answers as for no window.
TEST_F(Windows, DestroyedHandlesAnswerNothing) {
  const WindowHandle parent = make();
  const WindowHandle dead = make(parent, 5, WS_VISIBLE, "EDIT", "gone");
  ASSERT_TRUE(DestroyWindow(dead));
  Rect r{1, 2, 3, 4};
  Point p{7, 8};
  char text[8] = "keep";
  MSG msg{dead, WM_CHAR, 'x', 0, 0, {0, 0}};
  struct Call {
    const char* name;
    bool answered;
  };
  const Call calls[] = {
      {"IsWindow", IsWindow(dead)},
      {"SendMessageA", SendMessageA(dead, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")) != 0},
      {"PostMessageA", PostMessageA(dead, WM_USER, 0, 0)},
      {"DispatchMessageA", DispatchMessageA(&msg) != 0},
      {"SetWindowTextA", SetWindowTextA(dead, "x")},
      {"GetWindowTextA", GetWindowTextA(dead, text, sizeof text) != 0},
      {"ShowWindow", ShowWindow(dead, SW_SHOW)},
      {"IsWindowVisible", IsWindowVisible(dead)},
      {"EnableWindow", EnableWindow(dead, false)},
      {"IsWindowEnabled", IsWindowEnabled(dead)},
      {"SetFocus", SetFocus(dead) != 0},
      {"SetActiveWindow", SetActiveWindow(dead) != 0},
      {"GetWindowRect", GetWindowRect(dead, &r)},
      {"GetClientRect", GetClientRect(dead, &r)},
      {"ClientToScreen", ClientToScreen(dead, &p)},
      {"SetWindowPos", SetWindowPos(dead, 0, 0, 0, 1, 1, 0)},
      {"InvalidateRect", InvalidateRect(dead, nullptr, true)},
      {"SetPropA", SetPropA(dead, "p", 1)},
      {"GetPropA", GetPropA(dead, "p") != 0},
      {"SetTimer", SetTimer(dead, 1, 10, nullptr) != 0},
      {"FlashWindow", FlashWindow(dead, true)},
      {"GetParent", GetParent(dead) != 0},
      {"GetWindow", GetWindow(dead, GW_CHILD) != 0},
      {"GetDlgItem", GetDlgItem(parent, 5) != 0},
      {"GetWindowLongA", GetWindowLongA(dead, GWL_STYLE) != 0},
      {"SetWindowLongA", SetWindowLongA(dead, GWL_STYLE, 0) != 0},
      {"GetClassNameA", GetClassNameA(dead, text, sizeof text) != 0},
      {"IsDialogMessageA", IsDialogMessageA(dead, &msg)},
      {"TranslateAcceleratorA", TranslateAcceleratorA(dead, 0, &msg)},
      {"DestroyWindow", DestroyWindow(dead)},
  };
  for (const Call& c : calls) EXPECT_FALSE(c.answered) << c.name;
  EXPECT_EQ(r, (Rect{1, 2, 3, 4}));  // out-parameters are left alone
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(dump_window_tree(parent).find("EDIT"), std::string::npos);
  // Null out-parameters are refused, not written.
  EXPECT_FALSE(GetWindowRect(parent, nullptr));
  EXPECT_EQ(GetMessageA(nullptr, 0, 0, 0), -1);
  EXPECT_EQ(GetMessageA(&msg, dead, 0, 0), -1);
  EXPECT_FALSE(PeekMessageA(nullptr, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
  EXPECT_FALSE(TranslateMessage(nullptr));
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(CreateWindowExA(0, nullptr, "", 0, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
}

}  // namespace
