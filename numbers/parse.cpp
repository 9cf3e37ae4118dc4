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

// The common case of an amount: digits with at most one "." and nothing else,
// at most 19 digits. Its value is a whole number below 2^53 divided by a power
// of ten up to 10^22: both are exact doubles and the one division rounds
// correctly, so the answer is the one from_chars gives (the first step of its
// own algorithm), without the general machinery or a second pass over the text.
struct Plain {
  std::uint64_t mantissa = 0;
  unsigned digits = 0, decimals = 0;
  bool point = false, plain = true;
  // Takes one character; false (and no longer plain) for anything else.
  void add(char c) {
    const unsigned d = static_cast<unsigned char>(c) - unsigned{'0'};
    if (d <= 9) {
      mantissa = mantissa * 10 + d;
      ++digits;
      decimals += point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      plain = false;
    }
  }
  // The value with `decimals` places, when the text was plain and exact.
  bool value(unsigned places, double& out) const {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (!plain || digits == 0 || digits > 19 || places > 22 ||
        mantissa >= (std::uint64_t{1} << 53))
      return false;
    out = static_cast<double>(mantissa) / kPowers[places];
    return true;
  }
};

bool plain_decimal(const char* p, const char* end, double& value) {
  Plain number;
  for (; p != end && number.plain; ++p) number.add(*p);
  return number.value(number.decimals, value);
}

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
  if (plain_decimal(first, last, value)) return {negative ? -value : value, text.size(), false};
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
  // Prepared in one pass, in the order of PrepString4RealConv: separators
  // dropped, the first decimal symbol made ".", leading blanks skipped and
  // trailing ones held back until something follows them.
  char work[kWorkLength];
  std::size_t n = 0, blanks = 0;
  bool point = false, converted = sym.decimal == '.', fits = true, negative = false;
  Plain number;  // read on the way, for the common case
  const char* const end = s + std::size_t{high} + 1;
  for (const char* at = s; at != end && *at != '\0'; ++at) {
    char c = *at;
    if (c == sym.thousands) continue;  // a NUL separator never matches: the text has none
    if (c == sym.decimal && !converted) {
      c = '.';
      converted = true;
    }
    if (c == ' ') {
      blanks += n != 0;
      continue;
    }
    if (n + blanks >= kWorkLength) {
      fits = false;
      break;
    }
    if (blanks > 0) {
      number.plain = false;
      for (; blanks > 0; --blanks) work[n++] = ' ';
    }
    if (c == '-' && n == 0) {
      negative = true;
    } else {
      number.add(c);
    }
    point |= c == '.';
    work[n++] = c;
  }
  if (fits) {
    // The automatic decimal point puts the point before the last `places`
    // digits, with zeros in front when there are fewer.
    const bool shift = auto_decimal && !point;
    const auto p = static_cast<std::size_t>(std::max(places, 0));
    const std::size_t digits = n - (negative ? 1 : 0);
    fits = !shift || (negative ? 1 : 0) + std::max(digits, p) + 1 <= kWorkLength;
    double v = 0.0;
    if (fits && number.value(shift ? static_cast<unsigned>(p) : number.decimals, v)) {
      if (round) v = round_at(negative ? -v : v, quantity_scale(places), kCurrencyBias);
      result = round ? v : (negative ? -v : v);
      return true;
    }
  }
  double value = 0.0;
  bool done = false;
  if (fits && auto_decimal && !point) {
    // Zeros in front up to `places` digits, then the point before the last
    // `places` of them: with 2 places "5" gives "0.05" and "12345" "123.45".
    const char* digits = work + (negative ? 1 : 0);
    const std::size_t l = n - (negative ? 1 : 0);
    const auto p = static_cast<std::size_t>(std::max(places, 0));
    const std::size_t padded = std::max(l, p);
    fits = (negative ? 1 : 0) + padded + 1 <= kWorkLength;
    if (fits) {
      char out[kWorkLength];
      std::size_t m = 0;
      if (negative) out[m++] = '-';
      if (l < p) {
        out[m++] = '.';
        for (std::size_t i = l; i < p; ++i) out[m++] = '0';
        for (std::size_t i = 0; i < l; ++i) out[m++] = digits[i];
      } else {
        for (std::size_t i = 0; i < l; ++i) {
          if (i == l - p) out[m++] = '.';
          out[m++] = digits[i];
        }
        if (p == 0) out[m++] = '.';
      }
      const Scan scan = scan_number({out, m});
      value = scan.value;
      done = !scan.overflow && scan.consumed == m;
    }
  } else if (fits) {
    const Scan scan = scan_number({work, n});
    value = scan.value;
    done = !scan.overflow && scan.consumed == n;
  }
  if (round) value = round_at(value, quantity_scale(places), kCurrencyBias);
  result = value;
  return done;
}

}  // namespace corva::numbers
