// Whole numbers to text and back at a caller-held position, with done flags.
// The exported conversions call these after their argument checks; the amount
// words and other formatters use them too.
#pragma once
#include <cstdint>

namespace corva::text {

// The decimal digits of value written backwards so that the last one lands
// just before `end`; count must be its number of digits. This is the digit
// writer of every whole-number text (to_chars gives the same digits, but would
// count them a second time after the caller has counted them for its padding).
inline void put_digits(char* end, unsigned value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  while (value >= 100) {
    const unsigned r = value % 100;
    value /= 100;
    end -= 2;
    end[0] = kPairs[2 * r];
    end[1] = kPairs[2 * r + 1];
  }
  if (value >= 10) {
    end[-2] = kPairs[2 * value];
    end[-1] = kPairs[2 * value + 1];
  } else {
    end[-1] = static_cast<char>('0' + value);
  }
}

inline unsigned digit_count(std::uint16_t v) {
  return v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : v < 10000 ? 4 : 5;
}

// put_whole for a text that does not fit: its first characters go in.
[[gnu::cold]] void put_whole_cut(std::uint16_t magnitude, bool negative, std::uint16_t width,
                                 std::uint16_t high, char* text, std::uint16_t& position,
                                 bool& done);

// Writes value (with a leading "-" when negative is set) right-aligned in at
// least width characters at position of the array of high + 1 bytes, then a
// NUL when the position is still inside the array. Characters that do not fit
// are dropped and done becomes false. The position is a CARDINAL and cannot
// pass 65535, so with HIGH 65535 position 65535 is left for the NUL: these
// conversions treat HIGH 65535 as 65534 for the characters they put or read.
inline void put_whole(std::uint16_t magnitude, bool negative, std::uint16_t width,
                      std::uint16_t high, char* text, std::uint16_t& position, bool& done) {
  const unsigned digits = digit_count(magnitude);
  const unsigned count = digits + (negative ? 1 : 0);
  const unsigned pad = width > count ? width - count : 0;
  const unsigned top = high < 0xFFFF ? high : 0xFFFE;  // the last position a character takes
  unsigned pos = position;
  const unsigned room = pos <= top ? top + 1 - pos : 0;
  if (pad + count <= room) {
    for (unsigned i = 0; i < pad; ++i) text[pos++] = ' ';
    if (negative) text[pos++] = '-';
    pos += digits;
    put_digits(text + pos, magnitude);
    done = true;
    if (pos <= high) text[pos] = '\0';
    position = static_cast<std::uint16_t>(pos);
    return;
  }
  put_whole_cut(magnitude, negative, width, high, text, position, done);
}


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
