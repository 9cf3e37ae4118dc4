// The bounded string as the library handles it, and the one writer that every
// operation uses to leave a text cut to HIGH and NUL-filled to the array's end.
#pragma once
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corva::text {

// The text of a bounded string: up to the first NUL, or all high + 1 bytes.
// A null array reads as the empty text.
std::string_view view_scan(std::uint16_t high, const char* text);
inline std::string_view view(std::uint16_t high, const char* text) {
  // Short arrays (patterns, codes) are measured in line; a library call costs more.
  if (high < 16 && text != nullptr) {
    std::size_t n = 0;
    while (n <= high && text[n] != '\0') ++n;
    return {text, n};
  }
  return view_scan(high, text);
}
inline std::size_t length(std::uint16_t high, const char* text) { return view(high, text).size(); }
// The same text, but at most `limit` characters of it: a caller that will cut
// the text anyway need not scan further.
std::string_view view(std::uint16_t high, const char* text, std::size_t limit);

// Zeroes n > 32 bytes at p; from 64 bytes on with the widest stores the
// processor has.
void zero_long(char* p, std::size_t n) noexcept;

// Zeroes n >= 1 bytes at p. Up to 32 bytes take two overlapping stores of a
// fixed width, in line: most writers end a few bytes short of their array's
// end, and a call would cost more than the stores.
inline void zero_bytes(char* p, std::size_t n) {
  static constexpr char zeros[16] = {};
  if (n > 32) {
    zero_long(p, n);
  } else if (n >= 16) {
    std::memcpy(p, zeros, 16);
    std::memcpy(p + n - 16, zeros, 16);
  } else if (n >= 8) {
    std::memcpy(p, zeros, 8);
    std::memcpy(p + n - 8, zeros, 8);
  } else if (n >= 4) {
    std::memcpy(p, zeros, 4);
    std::memcpy(p + n - 4, zeros, 4);
  } else {
    p[0] = '\0';
    p[n - 1] = '\0';
    p[n / 2] = '\0';
  }
}

// NUL-fills positions from..high (nothing when from > high).
inline void fill_from(std::uint16_t high, char* text, std::size_t from) {
  const std::size_t cap = std::size_t{high} + 1;
  if (text != nullptr && from < cap) zero_bytes(text + from, cap - from);
}

// True when [a, a + an) and [b, b + bn) share a byte.
inline bool ranges_meet(const char* a, std::size_t an, const char* b, std::size_t bn) {
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + bn && pb < pa + an;
}

// Puts source at text, cut to high characters, and NUL-fills the rest of the
// array. The source may lie anywhere, inside the array too. Null text: no-op.
void write(std::uint16_t high, char* text, std::string_view source);

// The bounded string (shigh, source) put at text, cut to high and NUL-filled;
// the source may lie inside the array. A null source reads as empty.
void assign_general(std::uint16_t high, char* text, std::uint16_t shigh,
                    const char* source) noexcept;
// The same for an array of at most 16 bytes (high < 16): the source is read
// whole before the array is written, so it may lie anywhere. The arguments
// come in the exported call's order, so that call reaches it by a jump.
void assign_short(std::uint16_t shigh, const char* source, std::uint16_t high,
                  char* text) noexcept;
// Copies source's text, cut to high characters, into the array and NUL-fills
// it to text[high]. The source's array holds at least high bytes and lies
// apart from this one. The terminator goes first and the copy, which strncpy
// makes reading the source only up to its NUL and NUL-filling the rest, is
// the last step.
inline void copy_text(std::uint16_t high, char* text, const char* source) noexcept {
  text[high] = '\0';
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-truncation"  // the cut is the point
#endif
  std::strncpy(text, source, high);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
}
inline void assign(std::uint16_t high, char* text, std::uint16_t shigh, const char* source) {
  if (high < 16) return assign_short(shigh, source, high, text);
  // Mostly the source can fill the array and lies apart from it: then it is
  // a plain copy. The source's first high bytes miss the array when their
  // distance (source - text, taken modulo the address space) lies outside
  // [-(high - 1), high]: one comparison.
  const std::size_t apart = reinterpret_cast<std::uintptr_t>(source) -
                            reinterpret_cast<std::uintptr_t>(text) + high - 1;
  const bool wide = std::size_t{shigh} + 1 >= high;
  if (text != nullptr && source != nullptr && wide && apart >= 2 * std::size_t{high})
    return copy_text(high, text, source);
  assign_general(high, text, shigh, source);
}
// The same for first followed by second.
void concat(std::uint16_t high, char* text, std::uint16_t fhigh, const char* first,
            std::uint16_t shigh, const char* second);
// Concat for arrays of up to 128 bytes (high < 128) the widest way the
// processor has, chosen at the first call; false when it cannot take these
// texts, which then go the plain way.
using MediumConcat = bool (*)(std::uint16_t high, char* text, std::uint16_t fhigh,
                              const char* first, std::uint16_t shigh,
                              const char* second) noexcept;
extern std::atomic<MediumConcat> concat_medium;

// True when the memory of `part` lies (partly) inside the array of high + 1 bytes.
bool overlaps(std::string_view part, const char* array, std::uint16_t high);

// The operations below are the bounded-string family; the exported functions
// call them after their argument checks. Each takes non-null arrays.
void insert(std::string_view inserted, std::uint16_t high, char* target, std::size_t position);
void erase(std::uint16_t high, char* text, std::size_t position, std::size_t count);
void justify(std::uint16_t high, char* text, std::size_t width, unsigned mode);
void trim_left(std::uint16_t high, char* text);
void trim_right(std::uint16_t high, char* text);
// Position of the first occurrence, or npos. An empty pattern is found at the end.
std::size_t find(std::string_view text, std::string_view pattern);
// The search in an array of limit bytes whose text ends at its first NUL, for
// a non-empty pattern that is the array of plimit >= 1 bytes up to its first
// NUL; npos if absent. The widest the processor has, chosen at the first call.
using ArraySearch = std::size_t (*)(const char* text, std::size_t limit, const char* pattern,
                                    std::size_t plimit) noexcept;
extern std::atomic<ArraySearch> array_search;
// The same for any pattern: an empty one is found at the text's end. Nothing
// after either NUL changes the answer, and neither is measured on its own
// first. A null text reads as empty, a null pattern too.
inline std::size_t find_in_array(const char* text, std::size_t limit, const char* pattern,
                                 std::size_t plimit) {
  if (pattern == nullptr || pattern[0] == '\0') return text ? strnlen(text, limit) : 0;
  if (text == nullptr) return std::string_view::npos;
  return array_search.load(std::memory_order_relaxed)(text, limit, pattern, plimit);
}
// Removes the first occurrence of pattern; its position, or -1 when absent.
int find_and_remove(std::uint16_t high, char* text, std::string_view pattern);
void find_and_replace(std::uint16_t high, char* text, std::string_view pattern,
                      std::string_view replacement);
int compare(std::uint16_t ahigh, const char* a, std::uint16_t bhigh, const char* b);

// Decimal digits of a CARDINAL (no padding) in a caller's buffer of 6.
std::string_view card_digits(std::uint16_t value, char (&buffer)[6]);

enum JustifyMode : unsigned { kLeft = 0, kCentre = 1, kRight = 2 };

}  // namespace corva::text
