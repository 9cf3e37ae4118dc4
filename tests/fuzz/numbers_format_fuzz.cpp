// Every formatter with arbitrary doubles (NaN, infinities, denormals), widths,
// decimals, sign styles and separators, into arrays of exactly HIGH + 1 bytes.
// Checked: nothing past HIGH, a NUL within the array, and the text of an
// amount that printed (no "?") reads back as its rounded value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "corvalib/numbers.h"
#include "frame/settings.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 16) return 0;
  double x = 0.0;
  std::memcpy(&x, data, sizeof x);
  const std::uint8_t op = data[8];
  const auto high = static_cast<std::uint16_t>(data[9] % 64);
  const auto width = static_cast<std::uint16_t>(data[10] % 40 == 39 ? 65535 : data[10] % 40);
  const auto decimals = static_cast<std::uint16_t>(data[11] % 12);
  const char style = static_cast<char>(data[12]);
  corva::frame::Settings& s = corva::frame::settings();
  const bool plain = (data[13] & 1) != 0;
  s.decimal_point = plain ? (data[13] & 2 ? ',' : '.') : static_cast<char>(data[14]);
  s.thousands_separator = plain ? (data[13] & 2 ? '.' : ',') : static_cast<char>(data[15]);
  s.currency_digits = data[13] >> 4;
  s.currency_scale = 1.0;
  for (unsigned i = 0; i < s.currency_digits; ++i) s.currency_scale *= 10.0;
  s.currency_half_unit = 1.0 / s.currency_scale / 2.0;

  std::vector<char> dest(high + 1u, 'Z');
  dest[0] = '\0';
  std::uint16_t pos = 0;
  std::uint8_t done = 7;
  switch (op % 6) {
    case 0: RealToStringFixed(x, width, decimals, high, dest.data(), &pos, &done); break;
    case 1: MyRealToString(x, high, dest.data(), decimals, width); break;
    case 2: MyQtyToString(x, high, dest.data(), decimals, width); break;
    case 3: DollarsToString(x, high, dest.data(), op & 8, style); break;
    case 4: AppendRtoString(high, dest.data(), x, width, style); break;
    default: AppendRtoStringNoComma(high, dest.data(), x, width); break;
  }
  check(std::memchr(dest.data(), '\0', dest.size()) != nullptr);
  check(op % 6 != 0 || (done <= 1 && pos <= high));
  if (op % 6 == 3 && plain && s.currency_digits <= 6 && high >= 18 &&
      std::strchr(dest.data(), '?') == nullptr && (style == '-' || style == ' ')) {
    double back = 0.0;
    s.auto_decimal = false;
    check(MyStringToRealWithNoExtras(high, dest.data(), &back) == 1);
    double expect = (op & 8) ? -x : x;
    if (std::fabs(expect) < s.currency_half_unit) expect = 0.0;
    if (style == ' ') expect = std::fabs(expect);
    // The text carries the conversion's rounding, which may differ from
    // Round's by one unit at an exact binary half.
    check(std::fabs(back - expect) <= 0.5 / s.currency_scale * 1.000001 + std::fabs(expect) * 1e-15);
  }
  return 0;
}
