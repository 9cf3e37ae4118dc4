#include "text/bstr.h"
#include "text/window_search.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <string>

namespace corva::text {

std::string_view view_scan(std::uint16_t high, const char* text) {
  if (text == nullptr) return {};
  std::size_t cap = std::size_t{high} + 1;
  const void* nul = std::memchr(text, '\0', cap);
  return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : cap};
}

std::string_view view(std::uint16_t high, const char* text, std::size_t limit) {
  if (text == nullptr) return {};
  return {text, strnlen(text, std::min<std::size_t>(std::size_t{high} + 1, limit))};
}

void write(std::uint16_t high, char* text, std::string_view source) {
  if (text == nullptr) return;
  std::size_t n = std::min<std::size_t>(source.size(), high);
  if (n != 0) std::memmove(text, source.data(), n);
  fill_from(high, text, n);
}

namespace {

// Copies source's text (up to its NUL, at most limit bytes) into the array
// (HIGH high) at `at` and NUL-fills from there to at + limit, as strncpy does
// in one pass; then NUL-fills on to the end of the array. No byte of the
// source after its NUL is read, so a text shorter than its array is safe.
// The ranges must not overlap; at + limit <= high.
void copy_filled(std::uint16_t high, char* array, std::size_t at, const char* source,
                 std::size_t limit) {
  std::strncpy(array + at, source, limit);
  fill_from(high, array, at + limit);
}

// The general path, for sources that may lie inside the destination.
void concat_views(std::uint16_t high, char* text, std::string_view first,
                  std::string_view second) {
  first = first.substr(0, high);
  second = second.substr(0, high - first.size());
  std::string copy;
  if (overlaps(second, text, high)) {
    copy.assign(second);
    second = copy;
  }
  if (!first.empty()) std::memmove(text, first.data(), first.size());
  if (!second.empty()) std::memcpy(text + first.size(), second.data(), second.size());
  fill_from(high, text, first.size() + second.size());
}

}  // namespace

void assign_general(std::uint16_t high, char* text, std::uint16_t shigh,
                    const char* source) noexcept {
  if (text == nullptr) return;
  const std::size_t limit = std::min<std::size_t>(std::size_t{shigh} + 1, high);
  if (source == nullptr || ranges_meet(source, limit, text, std::size_t{high} + 1)) {
    write(high, text, view(shigh, source, high));
    return;
  }
  copy_filled(high, text, 0, source, limit);
}

#ifdef __SSE2__
namespace {
// The first and the last word of size >= sizeof(Word) bytes of source, each
// cut with its part of keep, stored at text: two stores that may overlap.
// Reads bytes of the source that may lie past its NUL (see assign_short).
template <class Word>
__attribute__((no_sanitize_address)) void store_cut(char* text, const char* source,
                                                    const unsigned char* keep, std::size_t size) {
  constexpr std::size_t w = sizeof(Word);
  Word first, last, first_mask, last_mask;
  std::memcpy(&first, source, w);
  std::memcpy(&last, source + size - w, w);
  std::memcpy(&first_mask, keep, w);
  std::memcpy(&last_mask, keep + size - w, w);
  first &= first_mask;
  last &= last_mask;
  std::memcpy(text, &first, w);
  std::memcpy(text + size - w, &last, w);
}
}  // namespace

