#include <corvaplat/profile.h>
#include <corvaplat/paths.h>

#include <dirent.h>

#include <array>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <corvaplat/config.h>
#include <corvaplat/text.h>

#include "settings/store_file.h"

namespace corva::platform {
namespace {

// ---- names -----------------------------------------------------------------

// The case fold of code page 1252, as a table: name matching is on the path
// of every read.
const std::array<char, 256>& fold_table() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = char_upper(static_cast<char>(c));
    return t;
  }();
  return table;
}

void append_folded(std::string& out, std::string_view name) {
  const auto& t = fold_table();
  for (char c : name) out.push_back(t[static_cast<unsigned char>(c)]);
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// A value as readers see it: blanks trimmed, then one pair of matching quotes.
std::string_view value_text(std::string_view raw) {
  std::string_view v = trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v.remove_prefix(1);
    v.remove_suffix(1);
  }
  if (const std::size_t nul = v.find('\0'); nul != std::string_view::npos) v = v.substr(0, nul);
  return v;
}

// ---- the parsed file ---------------------------------------------------------

struct Line {
  enum Kind : unsigned char { kOther, kSection, kEntry };
  std::string raw;   // the bytes of the line, terminator included
  Kind kind = kOther;
  std::string name;  // section or key name as written, trimmed
  std::string value; // entries: the value as readers see it
};

struct Profile {
  std::vector<Line> lines;
  std::string eol = "\n";  // the ending of the file's first line
  // Folded section name -> index of the first header of that name.
  std::unordered_map<std::string, std::size_t> sections;
  // Folded section name, '\n', folded key -> the entry's line, in the first
  // section of that name.
  std::unordered_map<std::string, std::size_t> entries;
  store::Identity identity;
};

Line parse_line(std::string raw) {
  Line line;
  std::string_view text(raw);
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  std::string_view t = trim(text);
  if (!t.empty() && t.front() == '[') {
    if (const std::size_t close = t.rfind(']'); close != std::string_view::npos) {
      line.kind = Line::kSection;
      line.name = trim(t.substr(1, close - 1));
    }
  } else if (!t.empty() && t.front() != ';') {
    if (const std::size_t eq = t.find('='); eq != std::string_view::npos) {
      line.kind = Line::kEntry;
      line.name = trim(t.substr(0, eq));
      line.value = value_text(t.substr(eq + 1));
    }
  }
  line.raw = std::move(raw);
  return line;
}

void build_index(Profile& p) {
  p.sections.clear();
  p.entries.clear();
  std::string section_key;  // folded name of the current section
  bool first_of_name = true;
  for (std::size_t i = 0; i < p.lines.size(); ++i) {
    const Line& line = p.lines[i];
    if (line.kind == Line::kSection) {
      section_key.clear();
      append_folded(section_key, line.name);
      first_of_name = p.sections.emplace(section_key, i).second;
    } else if (line.kind == Line::kEntry && first_of_name && !p.sections.empty()) {
      std::string key = section_key;
      key.push_back('\n');
      append_folded(key, line.name);
      p.entries.emplace(std::move(key), i);
    }
  }
}

// CR LF, LF and CR alone each end a line.
Profile parse(std::string_view content) {
  Profile p;
  bool eol_known = false;
  std::size_t at = 0;
  while (at < content.size()) {
    std::size_t end = content.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
      end = content.size();
    } else {
      end += content.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    }
    std::string raw(content.substr(at, end - at));
    if (!eol_known && (raw.back() == '\n' || raw.back() == '\r')) {
      p.eol = raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\r\n") == 0
                  ? "\r\n"
                  : std::string(1, raw.back());
      eol_known = true;
    }
    p.lines.push_back(parse_line(std::move(raw)));
    at = end;
  }
  build_index(p);
  return p;
}

std::string serialize(const Profile& p) {
  std::string out;
  std::size_t total = 0;
  for (const Line& l : p.lines) total += l.raw.size();
  out.reserve(total);
  for (const Line& l : p.lines) out += l.raw;
  return out;
}

// ---- file names ------------------------------------------------------------

