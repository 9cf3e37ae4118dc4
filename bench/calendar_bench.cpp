// Dates: day numbers and the long text, next to the peers they must keep up
// with: the public-domain closed-form civil-calendar conversions, the standard
// library's sys_days, and strftime.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <random>
#include <vector>

#include "corvalib/calendar.h"

namespace {

constexpr uint32_t pack(unsigned y, unsigned m, unsigned d) { return (y << 16) | (m << 8) | d; }

// Legal dates spread over the whole range, the same for every benchmark.
const std::vector<uint32_t>& sample_dates() {
  static const std::vector<uint32_t> dates = [] {
    std::vector<uint32_t> v(4096);
    std::mt19937 rng(1901);
    std::uniform_int_distribution<int32_t> day(1, 72684);
    for (uint32_t& d : v) FileDate(day(rng), &d);
    return v;
  }();
  return dates;
}

// Days since 1970-01-01 of a civil date, and back (the well-known
// public-domain algorithms, for the proleptic Gregorian calendar).
int32_t days_from_civil(int32_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int32_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int32_t>(doe) - 719468;
}

uint32_t civil_from_days(int32_t z) {
  z += 719468;
  const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int32_t y = static_cast<int32_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return pack(static_cast<unsigned>(y + (m <= 2)), m, d);
}

void BM_DayNumberRoundTrip(benchmark::State& s) {
  const auto& dates = sample_dates();
  std::size_t i = 0;
  for (auto _ : s) {
    const uint32_t d = dates[i++ & 4095];
    uint32_t back = 0;
    FileDate(AbsDate(d), &back);
    benchmark::DoNotOptimize(back);
  }
}

void BM_DayNumberRoundTrip_ClosedForm(benchmark::State& s) {
  const auto& dates = sample_dates();
  std::size_t i = 0;
  for (auto _ : s) {
    const uint32_t d = dates[i++ & 4095];
    const int32_t n = days_from_civil(static_cast<int32_t>(d >> 16), (d >> 8) & 0xFF, d & 0xFF);
    benchmark::DoNotOptimize(n);
    uint32_t back = civil_from_days(n);
    benchmark::DoNotOptimize(back);
  }
}

void BM_DayNumberRoundTrip_SysDays(benchmark::State& s) {
  using namespace std::chrono;
  const auto& dates = sample_dates();
  std::size_t i = 0;
  for (auto _ : s) {
    const uint32_t d = dates[i++ & 4095];
    const year_month_day ymd{year{static_cast<int>(d >> 16)}, month{(d >> 8) & 0xFF}, day{d & 0xFF}};
    const int32_t n = static_cast<int32_t>(sys_days{ymd}.time_since_epoch().count());
    benchmark::DoNotOptimize(n);
    const year_month_day back{sys_days{days{n}}};
    uint32_t v = pack(static_cast<unsigned>(static_cast<int>(back.year())),
                      static_cast<unsigned>(back.month()), static_cast<unsigned>(back.day()));
    benchmark::DoNotOptimize(v);
  }
}

void BM_DateToLongStr(benchmark::State& s) {
  const auto& dates = sample_dates();
  std::size_t i = 0;
  char text[40];
  for (auto _ : s) {
    DateToLongStr(dates[i++ & 4095], 39, text);
    benchmark::DoNotOptimize(text);
  }
}

// The same text, 'September 30, 2099', through strftime from a filled tm.
void BM_DateToLongStr_strftime(benchmark::State& s) {
  const auto& dates = sample_dates();
  std::size_t i = 0;
  char text[40];
  std::tm tm{};
  for (auto _ : s) {
    const uint32_t d = dates[i++ & 4095];
    tm.tm_year = static_cast<int>(d >> 16) - 1900;
    tm.tm_mon = static_cast<int>((d >> 8) & 0xFF) - 1;
    tm.tm_mday = static_cast<int>(d & 0xFF);
    std::strftime(text, sizeof text, "%B %-d, %Y", &tm);
    benchmark::DoNotOptimize(text);
  }
}

BENCHMARK(BM_DayNumberRoundTrip);
BENCHMARK(BM_DayNumberRoundTrip_ClosedForm);
BENCHMARK(BM_DayNumberRoundTrip_SysDays);
BENCHMARK(BM_DateToLongStr);
BENCHMARK(BM_DateToLongStr_strftime);

}  // namespace
