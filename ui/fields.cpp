#include "ui/fields.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corvalib/calendar.h"
#include "corvalib/messages.h"
#include "corvalib/numbers.h"
#include "corvalib/text.h"
#include "corvaplat/modules.h"
#include "corvaplat/windows.h"
#include "frame/settings.h"
#include "frame/state.h"
#include "text/bstr.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr std::uint16_t kWordHigh = 39;   // the edit text, HIGH 39
constexpr std::uint16_t kItemHigh = 79;   // a list item, HIGH 79

struct BoxMessages {
  std::uint32_t count, get_data, set_cur, get_cur;
};
constexpr BoxMessages kCombo{plat::CB_GETCOUNT, plat::CB_GETITEMDATA, plat::CB_SETCURSEL,
                             plat::CB_GETCURSEL};
constexpr BoxMessages kList{plat::LB_GETCOUNT, plat::LB_GETITEMDATA, plat::LB_SETCURSEL,
                            plat::LB_GETCURSEL};

// Cuts a text at its first blank after its leading blanks are gone.
void first_word(std::uint16_t high, char* text) {
  text::trim_left(high, text);
  const std::string_view v = text::view(high, text);
  const std::size_t blank = v.find(' ');
  if (blank != std::string_view::npos) text[blank] = '\0';
}

void trim(std::uint16_t high, char* text) {
  text::trim_left(high, text);
  text::trim_right(high, text);
}

using NumberText = char[kNumberHigh + 1];

// A bounded string may fill its array without a NUL.
void set_text(CvHWND control, std::uint16_t high, const char* text) {
  plat::SetWindowTextA(control, std::string(text::view(high, text)).c_str());
}

// An amount as the fields show it: no sign-flip, sign style '-', no leading blanks.
void format_dollars(double amount, char* buffer) {
  DollarsToString(amount, kNumberHigh, buffer, 0, '-');
  TrimLeft(kNumberHigh, buffer);
}

}  // namespace

std::uint16_t radio_check(CvHWND dialog, std::uint16_t first, std::uint16_t last) {
  for (std::uint32_t id = first; id <= last; ++id) {
    if (plat::IsDlgButtonChecked(dialog, static_cast<int>(id)) != 0)
      return static_cast<std::uint16_t>(id - first);
  }
  return 0;
}

void enable_range(CvHWND dialog, int first, int last, bool enable) {
  for (int id = first; id <= last; ++id) {
    if (const CvHWND c = plat::GetDlgItem(dialog, id)) plat::EnableWindow(c, enable);
  }
}

void focus_to_button(CvHWND dialog, int id) {
  const CvHWND button = plat::GetDlgItem(dialog, id);
  if (button == 0) return;
  plat::SendMessageA(button, plat::BM_SETSTYLE, plat::BS_DEFPUSHBUTTON, 0);
  plat::SendMessageA(dialog, plat::DM_SETDEFID, static_cast<plat::WPARAM>(id), 0);
  plat::SetFocus(button);
}

std::uint16_t text_with_nulls(CvHWND control, std::uint16_t high, char* text) {
  std::memset(text, 0, std::size_t{high} + 1);
  return static_cast<std::uint16_t>(plat::GetWindowTextA(control, text, high + 1));
}

std::uint16_t text_trimmed(CvHWND control, std::uint16_t high, char* text) {
  plat::GetWindowTextA(control, text, high + 1);
  trim(high, text);
  const std::size_t n = text::length(high, text);
  text::fill_from(high, text, n);
  return static_cast<std::uint16_t>(n);
}

void set_text_trimmed(CvHWND control, std::uint16_t high, char* text) {
  trim(high, text);
  // A text that fills the whole array has no terminator of its own.
  const std::string copy(text::view(high, text));
  plat::SetWindowTextA(control, copy.c_str());
}

