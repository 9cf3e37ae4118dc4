#include "text/whole.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace corva::text {

namespace {
// The last position a character may take: a CARDINAL position must still be
// able to point one past it.
unsigned last_position(std::uint16_t high) { return std::min<unsigned>(high, 0xFFFE); }
}  // namespace

void put_whole(std::uint16_t magnitude, bool negative, std::uint16_t width, std::uint16_t high,
               char* text, std::uint16_t& position, bool& done) {
  // The digits are the same as dividing down from 10000; to_chars gives them
  // without the division loop.
  char digits[8];
  char* end = digits;
  if (negative) *end++ = '-';
  end = std::to_chars(end, digits + sizeof digits, magnitude).ptr;
  const auto count = static_cast<unsigned>(end - digits);
  const unsigned pad = width > count ? width - count : 0;

  const unsigned top = last_position(high);
  unsigned pos = position;
  unsigned room = pos <= top ? top + 1 - pos : 0;
  done = pad + count <= room;
  const unsigned spaces = std::min(pad, room);
  std::memset(text + pos, ' ', spaces);
  pos += spaces;
  room -= spaces;
  const unsigned put = std::min(count, room);
  std::memcpy(text + pos, digits, put);
  pos += put;
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
