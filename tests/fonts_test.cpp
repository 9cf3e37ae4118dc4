// Dialog fonts made normal weight and rescaled, the font records, and the
// shared colour and palette answers of dialogs.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "corvaplat/resources.h"
#include "tests/ui_host.h"
#include "ui/layout.h"

namespace {
using namespace corva::testhost;

int rounded(int a, int b, int c) {
  const int q = a * b / c;
  return 2 * (a * b % c) >= c ? q + 1 : q;
}

class Fonts : public testing::Test {
 protected:
  void SetUp() override {
    d = host.open_customer();
    LogFont lf{};
    lf.height = 16;
    lf.weight = FW_BOLD;
    std::strcpy(lf.face_name, "MS Sans Serif");
    bold = CreateFontIndirectA(&lf);
    SendMessageA(d, WM_SETFONT, bold, 0);
    for (WindowHandle c = GetWindow(d, GW_CHILD); c != 0; c = GetWindow(c, GW_HWNDNEXT))
      SendMessageA(c, WM_SETFONT, bold, 0);
  }
  void TearDown() override { DeleteObject(bold); }
  WindowHandle add(const char* cls, std::uint32_t style, int id, int x, int width) {
    const WindowHandle c = CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, x, 100,
                                           width, 20, d, static_cast<MenuHandle>(id), 0, nullptr);
    SendMessageA(c, WM_SETFONT, bold, 0);
    return c;
  }
  static GdiHandle font_of(WindowHandle w) {
    return static_cast<GdiHandle>(SendMessageA(w, WM_GETFONT, 0, 0));
  }
  Host host;
  WindowHandle d = 0;
  GdiHandle bold = 0;
};

TEST_F(Fonts, UnBoldRescalesAndKeepsBoldButtons) {
  WindowClass bold_static{"ABD_BoldStatic", [](WindowHandle h, std::uint32_t m, WPARAM w,
                                              LPARAM l) { return DefWindowProcA(h, m, w, l); }};
  RegisterClassA(bold_static);
  struct Case {
    const char* cls;
    std::uint32_t style;
    bool keeps;
  };
  const Case cases[] = {{"BUTTON", BS_PUSHBUTTON, true},     {"BUTTON", BS_DEFPUSHBUTTON, true},
                        {"BUTTON", BS_GROUPBOX, true},       {"BUTTON", BS_AUTOCHECKBOX, false},
                        {"BUTTON", BS_AUTORADIOBUTTON, false}, {"BUTTON", 0x300, false},
                        {"ABD_BoldStatic", 0, true},         {"STATIC", 0, false}};
  std::vector<WindowHandle> made;
  int id = 800;
  for (const Case& c : cases) made.push_back(add(c.cls, c.style, ++id, 40, 80));
  Rect before{};
  GetWindowRect(d, &before);
  const int ow = corva::ui::dlg_char_width(bold), oh = corva::ui::dlg_char_height(bold);
  const GdiHandle font = UnBoldDialogFont(d, 0);
  ASSERT_NE(font, 0u);
  LogFont lf{};
  GetObjectA(font, sizeof lf, &lf);
  EXPECT_EQ(lf.weight, FW_NORMAL);
  const int nw = corva::ui::dlg_char_width(font), nh = corva::ui::dlg_char_height(font);
  ASSERT_LT(nw, ow);
  Rect after{};
  GetWindowRect(d, &after);
  const int w2 = rounded(before.width(), nw, ow);
  EXPECT_EQ(after.width(), w2);
  EXPECT_EQ(after.height(), rounded(before.height(), nh, oh));
  EXPECT_EQ(after.left, before.left);  // resized, not moved
  for (std::size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(font_of(made[i]) == bold, cases[i].keeps) << cases[i].cls << cases[i].style;
    Rect r{};
    GetWindowRect(made[i], &r);
    Point p{r.left, r.top};
    ScreenToClient(d, &p);
    EXPECT_EQ(p.x, rounded(40, w2, before.width()));
    EXPECT_EQ(p.x + r.width(), rounded(120, w2, before.width()));
  }
  EXPECT_EQ(font_of(d), bold);  // the dialog itself keeps its font
  DeleteObject(font);

  // With extra width the dialog reaches that far past its rightmost control.
  const GdiHandle again = UnBoldDialogFont(d, 200);
  Rect widened{};
  GetWindowRect(d, &widened);
  int rightmost = 0;
  for (WindowHandle c = GetWindow(d, GW_CHILD); c != 0; c = GetWindow(c, GW_HWNDNEXT)) {
    Rect r{};
    GetWindowRect(c, &r);
    Point p{r.right, r.bottom};
    ScreenToClient(d, &p);
    rightmost = std::max(rightmost, p.x);
  }
  EXPECT_EQ(widened.width(), rightmost + 200);
  DeleteObject(again);
}

