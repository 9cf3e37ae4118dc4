// The error log "ERRORLOG.TXT" in the data directory: the last 50 messages of
// every program sharing the directory, newest first, one 79-byte line each
// (number in columns 0-4, text in 7-76, CR LF). Each message rewrites the
// file's first 3950 bytes in place under an exclusive lock, so concurrent
// programs lose no line and never leave a line torn; bytes past 3950 of an
// overlong file are left as they were.
#include <cstring>

#include "corvaplat/headfile.h"
#include "corvaplat/paths.h"
#include "frame/state.h"
#include "messages/engine.h"
#include "text/bstr.h"

namespace corva::messages {
namespace {

namespace bs = corva::text;

void blank_line(char* line) {
  std::memset(line, ' ', kLogLine - 2);
  line[kLogLine - 2] = '\r';
  line[kLogLine - 1] = '\n';
}

bool edit_log(void* context, platform::FileHead& head) {
  push_log_line(head.bytes, head.created, *static_cast<const char(*)[kLogLine]>(context));
  return true;
}

}  // namespace

void log_line(std::int64_t number, std::string_view text, char (&line)[kLogLine]) {
  blank_line(line);
  if (number > 0 && number < 65536) {
    char digits[6];
    const std::string_view d = bs::card_digits(static_cast<std::uint16_t>(number), digits);
    std::memcpy(line + 5 - d.size(), d.data(), d.size());
  }
  const std::size_t n = text.size() < kLogText ? text.size() : kLogText;
  if (n != 0) std::memcpy(line + 7, text.data(), n);
  for (std::size_t i = 0; i < kLogLine - 1; ++i) {
    if (line[i] == '\0') line[i] = ' ';
  }
}

void push_log_line(unsigned char* image, bool created, const char (&line)[kLogLine]) {
  if (created) {
    for (std::size_t i = 0; i < kLogLines; ++i) blank_line(reinterpret_cast<char*>(image) + i * kLogLine);
  } else {
    std::memmove(image + kLogLine, image, kLogSize - kLogLine);
  }
  std::memcpy(image, line, kLogLine);
}

void save_message(std::int64_t number, std::string_view text) {
  const CorvaLibDataType& r = frame::record();
  const std::string_view dir = bs::view(sizeof r.DataPath - 1, r.DataPath);
  if (dir.empty()) return;  // no data directory known: nowhere to log
  char name[65];
  bs::concat(64, name, static_cast<std::uint16_t>(dir.size()), dir.data(), 12, kLogName);
  std::string path;
  if (platform::resolve_dos_path(bs::view(64, name), path) != 0) return;
  char line[kLogLine];
  log_line(number, text, line);
  platform::rewrite_file_head(path.c_str(), kLogSize, edit_log, &line);
}

}  // namespace corva::messages
