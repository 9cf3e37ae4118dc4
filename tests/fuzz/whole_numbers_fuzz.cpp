// The whole-number readers on arbitrary bytes at an arbitrary position, and
// the writers with arbitrary values and widths, in arrays of exactly HIGH + 1
// bytes. A reader's answer is checked against the digits it consumed.
//   byte 0: the operation; bytes 1-2: a position or value; byte 3: a width;
//   the rest: the text
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "corvalib/text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// The number the characters [from, to) spell (sign included), or -1 for none.
long long spelled(const std::vector<char>& t, std::uint16_t from, std::uint16_t to) {
  if (to <= from || to > t.size()) return -1;
  const std::string s(t.begin() + from, t.begin() + to);
  std::size_t digits = s.find_first_of("0123456789");
  if (digits == std::string::npos) return -1;
  std::size_t first = s.find_first_not_of('0', digits);  // leading zeros add nothing
  if (first == std::string::npos) first = s.size() - 1;
  if (s.size() - first > 12) return -1;
  const long long v = std::stoll(s.substr(first));
  return digits > 0 && s[digits - 1] == '-' ? -v : v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || size > 4 + 65536) return 0;
  std::vector<char> text(data + 4, data + size);
  if (text.empty()) text.push_back('\0');
  const auto high = static_cast<std::uint16_t>(text.size() - 1);
  const auto word = static_cast<std::uint16_t>(data[1] | data[2] << 8);
  const std::uint16_t start = word % (text.size() + 2);
  std::uint16_t pos = start;
  std::uint8_t done = 7;
  long long value = 0;
  switch (data[0] % 8) {
    case 0: { std::uint16_t v = 0; StringToCard(high, text.data(), &pos, &v, &done); value = v; break; }
    case 1: { std::int16_t v = 0; StringToInt(high, text.data(), &pos, &v, &done); value = v; break; }
    case 2: { std::uint32_t v = 0; StringToUnsignedLong(high, text.data(), &pos, &v, &done); value = v; break; }
    case 3: { std::int32_t v = 0; StringToLong(high, text.data(), &pos, &v, &done); value = v; break; }
    case 4: { std::uint8_t v = 0; StringToUnsignedChar(high, text.data(), &pos, &v, &done); value = v; break; }
    case 5: {
      std::uint16_t v = 0;
      MyStringToCard(high, text.data(), &v);
      return 0;
    }
    case 6:
    case 7: {
      const auto width = static_cast<std::uint16_t>(data[3] % 16 == 15 ? 65535 : data[3] % 16);
      if (data[0] % 8 == 6) {
        CardToString(word, width, high, text.data(), &pos, &done);
      } else {
        IntToString(static_cast<std::int16_t>(word), width, high, text.data(), &pos, &done);
      }
      check(done <= 1 && pos >= start && (pos <= high + 1u || pos == start));
      if (done == 1) {
        const long long expect = data[0] % 8 == 6 ? word : static_cast<std::int16_t>(word);
        check(spelled(text, start, pos) == expect);
      }
      return 0;
    }
  }
  check(done <= 1 && pos >= start && (pos <= high + 1u || pos == start));
  if (done == 1) check(spelled(text, start, pos) == value);
  return 0;
}
