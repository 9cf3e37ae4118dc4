// Amounts, quantities and reals as fixed-width, right-aligned texts with the
// regional decimal symbol and thousands separator.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/settings.h"

namespace corva::numbers {

// The separators in force. A NUL decimal symbol stands for "."; a NUL
// thousands separator, or one equal to the decimal symbol, means none (the
// text would otherwise read back as a different number).
struct Symbols {
  char decimal;
  char thousands;  // '\0': no grouping, nothing deleted
};
inline Symbols current_symbols() {
  const frame::Settings& s = frame::settings();
  const char decimal = s.decimal_point == '\0' ? '.' : s.decimal_point;
  return {decimal, s.thousands_separator == decimal ? '\0' : s.thousands_separator};
}

// The conversion of the formatting core: x with `decimals` digits after a ".",
// right-aligned with blanks in at least `width` characters, a "-" before a
// negative value (-0.001 to two places gives "-0.00").
struct Fixed {
  char text[32];
  std::size_t length;
};

// The core's conversion for writing at `pos` of an array of HIGH `high`: false
// when x is 1e9 or more in magnitude (or NaN), whole > width, width + pos is
// not below high, width is 31 or more, or the text would not fit (it may not
// pass 31 characters, nor position high).
bool fixed_field(double x, unsigned width, unsigned whole, unsigned pos, unsigned high,
                 Fixed& out);

// The exported formatters without their argument checks (dest is not null).
void real_to_string_fixed(double x, std::uint16_t width, std::uint16_t whole, std::uint16_t high,
                          char* dest, std::uint16_t& pos, bool& done);
void real_to_string(double x, std::uint16_t high, char* dest, std::uint16_t decimals,
                    std::uint16_t width);
void dollars_to_string(double amount, std::uint16_t high, char* dest, bool negate, char style);
void append_amount(std::uint16_t high, char* dest, double amount, std::uint16_t width,
                   char style);
void append_amount_no_separators(std::uint16_t high, char* dest, double x, std::uint16_t width);

}  // namespace corva::numbers
