// The registry store read from any bytes, then written: reads never fault,
// and a value set reads back with exactly its type and bytes (the store's
// quoting carries every byte), also after the store is read anew.
//   byte 0: the value's type; byte 1: length of its name; then the name, the
//   value's bytes up to the byte 0x01, and the store file's bytes
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "corvalib/frame.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;

bool reads_back(const std::string& name, std::uint32_t type, const std::string& bytes) {
  std::uint32_t got_type = 0;
  std::vector<std::uint8_t> got(bytes.size() + 1);
  auto size = static_cast<std::uint32_t>(got.size());
  if (CVXRegQryValue("Fuzz", "Options", name.c_str(), &got_type, got.data(), &size) != 0) return false;
  return got_type == type && size == bytes.size() && std::memcmp(got.data(), bytes.data(), size) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 8192) return 0;
  const auto& root = corva::fuzz::Root::get();
  root.clear_windir();
  const std::uint32_t type = data[0] % 12;
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string name(rest.substr(0, data[1] % 32));
  name = name.substr(0, name.find('\0'));
  rest.remove_prefix(std::min<std::size_t>(data[1] % 32, rest.size()));
  const std::size_t split = rest.find('\x01');
  std::string bytes(rest.substr(0, split));
  if (type == 4) bytes.resize(4, '\0');  // a 32-bit number has four bytes
  const std::string_view store = split == std::string_view::npos ? "" : rest.substr(split + 1);
  root.write(root.windir() + "/CORVAREG.TXT", store);

  // Reads of the store as found: any answer, no fault.
  std::uint8_t buffer[64];
  std::uint32_t n = sizeof buffer;
  CVXRegQryValue("Fuzz", "Options", name.c_str(), nullptr, buffer, &n);
  n = sizeof buffer;
  CVXRegQryValue("Fuzz", "Setup", "", nullptr, buffer, &n);

  const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (CVXRegSetValue("Fuzz", "Options", name.c_str(), type, raw, length) != 0) return 0;
  check(reads_back(name, type, bytes));
  return 0;
}
