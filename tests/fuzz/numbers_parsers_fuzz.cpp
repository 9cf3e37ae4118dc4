// Every parser of amounts, quantities and reals on arbitrary bytes under
// arbitrary separators and digits. The text lies in an array of exactly
// HIGH + 1 bytes (with or without a NUL), so a read past HIGH is caught.
//   byte 0: the parser (bits 0-2), automatic decimal point (bit 3)
//   bytes 1-2: decimal symbol and thousands separator; byte 3: currency
//   digits and real precision; the rest: the text
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

void configure(std::uint8_t control, char decimal, char thousands, std::uint8_t places) {
  corva::frame::Settings& s = corva::frame::settings();
  s.auto_decimal = (control & 8) != 0;
  s.decimal_point = decimal;
  s.thousands_separator = thousands;
  s.currency_digits = places % 8;
  s.currency_scale = 1.0;
  for (unsigned i = 0; i < s.currency_digits; ++i) s.currency_scale *= 10.0;
  s.currency_half_unit = 1.0 / s.currency_scale / 2.0;
  s.real_precision = static_cast<std::int16_t>(static_cast<std::int8_t>(places) / 8);
}

// With plain separators an amount that was read formats and reads back as
// its rounded value.
void round_trip(double value) {
  const corva::frame::Settings& s = corva::frame::settings();
  const bool plain = (s.decimal_point == '.' && s.thousands_separator == ',') ||
                     (s.decimal_point == ',' && s.thousands_separator == '.');
  if (!plain || !(std::fabs(value) < 1e9) || s.currency_digits > 6) return;
  const double rounded = Round(value);
  if (!(std::fabs(rounded) < 1e9)) return;
  char text[40];
  DollarsToString(rounded, 39, text, 0, '-');
  double back = 0.0;
  check(MyStringToReal(39, text, &back) == 1);
  check(back == rounded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || size > 4 + 65536) return 0;
  configure(data[0], static_cast<char>(data[1]), static_cast<char>(data[2]), data[3]);
  std::vector<char> text(data + 4, data + size);
  if (text.empty()) text.push_back('\0');
  const auto high = static_cast<std::uint16_t>(text.size() - 1);
  double result = -1.0;
  std::uint8_t done = 7;
  switch (data[0] & 7) {
    case 0:
    case 1: {
      std::uint16_t pos = static_cast<std::uint16_t>(data[0] >> 4);
      const std::uint16_t start = pos;
      StringToReal(high, text.data(), &pos, &result, &done);
      check(pos >= start && (pos <= high + 1u || pos == start));
      break;
    }
    case 2:
      PrepString4RealConv(high, text.data());
      done = 0;
      break;
    case 3: done = MyStringToReal(high, text.data(), &result); break;
    case 4: done = MyStringToQty(high, text.data(), &result); break;
    case 5: done = MyStringToRealWithNoExtras(high, text.data(), &result); break;
    default: done = MyStringToQtyWithNoExtras(high, text.data(), &result); break;
  }
  check(done <= 1);
  if (done == 1) {
    check(!std::isnan(result) && !std::isinf(result));
    if ((data[0] & 7) == 5) round_trip(result);
  }
  return 0;
}