// When path does not exist as spelled, a file in its directory whose name
// differs only in case.
std::string resolve_case(std::string path) {
  store::Identity id;
  if (store::identify(path, id) != ENOENT) return path;
  const std::string dir = store::directory_of(path);
  const std::string name = store::name_of(path);
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return path;
  std::string wanted;
  append_folded(wanted, name);
  std::string found;
  while (const dirent* e = ::readdir(d)) {
    std::string candidate;
    append_folded(candidate, e->d_name);
    if (candidate == wanted) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  if (found.empty()) return path;
  return (dir == "/" ? "/" : dir + "/") + found;
}

bool is_bare_name(std::string_view name) {
  return name.find_first_of("/\\:") == std::string_view::npos;
}

// The host path a file name stands for: a bare name in the Windows directory
// (its case resolved when the file is opened), any other through the DOS
// name resolver.
std::string host_path(const char* file) {
  if (file == nullptr) file = "WIN.INI";
  if (*file == '\0') return {};
  if (is_bare_name(file)) return windows_directory() + "/" + file;
  std::string host;
  return resolve_dos_path(file, host) == kErrorSuccess ? host : std::string();
}

// ---- the cache ---------------------------------------------------------------

struct Entry {
  std::shared_ptr<const Profile> profile;
  // The file read, held open: while it is unchanged a read costs one fstat.
  store::Watch watch;
};

struct Cache {
  std::mutex mutex;
  std::unordered_map<std::string, Entry> files;
};

Cache& cache() {
  static Cache* c = new Cache;  // never destroyed: used during unload
  return *c;
}

constexpr std::size_t kMaxCachedFiles = 64;

// Keeps p as the current version of path.
void remember(const std::string& path, std::shared_ptr<const Profile> p) {
  if (p->identity.size < 0) return;  // read while it changed: do not trust it
  Cache& c = cache();
  std::lock_guard lock(c.mutex);
  if (c.files.size() >= kMaxCachedFiles && c.files.find(path) == c.files.end()) c.files.clear();
  store::Watch watch(path, p->identity);
  c.files[path] = Entry{std::move(p), std::move(watch)};
}

// The parsed file, from the cache while the file is unchanged; null when the
// file cannot be read. One fstat of the open file while it is unchanged.
std::shared_ptr<const Profile> load(const char* file) {
  std::string path = host_path(file);
  if (path.empty()) return nullptr;
  {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.files.find(path);
        it != c.files.end() && it->second.watch.unchanged(it->second.profile->identity))
      return it->second.profile;
  }
  if ((file == nullptr || is_bare_name(file)) && !windows_directory_usable()) {
    SetLastError(kErrorAccessDenied);  // another user's directory: defaults only
    return nullptr;
  }
  store::Identity id;
  int err = store::identify(path, id);
  if (err == ENOENT) {
    std::string other = resolve_case(path);
    if (other != path) {
      path = std::move(other);
      err = store::identify(path, id);
    }
  }
  if (err != 0) {
    SetLastError(error_from_errno(err));
    return nullptr;
  }
  {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.files.find(path); it != c.files.end() && it->second.profile->identity == id) {
      it->second.watch = store::Watch(path, id);  // the same file: watch its links as they are now
      return it->second.profile;
    }
  }
  std::string content;
  if (err = store::read_whole(path, content, id); err != 0) {
    SetLastError(error_from_errno(err));
    return nullptr;
  }
  auto p = std::make_shared<Profile>(parse(content));
  p->identity = id;
  remember(path, p);
  return p;
}

// ---- reading ---------------------------------------------------------------

// Copies text cut to size - 1 and a NUL; the count copied. The text may lie
// inside the buffer.
std::uint32_t copy_cut(char* buffer, std::uint32_t size, std::string_view text) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memmove(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

// Copies a NUL-separated list (each name already followed by its NUL) and
// the closing NUL, or cuts it to size - 2 characters and two NULs.
std::uint32_t copy_list(char* buffer, std::uint32_t size, const std::string& list) {
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<std::uint32_t>(list.size());
  }
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  const std::size_t n = size - 2;
  std::memcpy(buffer, list.data(), n);
  buffer[n] = '\0';
  buffer[n + 1] = '\0';
  return static_cast<std::uint32_t>(n);
}

std::string section_list(const Profile& p) {
  std::string list;
  for (const Line& l : p.lines) {
    if (l.kind != Line::kSection || l.name.empty()) continue;
    list += l.name;
    list.push_back('\0');
  }
  return list;
}

std::string key_list(const Profile& p, std::size_t header) {
  std::string list;
  for (std::size_t i = header + 1; i < p.lines.size() && p.lines[i].kind != Line::kSection; ++i) {
    const Line& l = p.lines[i];
    if (l.kind != Line::kEntry || l.name.empty()) continue;
    list += l.name;
    list.push_back('\0');
  }
  return list;
}

// The entry's value, or null when the key is not there.
const std::string* find_value(const Profile& p, std::string_view section, std::string_view key) {
  thread_local std::string lookup;
  lookup.clear();
  append_folded(lookup, trim(section));
  lookup.push_back('\n');
  append_folded(lookup, trim(key));
  const auto it = p.entries.find(lookup);
  return it == p.entries.end() ? nullptr : &p.lines[it->second].value;
}

