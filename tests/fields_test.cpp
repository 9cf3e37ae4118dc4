// The dialog-field helpers on the test host's customer screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "corvaplat/msgbox.h"
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

// Amounts, reals and quantities written into an edit and read back; a missing
// or destroyed control reads 0.0 and takes nothing.
TEST_F(Fields, NumberFields) {
  constexpr int kAmount = 801;
  const WindowHandle e = add(d, "EDIT", "", kAmount);
  struct Case {
    const char* text;
    double dollars, real, qty;
  };
  const Case cases[] = {
      {"  1,234.5  ", 1234.5, 1234.5, 1234.5},  // blanks never reach the parser
      {"-3", -0.03, -3.0, -0.03},  // amounts and quantities take the automatic point
      {"abc", 0.0, 0.0, 0.0},
      {"12x", NAN, 12.0, 0.0},  // NAN: whatever the parser stored; quantities read 0.0
  };
  for (Case c : cases) {
    if (std::isnan(c.dollars)) MyStringToReal(39, c.text, &c.dollars);
    SetWindowTextA(e, c.text);
    EXPECT_DOUBLE_EQ(GetDlgItemDollars(d, kAmount), c.dollars) << c.text;
    EXPECT_DOUBLE_EQ(GetDlgItemReal(d, kAmount), c.real) << c.text;
    EXPECT_DOUBLE_EQ(GetWindowQty(e), c.qty) << c.text;
  }
  SetDlgItemDollars(d, -1234.5, kAmount);
  EXPECT_EQ(window_text(e), "-1,234.50");
  EXPECT_DOUBLE_EQ(GetWindowDollars(e), -1234.5);
  SetDlgItemReal(d, 1234567.891, kAmount, 2);
  EXPECT_EQ(window_text(e), "1,234,567.89");
  EXPECT_DOUBLE_EQ(GetWindowReal(e), 1234567.89);
  SetDlgItemDollars(d, 7, 999);
  SetDlgItemReal(d, 7, 999, 2);
  EXPECT_EQ(GetDlgItemDollars(d, 999) + GetDlgItemReal(d, 999) + GetDlgItemQty(d, 999), 0.0);
  DestroyWindow(e);
  SetWindowDollars(e, 1);
  EXPECT_EQ(GetWindowDollars(e) + GetWindowReal(e) + GetWindowQty(e), 0.0);
}

TEST_F(Fields, DebitCreditPair) {
  constexpr int kDebit = 811, kCredit = 812;
  const WindowHandle dr = add(d, "EDIT", "x", kDebit);
  const WindowHandle cr = add(d, "EDIT", "y", kCredit);
  struct Case {
    const char *debit, *credit;  // typed
    double amount;               // read back
    const char *debit_after, *credit_after;
  };
  const Case cases[] = {{"-3.00", "", -3.0, "", "3.00"},  // moves to the credit field
                        {"", "", 0.0, "", ""},
                        {"", "7.00", -7.0, "", "7.00"},
                        {"5.00", "9.00", 5.0, "5.00", ""},
                        {" ", "9.00", 0.0, "", ""},  // a blank debit counts as typed
                        {"abc", "", 0.0, "", ""},
                        {"0.005", "", 0.005, "", ""},  // within half a cent: both empty
                        {"0.006", "", 0.006, "0.01", ""}};
  for (const Case& c : cases) {
    SetWindowTextA(dr, c.debit);
    SetWindowTextA(cr, c.credit);
    double amount = 99.0;
    GetDlgDrCr(d, &amount, kDebit, kCredit);
    EXPECT_DOUBLE_EQ(amount, c.amount) << c.debit << "/" << c.credit;
    EXPECT_EQ(window_text(dr), c.debit_after) << c.debit << "/" << c.credit;
    EXPECT_EQ(window_text(cr), c.credit_after) << c.debit << "/" << c.credit;
  }
  SetDlgDrCr(d, -0.006, kDebit, kCredit);
  EXPECT_EQ(window_text(cr), "0.01");
  // Either control missing: nothing, the amount untouched.
  double amount = 99.0;
  GetDlgDrCr(d, &amount, kDebit, 999);
  GetDlgDrCr(d, &amount, 999, kCredit);
  GetDlgDrCr(d, nullptr, kDebit, kCredit);
  SetDlgDrCr(d, 8, 999, kCredit);
  EXPECT_EQ(amount, 99.0);
  EXPECT_EQ(window_text(cr), "0.01");
}

