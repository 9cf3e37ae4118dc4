// Dialog layout, mnemonics of hidden controls, placement, measuring and the
// resource texts, on the test host's customer screen.
#include <gtest/gtest.h>

#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "corvaplat/modules.h"
#include "corvaplat/resources.h"
#include "tests/support/synthetic_metrics.h"
#include "tests/ui_host.h"

namespace {
using namespace corva::testhost;

constexpr int kPost = 120, kVoid = 121, kNote = 122, kList = 123, kLabel = 124;

WindowHandle add(WindowHandle dialog, const char* cls, const char* text, int id, int x, int y,
                 int cx, int cy, std::uint32_t style = WS_VISIBLE | WS_TABSTOP) {
  return CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, cx, cy, dialog,
                         static_cast<MenuHandle>(id), 0, nullptr);
}

class Layout : public testing::Test {
 protected:
  void SetUp() override {
    d = host.open_customer();
    add(d, "BUTTON", "&Post", kPost, 10, 200, 60, 20);
    add(d, "BUTTON", "&Void", kVoid, 80, 200, 60, 20);
    add(d, "EDIT", "a & b", kNote, 150, 200, 60, 20);
  }
  Rect client_rect(int id) {
    Rect r{};
    GetWindowRect(GetDlgItem(d, id), &r);
    Point p{r.left, r.top};
    ScreenToClient(d, &p);
    return Rect{p.x, p.y, p.x + r.width(), p.y + r.height()};
  }
  Host host;
  WindowHandle d = 0;
};

TEST_F(Layout, HiddenButtonsLoseTheirMnemonics) {
  ValidateRect(d, nullptr);
  HideDlgCtlRange(d, kPost, kNote);
  EXPECT_EQ(window_text(GetDlgItem(d, kPost)), "\x1fPost");
  EXPECT_EQ(window_text(GetDlgItem(d, kNote)), "a & b");  // an edit keeps its text
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, kVoid)));
  Rect u{};
  ASSERT_TRUE(GetUpdateRect(d, &u, false));
  EXPECT_EQ(u, (Rect{10, 200, 210, 220}));  // one repaint for the group
  // Alt+P reaches nothing now; shown again, it presses the button.
  host.seen.clear();
  host.then([] { press_key('P', false, false, true); });
  host.then([&] { ShowDlgCtlRange(d, kPost, kVoid); });
  host.then([] { press_key('P', false, false, true); });
  host.run();
  EXPECT_EQ(window_text(GetDlgItem(d, kPost)), "&Post");
  int clicks = 0;
  for (const Seen& s : host.seen_of(WM_COMMAND)) clicks += (s.wparam & 0xFFFF) == kPost;
  EXPECT_EQ(clicks, 1);
}

TEST_F(Layout, RangesSetsAndShowCommands) {
  ValidateRect(d, nullptr);
  HideDlgCtlRange(d, 500, 510);  // no controls there
  EXPECT_FALSE(GetUpdateRect(d, nullptr, false));
  ShowDlgWindowRange(d, kPost, kVoid, SW_SHOWNORMAL);  // anything but 5 hides
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, kPost)));
  ShowDlgWindowRange(d, kPost, kVoid, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, kPost)));
  SwapDlgCtlRange(d, kPost, kPost, kVoid, kVoid);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, kPost)));
  EXPECT_EQ(window_text(GetDlgItem(d, kVoid)), "\x1fVoid");
  const int16_t show[] = {kVoid}, hide[] = {kPost, 999};
  SwapDlgCtlSet(d, show, 1, hide, 2);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, kVoid)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, kPost)));
  EXPECT_EQ(window_text(GetDlgItem(d, kVoid)), "\x1fVoid");  // left as it was
  EXPECT_EQ(window_text(GetDlgItem(d, kPost)), "&Post");
  SwapDlgCtlSet(d, nullptr, 3, hide, -1);  // nothing listed
  EXPECT_EQ(ShowDlgWindow(d, kPost, SW_SHOW), 0);  // was hidden
  EXPECT_EQ(ShowDlgWindow(d, kPost, SW_HIDE), 1);
  EXPECT_EQ(window_text(GetDlgItem(d, kPost)), "\x1fPost");
  EXPECT_EQ(ShowDlgWindow(d, 999, SW_SHOW), 0);
}

