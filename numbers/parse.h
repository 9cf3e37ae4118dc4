// Amounts, quantities and reals read from what the user typed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corva::numbers {

// The one scanner of every parser: leading white space, an optional "+" or
// "-", digits with an optional ".", an optional exponent. `consumed` counts
// the characters of the number (0 when there is none, white space included
// otherwise); value is 0.0 without a number. A number too large for a double
// sets `overflow` (value 0.0); one too small becomes a zero of its sign.
// Hexadecimal forms, "inf" and "nan" are not numbers here.
struct Scan {
  double value = 0.0;
  std::size_t consumed = 0;
  bool overflow = false;
};
Scan scan_number(std::string_view text);

// The parsing core: the text from pos to its NUL, at most 30 characters (31 or
// more, or no NUL before the array ends, give 0.0 and false; pos then stops
// where the copying did). pos is left at the end of the text; done when the
// whole text was one number.
bool string_to_real(std::uint16_t high, const char* s, std::uint16_t& pos, double& result);

// Rewrites s in place: thousands separators deleted, the first decimal symbol
// made ".", leading and trailing blanks removed.
void prepare(std::uint16_t high, char* s);

// An amount (places = currency digits) or quantity (places = real precision):
// the text prepared, the automatic decimal point placed when asked and the
// text holds no ".", a prepared text of more than 20 characters refused (0.0),
// and the result rounded at `places` when `round` is set (also when the text
// was not a number).
bool read_amount(std::uint16_t high, const char* s, double& result, int places,
                 bool auto_decimal, bool round);

}  // namespace corva::numbers