// The source's first 16 bytes are read whole when they cannot cross a page;
// bytes after its NUL or its array are loaded then but never copied (hence no
// address checking here). Each word is cut with a mask from a table of 16
// bytes of ones then 16 of zeros, and the array gets exactly its high + 1
// bytes, in two stores that may overlap.
__attribute__((no_sanitize_address)) void assign_short(std::uint16_t shigh, const char* source,
                                                       std::uint16_t high,
                                                       char* text) noexcept {
  constexpr std::uintptr_t kPage = 4096;
  alignas(32) static constexpr unsigned char kKeep[32] = {
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  if (text == nullptr) return;
  if (source == nullptr || (reinterpret_cast<std::uintptr_t>(source) & (kPage - 1)) > kPage - 16) {
    assign_general(high, text, shigh, source);
    return;
  }
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
  const unsigned nul =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
  const unsigned limit = std::min(shigh + 1u, unsigned{high});
  // keep[i] is all ones for the characters copied, zero from there on.
  const unsigned char* keep = kKeep + 16 - __builtin_ctz(nul | (1u << limit));
  const std::size_t size = std::size_t{high} + 1;
  if (size >= 8) {
    store_cut<std::uint64_t>(text, source, keep, size);
  } else if (size >= 4) {
    store_cut<std::uint32_t>(text, source, keep, size);
  } else {
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(source[i] & keep[i]);
  }
}
#else
void assign_short(std::uint16_t shigh, const char* source, std::uint16_t high,
                  char* text) noexcept {
  assign_general(high, text, shigh, source);
}
#endif

void concat(std::uint16_t high, char* text, std::uint16_t fhigh, const char* first,
            std::uint16_t shigh, const char* second) {
  if (text == nullptr) return;
  if (high < 128 &&
      concat_medium.load(std::memory_order_relaxed)(high, text, fhigh, first, shigh, second))
    return;
  const std::size_t cap = std::size_t{high} + 1;
  const std::size_t flimit = std::min<std::size_t>(std::size_t{fhigh} + 1, high);
  const std::size_t slimit = std::min<std::size_t>(std::size_t{shigh} + 1, high);
  if (first == nullptr || second == nullptr || ranges_meet(first, flimit, text, cap) ||
      ranges_meet(second, slimit, text, cap)) {
    const std::string_view head = view(fhigh, first, high);
    concat_views(high, text, head, view(shigh, second, high - head.size()));
    return;
  }
  const std::size_t n = strnlen(first, flimit);
  std::memcpy(text, first, n);
  copy_filled(high, text, n, second, std::min<std::size_t>(slimit, high - n));
}

bool overlaps(std::string_view part, const char* array, std::uint16_t high) {
  return !part.empty() && array != nullptr &&
         ranges_meet(part.data(), part.size(), array, std::size_t{high} + 1);
}

void insert(std::string_view inserted, std::uint16_t high, char* target, std::size_t position) {
  std::string copy;
  if (overlaps(inserted, target, high)) {
    copy.assign(inserted);
    inserted = copy;
  }
  if (inserted.empty()) inserted = "";  // never hand memcpy a null source
  const std::size_t l = length(high, target);
  const std::size_t s = inserted.size();
  const std::size_t p = std::min({position, l, std::size_t{high}});
  if (l + s <= high) {
    std::memmove(target + p + s, target + p, l - p);
    std::memcpy(target + p, inserted.data(), s);
    fill_from(high, target, l + s);
    return;
  }
  // It does not fit: the inserted text wins over the target's tail.
  if (p + s > high) {
    std::memcpy(target + p, inserted.data(), high - p);
  } else {
    const std::size_t kept = high - s;  // the target cut to make room
    std::memmove(target + p + s, target + p, kept - p);
    std::memcpy(target + p, inserted.data(), s);
  }
  target[high] = '\0';
}

void erase(std::uint16_t high, char* text, std::size_t position, std::size_t count) {
  const std::size_t l = length(high, text);
  if (count == 0 || position > l) return;
  if (position + count < l) {
    std::memmove(text + position, text + position + count, l - position - count);
    fill_from(high, text, l - count);
  } else {
    fill_from(high, text, position);
  }
}

void justify(std::uint16_t high, char* text, std::size_t width, unsigned mode) {
  width = std::min<std::size_t>(width, high);
  const std::size_t l = length(high, text);
  std::size_t result = std::min(l, width);
  if (l < width && mode <= kRight) result = width;
  if (l < width) {
    const std::size_t d = width - l;
    switch (mode) {
      case kLeft:
        std::memset(text + l, ' ', d);
        break;
      case kRight:
        std::memmove(text + d, text, l);
        std::memset(text, ' ', d);
        break;
      case kCentre: {
        const std::size_t before = d / 2;
        std::memmove(text + before, text, l);
        std::memset(text, ' ', before);
        std::memset(text + before + l, ' ', d - before);
        break;
      }
      default:
        break;
    }
  }
  // A NUL at position width cuts a longer text, whatever the mode.
  fill_from(high, text, result);
}

void trim_right(std::uint16_t high, char* text) {
  std::size_t l = length(high, text);
  std::size_t n = l;
  while (n > 0 && text[n - 1] == ' ') --n;
  if (n != l) fill_from(high, text, n);
}

void trim_left(std::uint16_t high, char* text) {
  text[high] = '\0';
  std::string_view t = view(high, text);
  std::size_t spaces = 0;
  while (spaces < t.size() && t[spaces] == ' ') ++spaces;
  erase(high, text, 0, spaces);
}

namespace {

#ifdef __SSE2__
std::size_t search_windows_sse2(const char* t, std::size_t n, const char* p, std::size_t m) {
  return search_windows<Lanes16>(t, n, p, m);
}

using WindowSearch = std::size_t (*)(const char*, std::size_t, const char*, std::size_t);

// The widest searches the processor has.
enum class Width { k16, k32, k64 };
Width widest() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512bw")) return Width::k64;
  if (__builtin_cpu_supports("avx2")) return Width::k32;
  return Width::k16;
}
const WindowSearch window_search = [] {
  const Width w = widest();
  return w == Width::k64   ? search_windows_avx512
         : w == Width::k32 ? search_windows_avx2
                           : search_windows_sse2;
}();

// The first call picks the search and keeps it for the calls after it. The
// pointer starts out constant, so a call made while the library is still
// being loaded finds it set too.
std::size_t pick_array_search(const char* text, std::size_t limit, const char* pattern,
                              std::size_t plimit) noexcept {
  const Width w = widest();
  const ArraySearch chosen = w == Width::k64   ? search_array_avx512
                             : w == Width::k32 ? search_array_avx2
                                               : search_array_sse2;
  array_search.store(chosen, std::memory_order_relaxed);
  return chosen(text, limit, pattern, plimit);
}
#else
std::size_t pick_array_search(const char* text, std::size_t limit, const char* pattern,
                              std::size_t plimit) noexcept {
  return find(std::string_view(text, strnlen(text, limit)), view(plimit - 1, pattern));
}
#endif

}  // namespace

