// The colour schemes of the product's screens: seven colour sets of four
// shades for the scheme chosen at start, their brushes, the map from screen
// elements to shades, a white brush, an optional palette, and the answer to a
// dialog's control-colour requests with its coloured bands.
#pragma once
#include <cstdint>

#include "corvalib/ui.h"

namespace corva::ui {

CvHBRUSH colour_init(int scheme);
void colour_dispose();
CvHBRUSH brush_of(int set, int element);
std::uint32_t colour_of(int set, int element);
CvHBRUSH white_brush();
CvHPALETTE set_palette(CvHPALETTE palette);
CvHPALETTE palette();
std::int32_t delete_palette();
std::int32_t palette_changed(CvHWND window);
bool colour_defaults(int row, int count, std::uint32_t* buffer);
CvHBRUSH dialog_colours(CvHDC dc, CvHWND control, int kind, CvUniversalDlgColors* record,
                        const CvControlColorEntry* list);

}  // namespace corva::ui
