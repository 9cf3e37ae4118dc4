// The bounded-string operations against a model on std::string. Every array
// is exactly HIGH + 1 bytes, so a write or read past it is caught; every
// result holds at most HIGH characters and is NUL-filled to the end.
//   byte 0: the operation; bytes 1-4: HIGH of the result and two numbers
//   (position, count); the rest: two texts split at the first byte 0x01
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corvalib/text.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;

std::string view(const std::vector<char>& a) {
  std::string s(a.begin(), a.end());
  return s.substr(0, s.find('\0'));
}

std::string cut(std::string s, std::uint16_t high) {
  if (s.size() > high) s.resize(high);
  return s;
}

// The array holds `expected` and NULs after it, to its end.
void holds(const std::vector<char>& a, const std::string& expected) {
  check(expected.size() < a.size());
  check(std::string_view(a.data(), expected.size()) == expected);
  for (std::size_t i = expected.size(); i < a.size(); ++i) check(a[i] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5 || size > 4096) return 0;
  const std::uint16_t dhigh = data[1];
  const std::uint16_t position = data[2], count = data[3];
  const std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
  const std::size_t split = rest.find('\x01');
  std::uint16_t ahigh = 0, bhigh = 0;
  const auto a = corva::fuzz::bounded(rest.substr(0, split), ahigh);
  const auto b = corva::fuzz::bounded(split == std::string_view::npos ? "" : rest.substr(split + 1), bhigh);
  const std::string av = view(a), bv = view(b);
  std::vector<char> dest(std::size_t{dhigh} + 1, 'x');

  // The destination starts as a proper bounded string holding b, cut.
  Assign(bhigh, b.data(), dhigh, dest.data());
  const std::string start = cut(bv, dhigh);
  holds(dest, start);

  switch (data[0] % 7) {
    case 0:
      Assign(ahigh, a.data(), dhigh, dest.data());
      holds(dest, cut(av, dhigh));
      break;
    case 1:
      Append(dhigh, dest.data(), ahigh, a.data());
      holds(dest, cut(start + av, dhigh));
      break;
    case 2:
      Concat(ahigh, a.data(), bhigh, b.data(), dhigh, dest.data());
      holds(dest, cut(av + bv, dhigh));
      break;
    case 3: {
      Insert(ahigh, a.data(), dhigh, dest.data(), position);
      const std::size_t at = std::min<std::size_t>(position, start.size());
      holds(dest, cut(start.substr(0, at) + av + start.substr(at), dhigh));
      break;
    }
    case 4: {
      Delete(dhigh, dest.data(), position, count);
      std::string expected = start;
      if (count != 0 && position < expected.size()) expected.erase(position, count);
      holds(dest, expected);
      break;
    }
    case 5: {
      Copy(ahigh, a.data(), position, count, dhigh, dest.data());
      const std::string part = cut(av, dhigh);
      holds(dest, position >= part.size() ? std::string() : part.substr(position, count));
      break;
    }
    case 6: {
      const std::uint16_t at = Pos(ahigh, a.data(), bhigh, b.data());
      const std::size_t found = av.empty() ? bv.size() : bv.find(av);
      check(at == (found == std::string::npos ? std::size_t{bhigh} + 1 : found));
      break;
    }
  }
  return 0;
}
