#include "numbers/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "frame/settings.h"
#include "text/bstr.h"

namespace corva::numbers {

namespace bs = corva::text;

bool fixed_field(double x, unsigned width, unsigned whole, unsigned pos, unsigned high,
                 Fixed& out) {
  if (!(std::fabs(x) < 1e9)) return false;
  if (whole > width || width + pos >= high || width >= 31) return false;
  // to_chars in fixed form with a precision gives exactly the digits of
  // printf's "%.*f" (correctly rounded from the binary value), without
  // building a format or going through the locale.
  char digits[48];
  const int decimals = static_cast<int>(width - whole);
  const auto r = std::to_chars(digits, digits + sizeof digits, x, std::chars_format::fixed, decimals);
  if (r.ec != std::errc{}) return false;
  const auto n = static_cast<std::size_t>(r.ptr - digits);
  const std::size_t length = std::max<std::size_t>(n, width);
  if (length > 31 || length + pos > high) return false;
  std::memset(out.text, ' ', length - n);
  std::memcpy(out.text + length - n, digits, n);
  out.text[length] = '\0';
  out.length = length;
  return true;
}

void real_to_string_fixed(double x, std::uint16_t width, std::uint16_t whole, std::uint16_t high,
                          char* dest, std::uint16_t& pos, bool& done) {
  Fixed f;
  if (fixed_field(x, width, whole, pos, high, f)) {
    std::memcpy(dest + pos, f.text, f.length);
    pos = static_cast<std::uint16_t>(pos + f.length);
    dest[pos] = '\0';
    done = true;
    return;
  }
  for (unsigned i = pos; i < high; ++i) dest[i] = '?';
  pos = high;
  dest[high] = '\0';
  done = false;
}

namespace {

// The decimal symbol in place of ".", then one separator per group of three
// whole digits, each taking the place of a leading blank so that the field
// keeps its length; grouping stops where the blanks run out.
void localize(Fixed& f, unsigned width, unsigned decimals, Symbols sym) {
  char* t = f.text;
  const int n = static_cast<int>(f.length);
  // The conversion's only "." stands before the decimals.
  const int point = decimals > 0 ? n - static_cast<int>(decimals) - 1 : -1;
  const bool placed = point >= 0 && point < static_cast<int>(width);
  if (sym.decimal != '.' && placed) t[point] = sym.decimal;
  if (sym.thousands == '\0') return;
  // Grouping starts at the first decimal symbol: the point itself, unless the
  // symbol is a character that the conversion writes too.
  int p = -1;
  const char d = sym.decimal;
  if (!(d == ' ' || d == '-' || (d >= '0' && d <= '9'))) {
    if (sym.decimal == '.' ? point >= 0 : placed) p = point;
  } else {
    for (int i = 0; i < n; ++i) {
      if (t[i] == sym.decimal) {
        p = i;
        break;
      }
    }
  }
  const int limit = std::min(n, static_cast<int>(width));
  while (p > 0 && p < limit) {
    p -= 4;
    if (p > 0 && t[p] >= '0' && t[p] <= '9' && t[0] == ' ') {
      // Deleting t[0] and inserting at p moves t[1..p] down by one.
      std::memmove(t, t + 1, static_cast<std::size_t>(p));
      t[p] = sym.thousands;
    }
  }
}

void question_marks(std::uint16_t high, char* dest) {
  std::memset(dest, '?', high);
  dest[high] = '\0';
}

}  // namespace

void real_to_string(double x, std::uint16_t high, char* dest, std::uint16_t decimals,
                    std::uint16_t width) {
  if (high < width) return question_marks(high, dest);
  // CARDINAL arithmetic: a width below 2, or more decimals than the field
  // holds, wraps to a width the core refuses.
  const auto w = static_cast<std::uint16_t>(width - 2);
  const auto whole = static_cast<std::uint16_t>(w - decimals);
  Fixed f;
  if (!fixed_field(x, w, whole, 0, high, f)) return question_marks(high, dest);
  localize(f, width, decimals, current_symbols());
  std::memcpy(dest, f.text, f.length);
  bs::fill_from(high, dest, f.length);
}

void dollars_to_string(double amount, std::uint16_t high, char* dest, bool negate, char style) {
  const frame::Settings& s = frame::settings();
  if (negate) amount = -amount;
  if (std::fabs(amount) < s.currency_half_unit) amount = 0.0;
  if (style == ' ') amount = std::fabs(amount);
  if (style != '<') {
    real_to_string(amount, high, dest, s.currency_digits, std::min<std::uint16_t>(18, high));
    return;
  }
  const auto w = std::min<std::uint16_t>(18, static_cast<std::uint16_t>(high - 1));
  if (!(amount < 0.0)) {
    real_to_string(amount, high, dest, s.currency_digits, w);
    bs::insert(" ", high, dest, bs::length(high, dest));
    return;
  }
  real_to_string(-amount, high, dest, s.currency_digits, w);
  if (dest[0] < '0' || dest[0] > '9') {
    bs::erase(high, dest, 0, 1);
    const std::string_view t = bs::view(high, dest);
    const std::size_t first = std::min(t.find_first_not_of(' '), t.size());
    bs::insert("<", high, dest, first);
  }
  bs::insert(">", high, dest, bs::length(high, dest));
}

namespace {

// Appends the text right-justified in all the room left after dest's text.
void append_right(std::uint16_t high, char* dest, std::string_view piece) {
  const std::size_t l = bs::length(high, dest);
  if (l > high) return;
  const auto room = static_cast<std::uint16_t>(high - l);
  bs::write(room, dest + l, piece);
  bs::justify(room, dest + l, room, bs::kRight);
}

// The text, or `width` question marks when it is longer.
std::string_view fit(char (&scratch)[21], std::size_t width) {
  std::string_view t = bs::view(20, scratch);
  if (t.size() <= width) return t;
  std::memset(scratch, '?', width);
  bs::fill_from(20, scratch, width);
  return bs::view(20, scratch);
}

}  // namespace

void append_amount(std::uint16_t high, char* dest, double amount, std::uint16_t width,
                   char style) {
  char scratch[21] = {};
  dollars_to_string(amount, 20, scratch, false, style);
  bs::trim_left(20, scratch);
  const char sep = current_symbols().thousands;
  while (sep != '\0' && bs::length(20, scratch) > width) {
    const void* at = std::memchr(scratch, sep, bs::length(20, scratch));
    if (at == nullptr) break;
    bs::erase(20, scratch, static_cast<std::size_t>(static_cast<const char*>(at) - scratch), 1);
  }
  append_right(high, dest, fit(scratch, width));
}

void append_amount_no_separators(std::uint16_t high, char* dest, double x, std::uint16_t width) {
  char scratch[21] = {};
  std::uint16_t pos = 0;
  bool done = false;
  const auto whole = static_cast<std::uint16_t>(18 - frame::settings().currency_digits);
  real_to_string_fixed(x, 18, whole, 20, scratch, pos, done);  // a failure leaves 20 "?"
  bs::trim_left(20, scratch);
  const Symbols sym = current_symbols();
  if (sym.decimal != '.') {
    if (char* dot = static_cast<char*>(std::memchr(scratch, '.', bs::length(20, scratch))))
      *dot = sym.decimal;
  }
  append_right(high, dest, fit(scratch, width));
}

}  // namespace corva::numbers
