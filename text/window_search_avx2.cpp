// Built with AVX2 enabled; only reached after a run-time check of the processor.
#include "text/window_search.h"

#ifdef __SSE2__

namespace corva::text {

std::size_t search_windows_avx2(const char* t, std::size_t n, const char* p, std::size_t m) {
#ifdef __AVX2__
  if (n >= m - 1 + 32) return search_windows<Lanes32>(t, n, p, m);
  return search_windows<Lanes16>(t, n, p, m);
#else
  return search_windows<Lanes16>(t, n, p, m);  // a build without AVX2 support
#endif
}

#ifdef __AVX2__
using WidestBlock = Lanes32;
#else
using WidestBlock = Lanes16;  // a build without AVX2 support
#endif

std::size_t search_array_avx2(const char* text, std::size_t limit, const char* p,
                              std::size_t plimit) noexcept {
  return search_array<WidestBlock>(text, limit, p, plimit);
}

}  // namespace corva::text
#endif
