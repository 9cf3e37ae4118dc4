// INI files of any bytes: reading never faults, and the entries read, written
// one by one into a new file, read back as the same entries (parse, write,
// parse). Entries the format cannot carry as they are (values with blanks or
// a pair of quotes around them, line ends inside, names the writer refuses or
// that would read as a comment or a section) are left out of the comparison.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corvaplat/profile.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;
namespace plat = corva::platform;

using Entries = std::map<std::pair<std::string, std::string>, std::string>;

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// The NUL-separated names of a list read.
std::vector<std::string> split(const std::vector<char>& buffer, std::uint32_t n) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < n;) {
    const std::string name(buffer.data() + i);
    if (name.empty()) break;
    names.push_back(name);
    i += name.size() + 1;
  }
  return names;
}

// Every entry the reader gives, by names without regard to case (the first
// section and key of a name are the ones read), in the order listed.
std::vector<std::pair<std::pair<std::string, std::string>, std::string>> read_all(const std::string& file) {
  std::vector<std::pair<std::pair<std::string, std::string>, std::string>> out;
  std::vector<char> buffer(1 << 17);
  const auto size = static_cast<std::uint32_t>(buffer.size());
  std::vector<std::string> seen;
  for (const std::string& section : split(buffer, plat::GetPrivateProfileStringA(nullptr, nullptr, "", buffer.data(), size, file.c_str()))) {
    if (std::find(seen.begin(), seen.end(), lower(section)) != seen.end()) continue;
    seen.push_back(lower(section));
    std::vector<char> keys(1 << 17);
    std::vector<std::string> seen_keys;
    for (const std::string& key : split(keys, plat::GetPrivateProfileStringA(section.c_str(), nullptr, "", keys.data(), size, file.c_str()))) {
      if (std::find(seen_keys.begin(), seen_keys.end(), lower(key)) != seen_keys.end()) continue;
      seen_keys.push_back(lower(key));
      const std::uint32_t n = plat::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), size, file.c_str());
      out.push_back({{section, key}, std::string(buffer.data(), n)});
    }
  }
  return out;
}

bool carried(const std::string& section, const std::string& key, const std::string& value) {
  // The reader trims these blanks from both ends of names and values.
  auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
  };
  auto edges = [&blank](const std::string& s) {
    return !s.empty() && (blank(s.front()) || blank(s.back()));
  };
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  const bool quote_left = !value.empty() && (value.front() == '"' || value.front() == '\'');
  return !edges(value) && !quoted && !quote_left && value.find_first_of("\r\n") == std::string::npos &&
         !edges(section) && !edges(key) && key.find_first_of(";[") != 0 &&
         section.find_first_of("\r\n") == std::string::npos && key.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  const auto& root = corva::fuzz::Root::get();
  root.clear_windir();
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::replace(bytes.begin(), bytes.end(), '\0', ' ');  // names and values are texts
  const std::string first = root.windir() + "/FIRST.INI";
  root.write(first, bytes);

  Entries written;
  const std::string second = root.windir() + "/SECOND.INI";
  for (const auto& [names, value] : read_all(first)) {
    const auto& [section, key] = names;
    if (!carried(section, key, value)) continue;
    if (plat::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), second.c_str()) != 1)
      continue;  // a name the writer refuses
    written[{lower(section), lower(key)}] = value;
  }
  Entries back;
  for (const auto& [names, value] : read_all(second)) back[{lower(names.first), lower(names.second)}] = value;
  check(back == written);
  return 0;
}
