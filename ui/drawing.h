// Drawing helpers: a busy cursor that nests, text in tab-stopped columns,
// text in a rectangle whose y axis points up, bevelled frames, and the point
// and rectangle helpers.
#pragma once
#include <cstdint>

#include "corvalib/ui.h"

namespace corva::ui {

std::uint32_t hourglass_up();
std::uint32_t hourglass_down();
std::int16_t draw_tab_clipped(CvHDC dc, const CvRECT& rect, const char* text, int length,
                              const std::int16_t* stops, int stop_count, int margin,
                              std::uint32_t format);
std::int16_t draw_y_up(CvHDC dc, CvHDC attribute_dc, const char* text, int length,
                       const CvRECT& rect, std::uint32_t format);
void draw_bevel(CvHDC dc, const CvRECT& rect, std::uint16_t width, int flags, int raised);
bool point_in(const CvRECT& rect, std::int32_t x, std::int32_t y);

}  // namespace corva::ui