std::size_t find_section(const Profile& p, std::string_view section) {
  std::string folded;
  append_folded(folded, trim(section));
  const auto it = p.sections.find(folded);
  return it == p.sections.end() ? std::string::npos : it->second;
}

// ---- editing ---------------------------------------------------------------

// Index just past the last line of the section whose header is at `header`.
std::size_t section_end(const Profile& p, std::size_t header) {
  std::size_t i = header + 1;
  while (i < p.lines.size() && p.lines[i].kind != Line::kSection) ++i;
  return i;
}

bool ends_line(const std::string& raw) {
  return !raw.empty() && (raw.back() == '\n' || raw.back() == '\r');
}

void terminate_line(Line& line, const std::string& eol) {
  if (!ends_line(line.raw)) line.raw += eol;
}

std::string line_ending_of(const Line& line, const std::string& eol) {
  const std::string& raw = line.raw;
  if (raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\r\n") == 0) return "\r\n";
  if (ends_line(raw)) return std::string(1, raw.back());
  return raw.empty() ? eol : "";
}

// Whether L is a line of KIND whose name folds to FOLDED.
bool is_named(const Line& l, Line::Kind kind, const std::string& folded) {
  if (l.kind != kind) return false;
  std::string f;
  append_folded(f, l.name);
  return f == folded;
}

// Applies one write to the profile; false when nothing changed.
bool edit(Profile& p, std::string_view section, const char* key, const char* value) {
  std::string folded_section;
  append_folded(folded_section, section);
  auto matches_section = [&](const Line& l) {
    return is_named(l, Line::kSection, folded_section);
  };

  if (key == nullptr) {  // delete every section of that name
    bool changed = false;
    for (std::size_t i = 0; i < p.lines.size();) {
      if (matches_section(p.lines[i])) {
        const std::size_t end = section_end(p, i);
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(i),
                      p.lines.begin() + static_cast<std::ptrdiff_t>(end));
        changed = true;
      } else {
        ++i;
      }
    }
    return changed;
  }

  const std::string_view key_name = trim(key);
  std::string folded_key;
  append_folded(folded_key, key_name);
  std::size_t header = std::string::npos;
  for (std::size_t i = 0; i < p.lines.size(); ++i) {
    if (matches_section(p.lines[i])) {
      header = i;
      break;
    }
  }
  auto is_key = [&](const Line& l) { return is_named(l, Line::kEntry, folded_key); };

  if (value == nullptr) {  // delete the key in its section
    if (header == std::string::npos) return false;
    bool changed = false;
    for (std::size_t i = header + 1; i < section_end(p, header);) {
      if (is_key(p.lines[i])) {
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(i));
        changed = true;
      } else {
        ++i;
      }
    }
    return changed;
  }

  std::string_view text(value);
  if (const std::size_t cut = text.find_first_of("\r\n"); cut != std::string_view::npos)
    text = text.substr(0, cut);

  if (header == std::string::npos) {  // a new section at the end
    if (!p.lines.empty()) {
      terminate_line(p.lines.back(), p.eol);
      if (!trim(p.lines.back().raw).empty()) p.lines.push_back(parse_line(p.eol));
    }
    p.lines.push_back(parse_line("[" + std::string(trim(section)) + "]" + p.eol));
    p.lines.push_back(parse_line(std::string(key_name) + "=" + std::string(text) + p.eol));
    return true;
  }
  const std::size_t end = section_end(p, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& l = p.lines[i];
    if (!is_key(l)) continue;
    std::string raw = l.name + "=" + std::string(text) + line_ending_of(l, p.eol);
    if (raw == l.raw) return false;
    l = parse_line(std::move(raw));
    return true;
  }
  std::size_t at = end;  // after the last line of the section that is not blank
  while (at > header + 1 && trim(p.lines[at - 1].raw).empty()) --at;
  terminate_line(p.lines[at - 1], p.eol);
  p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(at),
                 parse_line(std::string(key_name) + "=" + std::string(text) + p.eol));
  return true;
}

// Whether a name, written into the file, reads back as itself: not empty,
// no line end, and nothing that would make its line read as something else
// (a key written as "[x]=..." or ";x=..." is a header or a comment).
bool valid_section(const char* name) {
  if (name == nullptr) return false;
  const std::string_view t = trim(name);
  return !t.empty() && t.find_first_of("]\r\n") == std::string_view::npos;
}

