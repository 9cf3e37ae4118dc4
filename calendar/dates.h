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

// Writes February's length for the year into the shared table.
void leap_step(std::uint16_t year);
// The month's current entry of the shared table; months past 12 have length 0.
std::uint8_t month_length(unsigned month);

bool is_legal(Date d);
// Signed 32-bit order of two date values: 1, 0 or -1.
int compare(Date a, Date b);

void increment(Date& d, unsigned unit);
void decrement(Date& d, unsigned unit);
void end_of_month(Date& d);
void end_of_quarter(Date& d);
Date quarter_end(std::int16_t quarter, std::uint16_t year);

// Day number of a legal date, 0 for any other value.
std::int32_t day_number(Date d);
// The date of a day number; 1 January 1901 for numbers below 1.
Date from_day_number(std::int32_t n);
std::int32_t weekday(std::int32_t day_number);

// -1 before the range (or not legal), 1 after it, 0 inside; with open_bounds
// an empty bound does not limit, and two empty bounds give -1.
int in_range(Date start, Date end, Date d, bool open_bounds);

}  // namespace corva::calendar
