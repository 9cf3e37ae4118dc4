// Dialog layout: hiding and showing groups of controls (with their keyboard
// mnemonics disarmed while hidden), placing controls against each other,
// recognising the product's edit classes, measuring the dialog font, and
// finding typed texts among numbered strings.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "corvalib/base.h"

namespace corva::ui {

// The range operations: hide [hide_first, hide_last] and show
// [show_first, show_last] (either may be empty), one repaint for both.
void swap_ranges(CvHWND dialog, int show_first, int show_last, int hide_first, int hide_last,
                 bool mnemonics);
void swap_sets(CvHWND dialog, std::span<const std::int16_t> show, std::span<const std::int16_t> hide);
std::int32_t show_one(CvHWND dialog, int id, int command);
// Disarms (hiding) or rearms (showing) a control's mnemonic character.
void set_mnemonic_armed(CvHWND control, bool armed);

std::int32_t align(CvHWND dialog, int move_id, int reference_id, int dx, int dy,
                   std::uint32_t flags);
void stretch(CvHWND dialog, int id, int dx, int dy);
void centre(CvHWND window, CvHWND reference);
void force_repaint(CvHWND window);

bool in_dialog(CvHWND dialog, CvHWND window);
bool is_edit(CvHWND window);

std::int16_t window_ave_char_width(CvHWND window);
std::int16_t avg_char_width(std::uint32_t dc, std::uint32_t font);
std::uint16_t dlg_char_width(std::uint32_t font);
std::uint16_t dlg_char_height(std::uint32_t font);
std::int16_t dlg_string_width(std::uint32_t font, std::string_view text);

std::uint16_t find_in_strings(std::string_view text, std::uint16_t first_id);
bool load_long_text(CvHMODULE instance, CvHWND dialog, int id, std::uint16_t resource,
                    const char* type);

}  // namespace corva::ui
