// The window search behind Pos, written once over a vector width. Each file
// that includes it gets its own copy (internal linkage), compiled for the
// instruction set that file is built for.
#pragma once
#ifdef __SSE2__
#include <immintrin.h>

#include <cstddef>
#include <string_view>

namespace corva::text {
namespace {

struct Lanes16 {
  static constexpr std::size_t width = 16;
  using reg = __m128i;
  using mask = unsigned;
  static reg load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static reg splat(char c) { return _mm_set1_epi8(c); }
  static unsigned equal(reg a, reg b) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
  }
};

#ifdef __AVX2__
struct Lanes32 {
  static constexpr std::size_t width = 32;
  using reg = __m256i;
  using mask = unsigned;
  static reg load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static reg splat(char c) { return _mm256_set1_epi8(c); }
  static unsigned equal(reg a, reg b) {
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
  }
};
#endif

#ifdef __AVX512BW__
struct Lanes64 {
  static constexpr std::size_t width = 64;
  using reg = __m512i;
  using mask = unsigned long long;
  static reg load(const char* p) { return _mm512_loadu_si512(p); }
  static reg splat(char c) { return _mm512_set1_epi8(c); }
  static mask equal(reg a, reg b) { return _mm512_cmpeq_epi8_mask(a, b); }
};
#endif

// The middles are compared in line: a call inside the window loop would make
// the compiler save the vector registers around it on every window, and a
// candidate that passed the first and last characters mostly ends early.
inline bool same_bytes(const char* a, const char* b, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k)
    if (a[k] != b[k]) return false;
  return true;
}

// First position of pattern (m >= 2 bytes) in a text of n >= m - 1 + width
// bytes; npos if absent. Candidates are the positions whose first and last
// characters both match; only they have their middles compared. Every load
// lies inside the text.
template <class L>
std::size_t search_windows(const char* t, std::size_t n, const char* p, std::size_t m) {
  using mask = typename L::mask;
  constexpr std::size_t w = L::width;
  const typename L::reg head = L::splat(p[0]);
  const typename L::reg tail = L::splat(p[m - 1]);
  const std::size_t last = n - (m - 1) - w;  // the final full window
  for (std::size_t i = 0;;) {
    // Past the last full window, look at the one ending at the text's end and
    // ignore the candidates already seen.
    unsigned skip = 0;
    std::size_t at = i;
    if (i > last) {
      skip = static_cast<unsigned>(i - last);
      at = last;
    }
    mask hits = L::equal(L::load(t + at), head) & L::equal(L::load(t + at + m - 1), tail);
    hits = (hits >> skip) << skip;
    for (; hits != 0; hits &= hits - 1) {
      const std::size_t k = at + static_cast<std::size_t>(__builtin_ctzll(hits));
      if (same_bytes(t + k + 1, p + 1, m - 2)) return k;
    }
    if (at == last) return std::string_view::npos;
    i = at + w;
  }
}

}  // namespace

// The 32- and 64-byte searches, each in its own file built for its
// instruction set (narrower windows for shorter texts); call them only when
// the processor has it and n >= m - 1 + 16.
std::size_t search_windows_avx2(const char* t, std::size_t n, const char* p, std::size_t m);
std::size_t search_windows_avx512(const char* t, std::size_t n, const char* p, std::size_t m);

}  // namespace corva::text
#endif  // __SSE2__
