#include "calendar/date_text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "corvaplat/clock.h"
#include "corvaplat/modules.h"
#include "corvaplat/text.h"
#include "frame/settings.h"
#include "frame/state.h"

namespace corva::calendar {
namespace {

constexpr std::uint16_t kMonthNameBase = 20200;
constexpr std::uint16_t kDayNameBase = 20220;
constexpr std::size_t kLongNameMax = 18;  // longest month name the long form takes
constexpr std::size_t kMediumTextMax = 19;
constexpr std::size_t kTypedTextMax = 30;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

Text load_name(std::uint16_t id) {
  Text t;
  const int n = platform::LoadStringA(frame::own_module(), id, t.data, sizeof t.data);
  t.size = n > 0 ? static_cast<std::size_t>(n) : 0;
  return t;
}

// The names, loaded once from the library's module and again only when the
// module changes (the library was unloaded and loaded again): every date text
// needs a month's name, and the module's string table never changes.
struct NameCache {
  platform::ModuleHandle module = 0;
  Text months[13];
  Text days[7];
};

const NameCache& names() {
  static NameCache cache;
  const platform::ModuleHandle module = frame::own_module();
  if (cache.module != module || module == 0) {
    for (int m = 1; m <= 12; ++m) cache.months[m] = load_name(static_cast<std::uint16_t>(kMonthNameBase + m));
    for (int d = 0; d < 7; ++d) cache.days[d] = load_name(static_cast<std::uint16_t>(kDayNameBase + d));
    cache.module = module;
  }
  return cache;
}

std::size_t skip_digits(std::string_view s, std::size_t pos) {
  while (pos < s.size() && is_digit(s[pos])) ++pos;
  return pos;
}
std::size_t skip_non_digits(std::string_view s, std::size_t pos) {
  while (pos < s.size() && !is_digit(s[pos])) ++pos;
  return pos;
}

std::int32_t order() { return frame::settings().date_order; }
bool known_order(std::int32_t o) { return o >= kMonthDayYear && o <= kYearMonthDay; }

// The month of an upper-cased English abbreviation starting at p; 0 if none.
std::uint8_t month_of_letters(std::string_view s, std::size_t p) {
  auto at = [&](std::size_t i) { return i < s.size() ? s[i] : '\0'; };
  switch (at(p)) {
    case 'A': return at(p + 1) == 'P' ? 4 : 8;
    case 'D': return 12;
    case 'F': return 2;
    case 'J': return at(p + 1) == 'A' ? 1 : at(p + 2) == 'N' ? 6 : 7;
    case 'M': return at(p + 2) == 'R' ? 3 : 5;
    case 'N': return 11;
    case 'O': return 10;
    case 'S': return 9;
    default: return 0;
  }
}

void trim_blanks(std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) {
    s.clear();
    return;
  }
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, first);
}

// The medium and long forms: the month's name cut to name_max, then the day
// and the full year in the date order.
Text named_text(Date d, std::size_t name_max) {
  Text t;
  const std::int32_t o = order();
  if (!is_legal(d) || !known_order(o)) return t;
  const Fields f = fields(d);
  const std::string_view part = names().months[f.month].view().substr(0, name_max);
  switch (o) {
    case kMonthDayYear:
      t.add(part);
      t.add(' ');
      t.add_number(f.day);
      t.add(", ");
      t.add_number(f.year);
      break;
    case kDayMonthYear:
      t.add_number(f.day);
      t.add(' ');
      t.add(part);
      t.add(' ');
      t.add_number(f.year);
      break;
    default:
      t.add_number(f.year);
      t.add(' ');
      t.add(part);
      t.add(' ');
      t.add_number(f.day);
      break;
  }
  return t;
}

}  // namespace

void Text::add(std::string_view part) {
  const std::size_t n = std::min(part.size(), sizeof data - size);
  std::memcpy(data + size, part.data(), n);
  size += n;
}

void Text::add_number(unsigned value, unsigned width) {
  // The numbers of dates and times: one, two or four digits, written directly.
  if (size + 4 <= sizeof data) {
    char* p = data + size;
    if (value < 10 && width <= 1) {
      p[0] = static_cast<char>('0' + value);
      size += 1;
      return;
    }
    if (value < 100 && width <= 2) {
      p[0] = static_cast<char>('0' + value / 10);
      p[1] = static_cast<char>('0' + value % 10);
      size += 2;
      return;
    }
    if (value >= 1000 && value < 10000 && width <= 4) {
      p[0] = static_cast<char>('0' + value / 1000);
      p[1] = static_cast<char>('0' + value / 100 % 10);
      p[2] = static_cast<char>('0' + value / 10 % 10);
      p[3] = static_cast<char>('0' + value % 10);
      size += 4;
      return;
    }
  }
  char digits[10];
  unsigned n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n < width) digits[n++] = '0';
  while (n > 0) add(digits[--n]);
}

Text month_name(int month) {
  if (month < 1 || month > 12) return {};
  return names().months[month];
}

Text day_name(int weekday) {
  if (weekday < 0 || weekday > 6) return {};
  return names().days[weekday];
}

