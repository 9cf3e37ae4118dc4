// The message markers "###", "$$$" and "%$%" filled into a work buffer of any
// HIGH: the buffer keeps at most HIGH characters, NUL-filled to its end, and
// when the filled text fits it is the text with its first marker replaced.
//   byte 0: the marker; bytes 1-2: HIGH and the number; the rest: the
//   buffer's text and the inserted text, split at the first byte 0x01
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "messages/engine.h"

namespace {

using corva::fuzz::check;
namespace msg = corva::messages;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 4096) return 0;
  const std::uint16_t high = data[1] + 1;
  const std::uint16_t number = static_cast<std::uint16_t>(data[2] * 257);
  std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::size_t split = rest.find('\x01');
  std::string text(rest.substr(0, split));
  std::string inserted(split == std::string_view::npos ? "" : rest.substr(split + 1));
  text = text.substr(0, std::min<std::size_t>(text.find('\0'), high));
  inserted = inserted.substr(0, inserted.find('\0'));

  std::vector<char> buffer(std::size_t{high} + 1, '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
  const char* marker = "###";
  switch (data[0] % 3) {
    case 0:
      msg::put_number(high, buffer.data(), number);
      inserted = std::to_string(number);
      break;
    case 1:
      marker = "$$$";
      msg::put_text(high, buffer.data(), inserted);
      break;
    case 2:
      marker = "%$%";
      msg::put_para(high, buffer.data(), inserted);
      break;
  }
  const std::string out(buffer.data(), std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin());
  check(out.size() <= high);
  for (std::size_t i = out.size(); i < buffer.size(); ++i) check(buffer[i] == '\0');
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) {
    check(out == text);
  } else if (text.size() - 3 + inserted.size() <= high &&
             inserted.find('\0') == std::string::npos) {
    check(out == text.substr(0, at) + inserted + text.substr(at + 3));
  }
  return 0;
}
