#include "text/bstr.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace corva::text {

std::string_view view(std::uint16_t high, const char* text) {
  if (text == nullptr) return {};
  std::size_t cap = std::size_t{high} + 1;
  const void* nul = std::memchr(text, '\0', cap);
  return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : cap};
}

void fill_from(std::uint16_t high, char* text, std::size_t from) {
  std::size_t cap = std::size_t{high} + 1;
  if (text != nullptr && from < cap) std::memset(text + from, 0, cap - from);
}

void write(std::uint16_t high, char* text, std::string_view source) {
  if (text == nullptr) return;
  std::size_t n = std::min<std::size_t>(source.size(), high);
  if (n != 0) std::memmove(text, source.data(), n);
  fill_from(high, text, n);
}

bool overlaps(std::string_view part, const char* array, std::uint16_t high) {
  if (part.empty() || array == nullptr) return false;
  auto p = reinterpret_cast<std::uintptr_t>(part.data());
  auto a = reinterpret_cast<std::uintptr_t>(array);
  return p < a + std::size_t{high} + 1 && a < p + part.size();
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

std::size_t find(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return text.size();
  return text.find(pattern);
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