std::int32_t window_int(CvHWND control, std::int32_t* ok, bool is_signed) {
  char text[21];
  plat::GetWindowTextA(control, text, sizeof text);
  char* end = nullptr;
  std::int64_t value;
  bool accepted;
  if (is_signed) {
    // The conversion stops at the 32-bit bounds, as a 32-bit strtol does.
    const long long v = std::strtoll(text, &end, 10);
    value = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v;
    accepted = true;
  } else {
    const unsigned long long v = std::strtoull(text, &end, 10);
    value = static_cast<std::int64_t>(v & 0x7FFFFFFFFFFFFFFFull);
    accepted = v <= 2147483647ull;
  }
  accepted = accepted && (*end == ' ' || *end == '\0');
  if (ok != nullptr) *ok = accepted ? 1 : 0;
  return accepted ? static_cast<std::int32_t>(value) : 0;
}

void set_dollars(CvHWND control, double amount) {
  NumberText buffer{};
  format_dollars(amount, buffer);
  set_text(control, kNumberHigh, buffer);
}

double get_dollars(CvHWND control) {
  NumberText buffer{};
  text_trimmed(control, kNumberHigh, buffer);
  double value = 0.0;
  MyStringToReal(kNumberHigh, buffer, &value);  // the value counts even when it did not parse
  return value;
}

void set_real(CvHWND control, double value, std::uint16_t decimals) {
  NumberText buffer{};
  MyRealToString(value, kNumberHigh, buffer, decimals, 18);
  TrimLeft(kNumberHigh, buffer);
  set_text(control, kNumberHigh, buffer);
}

double get_real(CvHWND control) {
  NumberText buffer{};
  text_trimmed(control, kNumberHigh, buffer);
  PrepString4RealConv(kNumberHigh, buffer);
  std::uint16_t position = 0;
  double value = 0.0;
  std::uint8_t done = 0;
  StringToReal(kNumberHigh, buffer, &position, &value, &done);
  return value;
}

double get_qty(CvHWND control) {
  NumberText buffer{};
  text_trimmed(control, kNumberHigh, buffer);
  double value = 0.0;
  return MyStringToQty(kNumberHigh, buffer, &value) != 0 ? value : 0.0;
}

void set_dr_cr(CvHWND debit, CvHWND credit, double amount) {
  plat::SetWindowTextA(debit, "");
  plat::SetWindowTextA(credit, "");
  NumberText buffer{};
  format_dollars(std::fabs(amount), buffer);
  const double threshold = frame::settings().currency_half_unit;
  if (amount < -threshold)
    set_text(credit, kNumberHigh, buffer);
  else if (amount > threshold)
    set_text(debit, kNumberHigh, buffer);
}

double get_dr_cr(CvHWND debit, CvHWND credit) {
  NumberText buffer{};
  double amount = 0.0;
  if (text_with_nulls(debit, kNumberHigh, buffer) > 0) {
    MyStringToReal(kNumberHigh, buffer, &amount);
  } else {
    text_with_nulls(credit, kNumberHigh, buffer);
    MyStringToReal(kNumberHigh, buffer, &amount);
    amount = -amount;
  }
  set_dr_cr(debit, credit, amount);
  return amount;
}

std::int16_t get_card(CvHWND dialog, std::int16_t id, std::uint16_t min, std::uint16_t max,
                      std::uint16_t* value) {
  const CvHWND control = plat::GetDlgItem(dialog, id);
  if (control == 0) return id;
  bool translated = false;
  const std::uint32_t number = plat::GetDlgItemInt(dialog, id, &translated, false);
  if (value != nullptr) *value = static_cast<std::uint16_t>(number);
  if (translated && number >= min && number <= max) return 0;
  char message[50] = {};
  plat::LoadStringA(frame::own_module(), kNumberRangeMessage, message, sizeof message);
  InsertCard(sizeof message - 1, message, min);
  Lib_MessageWithCard(0, reinterpret_cast<std::uintptr_t>(message), max);
  plat::SetFocus(control);
  return id;
}

