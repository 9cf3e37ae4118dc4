// Concat for arrays of up to 128 bytes with 64-byte loads and masked stores,
// where the processor has them (64-bit builds). The texts are read whole
// before anything is written, so they may lie anywhere, inside the array too.
// A source's blocks are read only when they cannot cross a page; bytes after
// its NUL or its array are loaded then but never copied (hence no address
// checking here). Stores are masked to the array's high + 1 bytes.
#include "text/bstr.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace corva::text {
namespace {

#if defined(__x86_64__)
constexpr std::uintptr_t kPage = 4096;

// The mask of the lanes below `count` of a 64-lane block (count may lie
// outside 0..64). Kept as branches: a block that is wholly kept or wholly
// stored then takes a plain store, which is cheaper than a masked one.
__attribute__((target("avx512bw"), always_inline)) inline __mmask64 lanes_below(long count) {
  if (count <= 0) return 0;
  return count >= 64 ? ~__mmask64{0} : (__mmask64{1} << count) - 1;
}

// True when span (64 or 128) bytes from p lie in one page: they can be loaded.
bool readable(const char* p, std::uintptr_t span) {
  return p != nullptr && (reinterpret_cast<std::uintptr_t>(p) & (kPage - 1)) <= kPage - span;
}

// The second block of a source read whole, when its span reaches it.
__attribute__((target("avx512bw"), no_sanitize_address, always_inline)) inline __m512i second_block(
    const char* p, std::uintptr_t span) {
  return span > 64 ? _mm512_loadu_si512(p + 64) : _mm512_setzero_si512();
}

// The length of the text in two blocks: up to the first NUL, at most limit.
__attribute__((target("avx512bw"), always_inline)) inline long text_length(__m512i low,
                                                                           __m512i high,
                                                                           long limit) {
  const __mmask64 nul_low = _mm512_testn_epi8_mask(low, low);
  const __mmask64 nul_high = _mm512_testn_epi8_mask(high, high);
  const long length = nul_low != 0 ? __builtin_ctzll(nul_low)
                                   : 64 + __builtin_ctzll(nul_high | (__mmask64{1} << 63));
  return length < limit ? length : limit;
}

// Stores the blocks' first `kept` bytes at p and zeros after them, `size`
// bytes in all.
__attribute__((target("avx512bw"), always_inline)) inline void store(char* p, long size,
                                                                     __m512i low, __m512i high,
                                                                     long kept) {
  _mm512_mask_storeu_epi8(p, lanes_below(size), _mm512_maskz_mov_epi8(lanes_below(kept), low));
  if (size > 64)
    _mm512_mask_storeu_epi8(p + 64, lanes_below(size - 64),
                            _mm512_maskz_mov_epi8(lanes_below(kept - 64), high));
}

__attribute__((target("avx512bw"), no_sanitize_address)) bool concat_medium_avx512(
    std::uint16_t high, char* text, std::uint16_t fhigh, const char* first, std::uint16_t shigh,
    const char* second) noexcept {
  const long size = long{high} + 1;  // 1 to 128
  const std::uintptr_t span = size > 64 ? 128 : 64;
  if (!readable(first, span) || !readable(second, span)) return false;
  const __m512i head_low = _mm512_loadu_si512(first);
  const __m512i head_high = second_block(first, span);
  const __m512i tail_low = _mm512_loadu_si512(second);
  const __m512i tail_high = second_block(second, span);
  const long n = text_length(head_low, head_high, fhigh < high ? long{fhigh} + 1 : long{high});
  const long room = long{high} - n;
  const long m = text_length(tail_low, tail_high, long{shigh} + 1 < room ? long{shigh} + 1 : room);
  store(text, size, head_low, head_high, n);
  // The second text goes after the first; the zeros after it are there already.
  _mm512_mask_storeu_epi8(text + n, lanes_below(m), tail_low);
  if (m > 64) _mm512_mask_storeu_epi8(text + n + 64, lanes_below(m - 64), tail_high);
  return true;
}
#endif

bool concat_medium_plain(std::uint16_t, char*, std::uint16_t, const char*, std::uint16_t,
                         const char*) noexcept {
  return false;
}

// The first call picks the copy and keeps it for the calls after it.
bool pick_concat_medium(std::uint16_t high, char* text, std::uint16_t fhigh, const char* first,
                        std::uint16_t shigh, const char* second) noexcept {
  MediumConcat chosen = concat_medium_plain;
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512bw")) chosen = concat_medium_avx512;
#endif
  concat_medium.store(chosen, std::memory_order_relaxed);
  return chosen(high, text, fhigh, first, shigh, second);
}

}  // namespace

constinit std::atomic<MediumConcat> concat_medium{pick_concat_medium};

}  // namespace corva::text
