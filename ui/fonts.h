// Dialog fonts: turning a dialog laid out in the bold dialog font into the
// same dialog in its normal-weight version, rescaled to the new character
// size, and the product's 16-bit font record; the shared answer to a dialog's
// colour and palette messages.
#pragma once
#include <cstdint>

#include "corvalib/ui.h"

namespace corva::ui {

CvHFONT unbold(CvHWND dialog, int extra_width);
CvHFONT unbold_old(CvHWND dialog);
// Whether a child keeps its font: the product's bold classes, push buttons,
// default push buttons and group boxes (and, in the older form, bitmap
// buttons with style bit 0x80).
bool keeps_bold(CvHWND child, bool old_form);
// Lays the dialog out again from its template resource with the font's units.
void layout_from_template(CvHWND dialog, std::uint16_t id, CvHFONT font);

std::intptr_t global_dialog_message(CvHWND dialog, std::uint32_t message, std::uintptr_t wparam,
                                    std::intptr_t lparam, CvUniversalDlgColors* record,
                                    const CvControlColorEntry* list);

}  // namespace corva::ui