bool get_date(CvHWND control, std::uint32_t* date) {
  const auto value = static_cast<std::uint32_t>(plat::SendMessageA(control, kGetDateMessage, 0, 0));
  if (date != nullptr) *date = value;
  return IsLegalDate(value) != 0;
}

void set_date(CvHWND control, std::uint32_t date) {
  if (plat::SendMessageA(control, kSetDateMessage, 0, static_cast<plat::LPARAM>(date)) != 0) return;
  char buffer[15] = {};
  if (IsLegalDate(date) != 0) DateToMedStr(date, sizeof buffer - 1, buffer);
  set_text(control, sizeof buffer - 1, buffer);
  if (control != 0 && plat::GetFocus() == control)
    plat::SendMessageA(control, plat::EM_SETSEL, 0, -1);
}

void select_by_first_word(CvHWND dialog, int edit_id, int list_id) {
  const CvHWND list = plat::GetDlgItem(dialog, list_id);
  if (list == 0) return;
  const auto count = static_cast<int>(plat::SendMessageA(list, plat::LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  char word[kWordHigh + 1] = {};
  if (const CvHWND edit = plat::GetDlgItem(dialog, edit_id)) text_with_nulls(edit, kWordHigh, word);
  first_word(kWordHigh, word);
  for (int i = 0; i < count; ++i) {
    // Read whole, then cut as an 80-character buffer would hold it.
    const auto n = plat::SendMessageA(list, plat::LB_GETTEXTLEN, static_cast<plat::WPARAM>(i), 0);
    std::string item(static_cast<std::size_t>(n < 0 ? 0 : n) + 1, '\0');
    plat::SendMessageA(list, plat::LB_GETTEXT, static_cast<plat::WPARAM>(i),
                       reinterpret_cast<plat::LPARAM>(item.data()));
    char cut[kItemHigh + 1] = {};
    text::write(kItemHigh, cut, std::string_view(item.c_str()));
    first_word(kItemHigh, cut);
    if (std::strcmp(cut, word) == 0) {
      plat::SendMessageA(list, plat::LB_SETCURSEL, static_cast<plat::WPARAM>(i), 0);
      return;
    }
  }
  plat::SendMessageA(list, plat::LB_SETCURSEL, static_cast<plat::WPARAM>(-1), 0);
}

std::int16_t index_by_data(CvHWND box, std::uintptr_t data, bool combo) {
  const BoxMessages& m = combo ? kCombo : kList;
  const auto count = static_cast<int>(plat::SendMessageA(box, m.count, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto d = static_cast<std::uintptr_t>(
        plat::SendMessageA(box, m.get_data, static_cast<plat::WPARAM>(i), 0));
    if (d == data) return static_cast<std::int16_t>(i);
  }
  return -1;
}

bool select_by_data(CvHWND box, std::uintptr_t data, bool combo) {
  const std::int16_t i = index_by_data(box, data, combo);
  if (i < 0) return false;
  plat::SendMessageA(box, (combo ? kCombo : kList).set_cur, static_cast<plat::WPARAM>(i), 0);
  return true;
}

std::uintptr_t selected_data(CvHWND box, std::int32_t* index, bool combo) {
  const BoxMessages& m = combo ? kCombo : kList;
  const auto selected = static_cast<std::int16_t>(plat::SendMessageA(box, m.get_cur, 0, 0));
  if (index != nullptr) *index = selected;
  if (selected == -1) return 0;
  return static_cast<std::uintptr_t>(
      plat::SendMessageA(box, m.get_data, static_cast<plat::WPARAM>(selected), 0));
}

std::int32_t add_with_data(CvHWND combo, std::uintptr_t data, const char* text) {
  const auto index = static_cast<std::int32_t>(
      plat::SendMessageA(combo, plat::CB_ADDSTRING, 0, reinterpret_cast<plat::LPARAM>(text)));
  if (index < 0) return -1;
  plat::SendMessageA(combo, plat::CB_SETITEMDATA, static_cast<plat::WPARAM>(index),
                     static_cast<plat::LPARAM>(data));
  return index;
}

}  // namespace corva::ui
