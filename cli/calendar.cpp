// corva date, corva time, corva duration: the calendar from the shell.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

constexpr const char* kDateUsage =
    "usage: corva date OPERATION ...\n"
    "  today                          today's date in every form\n"
    "  show DATE                      short, medium and long texts, weekday, day number\n"
    "  add DATE N days|weeks|months|years   step by N units (N may be negative)\n"
    "  diff DATE DATE                 days from the first date to the second\n"
    "DATE is typed as in a date field ('1/5/99', '010599', '12/31'), in the date\n"
    "order in force; what it leaves out comes from today.\n";

constexpr const char* kTimeUsage =
    "usage: corva time OPERATION ...\n"
    "  now                 the local time ('HH:MM:SS.hh') and its packed value\n"
    "  show TIME           the time read and written back ('5:30 PM', '17:30')\n"
    "  diff LATER EARLIER  the duration between two times, across midnight\n";

constexpr const char* kDurationUsage =
    "usage: corva duration OPERATION ...\n"
    "  add A B        the sum of two durations ('1:30', '0:45:10')\n"
    "  sub A B        A minus B (the hours may be negative)\n"
    "  units D        the duration in decimal hours\n"
    "  hours UNITS    decimal hours as a duration\n";

// A date as one of the library's date writers puts it into a buffer of Size bytes.
template <std::size_t Size>
std::string written(void (*write)(uint32_t, uint16_t, char*), uint32_t d) {
  char t[Size];
  write(d, Size - 1, t);
  return t;
}
std::string short_text(uint32_t d) { return written<16>(DateToShortStr, d); }
std::string medium_text(uint32_t d) { return written<24>(DateToMedStr, d); }
std::string long_text(uint32_t d) { return written<32>(DateToLongStr, d); }
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
  std::cerr << "corva: '" << text << "' is not a legal date (1 January 1901 to 31 December 2099)\n";
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

int run_date(const Args& args) {
  if (args.empty()) return usage_error("date needs an operation (see corva date --help)");
  const std::string& op = args[0];
  uint32_t d = 0;
  if (op == "today" && args.size() == 1) {
    GetCurrentDate(&d);
    return show_date(d);
  }
  if (op == "show" && args.size() == 2) return read_date(args[1], d) ? show_date(d) : 1;
  if (op == "diff" && args.size() == 3) {
    uint32_t e = 0;
    if (!read_date(args[1], d) || !read_date(args[2], e)) return 1;
    std::cout << AbsDate(e) - AbsDate(d) << "\n";
    return 0;
  }
  if (op == "add" && args.size() == 4) {
    if (!read_date(args[1], d)) return 1;
    const std::string& n_text = args[2];
    const bool back = !n_text.empty() && n_text[0] == '-';
    unsigned long n = 0;
    if (!parse_number(back ? n_text.substr(1) : n_text, 1000000, n))
      return usage_error("N must be a whole number");
    const std::string& u = args[3];
    const uint16_t unit = u == "day" || u == "days"       ? CORVA_STEP_DAY
                          : u == "week" || u == "weeks"   ? CORVA_STEP_WEEK
                          : u == "month" || u == "months" ? CORVA_STEP_MONTH
                          : u == "year" || u == "years"   ? CORVA_STEP_YEAR
                                                          : 0;
    if (unit == 0) return usage_error("the unit must be days, weeks, months or years");
    // Each step is clamped to 1901-2099, so a long walk stops at the bounds.
    for (unsigned long i = 0; i < n; ++i) (back ? DecDate : IncDate)(&d, unit);
    std::cout << short_text(d) << "  " << long_text(d) << "  " << weekday_name(d) << "\n";
    return 0;
  }
  return usage_error("date: unknown operation or wrong number of arguments (see corva date --help)");
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
  std::cerr << "corva: '" << text << "' is not a time of day (1-12:MM[:SS] AM|PM)\n";
  return false;
}
bool read_duration(const std::string& text, CvDuration& d) {
  if (bStringToDuration(text.c_str(), &d)) return true;
  std::cerr << "corva: '" << text << "' is not a duration (H:MM[:SS], hours 0-23)\n";
  return false;
}

int run_time(const Args& args) {
  if (args.size() == 1 && args[0] == "now") {
    char buf[16];
    GetTime(15, buf);
    std::cout << buf << "  " << GetDosTime() << "\n";
    return 0;
  }
  CvTime a{}, b{};
  if (args.size() == 2 && args[0] == "show") {
    if (!bStringToTime(args[1].c_str(), &a)) return read_time(args[1], a) ? 0 : 1;
    char short_form[24];
    bTimeToString(&a, short_form, 0, 1);
    std::cout << time_text(a) << "  " << short_form << "  "
              << (bIsValidTime(&a) ? "valid" : "not a 12-hour time") << "\n";
    return 0;
  }
  if (args.size() == 3 && args[0] == "diff") {
    if (!read_time(args[1], a) || !read_time(args[2], b)) return 1;
    CvDuration d{};
    vTimeDiff(&a, &b, &d);
    std::cout << duration_text(d) << "  " << fHoursToUnits(&d) << " h\n";
    return 0;
  }
  return usage_error("time: unknown operation or wrong number of arguments (see corva time --help)");
}

int run_duration(const Args& args) {
  CvDuration a{}, b{}, r{};
  if (args.size() == 3 && (args[0] == "add" || args[0] == "sub")) {
    if (!read_duration(args[1], a) || !read_duration(args[2], b)) return 1;
    (args[0] == "add" ? vDurationSum : vDurationDiff)(&a, &b, &r);
    std::cout << duration_text(r) << "\n";
    return 0;
  }
  if (args.size() == 2 && args[0] == "units") {
    if (!read_duration(args[1], a)) return 1;
    std::cout << fHoursToUnits(&a) << "\n";
    return 0;
  }
  if (args.size() == 2 && args[0] == "hours") {
    char* end = nullptr;
    const float units = std::strtof(args[1].c_str(), &end);
    if (end == args[1].c_str() || *end != '\0') return usage_error("UNITS must be a number");
    vUnitsToHours(units, &r);
    std::cout << duration_text(r) << "\n";
    return 0;
  }
  return usage_error("duration: unknown operation or wrong number of arguments "
                     "(see corva duration --help)");
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
    std::cout << long_text(d) << ", " << weekday_name(d) << ", day " << AbsDate(d)
              << "; +1 month " << medium_text(month) << "; +1 year " << medium_text(year)
              << "; quarter ends " << medium_text(quarter) << "\n";
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
                    bStringToTime(line.substr(bar2 + 1).c_str(), &out_time) && bIsValidTime(&out_time);
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

const Registration date_reg{{"date", "dates: today, show, add, diff", kDateUsage, run_date, demo_date}};
const Registration time_reg{{"time", "times of day: now, show, diff", kTimeUsage, run_time, demo_time}};
const Registration duration_reg{
    {"duration", "durations: add, sub, units, hours", kDurationUsage, run_duration, nullptr}};

}  // namespace
}  // namespace corva::cli
