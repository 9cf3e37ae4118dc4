#include "numbers/parse.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "frame/settings.h"
#include "numbers/arith.h"
#include "numbers/format.h"
#include "text/bstr.h"

namespace corva::numbers {

namespace bs = corva::text;

namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether a number that from_chars found out of range is too large (rather
// than too small): the power of ten of its first significant digit, plus its
// exponent, is positive.
bool too_large(std::string_view number) {
  long power = 0;
  std::size_t i = 0;
  bool significant = false;
  for (; i < number.size() && is_digit(number[i]); ++i) {
    if (number[i] != '0') significant = true;
    if (significant) ++power;
  }
  if (i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && is_digit(number[i]); ++i) {
      if (significant) continue;
      --power;
      if (number[i] != '0') significant = true;
    }
  }
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    const bool minus = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    long e = 0;
    for (; i < number.size() && is_digit(number[i]); ++i) e = std::min(e * 10 + (number[i] - '0'), 1000000L);
    power += minus ? -e : e;
  }
  return power > 0;
}

}  // namespace

Scan scan_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // from_chars takes neither white space nor a "+", and would read a second
  // sign, "inf" and "nan": the number proper must start with a digit or ".".
  if (i == text.size() || !(is_digit(text[i]) || text[i] == '.')) return {};
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  double value = 0.0;
  const auto r = std::from_chars(first, last, value, std::chars_format::general);
  if (r.ec == std::errc::invalid_argument) return {};
  Scan scan;
  scan.consumed = static_cast<std::size_t>(r.ptr - text.data());
  if (r.ec == std::errc::result_out_of_range) {
    if (too_large({first, static_cast<std::size_t>(r.ptr - first)})) {
      scan.overflow = true;
      return scan;
    }
    value = 0.0;
  }
  scan.value = negative ? -value : value;
  return scan;
}

bool string_to_real(std::uint16_t high, const char* s, std::uint16_t& pos, double& result) {
  char scratch[32];
  std::size_t n = 0;
  unsigned i = pos;
  while (n < 31 && i <= high && s[i] != '\0') scratch[n++] = s[i++];
  pos = static_cast<std::uint16_t>(std::min(i, 65535u));
  if (n == 31 || i > high) {
    result = 0.0;
    return false;
  }
  const Scan scan = scan_number({scratch, n});
  result = scan.value;
  return !scan.overflow && scan.consumed == n;
}

void prepare(std::uint16_t high, char* s) {
  const Symbols sym = current_symbols();
  const std::size_t l = bs::length(high, s);
  std::size_t n = l;
  if (sym.thousands != '\0') {
    n = 0;
    for (std::size_t i = 0; i < l; ++i)
      if (s[i] != sym.thousands) s[n++] = s[i];
    bs::fill_from(high, s, n);
  }
  if (sym.decimal != '.') {
    if (char* at = static_cast<char*>(std::memchr(s, sym.decimal, n)); at && at - s < high)
      *at = '.';
  }
  bs::trim_left(high, s);
  bs::trim_right(high, s);
}

namespace {

// The quantity rounding scale by precision.
double quantity_scale(int places) {
  static constexpr double kScales[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0};
  return places >= 0 && places <= 5 ? kScales[places] : 10000.0;
}

constexpr std::size_t kWorkLength = 20;  // the longest prepared text

}  // namespace

bool read_amount(std::uint16_t high, const char* s, double& result, int places,
                 bool auto_decimal, bool round) {
  const Symbols sym = current_symbols();
  const std::string_view text = bs::view(high, s);
  // Prepared in one pass: separators dropped, the decimal symbol made ".",
  // leading blanks skipped and trailing ones held back until something follows.
  char work[kWorkLength + 8];
  std::size_t n = 0, blanks = 0;
  bool point = false, converted = sym.decimal == '.', fits = true;
  for (char c : text) {
    if (c == sym.thousands && c != '\0') continue;
    if (!converted && c == sym.decimal) {
      c = '.';
      converted = true;
    }
    if (c == ' ') {
      if (n != 0) ++blanks;
      continue;
    }
    if (n + blanks + 1 > kWorkLength) {
      fits = false;
      break;
    }
    std::memset(work + n, ' ', blanks);
    n += blanks;
    blanks = 0;
    point |= c == '.';
    work[n++] = c;
  }
  double value = 0.0;
  bool done = false;
  if (fits) {
    const bool negative = n != 0 && work[0] == '-';
    const char* digits = work + (negative ? 1 : 0);
    std::size_t l = n - (negative ? 1 : 0);
    char out[kWorkLength + 8];
    std::size_t m = 0;
    if (negative) out[m++] = '-';
    if (auto_decimal && !point) {
      // Zeros in front up to `places` digits, then the point before the last
      // `places` of them: with 2 places "5" gives "0.05" and "12345" "123.45".
      const auto p = static_cast<std::size_t>(std::max(places, 0));
      const std::size_t padded = std::max(l, p);
      if (m + padded + 1 > kWorkLength) {
        fits = false;
      } else {
        char digits_padded[kWorkLength];
        std::memset(digits_padded, '0', padded - l);
        std::memcpy(digits_padded + (padded - l), digits, l);
        std::memcpy(out + m, digits_padded, padded - p);
        m += padded - p;
        out[m++] = '.';
        std::memcpy(out + m, digits_padded + (padded - p), p);
        m += p;
      }
    } else {
      std::memcpy(out + m, digits, l);
      m += l;
    }
    if (fits) {
      out[m] = '\0';
      std::uint16_t pos = 0;
      done = string_to_real(static_cast<std::uint16_t>(kWorkLength), out, pos, value);
    }
  }
  if (round) value = round_at(value, quantity_scale(places), kCurrencyBias);
  result = value;
  return done;
}

}  // namespace corva::numbers