bool valid_key(const char* name) {
  if (name == nullptr) return false;
  const std::string_view t = trim(name);
  return !t.empty() && t.front() != '[' && t.front() != ';' &&
         t.find_first_of("=\r\n") == std::string_view::npos;
}

}  // namespace

std::string profile_path(const char* file) { return resolve_case(host_path(file)); }

void profile_cache_clear() {
  Cache& c = cache();
  std::lock_guard lock(c.mutex);
  c.files.clear();
}

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* default_value, char* buffer,
                                       std::uint32_t size, const char* file) {
  if (buffer == nullptr || size == 0) return 0;
  const std::shared_ptr<const Profile> p = load(file);
  if (section == nullptr) {
    if (p == nullptr) {
      buffer[0] = '\0';
      if (size > 1) buffer[1] = '\0';
      return 0;
    }
    return copy_list(buffer, size, section_list(*p));
  }
  // The default is copied without its trailing blanks, as the host system does.
  std::string_view fallback = default_value == nullptr ? "" : default_value;
  while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t'))
    fallback.remove_suffix(1);
  if (key == nullptr) {
    if (trim(section).empty()) {
      buffer[0] = '\0';
      return 0;
    }
    if (p != nullptr) {
      if (const std::size_t h = find_section(*p, section); h != std::string::npos) {
        const std::string list = key_list(*p, h);
        if (!list.empty()) return copy_list(buffer, size, list);
      }
    }
    return copy_cut(buffer, size, fallback);
  }
  if (p != nullptr && !trim(key).empty()) {
    if (const std::string* v = find_value(*p, section, key)) return copy_cut(buffer, size, *v);
  }
  return copy_cut(buffer, size, fallback);
}

std::uint32_t GetPrivateProfileIntA(const char* section, const char* key,
                                    std::int32_t default_value, const char* file) {
  const auto fallback = static_cast<std::uint32_t>(default_value);
  if (section == nullptr || key == nullptr) return fallback;
  const std::shared_ptr<const Profile> p = load(file);
  if (p == nullptr) return fallback;
  const std::string* v = find_value(*p, section, key);
  if (v == nullptr || v->empty()) return fallback;
  std::string_view s(*v);
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::uint32_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = n * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return negative ? 0u - n : n;
}

std::int32_t WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                        const char* file) {
  if (section == nullptr) {
    if (key == nullptr && value == nullptr) {  // the request to flush: nothing is pending
      profile_cache_clear();
      return 1;
    }
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  if (!valid_section(section) || (key != nullptr && !valid_key(key))) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  if (file != nullptr && *file == '\0') {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  const std::string path = profile_path(file);
  if (path.empty()) {
    SetLastError(kErrorPathNotFound);
    return 0;
  }
  const bool deleting = key == nullptr || value == nullptr;
  if (file == nullptr || is_bare_name(file)) {
    store::Identity id;
    if (deleting && store::identify(path, id) != 0) return 1;  // nothing to delete
    if (!ensure_windows_directory()) {
      SetLastError(error_from_errno(errno));
      return 0;
    }
  }
  store::WriteLock lock(path);
  if (lock.error() != 0) {
    SetLastError(lock.error() == ENOENT ? kErrorPathNotFound : error_from_errno(lock.error()));
    return 0;
  }
  // Read afresh under the lock: another process may have just replaced it.
  auto p = std::make_shared<Profile>();
  std::string content;
  store::Identity id;
  if (int err = store::read_whole(lock.target(), content, id); err == 0) {
    *p = parse(content);
  } else if (err != ENOENT) {
    SetLastError(error_from_errno(err));
    return 0;
  } else if (deleting) {
    return 1;
  }
  if (!edit(*p, trim(section), key, value)) return 1;
  build_index(*p);
  if (int err = store::replace(lock.target(), serialize(*p)); err != 0) {
    SetLastError(err == ENOENT ? kErrorPathNotFound : error_from_errno(err));
    return 0;
  }
  if (store::identify(path, p->identity) == 0) remember(path, p);
  return 1;
}

std::uint32_t GetProfileStringA(const char* section, const char* key, const char* default_value,
                                char* buffer, std::uint32_t size) {
  return GetPrivateProfileStringA(section, key, default_value, buffer, size, nullptr);
}

std::uint32_t GetProfileIntA(const char* section, const char* key, std::int32_t default_value) {
  return GetPrivateProfileIntA(section, key, default_value, nullptr);
}

std::int32_t WriteProfileStringA(const char* section, const char* key, const char* value) {
  return WritePrivateProfileStringA(section, key, value, nullptr);
}

}  // namespace corva::platform
