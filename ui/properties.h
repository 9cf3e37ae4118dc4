// The three window properties the library keeps on windows, named by the
// atoms the frame adds at load: a dialog's template identifier, a caller's
// data pointer, and a static text's saved SS_NOPREFIX flag.
#pragma once
#include <cstdint>

#include "corvalib/base.h"

namespace corva::ui {

bool attach_dialog_id(CvHWND window, std::uint16_t id);
std::uint32_t dialog_id(CvHWND window);
std::uint32_t remove_dialog_id(CvHWND window);

bool set_window_data(CvHWND window, void* data);
void* window_data(CvHWND window);
void* remove_window_data(CvHWND window);

// For each child of the dialog whose class is "STATIC": save (1 when it has
// SS_NOPREFIX, else 0) or remove the flag.
void save_noprefix(CvHWND dialog);
void remove_noprefix(CvHWND dialog);
// SS_NOPREFIX (0x80) when the flag is there and set, else 0.
std::uint32_t noprefix_state(CvHWND window);

}  // namespace corva::ui
