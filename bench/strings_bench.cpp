// Bounded strings and heap blocks next to their plain C peers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvalib/frame.h"
#include "corvalib/text.h"

namespace {

char kText[81] = "Corvantis ledger line: Rent December 2,400.00 paid by cheque 000123 ### end..";

void BM_Assign(benchmark::State& s) {
  char d[81];
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    Assign(80, kText, 80, d);
    benchmark::DoNotOptimize(d);
  }
}
void BM_Assign_strncpy(benchmark::State& s) {
  char d[81];
  for (auto _ : s) {
    benchmark::DoNotOptimize(kText);
    benchmark::ClobberMemory();
    std::strncpy(d, kText, 80);
    d[80] = 0;
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
  for (auto _ : s) {
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(Pos(3, "###", 80, kText));
  }
}
void BM_Pos_strstr(benchmark::State& s) {
  for (auto _ : s) {
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(std::strstr(kText, "###"));
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

BENCHMARK(BM_Assign);
BENCHMARK(BM_Assign_strncpy);
BENCHMARK(BM_Concat);
BENCHMARK(BM_Concat_memcpy);
BENCHMARK(BM_Pos);
BENCHMARK(BM_Pos_strstr);
BENCHMARK(BM_InsertCard);
BENCHMARK(BM_InsertCard_snprintf);
BENCHMARK(BM_RealAllocate);
BENCHMARK(BM_RealAllocate_calloc);
