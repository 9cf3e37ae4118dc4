// MatchMask on any two texts: its answer is a comparison's, every text
// matches itself and a mask of stars as long as it, an empty mask matches
// everything, and a mask without stars compares as signed characters do.
//   the text and the mask, split at the first byte 0x01
#include <cstdint>
#include <string>
#include <string_view>

#include "corvalib/text.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;

// Text against a star-free mask no longer than it.
int compare(std::string_view text, std::string_view mask) {
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const auto a = static_cast<signed char>(text[i]), b = static_cast<signed char>(mask[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return text.size() > mask.size() ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 2048) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\x01');
  std::string text(bytes.substr(0, split));
  std::string mask(split == std::string_view::npos ? "" : bytes.substr(split + 1));
  text = text.substr(0, text.find('\0'));
  mask = mask.substr(0, mask.find('\0'));

  const int answer = MatchMask(text.c_str(), mask.c_str());
  check(answer == -1 || answer == 0 || answer == 1);
  check(MatchMask(text.c_str(), text.c_str()) == 0);
  check(MatchMask(text.c_str(), "") == 0 && MatchMask(text.c_str(), nullptr) == 0);
  check(MatchMask(text.c_str(), std::string(text.size(), '*').c_str()) == 0);
  if (!mask.empty() && mask.find('*') == std::string::npos && text.size() >= mask.size())
    check(answer == compare(text, mask));
  return 0;
}
