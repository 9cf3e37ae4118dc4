// Dates: the packed value, legality, stepping, day numbers, ranges.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "corvalib/calendar.h"

namespace {

constexpr uint32_t D(unsigned y, unsigned m, unsigned d) { return (y << 16) | (m << 8) | d; }

TEST(Dates, Legality) {
  struct Case {
    uint32_t date;
    uint8_t legal;
  } const cases[] = {
      {0, 0},           {D(2003, 2, 29), 0}, {D(1999, 4, 31), 0}, {D(1900, 1, 1), 0},
      {D(2100, 1, 1), 0}, {D(1999, 13, 1), 0}, {D(1999, 1, 0), 0}, {D(1999, 1, 32), 0},
      {D(2000, 2, 29), 1}, {D(2004, 2, 29), 1}, {D(1901, 1, 1), 1}, {D(2099, 12, 31), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLegalDate(c.date), c.legal) << std::hex << c.date;
  uint32_t d = 1;
  MakeDate(2, 29, 2000, &d);
  EXPECT_EQ(d, 0x07D0021Du);
  MakeDate(0x1FF, 0x102, 0x07D0, &d);  // month and day keep their low 8 bits
  EXPECT_EQ(d, D(0x07D0, 0xFF, 2));
  EXPECT_EQ(MONTH(d), 0xFF);
  EXPECT_EQ(DAY(d), 2);
  EXPECT_EQ(YEAR(d), 0x07D0);
  ClearDate(&d);
  EXPECT_EQ(d, 0u);
  EXPECT_EQ(CompareDates(D(2000, 1, 2), D(2000, 1, 1)), 1);
  EXPECT_EQ(CompareDates(D(1999, 12, 31), D(2000, 1, 1)), -1);
  EXPECT_EQ(CompareDates(0x80000000u, 0), -1);  // signed comparison
  EXPECT_EQ(CompareDates(D(2000, 1, 1), D(2000, 1, 1)), 0);
}

TEST(Dates, Stepping) {
  struct Case {
    bool forward;
    uint16_t unit;
    uint32_t from, to;
  } const cases[] = {
      {true, 3, D(1999, 1, 31), D(1999, 2, 28)},   {true, 3, D(1999, 2, 28), D(1999, 3, 31)},
      {true, 3, D(1999, 1, 30), D(1999, 2, 28)},   {true, 3, D(1999, 4, 30), D(1999, 5, 31)},
      {true, 3, D(2099, 12, 15), D(2099, 12, 31)}, {true, 3, D(1999, 12, 31), D(2000, 1, 31)},
      {true, 3, D(2000, 1, 31), D(2000, 2, 29)},   {true, 3, D(1999, 12, 5), D(2000, 1, 5)},
      {true, 4, D(2000, 2, 29), D(2001, 2, 28)},   {true, 4, D(2003, 2, 28), D(2004, 2, 29)},
      {true, 4, D(2004, 2, 28), D(2005, 2, 28)},   {true, 4, D(2099, 6, 1), D(2099, 12, 31)},
      {true, 1, D(1999, 12, 31), D(2000, 1, 1)},   {true, 1, D(2099, 12, 31), D(2099, 12, 31)},
      {true, 1, D(2000, 2, 28), D(2000, 2, 29)},   {true, 1, D(1999, 2, 28), D(1999, 3, 1)},
      {true, 2, D(2099, 12, 28), D(2099, 12, 31)}, {true, 2, D(1999, 12, 29), D(2000, 1, 5)},
      {true, 5, D(1999, 1, 31), D(1999, 1, 31)},   {true, 0, D(1999, 1, 31), D(1999, 1, 31)},
      {false, 3, D(1999, 3, 31), D(1999, 2, 28)},  {false, 3, D(1999, 3, 30), D(1999, 2, 28)},
      {false, 3, D(1999, 2, 28), D(1999, 1, 31)},  {false, 3, D(2000, 2, 29), D(2000, 1, 31)},
      {false, 3, D(2000, 1, 15), D(1999, 12, 15)}, {false, 3, D(1901, 1, 15), D(1901, 1, 1)},
      {false, 4, D(2000, 2, 29), D(1999, 2, 28)},  {false, 4, D(2001, 2, 28), D(2000, 2, 29)},
      {false, 4, D(1901, 6, 1), D(1901, 1, 1)},    {false, 1, D(1901, 1, 1), D(1901, 1, 1)},
      {false, 1, D(2000, 1, 1), D(1999, 12, 31)},  {false, 1, D(2000, 3, 1), D(2000, 2, 29)},
      {false, 1, 0, D(1901, 1, 1)},                {false, 2, 0, D(1901, 1, 1)},
      {false, 2, D(1901, 1, 3), D(1901, 1, 1)},    {false, 7, D(1999, 1, 31), D(1999, 1, 31)},
      // Input is not checked apart from the clamps: garbage stays in bounds.
      {true, 1, D(2100, 12, 31), D(2099, 12, 31)}, {false, 3, D(1900, 2, 1), D(1901, 1, 1)},
  };
  for (const Case& c : cases) {
    uint32_t d = c.from;
    (c.forward ? IncDate : DecDate)(&d, c.unit);
    EXPECT_EQ(d, c.to) << (c.forward ? "inc " : "dec ") << c.unit << " of " << std::hex << c.from;
  }
  IncDate(nullptr, 1);
  DecDate(nullptr, 1);
}

TEST(Dates, MonthAndQuarterEnds) {
  uint32_t d = D(2000, 2, 3);
  EndOfMonth(&d);
  EXPECT_EQ(d, D(2000, 2, 29));
  struct Case {
    uint32_t from, to;
  } const quarters[] = {{D(1999, 2, 15), D(1999, 3, 31)},  {D(1999, 10, 1), D(1999, 12, 31)},
                        {D(1999, 6, 30), D(1999, 6, 30)},  {D(1999, 8, 2), D(1999, 9, 30)},
                        {D(2099, 11, 1), D(2099, 12, 31)}, {D(2000, 1, 1), D(2000, 3, 31)}};
  for (const Case& c : quarters) {
    d = c.from;
    EndOfQtr(&d);
    EXPECT_EQ(d, c.to) << std::hex << c.from;
  }
  const struct {
    int16_t quarter;
    uint32_t end;
  } set[] = {{1, D(1999, 3, 31)}, {2, D(1999, 6, 30)}, {3, D(1999, 9, 30)},
             {4, D(1999, 12, 31)}, {7, D(1999, 3, 31)}, {-2, D(1999, 3, 31)}};
  for (const auto& s : set) {
    vSetQtrEndingDate(s.quarter, 1999, &d);
    EXPECT_EQ(d, s.end) << s.quarter;
  }
}

TEST(Dates, DayNumbersAndWeekdays) {
  struct Case {
    uint32_t date;
    int32_t number;
  } const cases[] = {{D(1901, 1, 1), 1},       {D(2000, 1, 1), 36160}, {D(2000, 2, 29), 36219},
                     {D(2099, 12, 31), 72684}, {D(1904, 12, 31), 1461}, {D(1901, 12, 31), 365}};
  for (const Case& c : cases) {
    EXPECT_EQ(AbsDate(c.date), c.number) << std::hex << c.date;
    uint32_t d = 0;
    FileDate(c.number, &d);
    EXPECT_EQ(d, c.date) << c.number;
  }
  for (uint32_t bad : {0u, D(1999, 2, 29), D(1900, 12, 31), D(2100, 1, 1)}) EXPECT_EQ(AbsDate(bad), 0);
  for (int32_t n : {0, -1, INT32_MIN}) {
    uint32_t d = 0;
    FileDate(n, &d);
    EXPECT_EQ(d, D(1901, 1, 1)) << n;
  }
  uint32_t d = 0;
  FileDate(INT32_MAX, &d);  // no defined date, but no fault either
  EXPECT_EQ(DayOfWeek(1), 2);
  EXPECT_EQ(DayOfWeek(36160), 6);
  EXPECT_EQ(DayOfWeek(0), 1);
  EXPECT_EQ(DayOfWeek(-3), -2);
  EXPECT_EQ(DayOfWeek(INT32_MAX), 2);
}

// Every legal day: day number -> value -> day number, checked against the
// standard library's civil calendar and weekday.
TEST(Dates, EveryDayAgainstCivilCalendar) {
  using namespace std::chrono;
  const sys_days day0 = sys_days{1900y / December / 31};
  for (int32_t n = 1; n <= 72684; ++n) {
    const year_month_day ymd{day0 + days{n}};
    const uint32_t expect = D(static_cast<unsigned>(static_cast<int>(ymd.year())),
                              static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    uint32_t d = 0;
    FileDate(n, &d);
    ASSERT_EQ(d, expect) << n;
    ASSERT_EQ(IsLegalDate(d), 1) << n;
    ASSERT_EQ(AbsDate(d), n);
    ASSERT_EQ(DayOfWeek(n), static_cast<int32_t>(weekday{day0 + days{n}}.c_encoding())) << n;
    ASSERT_EQ(NumDaysInMonth(static_cast<int16_t>(MONTH(d))),
              static_cast<unsigned>((ymd.year() / ymd.month() / last).day()));
    if (n > 1) {
      uint32_t prev = d;
      DecDate(&prev, 1);
      uint32_t back = 0;
      FileDate(n - 1, &back);
      ASSERT_EQ(prev, back) << n;
    }
  }
}

TEST(Dates, Ranges) {
  const CvDateRange open_start{0, D(1999, 12, 31)};
  const CvDateRange both_empty{0, 0};
  const CvDateRange closed{D(1999, 1, 1), D(1999, 12, 31)};
  const CvDateRange open_end{D(1999, 1, 1), 0};
  struct Case {
    const CvDateRange* range;
    uint32_t date;
    int16_t plain, open;
  } const cases[] = {
      {&open_start, D(1901, 1, 1), 0, 0},   {&open_start, D(2000, 1, 1), 1, 1},
      {&both_empty, D(1999, 6, 1), 1, -1},  {&closed, D(1998, 12, 31), -1, -1},
      {&closed, D(1999, 1, 1), 0, 0},       {&closed, D(1999, 12, 31), 0, 0},
      {&closed, D(2000, 1, 1), 1, 1},       {&closed, D(1999, 2, 29), -1, -1},
      {&open_end, D(2099, 12, 31), 1, 0},   {&open_end, 0, -1, -1},
      {nullptr, D(1999, 6, 1), -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateInRange(c.range, c.date), c.plain) << std::hex << c.date;
    EXPECT_EQ(DateInRangeWithNullRange(c.range, c.date), c.open) << std::hex << c.date;
  }
}

TEST(Dates, MonthLengthTableFollowsTheLastYear) {
  IsLegalDate(D(2000, 5, 5));
  EXPECT_EQ(NumDaysInMonth(2), 29);
  IsLegalDate(D(1999, 5, 5));
  EXPECT_EQ(NumDaysInMonth(2), 28);
  IsLegalDate(D(2000, 13, 5));  // rejected before the leap-year step
  EXPECT_EQ(NumDaysInMonth(2), 28);
  EXPECT_EQ(NumDaysInMonthInYear(2, 1900), 28);
  EXPECT_EQ(NumDaysInMonthInYear(2, 2000), 29);
  EXPECT_EQ(NumDaysInMonth(2), 29);
  EXPECT_EQ(NumDaysInMonthInYear(4, 1999), 30);
  EXPECT_EQ(NumDaysInMonth(0), 0);
  EXPECT_EQ(NumDaysInMonth(13), 0);
  EXPECT_EQ(NumDaysInMonth(-1), 0);
}

}  // namespace