constinit std::atomic<ArraySearch> array_search{pick_array_search};

#ifdef __SSE2__
std::size_t search_array_sse2(const char* text, std::size_t limit, const char* p,
                              std::size_t plimit) noexcept {
  return search_array<Lanes16>(text, limit, p, plimit);
}
#endif

std::size_t find(std::string_view text, std::string_view pattern) {
  const char* t = text.data();
  const std::size_t n = text.size();
  const std::size_t m = pattern.size();
  if (m == 0) return n;
  if (m > n) return std::string_view::npos;
  const char* p = pattern.data();
  if (m == 1) {
    const void* at = std::memchr(t, p[0], n);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - t) : std::string_view::npos;
  }
#ifdef __SSE2__
  if (m - 1 + 16 <= n) return window_search(t, n, p, m);
#endif
  // A text shorter than one window: its few candidates are looked at in line.
  for (std::size_t i = 0; i + m <= n; ++i) {
    if (t[i] != p[0] || t[i + m - 1] != p[m - 1]) continue;
    std::size_t k = 1;
    while (k < m - 1 && t[i + k] == p[k]) ++k;
    if (k >= m - 1) return i;
  }
  return std::string_view::npos;
}


int find_and_remove(std::uint16_t high, char* text, std::string_view pattern) {
  std::size_t at = find(view(high, text), pattern);
  if (at == std::string_view::npos) return -1;
  erase(high, text, at, pattern.size());
  return static_cast<int>(at);
}

void find_and_replace(std::uint16_t high, char* text, std::string_view pattern,
                      std::string_view replacement) {
  std::string copy;
  if (overlaps(replacement, text, high)) {
    copy.assign(replacement);
    replacement = copy;
  }
  int at = find_and_remove(high, text, pattern);
  if (at >= 0) insert(replacement, high, text, static_cast<std::size_t>(at));
}

int compare(std::uint16_t ahigh, const char* a, std::uint16_t bhigh, const char* b) {
  const std::size_t la = length(ahigh, a);
  const std::size_t lb = length(bhigh, b);
  const std::size_t n = std::min({la, std::size_t{ahigh}, lb, std::size_t{bhigh}});
  for (std::size_t i = 0; i <= n; ++i) {
    const auto ca = static_cast<signed char>(a[i]);
    const auto cb = static_cast<signed char>(b[i]);
    if (ca != cb) return ca > cb ? 1 : -1;
  }
  return la > lb ? 1 : (la < lb ? -1 : 0);
}

std::string_view card_digits(std::uint16_t value, char (&buffer)[6]) {
  auto r = std::to_chars(buffer, buffer + 6, value);
  return {buffer, static_cast<std::size_t>(r.ptr - buffer)};
}

}  // namespace corva::text
