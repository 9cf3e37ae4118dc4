// The date value and its arithmetic.
//
// A date is 32 bits: day in bits 0-7, month in bits 8-15, the full year in
// bits 16-31; 0 is the empty date. Legal dates run from 1 January 1901 to
// 31 December 2099, and day number 1 is 1 January 1901.
//
// One month-length table serves the whole process. Its February entry is
// state: every operation that looks at a year first writes 28 or 29 into it
// for that year (the leap-year step), and NumDaysInMonth reports the value the
// last operation left there. Callers use these from one thread at a time.
#pragma once
#include <cstdint>

namespace corva::calendar {

using Date = std::uint32_t;

// The fields of a date as the operations that change a date in place see
// them: the day and month are bytes, the year a 16-bit word, so a step past
// their range wraps within the field.
struct Fields {
  std::uint8_t day;
  std::uint8_t month;
  std::uint16_t year;
};

constexpr Fields fields(Date d) {
  return {static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(d >> 8),
          static_cast<std::uint16_t>(d >> 16)};
}
constexpr Date pack(Fields f) {
  return (Date{f.year} << 16) | (Date{f.month} << 8) | Date{f.day};
}
constexpr Date make(unsigned year, unsigned month, unsigned day) {
  return pack({static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month),
               static_cast<std::uint16_t>(year)});
}

constexpr std::int32_t kLastDayNumber = 72684;  // 31 December 2099

// Stepping units of IncDate and DecDate.
enum Unit : unsigned { kDay = 1, kWeek = 2, kMonth = 3, kYear = 4 };

namespace detail {
// Month lengths by month; February's entry is rewritten by leap_step.
extern std::uint8_t month_lengths[13];
// Days of a common year before the first of each month.
inline constexpr std::int32_t kDaysBefore[13] = {0,   0,   31,  59,  90,  120, 151,
                                                 181, 212, 243, 273, 304, 334};
// For each day of a leap year (1-366), its month and day as the low half of a
// date value; 0 past the end. Turning a day number into a date is a lookup,
// not a walk over the months.
struct LeapYearDays {
  std::uint16_t month_day[368];
};
inline constexpr LeapYearDays kLeapYear = [] {
  constexpr std::uint8_t lengths[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  LeapYearDays t{};
  unsigned n = 1;
  for (unsigned m = 1; m <= 12; ++m)
    for (unsigned d = 1; d <= lengths[m]; ++d) t.month_day[n++] = static_cast<std::uint16_t>(m << 8 | d);
  return t;
}();
// The rare paths of from_day_number, kept out of line.
Date from_day_number_outside(std::int32_t n);
}  // namespace detail

// Writes February's length for the year into the shared table.
inline void leap_step(std::uint16_t year) {
  const bool leap = year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
  detail::month_lengths[2] = leap ? 29 : 28;
}
// The month's current entry of the shared table; months past 12 have length 0.
inline std::uint8_t month_length(unsigned month) {
  return month <= 12 ? detail::month_lengths[month] : 0;
}

// Within 1901-2099 a year is a leap year exactly when divisible by 4; the
// leap-year step then needs no other test.
inline bool is_legal(Date d) {
  const unsigned day = d & 0xFF, month = (d >> 8) & 0xFF, year = d >> 16;
  if (month - 1 >= 12 || day - 1 >= 31 || year - 1901 >= 199) return false;
  detail::month_lengths[2] = year % 4 == 0 ? 29 : 28;
  return day <= detail::month_lengths[month];
}

// Signed 32-bit order of two date values: 1, 0 or -1.
int compare(Date a, Date b);

void increment(Date& d, unsigned unit);
void decrement(Date& d, unsigned unit);
void end_of_month(Date& d);
void end_of_quarter(Date& d);
Date quarter_end(std::int16_t quarter, std::uint16_t year);

// Day number of a legal date, 0 for any other value.
inline std::int32_t day_number(Date d) {
  if (!is_legal(d)) return 0;
  const unsigned day = d & 0xFF, month = (d >> 8) & 0xFF, year = d >> 16;
  const std::int32_t k = static_cast<std::int32_t>(year) - 1901;
  return k * 365 + k / 4 + detail::kDaysBefore[month] + static_cast<std::int32_t>(day) +
         (month > 2 && year % 4 == 0 ? 1 : 0);
}

// The date of a day number; 1 January 1901 for numbers below 1.
inline Date from_day_number(std::int32_t n) {
  if (n < 1 || n > kLastDayNumber) return detail::from_day_number_outside(n);
  const auto u = static_cast<std::uint32_t>(n);
  const std::uint32_t k = 4 * u / 1461;
  const std::uint32_t r = u - (k * 365 + k / 4);
  if (r == 0) return make(1900 + k, 12, 31);
  const std::uint32_t year = 1901 + k;
  const bool leap = year % 4 == 0;
  detail::month_lengths[2] = leap ? 29 : 28;
  // The day of the year on a leap year's calendar.
  const std::uint32_t leap_day = leap || r <= 59 ? r : r + 1;
  return year << 16 | detail::kLeapYear.month_day[leap_day];
}

std::int32_t weekday(std::int32_t day_number);

// -1 before the range (or not legal), 1 after it, 0 inside; with open_bounds
// an empty bound does not limit, and two empty bounds give -1.
int in_range(Date start, Date end, Date d, bool open_bounds);

}  // namespace corva::calendar
