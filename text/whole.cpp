#include "text/whole.h"

#include <algorithm>

namespace corva::text {

namespace {
// The last position a character may take: a CARDINAL position must still be
// able to point one past it.
unsigned last_position(std::uint16_t high) { return std::min<unsigned>(high, 0xFFFE); }
}  // namespace

void put_whole_cut(std::uint16_t magnitude, bool negative, std::uint16_t width,
                   std::uint16_t high, char* text, std::uint16_t& position, bool& done) {
  const unsigned count = digit_count(magnitude) + (negative ? 1 : 0);
  const unsigned pad = width > count ? width - count : 0;
  const unsigned top = last_position(high);
  unsigned pos = position;
  unsigned left = pos <= top ? top + 1 - pos : 0;
  char full[8];
  full[0] = '-';  // overwritten by the digits when not negative
  put_digits(full + count, magnitude);
  for (unsigned i = 0; i < pad && left > 0; ++i, --left) text[pos++] = ' ';
  for (unsigned i = 0; i < count && left > 0; ++i, --left) text[pos++] = full[i];
  done = false;
  if (pos <= high) text[pos] = '\0';
  position = static_cast<std::uint16_t>(pos);
}

void read_digits(std::uint16_t high, const char* text, std::uint16_t& position,
                 std::uint32_t& value, bool& done, std::uint32_t limit_tens,
                 std::uint32_t limit_digit) {
  value = 0;
  done = false;
  const unsigned top = last_position(high);
  unsigned pos = position;
  for (; pos <= top; ++pos) {
    const unsigned digit = static_cast<unsigned char>(text[pos]) - unsigned{'0'};
    if (digit > 9) break;
    if (value > limit_tens || (value == limit_tens && digit >= limit_digit)) {
      done = false;
      break;
    }
    value = value * 10 + digit;
    done = true;
  }
  position = static_cast<std::uint16_t>(pos);
}

void read_signed(std::uint16_t high, const char* text, std::uint16_t& position,
                 std::int32_t& value, bool& done, std::uint32_t limit_tens,
                 std::uint32_t limit_digit, std::uint32_t max_negative,
                 std::uint32_t max_positive) {
  bool negative = false;
  if (position <= last_position(high)) {
    if (text[position] == '-') {
      negative = true;
      ++position;
    } else if (text[position] == '+') {
      ++position;
    }
  }
  std::uint32_t magnitude = 0;
  read_digits(high, text, position, magnitude, done, limit_tens, limit_digit);
  if (!done) return;
  if (magnitude > (negative ? max_negative : max_positive)) {
    done = false;
    return;
  }
  value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
}

}  // namespace corva::text
