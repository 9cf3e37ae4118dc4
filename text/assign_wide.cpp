// Assign for arrays of 16 to 128 bytes with 64-byte loads and masked stores,
// where the processor has them.
#include "text/bstr.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace corva::text {
namespace {

void assign_medium_plain(std::uint16_t shigh, const char* source, std::uint16_t high,
                         char* text) noexcept {
  assign_long(high, text, shigh, source);
}

#if defined(__x86_64__) || defined(__i386__)
// The mask of the lanes below `count` of a 64-lane block (count may lie
// outside 0..64).
__attribute__((target("avx512bw"))) __mmask64 lanes_below(long count) {
  if (count <= 0) return 0;
  return count >= 64 ? ~__mmask64{0} : (__mmask64{1} << count) - 1;
}

// The source's first one or two 64-byte blocks are read whole before anything
// is written, so the source may lie anywhere, inside the array too. They are
// read only when they cannot cross a page; bytes after the source's NUL or
// its array are loaded then but never copied (hence no address checking
// here). Stores are masked to the array's high + 1 bytes.
__attribute__((target("avx512bw"), no_sanitize_address)) void assign_medium_avx512(
    std::uint16_t shigh, const char* source, std::uint16_t high, char* text) noexcept {
  constexpr std::uintptr_t kPage = 4096;
  const long size = long{high} + 1;  // 17 to 128
  const std::uintptr_t span = size > 64 ? 128 : 64;
  if (text == nullptr || source == nullptr ||
      (reinterpret_cast<std::uintptr_t>(source) & (kPage - 1)) > kPage - span)
    return assign_long(high, text, shigh, source);
  const __m512i first = _mm512_loadu_si512(source);
  const __m512i second = span > 64 ? _mm512_loadu_si512(source + 64) : _mm512_setzero_si512();
  const __mmask64 nul_first = _mm512_testn_epi8_mask(first, first);
  const __mmask64 nul_second = _mm512_testn_epi8_mask(second, second);
  const long length = nul_first != 0 ? __builtin_ctzll(nul_first)
                                     : 64 + __builtin_ctzll(nul_second | (__mmask64{1} << 63));
  const long kept = std::min({length, long{shigh} + 1, long{high}});
  _mm512_mask_storeu_epi8(text, lanes_below(size),
                          _mm512_maskz_mov_epi8(lanes_below(kept), first));
  if (size > 64)
    _mm512_mask_storeu_epi8(text + 64, lanes_below(size - 64),
                            _mm512_maskz_mov_epi8(lanes_below(kept - 64), second));
}
#endif

// The first call picks the copy and keeps it for the calls after it.
void pick_assign_medium(std::uint16_t shigh, const char* source, std::uint16_t high,
                        char* text) noexcept {
  MediumAssign chosen = assign_medium_plain;
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512bw")) chosen = assign_medium_avx512;
#endif
  assign_medium.store(chosen, std::memory_order_relaxed);
  chosen(shigh, source, high, text);
}

}  // namespace

constinit std::atomic<MediumAssign> assign_medium{pick_assign_medium};

}  // namespace corva::text
