// corva date, corva time, corva duration: the calendar from the shell.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

std::string short_text(uint32_t d) {
  char t[16];
  DateToShortStr(d, 15, t);
  return t;
}
std::string medium_text(uint32_t d) {
  char t[24];
  DateToMedStr(d, 23, t);
  return t;
}
std::string long_text(uint32_t d) {
  char t[32];
  DateToLongStr(d, 31, t);
  return t;
}
std::string weekday_name(uint32_t d) {
  char t[16];
  GetDayName(static_cast<int16_t>(DayOfWeek(AbsDate(d))), 15, t);
  return t;
}

// A typed date, completed from today; false (with a message) when not legal.
bool read_date(const std::string& text, uint32_t& d) {
  uint32_t today = 0;
  GetCurrentDate(&today);
  ShortStrToDate(static_cast<uint16_t>(text.size()), text.c_str(), &d, today);
  if (IsLegalDate(d)) return true;
  fail("'" + text + "' is not a legal date (1 January 1901 to 31 December 2099)");
  return false;
}

int show_date(uint32_t d) {
  char two[16];
  DateToShortStr2(d, 15, two);
  std::cout << "short:   " << short_text(d) << "\n"
            << "short2:  " << two << "\n"
            << "medium:  " << medium_text(d) << "\n"
            << "long:    " << long_text(d) << "\n"
            << "weekday: " << weekday_name(d) << "\n"
            << "day:     " << AbsDate(d) << "\n";
  return 0;
}

int add_to_date(const std::string& text, long n, const std::string& u) {
  uint32_t d = 0;
  if (!read_date(text, d)) return 1;
  const uint16_t unit = u == "day" || u == "days"       ? CORVA_STEP_DAY
                        : u == "week" || u == "weeks"   ? CORVA_STEP_WEEK
                        : u == "month" || u == "months" ? CORVA_STEP_MONTH
                                                        : CORVA_STEP_YEAR;
  // Each step is clamped to 1901-2099, so a long walk stops at the bounds.
  for (long i = 0; i < (n < 0 ? -n : n); ++i) (n < 0 ? DecDate : IncDate)(&d, unit);
  std::cout << short_text(d) << "  " << long_text(d) << "  " << weekday_name(d) << "\n";
  return 0;
}

void define_date(CLI::App& app) {
  static std::string first, second, unit;
  static long n = 0;
  const char* date_help = "a date as typed in a date field ('1/5/99', '010599', '12/31')";
  on_run(app.add_subcommand("today", "today's date in every form"), [] {
    uint32_t d = 0;
    GetCurrentDate(&d);
    return show_date(d);
  });
  auto* show =
      app.add_subcommand("show", "a date's short, medium and long texts, weekday, day number");
  show->add_option("DATE", first, date_help)->required();
  on_run(show, [] {
    uint32_t d = 0;
    return read_date(first, d) ? show_date(d) : 1;
  });
  auto* add = app.add_subcommand("add", "step a date by N days, weeks, months or years");
  add->add_option("DATE", first, date_help)->required();
  add->add_option("N", n, "how many units (negative steps back)")
      ->required()
      ->check(within(-1000000, 1000000));
  add->add_option("UNIT", unit, "days, weeks, months or years")
      ->required()
      ->check(CLI::IsMember({"day", "days", "week", "weeks", "month", "months", "year", "years"}));
  on_run(add, [] { return add_to_date(first, n, unit); });
  auto* diff = app.add_subcommand("diff", "the days from the first date to the second");
  diff->add_option("DATE", first, date_help)->required();
  diff->add_option("LATER", second, "the second date")->required();
  on_run(diff, [] {
    uint32_t d = 0, e = 0;
    if (!read_date(first, d) || !read_date(second, e)) return 1;
    std::cout << AbsDate(e) - AbsDate(d) << "\n";
    return 0;
  });
  app.footer("Dates are read in the date order in force; what a date leaves out comes from today.");
}

std::string time_text(const CvTime& t) {
  char buf[24];
  bTimeToString(&t, buf, 1, 1);
  return buf;
}
std::string duration_text(const CvDuration& d) {
  char buf[24];
  bDurationToString(&d, buf, 1);
  return buf;
}

bool read_time(const std::string& text, CvTime& t) {
  if (bStringToTime(text.c_str(), &t) && bIsValidTime(&t)) return true;
  fail("'" + text + "' is not a time of day (1-12:MM[:SS] AM|PM)");
  return false;
}
bool read_duration(const std::string& text, CvDuration& d) {
  if (bStringToDuration(text.c_str(), &d)) return true;
  fail("'" + text + "' is not a duration (H:MM[:SS], hours 0-23)");
  return false;
}

