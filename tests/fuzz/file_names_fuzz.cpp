// File names taken apart and put together again, and DOS wildcards, on
// arbitrary bytes in arrays of exactly HIGH + 1 bytes.
//   byte 0: the operation; byte 1: HIGH of the first text (cut to the input);
//   the rest: the text, or a pattern and a name split at the first byte 0x01
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "corvalib/files.h"
#include "corvaplat/search.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

template <std::size_t N>
std::size_t field_length(const char (&f)[N]) {
  return strnlen(f, N);
}

// ParseFileName and ConstructFileName: with no part longer than its field, the
// name rebuilt from its own parts is the name (with its drive letter in upper
// case).
void names(std::string_view data, std::uint16_t high) {
  std::vector<char> text(data.begin(), data.end());
  if (text.empty()) text.push_back('\0');
  high = static_cast<std::uint16_t>(std::min<std::size_t>(high, text.size() - 1));
  text.resize(std::size_t{high} + 1);
  CvNameRecord r;
  check(ParseFileName(high, text.data(), &r) == 1);
  const std::string_view whole(text.data(), strnlen(text.data(), text.size()));
  const std::size_t parts = field_length(r.drive) + field_length(r.directory) +
                            field_length(r.name) + field_length(r.extension);
  check(parts <= whole.size());
  const bool fits = parts == whole.size();
  std::vector<char> out(whole.size() + 1, 'x');
  const char empty[1] = {'\0'};
  ConstructFileName(high, text.data(), 0, empty, static_cast<std::uint16_t>(whole.size()),
                    out.data());
  if (!fits) return;
  std::string expected(whole);
  if (r.drive[0] != '\0') expected[0] = r.drive[0];  // the drive letter in upper case
  check(std::string_view(out.data(), whole.size()) == expected && out.back() == '\0');
}

// A name that holds no wildcard matches itself, in any case, and "*" and
// "*" + name match it too.
void wildcards(std::string_view data) {
  const std::size_t split = data.find('\x01');
  const std::string_view pattern = data.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? data : data.substr(split + 1);
  corva::platform::dos_wildcard_match(pattern, name);  // any bytes: no crash
  if (name.size() > 200 || name.find_first_of("*?") != std::string_view::npos) return;
  check(corva::platform::dos_wildcard_match(name, name));
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  check(corva::platform::dos_wildcard_match(upper, name));
  check(corva::platform::dos_wildcard_match("*", name));
  check(corva::platform::dos_wildcard_match("*.*", name));
  // A pattern with a wildcard drops trailing blanks and dots, which no name
  // on the original platform ends in.
  if (!name.empty() && (name.back() == ' ' || name.back() == '.')) return;
  check(corva::platform::dos_wildcard_match("*" + std::string(name), name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view data(reinterpret_cast<const char*>(bytes) + 2, size - 2);
  if (bytes[0] % 2 == 0) {
    names(data, bytes[1]);
  } else {
    wildcards(data);
  }
  return 0;
}
