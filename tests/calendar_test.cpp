// Dates, date texts and the clock, times of day and durations.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "corvalib/calendar.h"
#include "corvaplat/clock.h"
#include "frame/settings.h"

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
      // Legal dates with units 1-4 are checked day by day against the civil
      // calendar below; these are the inputs that check cannot reach.
      {false, 1, 0, D(1901, 1, 1)},               {false, 2, 0, D(1901, 1, 1)},
      {true, 5, D(1999, 1, 31), D(1999, 1, 31)},  {true, 0, D(1999, 1, 31), D(1999, 1, 31)},
      {false, 7, D(1999, 1, 31), D(1999, 1, 31)},
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

// Out-of-range day numbers and dates; the legal ones are checked day by day below.
TEST(Dates, DayNumbersOutOfRange) {
  for (uint32_t bad : {0u, D(1999, 2, 29), D(1900, 12, 31), D(2100, 1, 1)}) EXPECT_EQ(AbsDate(bad), 0);
  for (int32_t n : {0, -1, INT32_MIN}) {
    uint32_t d = 0;
    FileDate(n, &d);
    EXPECT_EQ(d, D(1901, 1, 1)) << n;
  }
  uint32_t d = 0;
  FileDate(INT32_MAX, &d);  // no defined date, but no fault either
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
  }
}