Text short_text(Date d, bool two_digits) {
  Text t;
  const std::int32_t o = order();
  if (!is_legal(d) || !known_order(o)) return t;
  const Fields f = fields(d);
  const unsigned width = two_digits ? 2 : 1;
  const char sep = frame::settings().date_separator;
  auto year = [&] { t.add_number(f.year % 100u, 2); };
  auto month = [&] { t.add_number(f.month, width); };
  auto day = [&] { t.add_number(f.day, width); };
  switch (o) {
    case kMonthDayYear:
      month(), t.add(sep), day(), t.add(sep), year();
      break;
    case kDayMonthYear:
      day(), t.add(sep), month(), t.add(sep), year();
      break;
    default:
      year(), t.add(sep), month(), t.add(sep), day();
      break;
  }
  return t;
}

Text medium_text(Date d) { return named_text(d, 3); }
Text long_text(Date d) { return named_text(d, kLongNameMax); }

std::uint16_t read_number(std::string_view text, std::size_t pos) {
  std::uint16_t value = 0;
  for (; pos < text.size() && is_digit(text[pos]); ++pos) {
    const unsigned digit = static_cast<unsigned>(text[pos] - '0');
    if (value > 6553 || (value == 6553 && digit > 5)) return 0xFFFF;
    value = static_cast<std::uint16_t>(value * 10 + digit);
  }
  return value;
}

void read_medium(std::string_view text, Date& d) {
  const std::int32_t o = order();
  if (!known_order(o)) {
    d = 0;
    return;
  }
  std::string copy(text.substr(0, kMediumTextMax));
  for (char& c : copy) c = platform::char_upper(c);

  std::size_t p = 0;
  if (o == kDayMonthYear) p = copy.size() > 1 && is_digit(copy[1]) ? 3 : 2;
  if (o == kYearMonthDay) p = 5;
  Fields f = fields(d);
  f.month = month_of_letters(copy, p);
  if (p <= copy.size()) copy.erase(p, 3);
  copy.erase(0, std::min(copy.find_first_not_of(' '), copy.size()));

  unsigned kept_day = 0;
  const std::uint16_t first = read_number(copy, 0);
  if (o == kYearMonthDay)
    f.year = first;
  else
    kept_day = first;
  if (kept_day < 32) {
    const std::uint16_t second = read_number(copy, skip_non_digits(copy, skip_digits(copy, 0)));
    if (o == kYearMonthDay)
      kept_day = second;
    else
      f.year = second;
  }
  f.day = static_cast<std::uint8_t>(kept_day < 32 ? kept_day : 0);
  d = pack(f);
}

Date read_short(std::string_view text, Date fallback) {
  const Date def = is_legal(fallback) ? fallback : 0;
  const std::int32_t o = order();
  if (!known_order(o)) return def;
  std::string w(text.substr(0, kTypedTextMax));
  trim_blanks(w);
  const Fields given = fields(def);

  if (w.empty()) return 0;
  if (w.size() <= 2) {
    const std::uint16_t day = read_number(w, 0);
    if (day < 1 || day > 31) return 0;
    Fields f = given;
    f.day = static_cast<std::uint8_t>(day);
    return pack(f);
  }
  // Three to five characters: complete with a leading zero; the year may be
  // left out ("105", "1231", "1/15", "10599", "12/15").
  bool year_missing = false;
  const bool digit_at_2 = is_digit(w[2]);
  switch (w.size()) {
    case 3:
      w.insert(0, 1, '0');
      year_missing = true;
      break;
    case 4:
      year_missing = true;
      if (!digit_at_2) w.insert(0, 1, '0');
      break;
    case 5:
      if (digit_at_2)
        w.insert(0, 1, '0');
      else
        year_missing = true;
      break;
    default:
      break;
  }
  if (year_missing && given.month == 0) return 0;

  // A blank after two characters cuts a first part typed without separator.
  w.insert(2, 1, ' ');
  unsigned first = read_number(w, 0);
  if (first > 2099) return 0;
  std::size_t pos = skip_non_digits(w, skip_digits(w, 0));
  if (pos >= w.size()) return 0;
  if (w.size() - pos >= 2) w.insert(pos + 2, 1, ' ');
  unsigned second = read_number(w, pos);
  if (second > 2099) return 0;

  unsigned third = 0;
  if (year_missing) {
    const unsigned year = given.year % 100u;
    if (o == kYearMonthDay) {
      third = second;
      second = first;
      first = year;
    } else {
      third = year;
    }
  } else {
    pos = skip_non_digits(w, skip_digits(w, pos));
    if (pos >= w.size()) return 0;
    third = read_number(w, pos);
    if (third > 2099) return 0;
  }

  unsigned day = second, month = first, year = third;
  if (o == kDayMonthYear) day = first, month = second;
  if (o == kYearMonthDay) year = first, month = second, day = third;
  // Two-digit years: 00-49 are 2000-2049, 50-99 are 1950-1999.
  if (year < 1900) year += year < 50 ? 2000 : 1900;
  return make(year, month & 0xFFu, day & 0xFFu);
}

Date today() {
  const platform::LocalTime t = platform::GetLocalTime();
  return make(static_cast<unsigned>(t.year), static_cast<unsigned>(t.month),
              static_cast<unsigned>(t.day));
}

}  // namespace corva::calendar
