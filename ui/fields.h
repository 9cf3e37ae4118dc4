// The control chores of the product's dialogs that need no number or date
// conversion: edit limits, enabling and focusing, radio groups, texts read
// with NUL fill or trimmed, whole numbers, and list and combo selection by
// item data.
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

void select_by_first_word(CvHWND dialog, int edit_id, int list_id);
// Item-data lookups of a combo box (combo true) or a list box.
std::int16_t index_by_data(CvHWND box, std::uintptr_t data, bool combo);
bool select_by_data(CvHWND box, std::uintptr_t data, bool combo);
std::uintptr_t selected_data(CvHWND box, std::int32_t* index, bool combo);
std::int32_t add_with_data(CvHWND combo, std::uintptr_t data, const char* text);

}  // namespace corva::ui