// A date-entry control: answers the get message with its date and takes a
// date from the set message.
std::uint32_t g_control_date = 0;
LRESULT date_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 105) return static_cast<LRESULT>(g_control_date);
  if (m != WM_USER + 106) return DefWindowProcA(h, m, w, l);
  g_control_date = static_cast<std::uint32_t>(l);
  return 1;
}

TEST_F(Fields, DateFields) {
  RegisterClassA(WindowClass{"CvxDate", date_proc, 0, kHostModule});
  constexpr int kDateCtl = 821, kDateEdit = 822;
  const WindowHandle dc = add(d, "CvxDate", "own", kDateCtl);
  const WindowHandle de = add(d, "EDIT", "old", kDateEdit);
  std::uint32_t legal = 0, illegal = 0;
  MakeDate(3, 15, 2024, &legal);
  MakeDate(2, 30, 2024, &illegal);
  char medium[15] = {};
  DateToMedStr(legal, 14, medium);
  struct Case {
    int id;
    std::uint32_t in_control;
    std::uint8_t ok;
    std::uint32_t date;
  };
  const Case cases[] = {{kDateCtl, legal, 1, legal}, {kDateCtl, illegal, 0, illegal},
                        {kDateEdit, legal, 0, 0},  // a plain edit answers 0
                        {999, legal, 0, 77}};      // no control: untouched
  for (const Case& c : cases) {
    g_control_date = c.in_control;
    std::uint32_t date = 77;
    EXPECT_EQ(GetDlgItemDate(d, &date, static_cast<int16_t>(c.id)), c.ok) << c.id;
    EXPECT_EQ(date, c.date) << c.id;
  }
  SetDlgItemDate(d, legal, kDateEdit);
  EXPECT_EQ(window_text(de), medium);
  SetWindowDate(de, illegal);
  EXPECT_EQ(window_text(de), "");
  SetFocus(de);
  SetWindowDate(de, legal);  // focused: the whole text selected
  EXPECT_EQ(SendMessageA(de, EM_GETSEL, 0, 0), static_cast<LRESULT>(std::strlen(medium)) << 16);
  SetDlgItemDate(d, 0x07E80101, kDateCtl);  // the control takes it; its text is its own
  EXPECT_EQ(g_control_date, 0x07E80101u);
  EXPECT_EQ(window_text(dc), "own");
  DestroyWindow(de);
  SetWindowDate(de, legal);
  std::uint32_t date = 77;
  EXPECT_EQ(GetWindowDate(de, &date), 0);
  EXPECT_EQ(date, 0u);
}

std::vector<std::string> g_shown;
int record_box(void*, const MessageBoxRequest& r) {
  g_shown.emplace_back(r.text);
  return default_button(r.style);
}

TEST_F(Fields, CardinalInRange) {
  const MessageBoxPresenter saved = set_message_box_presenter(record_box, nullptr);
  constexpr int kCount = 831;
  const WindowHandle e = add(d, "EDIT", "", kCount);
  struct Case {
    const char* text;
    std::uint16_t max;  // min is 1
    std::uint16_t value;
    bool refused;
  };
  const Case cases[] = {{"7", 12, 7, false},  {"12", 12, 12, false}, {"13", 12, 13, true},
                        {"0", 12, 0, true},   {"70000", 5000, 70000 & 0xFFFF, true},
                        {"", 12, 0, true},    {"x", 12, 0, true}};
  for (const Case& c : cases) {
    SetWindowTextA(e, c.text);
    SetFocus(GetDlgItem(d, IDC_OK));
    g_shown.clear();
    std::uint16_t value = 999;
    EXPECT_EQ(MyGetDlgItemCard(d, kCount, 1, c.max, &value), c.refused ? kCount : 0) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    const std::vector<std::string> want =
        c.refused ? std::vector<std::string>{"Number must be between 1 and " +
                                             std::to_string(c.max) + "."}
                  : std::vector<std::string>{};
    EXPECT_EQ(g_shown, want) << c.text;
    EXPECT_EQ(GetFocus(), c.refused ? e : GetDlgItem(d, IDC_OK)) << c.text;
  }
  g_shown.clear();
  EXPECT_EQ(MyGetDlgItemCard(d, 999, 1, 12, nullptr), 999);  // no control: at once, silent
  EXPECT_TRUE(g_shown.empty());
  set_message_box_presenter(saved, nullptr);
}

}  // namespace
