// The searches behind Pos and the other finders, written once over a vector
// width. Each file that includes it gets its own copy (internal linkage),
// compiled for the instruction set that file is built for.
#pragma once
#ifdef __SSE2__
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corva::text {
namespace {

struct Lanes16 {
  static constexpr std::size_t width = 16;
  using reg = __m128i;
  using mask = unsigned;
  static reg load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  // Whole aligned blocks, read past an array's end on purpose (see search_array).
  __attribute__((no_sanitize_address)) static reg load_block(const char* p) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
  }
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
  __attribute__((no_sanitize_address)) static reg load_block(const char* p) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
  }
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
  __attribute__((no_sanitize_address)) static reg load_block(const char* p) {
    return _mm512_load_si512(p);
  }
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

// First position of a pattern in the text of an array of `limit` bytes that
// ends at its first NUL; npos if absent. The pattern is the array p of plimit
// bytes, up to its first NUL, and is not empty. One pass over aligned blocks
// finds the text's end and the candidates together, and the pattern is
// measured only as far as a candidate's comparison goes.
//
// An aligned block never crosses a page, so its bytes outside the array can be
// loaded (hence no address checking here). Lanes before the array are masked
// off, and candidates after the NUL are dropped; a candidate at or past the
// array's end fails its length check before any byte of it is read one at a
// time. Candidates are the positions whose first two characters match (the
// second is known in the block for all but its last lane); their other
// characters are compared a byte at a time.
template <class L>
__attribute__((no_sanitize_address)) std::size_t search_array(const char* text,
                                                              std::size_t limit, const char* p,
                                                              std::size_t plimit) {
  using mask = typename L::mask;
  constexpr std::size_t w = L::width;
  const char c1 = plimit > 1 ? p[1] : '\0';
  // A one-character pattern has no second character to filter on.
  const mask any_second = (c1 == '\0' ? ~mask{0} : mask{0}) | (mask{1} << (w - 1));
  const typename L::reg zero = L::splat('\0');
  const typename L::reg first = L::splat(p[0]);
  const typename L::reg second = L::splat(c1);
  const auto start = reinterpret_cast<std::uintptr_t>(text);
  std::uintptr_t block = start & ~std::uintptr_t{w - 1};
  mask valid = ~mask{0} << (start - block);
  for (;;) {
    const typename L::reg bytes = L::load_block(reinterpret_cast<const char*>(block));
    const mask nul = L::equal(bytes, zero) & valid;
    mask hits = L::equal(bytes, first) & valid;
    if ((nul | hits) != 0) {  // most blocks of a text hold neither
      hits &= (L::equal(bytes, second) >> 1) | any_second;
      hits &= (nul - 1) & ~nul;  // only before the terminator
      for (; hits != 0; hits &= hits - 1) {
        const std::size_t k = block - start + static_cast<std::size_t>(__builtin_ctzll(hits));
        for (std::size_t j = 1;; ++j) {
          if (j == plimit || p[j] == '\0') return k + j <= limit ? k : std::string_view::npos;
          if (k + j >= limit) return std::string_view::npos;  // later candidates fit even less
          if (text[k + j] != p[j]) break;
        }
      }
      if (nul != 0) return std::string_view::npos;
    }
    block += w;
    if (block - start >= limit) return std::string_view::npos;
    valid = ~mask{0};
  }
}

}  // namespace

// The array search with 16-, 32- and 64-byte blocks, the wider ones each in
// its own file built for its instruction set; call those only when the
// processor has it.
std::size_t search_array_sse2(const char* text, std::size_t limit, const char* p,
                              std::size_t plimit) noexcept;
std::size_t search_array_avx2(const char* text, std::size_t limit, const char* p,
                              std::size_t plimit) noexcept;
std::size_t search_array_avx512(const char* text, std::size_t limit, const char* p,
                                std::size_t plimit) noexcept;

// The 32- and 64-byte searches, each in its own file built for its
// instruction set (narrower windows for shorter texts); call them only when
// the processor has it and n >= m - 1 + 16.
std::size_t search_windows_avx2(const char* t, std::size_t n, const char* p, std::size_t m);
std::size_t search_windows_avx512(const char* t, std::size_t n, const char* p, std::size_t m);

}  // namespace corva::text
#endif  // __SSE2__
