// The dialog-field helpers on the test host's customer screen.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/ui_host.h"

namespace {
using namespace corva::testhost;

WindowHandle add(WindowHandle dialog, const char* cls, const char* text, int id,
                 std::uint32_t style = WS_VISIBLE | WS_TABSTOP) {
  return CreateWindowExA(0, cls, text, WS_CHILD | style, 0, 0, 50, 12, dialog,
                         static_cast<MenuHandle>(id), 0, nullptr);
}

class Fields : public testing::Test {
 protected:
  void SetUp() override { d = host.open_customer(); }
  Host host;
  WindowHandle d = 0;
};

TEST_F(Fields, RadioGroupsEnablingAndFocus) {
  for (int id = 101 + 500; id <= 104 + 500; ++id)
    add(d, "BUTTON", "r", id, WS_VISIBLE | BS_AUTORADIOBUTTON | (id == 601 ? WS_GROUP : 0u));
  EXPECT_EQ(GetDlgRadioCheck(d, 601, 604), 0);
  CheckDlgButton(d, 603, BST_CHECKED);
  EXPECT_EQ(GetDlgRadioCheck(d, 601, 604), 2);
  EXPECT_EQ(GetDlgRadioCheck(d, 604, 601), 0);  // an empty range
  EnableDlgWindowRange(d, 600, 605, 0);  // 600 and 605 have no control
  for (int id = 601; id <= 604; ++id) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, id)));
  EnableDlgWindow(d, 602, 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, 602)));
  SetDlgFocus(d, kTaxableCheck);
  EXPECT_EQ(GetFocus(), GetDlgItem(d, kTaxableCheck));
  SetFocusToButton(d, IDC_CANCEL);
  EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_CANCEL));
  EXPECT_EQ(SendMessageA(d, DM_GETDEFID, 0, 0) & 0xFFFF, IDC_CANCEL);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(d, IDC_CANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(d, IDC_OK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  SetFocusToButton(d, 999);  // no such control: nothing
  EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_CANCEL));
  EXPECT_EQ(SetDlgEditLimit(d, kNameEdit, 3), 0);
  EXPECT_EQ(SendDlgItemMessageA(d, kNameEdit, EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SetEditLimit(GetDlgItem(d, kNameEdit), 0), 0);
  EXPECT_GT(SendDlgItemMessageA(d, kNameEdit, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(Fields, TextsWithNullsAndTrimmed) {
  SetDlgItemTextA(d, kNameEdit, "  Acme Hardware  ");
  char text[10];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(GetDlgItemTextWithNulls(d, kNameEdit, 9, text), 9);
  EXPECT_EQ(std::string(text, 10), std::string("  Acme Ha\0", 10));
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(GetDlgItemTextTrimmed(d, kNameEdit, 9, text), 7);
  EXPECT_EQ(std::string(text, 10), std::string("Acme Ha\0\0\0", 10));
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(GetDlgItemTextWithNulls(d, 999, 9, text), 0);  // no control: untouched
  EXPECT_EQ(GetDlgItemTextTrimmed(d, 999, 9, text), 0);
  EXPECT_EQ(text[0], 'x');
  char mine[12] = "  Net 30  ";
  SetDlgItemTextWithTrim(d, kNameEdit, 11, mine);
  EXPECT_STREQ(mine, "Net 30");  // the caller's own array is trimmed
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "Net 30");
  char full[4] = {' ', 'a', 'b', 'c'};  // no terminator: HIGH 3 holds " abc"
  SetWindowTextWithTrim(GetDlgItem(d, kNameEdit), 3, full);
  EXPECT_EQ(window_text(GetDlgItem(d, kNameEdit)), "ab");
  EXPECT_EQ(GetWindowTextWithNulls(0xDEAD, 9, text), 0);
  EXPECT_EQ(text[0], '\0');
}

TEST_F(Fields, WholeNumbers) {
  const WindowHandle e = GetDlgItem(d, kNameEdit);
  struct Case {
    const char* text;
    int32_t is_signed;
    int32_t ok;
    int32_t value;
  };
  const Case cases[] = {{"-1", 0, 0, 0},          {"-1", 1, 1, -1},
                        {"12 ", 0, 1, 12},        {" 12", 0, 1, 12},
                        {"12a", 0, 0, 0},         {"", 0, 1, 0},
                        {"2147483647", 0, 1, 2147483647}, {"2147483648", 0, 0, 0},
                        {"99999999999", 1, 1, 2147483647}, {"-99999999999", 1, 1, INT32_MIN},
                        {"123456789012345678901234", 1, 1, 2147483647}};  // read to 20
  for (const Case& c : cases) {
    SetWindowTextA(e, c.text);
    int32_t ok = 7;
    EXPECT_EQ(GetWindowInt(e, &ok, c.is_signed), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
  SetWindowTextA(e, "5");
  EXPECT_EQ(GetWindowInt(e, nullptr, 0), 5);
}

TEST_F(Fields, ListAndComboSelection) {
  const WindowHandle list = add(d, "LISTBOX", "", 700);
  SetListBoxSelection(d, kNameEdit, 700);  // empty list: nothing
  for (const char* item : {"1100 Bank", "1200 Petty cash", "1300 Receivables"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SetDlgItemTextA(d, kNameEdit, "  1200 Cash");
  SetListBoxSelection(d, kNameEdit, 700);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  SetDlgItemTextA(d, kNameEdit, "1400");
  SetListBoxSelection(d, kNameEdit, 700);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), -1);

  const WindowHandle combo = GetDlgItem(d, kTermsCombo);  // "Net 30", "Cash", "Net 10"
  int32_t index = 5;
  EXPECT_EQ(GetComboSelItemData(combo, &index), 0u);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(SetCBhWndDataAndText(combo, 0xC0FFEE, "Net 60"), 3);
  EXPECT_EQ(SetCBDataAndText(d, kTermsCombo, 0xBEEF, "COD"), 4);
  EXPECT_EQ(SetCBhWndDataAndText(combo, 1, nullptr), -1);
  EXPECT_EQ(GetComboIndexByItemData(combo, 0xBEEF), 4);
  EXPECT_EQ(GetComboIndexByItemData(combo, 0xF00D), -1);
  EXPECT_EQ(SetComboByItemData(combo, 0xF00D), 0);
  EXPECT_EQ(SetComboByItemData(combo, 0xC0FFEE), 1);
  EXPECT_EQ(window_text(combo), "Net 60");
  EXPECT_EQ(GetComboSelItemData(combo, &index), 0xC0FFEEu);
  EXPECT_EQ(index, 3);
  SendMessageA(list, LB_SETITEMDATA, 2, 42);
  EXPECT_EQ(GetListIndexByItemData(list, 42), 2);
  EXPECT_EQ(SetListByItemData(list, 42), 1);
  EXPECT_EQ(GetListSelItemData(list, nullptr), 42u);
  EXPECT_EQ(GetListIndexByItemData(0xDEAD, 42), -1);
}

}  // namespace
