// The control chores of the product's dialogs: edit limits, enabling and
// focusing, radio groups, texts read with NUL fill or trimmed, amounts,
// reals, quantities, dates and whole numbers written and read back, and list
// and combo selection by item data.
#pragma once
#include <cstdint>

#include "corvalib/base.h"

namespace corva::ui {

std::uint16_t radio_check(CvHWND dialog, std::uint16_t first, std::uint16_t last);
void enable_range(CvHWND dialog, int first, int last, bool enable);
void focus_to_button(CvHWND dialog, int id);

std::uint16_t text_with_nulls(CvHWND control, std::uint16_t high, char* text);
std::uint16_t text_trimmed(CvHWND control, std::uint16_t high, char* text);
void set_text_trimmed(CvHWND control, std::uint16_t high, char* text);
std::int32_t window_int(CvHWND control, std::int32_t* ok, bool is_signed);

// Every text built or read for a number lives in 40 characters (HIGH 39).
constexpr std::uint16_t kNumberHigh = 39;
// A date-entry control answers the first with its date and takes a date
// (in lParam) from the second, non-zero when it did; other controls answer 0.
constexpr std::uint32_t kGetDateMessage = 0x0400 + 105;
constexpr std::uint32_t kSetDateMessage = 0x0400 + 106;
// "Number must be between ### and ###."
constexpr std::uint32_t kNumberRangeMessage = 20500;

void set_dollars(CvHWND control, double amount);
double get_dollars(CvHWND control);
void set_real(CvHWND control, double value, std::uint16_t decimals);
double get_real(CvHWND control);
double get_qty(CvHWND control);
// A signed amount in a debit (positive) and credit (negative) field pair.
void set_dr_cr(CvHWND debit, CvHWND credit, double amount);
double get_dr_cr(CvHWND debit, CvHWND credit);
// 0 when the control holds a number in [min, max]; else the message, the
// focus to the control, and id (id at once when there is no control).
std::int16_t get_card(CvHWND dialog, std::int16_t id, std::uint16_t min, std::uint16_t max,
                      std::uint16_t* value);
bool get_date(CvHWND control, std::uint32_t* date);
void set_date(CvHWND control, std::uint32_t date);

void select_by_first_word(CvHWND dialog, int edit_id, int list_id);
// Item-data lookups of a combo box (combo true) or a list box.
std::int16_t index_by_data(CvHWND box, std::uintptr_t data, bool combo);
bool select_by_data(CvHWND box, std::uintptr_t data, bool combo);
std::uintptr_t selected_data(CvHWND box, std::int32_t* index, bool combo);
std::int32_t add_with_data(CvHWND combo, std::uintptr_t data, const char* text);

}  // namespace corva::ui