void define_time(CLI::App& app) {
  static std::string first, second;
  on_run(app.add_subcommand("now", "the local time ('HH:MM:SS.hh') and its packed value"), [] {
    char buf[16];
    GetTime(15, buf);
    std::cout << buf << "  " << GetDosTime() << "\n";
    return 0;
  });
  auto* show = app.add_subcommand("show", "a time read and written back ('5:30 PM', '17:30')");
  show->add_option("TIME", first, "a time of day")->required();
  on_run(show, [] {
    CvTime a{};
    if (!bStringToTime(first.c_str(), &a)) return read_time(first, a) ? 0 : 1;
    char short_form[24];
    bTimeToString(&a, short_form, 0, 1);
    std::cout << time_text(a) << "  " << short_form << "  "
              << (bIsValidTime(&a) ? "valid" : "not a 12-hour time") << "\n";
    return 0;
  });
  auto* diff = app.add_subcommand("diff", "the duration between two times, across midnight");
  diff->add_option("LATER", first, "the later time")->required();
  diff->add_option("EARLIER", second, "the earlier time")->required();
  on_run(diff, [] {
    CvTime a{}, b{};
    if (!read_time(first, a) || !read_time(second, b)) return 1;
    CvDuration d{};
    vTimeDiff(&a, &b, &d);
    std::cout << duration_text(d) << "  " << fHoursToUnits(&d) << " h\n";
    return 0;
  });
}

void define_duration(CLI::App& app) {
  static std::string first, second;
  static float units = 0;
  for (const char* op : {"add", "sub"}) {
    const bool sum = op[0] == 'a';
    auto* sub = app.add_subcommand(op, sum ? "the sum of two durations ('1:30', '0:45:10')"
                                           : "A minus B (the hours may come out negative)");
    sub->add_option("A", first, "a duration, H:MM[:SS]")->required();
    sub->add_option("B", second, "a duration, H:MM[:SS]")->required();
    on_run(sub, [sum] {
      CvDuration a{}, b{}, r{};
      if (!read_duration(first, a) || !read_duration(second, b)) return 1;
      (sum ? vDurationSum : vDurationDiff)(&a, &b, &r);
      std::cout << duration_text(r) << "\n";
      return 0;
    });
  }
  auto* in_units = app.add_subcommand("units", "a duration in decimal hours");
  in_units->add_option("D", first, "a duration, H:MM[:SS]")->required();
  on_run(in_units, [] {
    CvDuration a{};
    if (!read_duration(first, a)) return 1;
    std::cout << fHoursToUnits(&a) << "\n";
    return 0;
  });
  auto* hours = app.add_subcommand("hours", "decimal hours as a duration");
  hours->add_option("UNITS", units, "hours, such as 1.75")->required();
  on_run(hours, [] {
    CvDuration r{};
    vUnitsToHours(units, &r);
    std::cout << duration_text(r) << "\n";
    return 0;
  });
}

// Reads the sample's typed dates and shows each one's texts and steps.
int demo_date(const std::string& samples) {
  std::ifstream in;
  if (!open_sample(samples, "dates.txt", in)) return 1;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    uint32_t d = 0;
    ShortStrToDate(static_cast<uint16_t>(line.size()), line.c_str(), &d, 0);
    std::cout << "[" << line << "] ";
    if (!IsLegalDate(d)) {
      std::cout << "not a legal date\n";
      continue;
    }
    uint32_t month = d, year = d, quarter = d;
    IncDate(&month, CORVA_STEP_MONTH);
    IncDate(&year, CORVA_STEP_YEAR);
    EndOfQtr(&quarter);
    std::cout << long_text(d) << ", " << weekday_name(d) << ", day " << AbsDate(d) << "; +1 month "
              << medium_text(month) << "; +1 year " << medium_text(year) << "; quarter ends "
              << medium_text(quarter) << "\n";
  }
  return 0;
}

// Totals the hours of the sample time sheet.
int demo_time(const std::string& samples) {
  std::ifstream in;
  if (!open_sample(samples, "timesheet.txt", in)) return 1;
  std::string line;
  CvDuration total{0, 0, 0};
  float units = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto bar1 = line.find('|'), bar2 = line.rfind('|');
    if (bar1 == std::string::npos || bar1 == bar2) continue;
    const std::string name = line.substr(0, bar1);
    CvTime in_time{}, out_time{};
    const bool ok = bStringToTime(line.substr(bar1 + 1, bar2 - bar1 - 1).c_str(), &in_time) &&
                    bIsValidTime(&in_time) &&
                    bStringToTime(line.substr(bar2 + 1).c_str(), &out_time) &&
                    bIsValidTime(&out_time);
    if (!ok) {
      std::cout << name << ": times not readable, skipped\n";
      continue;
    }
    CvDuration worked{};
    vTimeDiff(&out_time, &in_time, &worked);
    units += fHoursToUnits(&worked);
    vDurationSum(&total, &worked, &total);
    std::cout << name << ": " << time_text(in_time) << " to " << time_text(out_time) << " = "
              << duration_text(worked) << " (" << fHoursToUnits(&worked) << " h)\n";
  }
  std::cout << "total " << duration_text(total) << ", " << units << " h\n";
  return 0;
}

const Registration date_reg{{"date", "dates: today, show, add, diff", define_date, demo_date}};
const Registration time_reg{{"time", "times of day: now, show, diff", define_time, demo_time}};
const Registration duration_reg{
    {"duration", "durations: add, sub, units, hours", define_duration, {}}};

}  // namespace
}  // namespace corva::cli
