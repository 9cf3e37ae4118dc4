// Dates as text: the short ('1/5/99'), medium ('Jan 5, 1999') and long
// ('January 5, 1999') forms in the date order and with the date separator of
// the regional settings, the readers of typed dates, and the clock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/dates.h"

namespace corva::calendar {

// Date orders of the regional settings.
enum Order : std::int32_t { kMonthDayYear = 0, kDayMonthYear = 1, kYearMonthDay = 2 };

// A short text built in place (no heap): every date text fits.
struct Text {
  char data[48];
  std::size_t size = 0;
  std::string_view view() const { return {data, size}; }
  void add(std::string_view part);
  void add(char c) {
    if (size < sizeof data) data[size++] = c;
  }
  // Decimal digits, at least `width` of them.
  void add_number(unsigned value, unsigned width = 1);
};

// The month's (1-12) or weekday's (0-6, Sunday first) name from the library's
// string table; empty for other numbers.
Text month_name(int month);
Text day_name(int weekday);

// The texts of a date; empty when the date is not legal or the order unknown.
Text short_text(Date d, bool two_digits);
Text medium_text(Date d);
Text long_text(Date d);

// The digit reader shared by the date readers: the decimal number at pos,
// 65535 once it would pass that, 0 when no digit stands at pos.
std::uint16_t read_number(std::string_view text, std::size_t pos);

// Reads a medium-form text into d, field by field (a field the text does not
// reach keeps its value).
void read_medium(std::string_view text, Date& d);
// Reads a typed short-form text; what it leaves out comes from fallback.
Date read_short(std::string_view text, Date fallback);

// Today from the local clock.
Date today();

}  // namespace corva::calendar