TEST_F(Layout, PlacingControls) {
  add(d, "LISTBOX", "", kList, 40, 100, 80, 60);
  add(d, "STATIC", "Accounts", kLabel, 7, 30, 50, 13);
  AlignStatToLB(d, kLabel, kList);
  EXPECT_EQ(client_rect(kLabel), (Rect{7, 87, 57, 100}));
  struct Case {
    std::uint32_t flags;
    int dx, dy;
    Rect want;
  };
  // The moved control is 50 by 13; the reference spans (40,100)-(120,160).
  const Case cases[] = {{0x1010, 0, 0, {55, 123, 105, 136}}, {0, 5, 0, {12, 87, 62, 100}},
                        {0x101, 0, 0, {40, 100, 90, 113}},   {0x202, 0, 0, {70, 147, 120, 160}},
                        {0x404, 1, 1, {121, 161, 171, 174}}, {0x808, 0, 0, {-10, 87, 40, 100}}};
  for (const Case& c : cases) {
    AlignStatToLB(d, kLabel, kList);
    SetWindowPos(GetDlgItem(d, kLabel), 0, 7, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(AlignControls(d, kLabel, kList, static_cast<int16_t>(c.dx),
                            static_cast<int16_t>(c.dy), c.flags), 1);
    EXPECT_EQ(client_rect(kLabel), c.want) << std::hex << c.flags;
  }
  EXPECT_EQ(AlignControls(d, kLabel, 999, 0, 0, 0x1), 0);
  StretchDlgWindow(d, kList, 10, -20);
  EXPECT_EQ(client_rect(kList), (Rect{40, 100, 130, 140}));
  // A screen centred over the frame keeps its top.
  Rect before{}, after{}, frame{};
  GetWindowRect(d, &before);
  CenterWindow(d, host.frame());
  GetWindowRect(d, &after);
  GetWindowRect(host.frame(), &frame);
  EXPECT_EQ(after.top, before.top);
  EXPECT_LE(std::abs((after.left + after.right) - (frame.left + frame.right)), 1);
  ValidateRect(d, nullptr);
  ForceRePaint(d);
  EXPECT_TRUE(GetUpdateRect(d, nullptr, false));
}

TEST_F(Layout, ControlTests) {
  const WindowHandle edit = GetDlgItem(d, kNameEdit);
  const WindowHandle group = add(d, "BUTTON", "Group", 130, 0, 0, 100, 100);
  const WindowHandle inner = add(group, "EDIT", "", 131, 0, 0, 10, 10);
  EXPECT_EQ(IsInDlg(d, d), 0);
  EXPECT_EQ(IsInDlg(d, edit), 1);
  EXPECT_EQ(IsInDlg(d, inner), 1);
  EXPECT_EQ(IsInDlg(edit, d), 0);
  EXPECT_EQ(IsInDlg(0xDEAD, edit), 0);
  WindowClass qty{"abd_qty", [](WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
                    return DefWindowProcA(h, m, w, l);
                  }};
  RegisterClassA(qty);
  EXPECT_EQ(IsEdit(add(d, "abd_qty", "", 140, 0, 0, 9, 9)), 1);
  EXPECT_EQ(IsEdit(edit), 1);
  EXPECT_EQ(IsEdit(group), 0);
  EXPECT_EQ(IsEdit(0), 0);
  // Shift as the queue has delivered it.
  key_down(VK_SHIFT);
  EXPECT_EQ(IsKeyShifted(), 0);
  MSG msg{};
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(IsKeyShifted(), 0x8000);
  key_up(VK_SHIFT);
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(IsKeyShifted(), 0);
}

TEST_F(Layout, MeasuringTheDialogFont) {
  const corva::test::SyntheticMetrics metrics;
  const int dcs = live_dc_count();
  // The system font: 16 high, the sample 62 characters wide at its widths.
  const DcHandle screen = GetDC(0);
  Size s{};
  GetTextExtentPoint32A(screen, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                        62, &s);
  ReleaseDC(0, screen);
  EXPECT_EQ(GetDlgCharWidth(0), s.cx / 62);
  EXPECT_EQ(GetDlgCharHeight(0), 16);
  LogFont lf{};
  lf.height = -12;
  lf.weight = FW_NORMAL;
  const GdiHandle font = CreateFontIndirectA(&lf);
  EXPECT_EQ(GetDlgCharHeight(font), 12);
  EXPECT_LT(GetDlgCharWidth(font), GetDlgCharWidth(0));
  EXPECT_EQ(GetDlgStringWidth(font, "Mil"), 7 + 2 + 2);  // wide, narrow, narrow at w = 5
  EXPECT_EQ(GetDlgStringWidth(font, nullptr), 0);
  SendMessageA(GetDlgItem(d, kNameEdit), WM_SETFONT, font, 0);
  EXPECT_EQ(GetAveCharWidth(GetDlgItem(d, kNameEdit)), 5);
  EXPECT_EQ(GetAveCharWidth(0xDEAD), 0);
  EXPECT_EQ(GetAvgCharWidth(0xBAD, font), 0);  // no such device context
  EXPECT_EQ(live_dc_count(), dcs);
  DeleteObject(font);
}

TEST_F(Layout, TextsFromResources) {
  const StringResource strings[] = {{61001, "Net 30"}, {61002, "Cash"}, {61003, "Net 10"}};
  const ModuleHandle m = register_module("layout-test-strings", strings);
  RegisterInstanceForStringSearch(m, 20);
  const char cash[] = "CASH";
  EXPECT_EQ(FindStrInResource(0, 4, cash, 61001), 2);
  EXPECT_EQ(FindStrInResource(0, 6, "Net 30", 61001), 1);
  EXPECT_EQ(FindStrInResource(0, 5, "Other", 61001), 0);
  EXPECT_EQ(FindStrInResource(0, 4, "Cash", 61002), 1);
  SetDlgItemTextA(d, kNameEdit, "net 10");
  EXPECT_EQ(FindStrFromEdit(0, d, kNameEdit, 61001), 3);
  SetDlgItemTextA(d, kNameEdit, "");
  EXPECT_EQ(FindStrFromEdit(0, d, kNameEdit, 61001), 0);

  register_resource(m, int_resource(RT_RCDATA), 7, std::string("Terms are due within thirty days."));
  register_resource(m, "HELPTEXT", 8, std::string("Named type"));
  EXPECT_EQ(LoadLongWindedText(m, d, kNameEdit, 7, int_resource(RT_RCDATA)), 1);
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "Terms are due within thirty days.");
  EXPECT_EQ(LoadLongWindedText(m, d, kNameEdit, 8, "helptext"), 1);
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "Named type");
  EXPECT_EQ(LoadLongWindedText(m, d, kNameEdit, 9, int_resource(RT_RCDATA)), 0);
  EXPECT_EQ(loaded_resource_count(), 0);
  unregister_module(m);
}

}  // namespace