TEST_F(Fonts, DialogsWithoutAFontAreLeftAlone) {
  SendMessageA(d, WM_SETFONT, 0, 0);
  Rect before{}, after{};
  GetWindowRect(d, &before);
  EXPECT_EQ(UnBoldDialogFont(d, 10), 0u);
  EXPECT_EQ(UnBoldDialogFontOld(d), 0u);
  GetWindowRect(d, &after);
  EXPECT_EQ(before, after);
  EXPECT_EQ(UnBoldDialogFont(0xDEAD, 0), 0u);
}

// A 16-bit dialog template: header and items as the resource holds them.
std::string dialog_template(std::initializer_list<std::array<int, 4>> items) {
  std::string t;
  auto word = [&t](int v) {
    t += static_cast<char>(v & 0xFF);
    t += static_cast<char>((v >> 8) & 0xFF);
  };
  word(0); word(0x80C8);  // style: popup, caption
  t += static_cast<char>(items.size());
  word(10); word(20); word(200); word(100);
  t += '\0'; t += '\0'; t += "Customer"; t += '\0';
  int id = 1;
  for (const auto& it : items) {
    word(it[0]); word(it[1]); word(it[2]); word(it[3]); word(id++);
    word(0); word(0x5000);
    t += static_cast<char>(0x81);  // a class code
    t += "text"; t += '\0';
    t += '\0';                     // no creation data
  }
  return t;
}

TEST_F(Fonts, OlderFormLaysTheDialogOutFromItsTemplate) {
  register_resource(kHostModule, int_resource(RT_DIALOG), 77,
                    dialog_template({{4, 4, 40, 10}, {50, 4, 100, 12}}));
  SetWindowLongPtrA(d, GWLP_HINSTANCE, kHostModule);
  const GdiHandle font = UnBoldDialogFontOld(d);  // no dialog ID yet: fonts only
  ASSERT_NE(font, 0u);
  EXPECT_EQ(font_of(GetDlgItem(d, kNameEdit)), font);
  EXPECT_EQ(font_of(GetDlgItem(d, IDC_OK)), bold);
  Rect unmoved{};
  GetWindowRect(GetDlgItem(d, kNameLabel), &unmoved);
  DeleteObject(font);

  AttachDialogID(d, 77);
  const GdiHandle laid = UnBoldDialogFontOld(d);
  const int w = corva::ui::dlg_char_width(laid), h = corva::ui::dlg_char_height(laid);
  auto x = [w](int v) { return w * v / 4 + (w * v % 4 >= 2); };
  auto y = [h](int v) { return h * v / 8 + (h * v % 8 >= 4); };
  Rect label{}, edit{};
  GetWindowRect(GetDlgItem(d, kNameLabel), &label);
  GetWindowRect(GetDlgItem(d, kNameEdit), &edit);
  Point lp{label.left, label.top}, ep{edit.left, edit.top};
  ScreenToClient(d, &lp);
  ScreenToClient(d, &ep);
  EXPECT_EQ(lp.x, x(4));
  EXPECT_EQ(ep.x, x(50));
  EXPECT_EQ(ep.y, y(4));
  EXPECT_EQ(edit.width(), w * 100 / 4);
  EXPECT_EQ(edit.height(), h * 12 / 8);
  // The dialog sits at (10, 20) units in its owner's client area.
  Rect dialog{};
  GetWindowRect(d, &dialog);
  Point origin{0, 0};
  ClientToScreen(host.frame(), &origin);
  EXPECT_EQ(dialog.left, origin.x + x(10) - 1);  // less the frame AdjustWindowRect adds
  EXPECT_EQ(loaded_resource_count(), 0);
  DeleteObject(laid);
  // A template cut short is read only as far as it goes.
  register_resource(kHostModule, int_resource(RT_DIALOG), 78, dialog_template({{1, 1, 1, 1}}).substr(0, 9));
  AttachDialogID(d, 78);
  DeleteObject(UnBoldDialogFontOld(d));
  unregister_resource(kHostModule, int_resource(RT_DIALOG), 77);
  unregister_resource(kHostModule, int_resource(RT_DIALOG), 78);
}