// Every legal day stepped by each unit both ways, against a reference built on
// the standard library's calendar: month ends stay month ends, other days are
// cut to the new month's length, the end of February stays there from year to
// year, and results are clamped to 1901-2099.
TEST(Dates, EveryDayStepsLikeTheCivilCalendar) {
  using namespace std::chrono;
  const sys_days day0 = sys_days{1900y / December / 31};
  const sys_days first = day0 + days{1}, last = day0 + days{72684};
  auto value = [](year_month_day ymd) {
    return D(static_cast<unsigned>(static_cast<int>(ymd.year())), static_cast<unsigned>(ymd.month()),
             static_cast<unsigned>(ymd.day()));
  };
  auto clamp = [&](sys_days s) { return s < first ? first : s > last ? last : s; };
  auto by_months = [&](year_month_day ymd, int n) {
    const year_month target = ymd.year() / ymd.month() + months{n};
    const day end = (target / std::chrono::last).day();
    const bool month_end = ymd.day() == (ymd.year() / ymd.month() / std::chrono::last).day();
    return clamp(sys_days{target / (month_end || ymd.day() > end ? end : ymd.day())});
  };
  auto by_years = [&](year_month_day ymd, int n) {
    const year y = ymd.year() + years{n};
    if (ymd.month() == February && ymd.day() >= day{28}) return clamp(sys_days{y / February / std::chrono::last});
    return clamp(sys_days{y / ymd.month() / ymd.day()});
  };
  for (int32_t n = 1; n <= 72684; ++n) {
    const sys_days s = day0 + days{n};
    const year_month_day ymd{s};
    const sys_days expect[2][4] = {
        {clamp(s + days{1}), clamp(s + days{7}), by_months(ymd, 1), by_years(ymd, 1)},
        {clamp(s - days{1}), clamp(s - days{7}), by_months(ymd, -1), by_years(ymd, -1)}};
    for (int back = 0; back < 2; ++back)
      for (uint16_t unit = 1; unit <= 4; ++unit) {
        uint32_t d = value(ymd);
        (back ? DecDate : IncDate)(&d, unit);
        ASSERT_EQ(d, value(year_month_day{expect[back][unit - 1]}))
            << (back ? "dec " : "inc ") << unit << " from day " << n;
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

// ---- Date texts and the clock ---------------------------------------------
namespace {

struct DateTexts : ::testing::Test {
  corva::frame::Settings saved = corva::frame::settings();
  void TearDown() override { corva::frame::settings() = saved; }
  static void use(int32_t order, char separator = '/') {
    corva::frame::settings().date_order = order;
    corva::frame::settings().date_separator = separator;
  }
};

using Writer = void (*)(uint32_t, uint16_t, char*);

// The writer's text in an array of high + 1 bytes, and whether the bytes after
// it are NUL up to the end and the guard byte past the end is untouched.
std::string written(Writer w, uint32_t date, uint16_t high = 40, bool* clean = nullptr) {
  char buf[64];
  std::memset(buf, 'Z', sizeof buf);
  w(date, high, buf);
  std::size_t n = 0;
  while (n <= high && buf[n] != 0) ++n;
  if (clean != nullptr) {
    *clean = buf[high + 1] == 'Z';
    for (std::size_t i = n; i <= high; ++i) *clean = *clean && buf[i] == 0;
  }
  return std::string(buf, n);
}

TEST_F(DateTexts, WritersInEveryOrder) {
  struct Case {
    int32_t order;
    char sep;
    uint32_t date;
    const char *shortest, *two_digit, *medium, *long_form;
  } const cases[] = {
      {0, '/', D(1999, 1, 5), "1/5/99", "01/05/99", "Jan 5, 1999", "January 5, 1999"},
      {1, '/', D(1999, 1, 5), "5/1/99", "05/01/99", "5 Jan 1999", "5 January 1999"},
      {2, '/', D(1999, 1, 5), "99/1/5", "99/01/05", "1999 Jan 5", "1999 January 5"},
      {0, '/', D(2000, 1, 1), "1/1/00", "01/01/00", "Jan 1, 2000", "January 1, 2000"},
      {0, '-', D(2005, 12, 31), "12-31-05", "12-31-05", "Dec 31, 2005", "December 31, 2005"},
      {1, '.', D(2099, 9, 30), "30.9.99", "30.09.99", "30 Sep 2099", "30 September 2099"},
      {0, '/', D(2099, 9, 30), "9/30/99", "09/30/99", "Sep 30, 2099", "September 30, 2099"},
      {0, '/', 0, "", "", "", ""},
      {0, '/', D(1999, 2, 29), "", "", "", ""},
      {3, '/', D(1999, 1, 5), "", "", "", ""},
      {-1, '/', D(1999, 1, 5), "", "", "", ""},
  };
  for (const Case& c : cases) {
    use(c.order, c.sep);
    EXPECT_EQ(written(DateToShortStr, c.date), c.shortest) << c.order << " " << std::hex << c.date;
    EXPECT_EQ(written(DateToShortStr2, c.date), c.two_digit) << c.order;
    EXPECT_EQ(written(DateToMedStr, c.date), c.medium) << c.order;
    EXPECT_EQ(written(DateToLongStr, c.date), c.long_form) << c.order;
  }
}

TEST_F(DateTexts, WritersCutAtHigh) {
  use(0);
  struct Case {
    Writer writer;
    uint16_t high;
    const char* expect;  // the array's contents up to high + 1 characters
  } const cases[] = {
      {DateToMedStr, 5, "Dec 3"},          {DateToMedStr, 12, "Dec 31, 1999"},
      {DateToMedStr, 11, "Dec 31, 199"},   {DateToMedStr, 0, ""},
      {DateToLongStr, 5, "Decemb"},        {DateToLongStr, 0, "D"},
      {DateToShortStr, 7, "12/31/99"},     {DateToShortStr, 3, "12/3"},
      {DateToShortStr2, 7, "12/31/99"},    {DateToShortStr2, 0, "1"},
  };
  for (const Case& c : cases) {
    bool clean = false;
    EXPECT_EQ(written(c.writer, D(1999, 12, 31), c.high, &clean), c.expect) << c.high;
    EXPECT_TRUE(clean) << c.expect;
  }
  DateToLongStr(D(1999, 12, 31), 10, nullptr);
}

TEST_F(DateTexts, MonthAndDayNames) {
  const struct {
    void (*get)(int16_t, uint16_t, char*);
    int16_t number;
    uint16_t high;
    const char* name;
  } cases[] = {{GetMonthName, 9, 31, "September"}, {GetMonthName, 12, 3, "Dec"},
               {GetMonthName, 0, 31, ""},          {GetMonthName, 13, 31, ""},
               {GetMonthName, 100, 31, ""},        {GetMonthName, -1, 31, ""},
               {GetDayName, 0, 31, "Sunday"},      {GetDayName, 6, 31, "Saturday"},
               {GetDayName, 7, 31, ""},            {GetDayName, -1, 31, ""}};
  for (const auto& c : cases) {
    char buf[32] = "x";
    c.get(c.number, c.high, buf);
    EXPECT_STREQ(buf, c.name) << c.number;
  }
}

TEST_F(DateTexts, ReadingTheMediumForm) {
  struct Case {
    int32_t order;
    const char* text;
    uint32_t expect;
  } const cases[] = {
      // Every legal date in its own form is read back day by day below.
      {0, "jan 5, 1999", D(1999, 1, 5)},   {0, "SEP 30, 2099", D(2099, 9, 30)},
      {0, "Jul 4, 1976", D(1976, 7, 4)},   {0, "Jan 5, 99", D(99, 1, 5)},
      {0, "January 5, 1999", D(5, 1, 0)},  {0, "Xyz 5, 1999", D(1999, 0, 5)},
      {0, "Jan 40, 1999", D(0x1234, 1, 0)},  // the year is not reached
      {0, "", 0},                          {1, "05 Jan 1999", D(1999, 1, 5)},
      {1, "31 dec 2099", D(2099, 12, 31)}, {3, "Jan 5, 1999", 0},
      {0, "Feb 5, 1999 and a long tail 2000 6", D(1999, 2, 5)},  // read to 19 characters
  };
  for (const Case& c : cases) {
    use(c.order);
    uint32_t d = D(0x1234, 0x56, 0x78);  // what the text leaves unread stays
    MedStrToDate(static_cast<uint16_t>(std::strlen(c.text)), c.text, &d);
    EXPECT_EQ(d, c.expect) << c.order << " '" << c.text << "' got " << std::hex << d;
  }
  uint32_t d = 7;
  MedStrToDate(10, nullptr, &d);  // a null text reads as empty
  EXPECT_EQ(d, 0u);
  MedStrToDate(3, "Jan", nullptr);
}

TEST_F(DateTexts, ReadingTypedDates) {
  const uint32_t june = D(1999, 6, 15);
  struct Case {
    int32_t order;
    const char* text;
    uint32_t fallback, expect;
  } const cases[] = {
      {0, "", june, 0},                       {0, "   ", june, 0},
      {0, "5", june, D(1999, 6, 5)},          {0, " 5 ", june, D(1999, 6, 5)},
      {0, "32", june, 0},                     {0, "0", june, 0},
      {0, "105", june, D(1999, 1, 5)},        {0, "1231", june, D(1999, 12, 31)},
      {0, "1/15", june, D(1999, 1, 15)},      {0, "12/5", june, D(1999, 1, 2)},
      {0, "12/15", june, D(1999, 12, 15)},    {0, "10599", june, D(1999, 1, 5)},
      {0, "123199", june, D(1999, 12, 31)},   {0, "1/5/99", june, D(1999, 1, 5)},
      {0, "1-5-2000", june, D(2000, 1, 5)},   {0, "01051999", june, D(1999, 1, 5)},
      {0, "12/31/49", june, D(2049, 12, 31)}, {0, "12/31/50", june, D(1950, 12, 31)},
      {0, "1/5/149", june, D(2049, 1, 5)},    {0, "12/31/", june, 0},
      {0, "1/5/2100", june, 0},               {0, "13/5/99", june, D(1999, 13, 5)},
      {0, "2/30/99", june, D(1999, 2, 30)},   {0, "13-01-2000", june, D(2000, 13, 1)},
      {0, "1/1/1", june, D(2001, 1, 1)},      {0, "abc", june, 0},
      {0, "ab/cd/ef", june, 0},               {0, "30001/1", june, D(2001, 30, 0)},
      {0, "99999999", june, 0},
      {0, "1/5/99                        junk", june, D(1999, 1, 5)},
      {1, "13/5/99", june, D(1999, 5, 13)},   {1, "105", june, D(1999, 5, 1)},
      {2, "99/1/5", june, D(1999, 1, 5)},     {2, "990105", june, D(1999, 1, 5)},
      {2, "1/5", june, D(1999, 1, 5)},        {2, "1999/1/5", june, D(2019, 99, 1)},
      {0, "5", 0, D(0, 0, 5)},                {0, "3/4", 0, 0},
      {0, "3/4/99", 0, D(1999, 3, 4)},        {0, "3/4", D(2063, 1, 1), D(1963, 3, 4)},
      {0, "3/4", D(1999, 2, 29), 0},  // an illegal default counts as empty
      {3, "1/5/99", june, june},              {7, "", june, june},
  };
  for (const Case& c : cases) {
    use(c.order);
    uint32_t d = 0xDEAD;
    ShortStrToDate(static_cast<uint16_t>(std::strlen(c.text)), c.text, &d, c.fallback);
    EXPECT_EQ(d, c.expect) << c.order << " '" << c.text << "' got " << std::hex << d;
  }
  use(0);
  uint32_t d = 1;
  ShortStrToDate(5, nullptr, &d, june);
  EXPECT_EQ(d, 0u);
  ShortStrToDate(4, "1/5/99", &d, june);  // only the text within HIGH is read
  EXPECT_EQ(d, D(2009, 1, 5));
  ShortStrToDate(0, "1/5/99", &d, june);
  EXPECT_EQ(d, D(1999, 6, 1));
}

// Every legal day through its texts and back, in every date order: the
// medium form gives the date back, the short form gives it back within the
// two-digit window and otherwise a century apart.
TEST_F(DateTexts, EveryDayThroughItsTexts) {
  for (int32_t order = 0; order <= 2; ++order) {
    use(order, order == 1 ? '.' : '/');
    for (int32_t n = 1; n <= 72684; ++n) {
      uint32_t d = 0;
      FileDate(n, &d);
      char text[20];
      DateToMedStr(d, 19, text);
      uint32_t back = 0;
      MedStrToDate(19, text, &back);
      ASSERT_EQ(back, d) << order << " " << text;
      for (Writer w : {DateToShortStr, DateToShortStr2}) {
        w(d, 19, text);
        ShortStrToDate(19, text, &back, D(1999, 6, 15));
        const unsigned y = YEAR(d);
        const unsigned expect_year = y % 100 < 50 ? 2000 + y % 100 : 1900 + y % 100;
        ASSERT_EQ(back, (d & 0xFFFF) | (expect_year << 16)) << order << " " << text;
      }
    }
  }
}

TEST_F(DateTexts, Clock) {
  using namespace std::chrono;
  corva::platform::ManualClock clock(sys_days{2026y / March / 4} + 13h + 45min + 30s + 257ms,
                                     seconds{3600});
  corva::platform::set_clock(&clock);
  use(0);
  uint32_t d = 0;
  GetCurrentDate(&d);
  EXPECT_EQ(d, D(2026, 3, 4));
  char buf[16];
  GetDate(15, buf);
  EXPECT_STREQ(buf, "3/4/26");
  EXPECT_EQ(GetDosTime(), 14 * 16777216 + 45 * 65536 + 30 * 256 + 25);
  std::memset(buf, 'Z', sizeof buf);
  GetTime(11, buf);
  EXPECT_STREQ(buf, "14:45:30.25");
  std::memset(buf, 'Z', sizeof buf);
  GetTime(10, buf);
  EXPECT_EQ(std::string(buf, 12), "14:45:30.25Z");  // no NUL, nothing past HIGH
  clock.set(sys_days{2026y / December / 31} + 23h + 30min + 999ms);
  GetCurrentDate(&d);  // the local date is already the next year's
  EXPECT_EQ(d, D(2027, 1, 1));
  GetTime(15, buf);
  EXPECT_STREQ(buf, "00:30:00.99");
  GetCurrentDate(nullptr);
  GetTime(5, nullptr);
  corva::platform::set_clock(nullptr);
}

}  // namespace

// ---- Times of day and durations --------------------------------------------

namespace {

std::string show(const CvDuration& d) {
  char buf[24];
  bDurationToString(&d, buf, 1);
  return buf;
}
std::string show(const CvTime& t) {
  char buf[24];
  bTimeToString(&t, buf, 1, 1);
  return buf;
}

TEST(TimesAndDurations, Validity) {
  const struct {
    CvTime t;
    int32_t valid;
  } times[] = {{{0, 0, 0, 0}, 0},  {{13, 0, 0, 0}, 0},  {{12, 0, 0, 0}, 1},  {{12, 0, 0, 1}, 1},
               {{5, 0, 0, 2}, 0},  {{5, 60, 0, 0}, 0},  {{5, 0, 60, 0}, 0},  {{5, -1, 0, 0}, 0},
               {{1, 59, 59, 1}, 1}, {{5, 0, -1, 0}, 0}, {{5, 0, 0, -1}, 0}};
  for (const auto& c : times) EXPECT_EQ(bIsValidTime(&c.t), c.valid) << show(c.t);
  const struct {
    CvDuration d;
    int32_t valid;
  } durations[] = {{{0, 0, 0}, 1},  {{23, 59, 59}, 1}, {{24, 0, 0}, 0},
                   {{-1, 0, 0}, 0}, {{0, 60, 0}, 0},   {{0, 0, 60}, 0}};
  for (const auto& c : durations) EXPECT_EQ(bIsValidDuration(&c.d), c.valid) << show(c.d);
  EXPECT_EQ(bIsValidTime(nullptr), 0);
  EXPECT_EQ(bIsValidDuration(nullptr), 0);
}

TEST(TimesAndDurations, Arithmetic) {
  const struct {
    CvTime a, b;
    const char* diff;
  } diffs[] = {{{1, 0, 0, 0}, {11, 0, 0, 1}, "2:00:00"},    {{12, 30, 0, 0}, {12, 0, 0, 1}, "12:30:00"},
               {{9, 15, 10, 0}, {8, 20, 40, 0}, "0:54:30"}, {{12, 0, 0, 1}, {12, 0, 0, 0}, "12:00:00"},
               {{5, 0, 0, 1}, {5, 0, 0, 1}, "0:00:00"},     {{12, 0, 0, 0}, {12, 0, 1, 0}, "23:59:59"}};
  for (const auto& c : diffs) {
    CvDuration d{7, 7, 7};
    vTimeDiff(&c.a, &c.b, &d);
    EXPECT_EQ(show(d), c.diff) << show(c.a) << " - " << show(c.b);
  }
  const struct {
    CvDuration a, b;
    const char *sum, *diff;
  } pairs[] = {{{23, 30, 0}, {1, 45, 0}, "1:15:00", "21:45:00"},
               {{0, 59, 59}, {0, 0, 1}, "1:00:00", "0:59:58"},
               {{1, 0, 0}, {2, 30, 0}, "3:30:00", "-2:30:00"},
               {{0, 0, 0}, {0, 0, 1}, "0:00:01", "-1:59:59"},
               {{23, 59, 59}, {23, 59, 59}, "23:59:58", "0:00:00"}};
  for (const auto& c : pairs) {
    CvDuration r{};
    vDurationSum(&c.a, &c.b, &r);
    EXPECT_EQ(show(r), c.sum) << show(c.a) << " + " << show(c.b);
    vDurationDiff(&c.a, &c.b, &r);
    EXPECT_EQ(show(r), c.diff) << show(c.a) << " - " << show(c.b);
  }
  CvDuration a{1, 50, 30};  // the result may be one of the operands
  vDurationSum(&a, &a, &a);
  EXPECT_EQ(show(a), "3:41:00");
  vDurationSum(&a, nullptr, &a);
  vTimeDiff(nullptr, nullptr, &a);
  EXPECT_EQ(show(a), "3:41:00");
}

TEST(TimesAndDurations, DecimalHours) {
  const struct {
    CvDuration d;
    float units;
  } to_units[] = {{{1, 30, 0}, 1.5f},  {{0, 20, 0}, 0.33f}, {{0, 40, 0}, 0.67f}, {{7, 59, 0}, 7.98f},
                  {{2, 1, 0}, 2.02f},  {{0, 1, 0}, 0.02f},  {{0, 0, 59}, 0.0f},  {{23, 59, 59}, 23.98f},
                  {{0, 0, 0}, 0.0f}};
  for (const auto& c : to_units) EXPECT_FLOAT_EQ(fHoursToUnits(&c.d), c.units) << show(c.d);
  EXPECT_EQ(fHoursToUnits(nullptr), 0.0f);
  const struct {
    float units;
    const char* d;
  } to_hours[] = {{1.5f, "1:30:00"}, {0.33f, "0:20:00"},     {2.02f, "2:01:00"}, {1.999f, "1:60:00"},
                  {0.0f, "0:00:00"}, {23.98f, "23:59:00"},   {1e9f, "0:00:00"},  {-1e9f, "0:00:00"},
                  {std::nanf(""), "0:00:00"}};
  for (const auto& c : to_hours) {
    CvDuration d{9, 9, 9};
    vUnitsToHours(c.units, &d);
    EXPECT_EQ(show(d), c.d) << c.units;
  }
  // Every legal hour and minute survives the trip to units and back.
  for (int16_t h = 0; h < 24; ++h)
    for (int16_t m = 0; m < 60; ++m) {
      const CvDuration d{h, m, 0};
      CvDuration back{};
      vUnitsToHours(fHoursToUnits(&d), &back);
      ASSERT_EQ(show(back), show(d));
    }
}

TEST(TimesAndDurations, Texts) {
  const CvTime t{5, 7, 9, 1};
  const CvDuration d{1, 5, 9};
  char buf[24];
  const struct {
    int32_t seconds, half;
    const char* text;
  } forms[] = {{1, 1, "5:07:09 PM"}, {1, 0, "5:07:09"}, {0, 1, "5:07 PM"}, {0, 0, "5:07"}, {7, -1, "5:07:09 PM"}};
  for (const auto& f : forms) {
    EXPECT_EQ(bTimeToString(&t, buf, f.seconds, f.half), 1);
    EXPECT_STREQ(buf, f.text);
  }
  const CvTime longest{12, 59, 59, 0};
  bTimeToString(&longest, buf, 1, 1);
  EXPECT_STREQ(buf, "12:59:59 AM");
  EXPECT_EQ(bDurationToString(&d, buf, 1), 1);
  EXPECT_STREQ(buf, "1:05:09");
  bDurationToString(&d, buf, 0);
  EXPECT_STREQ(buf, "1:05");
  const CvDuration extreme{-32768, -32768, -32768};
  bDurationToString(&extreme, buf, 1);
  EXPECT_STREQ(buf, "-32768:-32768:-32768");
  bDurationToString(nullptr, buf, 1);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(bTimeToString(&t, nullptr, 1, 1), 1);
}

TEST(TimesAndDurations, Reading) {
  const struct {
    const char* text;
    int32_t read;
    CvTime t;
  } times[] = {
      {"5:30 PM", 1, {5, 30, 0, 1}},   {"5:30:15pm", 1, {5, 30, 15, 1}}, {"5:30 Pm", 1, {5, 30, 0, 0}},
      {"::5:30", 1, {5, 30, 0, 0}},    {"5::30", 1, {5, 30, 0, 0}},      {"17:30", 1, {17, 30, 0, 0}},
      {" 7:05:09 AM", 1, {7, 5, 9, 0}}, {"1:2:3:99", 1, {1, 2, 3, 0}},   {"+5:30", 1, {5, 30, 0, 0}},
      {"5", 0, {}},                    {"5:60", 0, {}},                  {"24:00", 0, {}},
      {"-1:00", 0, {}},                {"5:30:60", 0, {}},               {"", 0, {}},
      {":::", 0, {}},                  {"99999999999:00", 0, {}},        {"PM", 0, {}},
  };
  for (const auto& c : times) {
    CvTime t{9, 9, 9, 9};
    EXPECT_EQ(bStringToTime(c.text, &t), c.read) << c.text;
    EXPECT_EQ(show(t), show(c.t)) << c.text;
  }
  const struct {
    const char* text;
    int32_t read;
    CvDuration d;
  } durations[] = {{"1:05", 1, {1, 5, 0}},       {"abc:def", 1, {0, 0, 0}}, {"23:59:59", 1, {23, 59, 59}},
                   {"12:30 PM", 1, {12, 30, 0}}, {"24:00", 0, {}},          {"1", 0, {}}};
  for (const auto& c : durations) {
    CvDuration d{9, 9, 9};
    EXPECT_EQ(bStringToDuration(c.text, &d), c.read) << c.text;
    EXPECT_EQ(show(d), show(c.d)) << c.text;
  }
  CvTime t{9, 9, 9, 9};
  EXPECT_EQ(bStringToTime(nullptr, &t), 0);
  EXPECT_EQ(show(t), "0:00:00 AM");
  EXPECT_EQ(bStringToTime("5:30", nullptr), 0);
  EXPECT_EQ(bStringToDuration("5:30", nullptr), 0);
}

}  // namespace
