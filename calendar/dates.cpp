#include "calendar/dates.h"

#include <array>

#include "frame/settings.h"

namespace corva::calendar {
namespace {

// Month lengths by month; February's entry is rewritten by leap_step.
std::uint8_t g_month_length[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of a common year before the first of each month.
constexpr std::int32_t kDaysBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// For the day of a leap year (1-366): its month. Built once at compile time so
// that turning a day number into a date is a lookup, not a walk over months.
constexpr std::array<std::uint8_t, 367> kMonthOfLeapDay = [] {
  constexpr std::uint8_t lengths[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::array<std::uint8_t, 367> t{};
  unsigned day = 1;
  for (std::uint8_t m = 1; m <= 12; ++m)
    for (unsigned i = 0; i < lengths[m]; ++i) t[day++] = m;
  return t;
}();
constexpr std::int32_t kLeapDaysBefore[13] = {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

Date earliest() { return frame::settings().earliest_date; }
Date latest() { return frame::settings().latest_date; }

bool later(Date a, Date b) { return static_cast<std::int32_t>(a) > static_cast<std::int32_t>(b); }

bool is_month_end(Fields f) { return f.day == month_length(f.month); }

// One month forward without the clamp: a month end stays a month end, and a
// day past the new month's length is cut to it.
void month_forward(Fields& f) {
  if (is_month_end(f)) f.day = month_length(f.month == 12 ? 1 : f.month + 1u);
  if (f.month == 12) {
    f.month = 1;
    ++f.year;
    leap_step(f.year);
  } else {
    ++f.month;
  }
  if (f.day > month_length(f.month)) f.day = month_length(f.month);
}

void month_back(Fields& f) {
  if (is_month_end(f)) f.day = month_length(f.month == 1 ? 12 : f.month - 1u);
  if (f.month == 1) {
    f.month = 12;
    --f.year;
    leap_step(f.year);
  } else {
    --f.month;
  }
  if (f.day > month_length(f.month)) f.day = month_length(f.month);
}

void clamp_late(Date& d) {
  if (later(d, latest())) d = latest();
}
void clamp_early(Date& d) {
  if (later(earliest(), d)) d = earliest();
}

void day_forward(Date& d) {
  Fields f = fields(d);
  if (is_month_end(f) && later(latest(), d)) {
    month_forward(f);
    f.day = 1;
  } else {
    ++f.day;
  }
  d = pack(f);
  clamp_late(d);
}

void day_back(Date& d) {
  Fields f = fields(d);
  if (f.day == 1 && later(d, earliest())) {
    month_back(f);
    f.day = month_length(f.month);
  } else {
    --f.day;
  }
  d = pack(f);
  clamp_early(d);
}

// Year steps keep the end of February on the end of February.
void year_step(Date& d, int by) {
  Fields f = fields(d);
  f.year = static_cast<std::uint16_t>(f.year + by);
  leap_step(f.year);
  if (f.month == 2 && (f.day == 28 || f.day == 29)) f.day = month_length(2);
  d = pack(f);
}

}  // namespace

void leap_step(std::uint16_t year) {
  const bool leap = year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
  g_month_length[2] = leap ? 29 : 28;
}

std::uint8_t month_length(unsigned month) { return month <= 12 ? g_month_length[month] : 0; }

bool is_legal(Date d) {
  const Fields f = fields(d);
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.year < 1901 || f.year > 2099)
    return false;
  leap_step(f.year);
  return f.day <= g_month_length[f.month];
}

int compare(Date a, Date b) {
  if (later(a, b)) return 1;
  if (later(b, a)) return -1;
  return 0;
}

void increment(Date& d, unsigned unit) {
  leap_step(fields(d).year);
  switch (unit) {
    case kDay:
      day_forward(d);
      break;
    case kWeek:
      for (int i = 0; i < 7; ++i) day_forward(d);
      break;
    case kMonth: {
      Fields f = fields(d);
      month_forward(f);
      d = pack(f);
      clamp_late(d);
      break;
    }
    case kYear:
      year_step(d, 1);
      clamp_late(d);
      break;
    default:
      break;
  }
}

void decrement(Date& d, unsigned unit) {
  leap_step(fields(d).year);
  switch (unit) {
    case kDay:
      day_back(d);
      break;
    case kWeek:
      for (int i = 0; i < 7; ++i) day_back(d);
      break;
    case kMonth: {
      Fields f = fields(d);
      month_back(f);
      d = pack(f);
      clamp_early(d);
      break;
    }
    case kYear:
      year_step(d, -1);
      clamp_early(d);
      break;
    default:
      break;
  }
}

void end_of_month(Date& d) {
  Fields f = fields(d);
  leap_step(f.year);
  f.day = month_length(f.month);
  d = pack(f);
}

void end_of_quarter(Date& d) {
  end_of_month(d);
  // At most two steps: the month is a month end, and each step keeps it there.
  while (fields(d).month % 3 != 0) increment(d, kMonth);
}

Date quarter_end(std::int16_t quarter, std::uint16_t year) {
  const unsigned first_month = quarter == 2 ? 4 : quarter == 3 ? 7 : quarter == 4 ? 10 : 1;
  Date d = make(year, first_month, 1);
  end_of_quarter(d);
  return d;
}

std::int32_t day_number(Date d) {
  if (!is_legal(d)) return 0;
  const Fields f = fields(d);
  const std::int32_t k = f.year - 1901;
  std::int32_t n = k * 365 + k / 4 + kDaysBefore[f.month] + f.day;
  // Within 1901-2099 every fourth year is a leap year.
  if (f.month > 2 && f.year % 4 == 0) ++n;
  return n;
}

Date from_day_number(std::int32_t n) {
  if (n < 1) return make(1901, 1, 1);
  const std::int64_t k = (std::int64_t{4} * n) / 1461;
  const auto r = static_cast<std::int32_t>(n - (k * 365 + k / 4));
  if (r == 0) return make(static_cast<unsigned>(1900 + k), 12, 31);
  const auto year = static_cast<std::uint16_t>(1901 + k);
  leap_step(year);
  // The day of the year on a leap year's calendar.
  const std::int32_t leap_day = g_month_length[2] == 29 || r <= 59 ? r : r + 1;
  if (leap_day > 366) return make(year, 13, static_cast<unsigned>(leap_day - 366));
  const unsigned month = kMonthOfLeapDay[static_cast<std::size_t>(leap_day)];
  return make(year, month, static_cast<unsigned>(leap_day - kLeapDaysBefore[month]));
}

std::int32_t weekday(std::int32_t n) {
  return static_cast<std::int32_t>((std::int64_t{n} + 1) % 7);
}

int in_range(Date start, Date end, Date d, bool open_bounds) {
  if (!is_legal(d)) return -1;
  if (open_bounds) {
    if (start == 0 && end == 0) return -1;
    if (start != 0 && later(start, d)) return -1;
    if (end != 0 && later(d, end)) return 1;
    return 0;
  }
  if (later(start, d)) return -1;
  if (later(d, end)) return 1;
  return 0;
}

}  // namespace corva::calendar