TEST(FontRecords, ConvertBothWays) {
  CvCVXFONT cvx{};
  cvx.height = -12;
  cvx.weight = 700;
  cvx.italic = 1;
  cvx.pitchAndFamily = 0x22;
  std::strcpy(cvx.faceName, "Arial");
  const CvLOGFONT* lf = psCreateLOGFONT(&cvx);
  EXPECT_EQ(lf->lfHeight, -12);
  EXPECT_EQ(lf->lfWeight, 700);
  EXPECT_EQ(lf->lfItalic, 1);
  EXPECT_EQ(lf->lfPitchAndFamily, 0x22);
  EXPECT_STREQ(lf->lfFaceName, "Arial");
  CvLOGFONT big = *lf;
  big.lfWidth = 70000;  // cut to its low 16 bits
  const CvCVXFONT* back = psCreateCVXFONT(&big);
  EXPECT_EQ(back->width, static_cast<int16_t>(70000 & 0xFFFF));
  EXPECT_EQ(back->height, -12);
  EXPECT_STREQ(back->faceName, "Arial");
  EXPECT_EQ(psCreateLOGFONT(nullptr), nullptr);
}

TEST(GlobalDialogMessages, ColoursAndPalette) {
  Host host;
  ColorMapperInit(0, 0);
  const WindowHandle d = host.open_customer();
  const WindowHandle other = host.open_customer(77);
  const WindowHandle edit = GetDlgItem(d, kNameEdit);
  CvUniversalDlgColors rec{};
  rec.set = 2;
  Rect dr{};
  GetWindowRect(d, &dr);
  rec.bandRect[0] = {dr.left, dr.top, dr.right, dr.bottom};
  const CvControlColorEntry list[] = {{edit, 1}, {0, 0}};
  const DcHandle dc = GetDC(d);
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_CTLCOLOREDIT, dc, edit, &rec, list),
            static_cast<intptr_t>(GetColorReturnBrush(2, 0)));
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_CTLCOLORSCROLLBAR, dc, edit, &rec, list), 0);
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_USER, dc, edit, &rec, list), 0);
  ReleaseDC(d, dc);

  const PaletteEntry entries[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  GetColorSetPalette(CreatePalette(entries, 2));
  host.seen.clear();
  // The dialog itself or the main window changed the palette: nothing to do.
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_PALETTECHANGED, d, 0, &rec, list), 0);
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_PALETTECHANGED, host.frame(), 0, &rec, list), 0);
  EXPECT_TRUE(host.seen_of(WM_PALETTECHANGED).empty());
  // Realized for the first time: the screens hear of it, naming the main window.
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_QUERYNEWPALETTE, 0, 5, &rec, list), 2);
  const auto told = host.seen_of(WM_PALETTECHANGED);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].window, d);
  EXPECT_EQ(told[1].window, other);
  EXPECT_EQ(told[0].wparam, host.frame());
  MSG msg{};
  EXPECT_TRUE(PeekMessageA(&msg, 0, WM_PALETTECHANGED, WM_PALETTECHANGED, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, host.frame());
  EXPECT_EQ(HandleGlobalDlgMessages(d, WM_QUERYNEWPALETTE, 0, 5, &rec, list), 0);  // no change now
  DeleteColorPalette();
  ColorMapperDispose();
}

}  // namespace
