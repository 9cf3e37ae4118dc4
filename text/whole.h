// Whole numbers to text and back at a caller-held position, with done flags.
// The exported conversions call these after their argument checks; the amount
// words and other formatters use them too.
#pragma once
#include <cstdint>

namespace corva::text {

// Writes value (with a leading "-" when negative is set) right-aligned in at
// least width characters at *position of the array of high + 1 bytes, then a
// NUL when the position is still inside the array. Characters that do not fit
// are dropped and done becomes false. The position is a CARDINAL and cannot
// pass 65535, so with HIGH 65535 position 65535 is left for the NUL: these
// conversions treat HIGH 65535 as 65534 for the characters they put or read.
void put_whole(std::uint16_t magnitude, bool negative, std::uint16_t width, std::uint16_t high,
               char* text, std::uint16_t& position, bool& done);

// Reads digits from position while it is not past high; a digit that would
// pass the limit stops the reading with done false (limit_tens and
// limit_digit: the value before the digit may not exceed limit_tens, and when
// equal to it the digit must be below limit_digit). The value holds what was
// accumulated.
void read_digits(std::uint16_t high, const char* text, std::uint16_t& position,
                 std::uint32_t& value, bool& done, std::uint32_t limit_tens,
                 std::uint32_t limit_digit);

// Reads an optional "-" or "+" and digits; done when the magnitude is within
// max_negative (with "-") or max_positive. value is set only when done.
void read_signed(std::uint16_t high, const char* text, std::uint16_t& position,
                 std::int32_t& value, bool& done, std::uint32_t limit_tens,
                 std::uint32_t limit_digit, std::uint32_t max_negative,
                 std::uint32_t max_positive);

}  // namespace corva::text
