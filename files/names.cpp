#include "files/names.h"

#include <algorithm>
#include <cstring>

namespace corva::files {
namespace {

template <std::size_t N>
void put(char (&field)[N], std::string_view part) {
  // A part longer than its field keeps its first N characters. An empty part
  // may have no data at all (a null text), which memcpy must not be given.
  if (!part.empty()) std::memcpy(field, part.data(), std::min(part.size(), N));
}

template <std::size_t N>
std::string_view field_text(const char (&field)[N]) {
  return {field, strnlen(field, N)};
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

}  // namespace

void parse_file_name(std::string_view text, CvNameRecord& record) {
  std::memset(&record, 0, sizeof record);
  std::size_t start = 0;
  if (text.size() >= 2 && text[1] == ':') {
    char letter = text[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (letter >= 'A' && letter <= 'Z') {
      record.drive[0] = letter;
      record.drive[1] = ':';
      start = 2;
    }
  }
  std::string_view rest = text.substr(start);
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < rest.size(); ++i)
    if (is_separator(rest[i])) last = i;
  if (last != std::string_view::npos) {
    put(record.directory, rest.substr(0, last + 1));
    rest.remove_prefix(last + 1);
  }
  const std::size_t dot = rest.find('.');
  put(record.name, rest.substr(0, dot));
  if (dot != std::string_view::npos) put(record.extension, rest.substr(dot));
}

std::string construct_file_name(const CvNameRecord& a, const CvNameRecord& b) {
  std::string out;
  out += a.drive[0] != '\0' ? field_text(a.drive) : field_text(b.drive);
  out += a.directory[0] != '\0' ? field_text(a.directory) : field_text(b.directory);
  out += a.name[0] != '\0' ? field_text(a.name) : field_text(b.name);
  out += a.extension[0] != '\0' ? field_text(a.extension) : field_text(b.extension);
  return out;
}

std::string replace_extension(std::string_view name, std::string_view extension) {
  std::string out(name);
  while (!out.empty() && out.back() != '.') out.pop_back();
  if (out.empty() || out.back() != '.') out += '.';
  out += extension;
  return out;
}

}  // namespace corva::files
