// Zeroing of long stretches (NUL-filling arrays to their end) with the
// widest stores the processor has. A text a few dozen characters long in an
// array of 256 leaves some 200 bytes to fill on every write; the fill is then
// most of the stores a writer makes, and wider stores mean fewer of them.
#include <atomic>

#include "text/bstr.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace corva::text {
namespace {

void zero_plain(char* p, std::size_t n) noexcept { std::memset(p, 0, n); }

#if defined(__x86_64__) || defined(__i386__)
// Both take n >= 64 and store whole blocks, the last one ending at p + n.
__attribute__((target("avx2"))) void zero_avx2(char* p, std::size_t n) noexcept {
  const __m256i zero = _mm256_setzero_si256();
  std::size_t at = 0;
  for (; at + 32 <= n; at += 32) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + at), zero);
  if (at < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + n - 32), zero);
}

__attribute__((target("avx512f"))) void zero_avx512(char* p, std::size_t n) noexcept {
  const __m512i zero = _mm512_setzero_si512();
  std::size_t at = 0;
  for (; at + 64 <= n; at += 64) _mm512_storeu_si512(p + at, zero);
  if (at < n) _mm512_storeu_si512(p + n - 64, zero);
}
#endif

using WideZero = void (*)(char* p, std::size_t n) noexcept;
void pick_zero_wide(char* p, std::size_t n) noexcept;
constinit std::atomic<WideZero> zero_wide{pick_zero_wide};

// The first call picks the fill and keeps it for the calls after it.
void pick_zero_wide(char* p, std::size_t n) noexcept {
  WideZero chosen = zero_plain;
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f"))
    chosen = zero_avx512;
  else if (__builtin_cpu_supports("avx2"))
    chosen = zero_avx2;
#endif
  zero_wide.store(chosen, std::memory_order_relaxed);
  chosen(p, n);
}

}  // namespace

void zero_long(char* p, std::size_t n) noexcept {
  (n < 64 ? zero_plain : zero_wide.load(std::memory_order_relaxed))(p, n);
}

}  // namespace corva::text
