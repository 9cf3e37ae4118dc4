#include "calendar/dates.h"


#include "frame/settings.h"

namespace corva::calendar {

std::uint8_t detail::month_lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

namespace {

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

// The steps that move a date one way, and the limit that stops it.
struct Direction {
  void (*day)(Date&);
  void (*month)(Fields&);
  void (*clamp)(Date&);
  int years;
};
constexpr Direction kForward{day_forward, month_forward, clamp_late, 1};
constexpr Direction kBack{day_back, month_back, clamp_early, -1};

void step(Date& d, unsigned unit, const Direction& way) {
  leap_step(fields(d).year);
  switch (unit) {
    case kDay:
      way.day(d);
      break;
    case kWeek:
      for (int i = 0; i < 7; ++i) way.day(d);
      break;
    case kMonth: {
      Fields f = fields(d);
      way.month(f);
      d = pack(f);
      way.clamp(d);
      break;
    }
    case kYear:
      year_step(d, way.years);
      way.clamp(d);
      break;
    default:
      break;
  }
}

}  // namespace

int compare(Date a, Date b) {
  if (later(a, b)) return 1;
  if (later(b, a)) return -1;
  return 0;
}

void increment(Date& d, unsigned unit) { step(d, unit, kForward); }

void decrement(Date& d, unsigned unit) { step(d, unit, kBack); }

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

// Numbers below 1 give the first day; numbers past the last give dates past
// 2099, by the same rule, which are not legal.
Date detail::from_day_number_outside(std::int32_t n) {
  if (n < 1) return make(1901, 1, 1);
  const std::int64_t k = (std::int64_t{4} * n) / 1461;
  const auto r = static_cast<std::int32_t>(n - (k * 365 + k / 4));
  if (r == 0) return make(static_cast<unsigned>(1900 + k), 12, 31);
  const auto year = static_cast<std::uint16_t>(1901 + k);
  leap_step(year);
  const std::int32_t leap_day = month_lengths[2] == 29 || r <= 59 ? r : r + 1;
  // A 366th day in a year of 365 days falls after December.
  if (leap_day > 366) return make(year, 13, static_cast<unsigned>(leap_day - 366));
  return Date{year} << 16 | kLeapYear.month_day[leap_day];
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
