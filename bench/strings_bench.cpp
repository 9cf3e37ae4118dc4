// Bounded strings and heap blocks next to their plain C peers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvalib/frame.h"
#include "corvalib/text.h"

namespace {

char kText[81] = "Corvantis ledger line: Rent December 2,400.00 paid by cheque 000123 ### end..";

// A ledger text of exactly n characters (8, 80 or 255) in an array of n + 1,
// with "###" five sixths of the way along.
const char* sized_text(std::size_t n) {
  static char texts[3][256];
  char* t = texts[n == 8 ? 0 : n == 80 ? 1 : 2];
  if (t[0] == '\0') {
    for (std::size_t i = 0; i < n; ++i) t[i] = kText[i % 66];
    std::memcpy(t + std::min(n * 5 / 6, n - 3), "###", 3);
    t[n] = '\0';
  }
  return t;
}

void BM_Assign(benchmark::State& s) {
  const auto n = static_cast<std::uint16_t>(s.range(0));
  const char* text = sized_text(n);
  char d[256];
  for (auto _ : s) {
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    Assign(n, text, n, d);
    benchmark::DoNotOptimize(d);
  }
}
void BM_Assign_strncpy(benchmark::State& s) {
  const auto n = static_cast<std::size_t>(s.range(0));
  const char* text = sized_text(n);
  char d[256];
  for (auto _ : s) {
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    std::strncpy(d, text, n);
    d[n] = 0;
    benchmark::DoNotOptimize(d);
  }
}
void BM_Concat(benchmark::State& s) {
  char d[81];
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    Concat(40, kText, 40, kText + 40, 80, d);
    benchmark::DoNotOptimize(d);
  }
}
// The peer does the whole operation: measure both parts, copy them, NUL-fill.
void BM_Concat_memcpy(benchmark::State& s) {
  char d[81];
  const char* first = kText;
  const char* second = kText + 40;
  for (auto _ : s) {
    benchmark::DoNotOptimize(first);
    benchmark::DoNotOptimize(second);
    benchmark::ClobberMemory();
    std::size_t a = strnlen(first, 40);
    std::size_t b = strnlen(second, 80 - a);
    std::memcpy(d, first, a);
    std::memcpy(d + a, second, b);
    std::memset(d + a + b, 0, 81 - a - b);
    benchmark::DoNotOptimize(d);
  }
}
void BM_Pos(benchmark::State& s) {
  const auto n = static_cast<std::uint16_t>(s.range(0));
  const char* text = sized_text(n);
  for (auto _ : s) {
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(Pos(3, "###", n, text));
  }
}
void BM_Pos_strstr(benchmark::State& s) {
  const char* text = sized_text(static_cast<std::size_t>(s.range(0)));
  for (auto _ : s) {
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(std::strstr(text, "###"));
  }
}
void BM_InsertCard(benchmark::State& s) {
  char d[81];
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    std::memcpy(d, kText, 81);
    InsertCard(80, d, 12345);
    benchmark::DoNotOptimize(d);
  }
}
void BM_InsertCard_snprintf(benchmark::State& s) {
  char d[81];
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    std::memcpy(d, kText, 81);
    char* at = std::strstr(d, "###");
    char tail[81];
    std::strcpy(tail, at + 3);
    std::snprintf(at, sizeof d - (at - d), "%u%s", 12345u, tail);
    benchmark::DoNotOptimize(d);
  }
}
void BM_RealAllocate(benchmark::State& s) {
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    void* p = _RealAllocate(64);
    benchmark::DoNotOptimize(p);
    _RealDeAllocate(p);
  }
}
void BM_RealAllocate_calloc(benchmark::State& s) {
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    void* p = std::calloc(1, 68);
    benchmark::DoNotOptimize(p);
    std::free(p);
  }
}

}  // namespace

BENCHMARK(BM_Assign)->Arg(8)->Arg(80)->Arg(255);
BENCHMARK(BM_Assign_strncpy)->Arg(8)->Arg(80)->Arg(255);
BENCHMARK(BM_Concat);
BENCHMARK(BM_Concat_memcpy);
BENCHMARK(BM_Pos)->Arg(8)->Arg(80)->Arg(255);
BENCHMARK(BM_Pos_strstr)->Arg(8)->Arg(80)->Arg(255);
BENCHMARK(BM_InsertCard);
BENCHMARK(BM_InsertCard_snprintf);
BENCHMARK(BM_RealAllocate);
BENCHMARK(BM_RealAllocate_calloc);
