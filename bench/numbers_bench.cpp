// Number and money conversions next to their C and C++ peers.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvalib/numbers.h"
#include "corvalib/text.h"

namespace {

const double kAmounts[] = {125.40,  2400.00,  89.99,    7.50,      1234.56,   -42.10,
                           19.95,   315000.0, 0.99,     -1500.25,  64.00,     98765.43,
                           3.14,    1234567.89, 250.00, -0.50};
constexpr std::size_t kAmountCount = sizeof kAmounts / sizeof kAmounts[0];

const char* const kTexts[] = {"125.40", "2400.00", "89.99",   "7.50",    "1234.56", "-42.10",
                              "19.95",  "315000",  "0.99",    "-1500.25", "64",     "98765.43",
                              "3.14",   "1234567.89", "250.00", "-0.50"};
constexpr std::size_t kTextCount = sizeof kTexts / sizeof kTexts[0];

void BM_DollarsToString(benchmark::State& s) {
  char out[40];
  std::size_t i = 0;
  for (auto _ : s) {
    DollarsToString(kAmounts[i++ % kAmountCount], 39, out, 0, '-');
    benchmark::DoNotOptimize(out);
  }
}

// The peer: "%.2f", then a thousands separator before every third whole digit.
void BM_DollarsToString_snprintf_grouped(benchmark::State& s) {
  char raw[40], out[40];
  std::size_t i = 0;
  for (auto _ : s) {
    const int n = std::snprintf(raw, sizeof raw, "%.2f", kAmounts[i++ % kAmountCount]);
    const char* digits = raw + (raw[0] == '-');
    const char* point = std::strchr(raw, '.');
    const int whole = static_cast<int>((point ? point : raw + n) - digits);
    char* o = out;
    if (raw[0] == '-') *o++ = '-';
    for (int k = 0; k < whole; ++k) {
      if (k > 0 && (whole - k) % 3 == 0) *o++ = ',';
      *o++ = digits[k];
    }
    std::strcpy(o, digits + whole);
    benchmark::DoNotOptimize(out);
  }
}

void BM_DollarsToString_to_chars(benchmark::State& s) {
  char out[40];
  std::size_t i = 0;
  for (auto _ : s) {
    auto r = std::to_chars(out, out + sizeof out, kAmounts[i++ % kAmountCount],
                           std::chars_format::fixed, 2);
    *r.ptr = '\0';
    benchmark::DoNotOptimize(out);
  }
}

void BM_MyStringToReal(benchmark::State& s) {
  std::size_t i = 0;
  double v = 0.0;
  for (auto _ : s) {
    const char* t = kTexts[i++ % kTextCount];
    benchmark::DoNotOptimize(MyStringToReal(static_cast<uint16_t>(std::strlen(t)), t, &v));
    benchmark::DoNotOptimize(v);
  }
}

void BM_MyStringToReal_strtod(benchmark::State& s) {
  std::size_t i = 0;
  for (auto _ : s) {
    const char* t = kTexts[i++ % kTextCount];
    char* end = nullptr;
    double v = std::strtod(t, &end);
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(end);
  }
}

void BM_MyStringToReal_from_chars(benchmark::State& s) {
  std::size_t i = 0;
  for (auto _ : s) {
    const char* t = kTexts[i++ % kTextCount];
    double v = 0.0;
    auto r = std::from_chars(t, t + std::strlen(t), v);
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(r.ptr);
  }
}

// Every whole-number conversion walks the same values (a prime stride through all 65536), so
// ours and its peers are timed on the same inputs. `write` puts `value` into the 8-byte `out`.
template <typename Write>
void whole_numbers(benchmark::State& s, Write write) {
  char out[8];
  uint16_t value = 0;
  for (auto _ : s) {
    write(value, out);
    value = static_cast<uint16_t>(value + 7919);
    benchmark::DoNotOptimize(out);
  }
}

void BM_CardToString(benchmark::State& s) {
  whole_numbers(s, [](uint16_t value, char* out) {
    uint16_t pos = 0;
    uint8_t done = 0;
    CardToString(value, 0, 7, out, &pos, &done);
  });
}

void BM_IntToString(benchmark::State& s) {
  whole_numbers(s, [](uint16_t value, char* out) {
    uint16_t pos = 0;
    uint8_t done = 0;
    IntToString(static_cast<int16_t>(value), 0, 7, out, &pos, &done);
  });
}

void BM_CardToString_to_chars(benchmark::State& s) {
  whole_numbers(s, [](uint16_t value, char* out) {
    *std::to_chars(out, out + 7, value).ptr = '\0';
  });
}

void BM_IntToString_to_chars(benchmark::State& s) {
  whole_numbers(s, [](uint16_t value, char* out) {
    *std::to_chars(out, out + 7, static_cast<int16_t>(value)).ptr = '\0';
  });
}

BENCHMARK(BM_DollarsToString);
BENCHMARK(BM_DollarsToString_snprintf_grouped);
BENCHMARK(BM_DollarsToString_to_chars);
BENCHMARK(BM_MyStringToReal);
BENCHMARK(BM_MyStringToReal_strtod);
BENCHMARK(BM_MyStringToReal_from_chars);
BENCHMARK(BM_CardToString);
BENCHMARK(BM_CardToString_to_chars);
BENCHMARK(BM_IntToString);
BENCHMARK(BM_IntToString_to_chars);

}  // namespace
