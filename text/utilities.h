// Reference-number stepping, mask matching, line wrapping and ampersand
// doubling, on bounded strings. The routines take non-null arrays.
#pragma once
#include <cstdint>

namespace corva::text {

void increment(std::uint16_t high, char* text);
void decrement(std::uint16_t high, char* text);
// 0 when text matches mask ("*" standing for exactly one character), else 1 or -1.
int match_mask(const char* text, const char* mask);
// Moves the first line of text into line; true when the line is not empty.
bool wrap_line(std::uint16_t line_high, char* line, std::uint16_t text_high, char* text);
void double_ampersands(std::uint16_t high, char* text);

}  // namespace corva::text
