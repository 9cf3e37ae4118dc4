#include <corvaplat/paths.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include <corvaplat/config.h>
#include <corvaplat/dirsys.h>
#include <corvaplat/sys.h>

#include "files/dos_names.h"
#include "files/name_cache.h"
#include "base/util.h"

namespace corva::platform {
namespace {

// The current drive and, per drive, the current directory as the components
// below the drive's root, in their case on disk.
struct Current {
  std::mutex mutex;
  bool loaded = false;
  char drive = 'C';
  std::array<std::vector<std::string>, 26> dirs;
};

Current& current() {
  static Current* c = new Current;  // never destroyed: used during unload
  return *c;
}

std::vector<std::string> split_host(std::string_view rest) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i < rest.size()) {
    std::size_t j = rest.find('/', i);
    if (j == std::string_view::npos) j = rest.size();
    if (j > i) parts.emplace_back(rest.substr(i, j - i));
    i = j + 1;
  }
  return parts;
}

// Takes the current drive and directory from the process's working directory:
// the drive with the longest root that holds it.
void load_locked(Current& c) {
  if (c.loaded) return;
  c.loaded = true;
  c.drive = 'C';
  for (auto& d : c.dirs) d.clear();
  char buffer[PATH_MAX];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return;
  const std::string cwd = buffer;
  std::size_t best = 0;
  bool found = false;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const auto root = drive_root(letter);
    if (!root) continue;
    const std::string& r = *root;
    const bool holds = r == "/" || cwd == r ||
                       (cwd.size() > r.size() && cwd.compare(0, r.size(), r) == 0 &&
                        cwd[r.size()] == '/');
    if (!holds || (found && r.size() <= best)) continue;
    found = true;
    best = r.size();
    c.drive = letter;
    c.dirs[letter - 'A'] = split_host(r == "/" ? std::string_view(cwd)
                                               : std::string_view(cwd).substr(r.size()));
  }
}

std::string join_host(const std::string& root, const std::vector<std::string>& parts,
                      std::size_t count) {
  std::string host = root == "/" ? std::string() : root;
  for (std::size_t i = 0; i < count; ++i) {
    host += '/';
    host += parts[i];
  }
  if (host.empty()) host = "/";
  return host;
}

std::size_t dos_length(const std::vector<std::string>& parts) {
  std::size_t n = 3;  // "X:\"
  for (const auto& p : parts) n += p.size() + 1;
  return parts.empty() ? n : n - 1;
}

bool is_dir(const std::string& host) {
  struct stat st {};
  return sys().stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& host) {
  struct stat st {};
  return sys().stat(host.c_str(), &st) == 0;
}

// Points the process's working directory at the current directory of the
// current drive; failures leave it where it was (the DOS state still holds).
void sync_working_directory_locked(Current& c) {
  const auto root = drive_root(c.drive);
  if (!root) return;
  const auto& parts = c.dirs[c.drive - 'A'];
  dir_sys().chdir(join_host(*root, parts, parts.size()).c_str());
}

bool valid_drive(int drive) { return drive >= 1 && drive <= 26 && drive_root(char('A' + drive - 1)); }

}  // namespace

// --- internal helpers shared with the search ---------------------------------

bool list_directory(const std::string& host, std::vector<std::string>& names) {
  void* d = dir_sys().opendir(host.c_str());
  if (d == nullptr) return false;
  while (const char* n = dir_sys().readdir(d)) {
    if (std::strcmp(n, ".") != 0 && std::strcmp(n, "..") != 0) names.emplace_back(n);
  }
  dir_sys().closedir(d);
  std::sort(names.begin(), names.end());
  return true;
}

std::string child_path(const std::string& dir, std::string_view name) {
  std::string path = dir == "/" ? std::string() : dir;
  path += '/';
  path += name;
  return path;
}

std::uint32_t parse_dos_name(std::string_view dos, bool wild_last, ParsedName& out) {
  out = ParsedName{};
  if (dos.empty()) return kErrorPathNotFound;
  if (dos.size() > kMaxDosPath) return kErrorFilenameTooLong;
  if (dos.find('\0') != std::string_view::npos) return kErrorInvalidName;
  std::string_view rest = dos;
  char letter = 0;
  if (dos.size() >= 2 && dos[1] == ':') {
    letter = dos[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (letter < 'A' || letter > 'Z') return kErrorInvalidName;
    rest.remove_prefix(2);
  } else if (dos[0] == '/') {
    out.host_path = std::string(dos);
    return kErrorSuccess;
  }
  Current& c = current();
  {
    std::lock_guard lock(c.mutex);
    load_locked(c);
    if (letter == 0) letter = c.drive;
    const bool absolute = !rest.empty() && (rest[0] == '\\' || rest[0] == '/');
    if (absolute && rest.size() >= 2 && (rest[1] == '\\' || rest[1] == '/'))
      return kErrorPathNotFound;  // network names are not served
    if (!absolute) out.parts = c.dirs[letter - 'A'];
  }
  const auto root = drive_root(letter);
  if (!root) return kErrorPathNotFound;
  out.drive = letter;
  out.root = *root;
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t j = rest.find_first_of("\\/", i);
    if (j == std::string_view::npos) j = rest.size();
    std::string_view part = rest.substr(i, j - i);
    const bool last = j == rest.size();
    i = j + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (out.parts.empty()) return kErrorPathNotFound;
      out.parts.pop_back();
      continue;
    }
    if (!(last && wild_last)) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
      if (part.empty()) return kErrorInvalidName;
    }
    for (char ch : part) {
      const auto u = static_cast<unsigned char>(ch);
      const bool wild = ch == '*' || ch == '?';
      if (u < 32 || std::strchr("<>:\"|", ch) != nullptr || (wild && !(last && wild_last)))
        return kErrorInvalidName;
    }
    out.parts.emplace_back(part);
  }
  if (dos_length(out.parts) > kMaxDosPath) return kErrorFilenameTooLong;
  return kErrorSuccess;
}

namespace {

// Walks the first `count` components down from the drive's root, fixing
// their case; each must be a directory. `at` and `st` receive the directory
// reached and its stat.
std::uint32_t walk(ParsedName& name, std::size_t count, std::string& at, struct stat& st) {
  at = join_host(name.root, name.parts, 0);
  if (sys().stat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kErrorPathNotFound;
  for (std::size_t k = 0; k < count; ++k) {
    auto real = find_entry(at, st, name.parts[k]);
    if (!real) return kErrorPathNotFound;
    name.parts[k] = std::move(*real);
    if (at != "/") at += '/';
    at += name.parts[k];
    if (sys().stat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kErrorPathNotFound;
  }
  return kErrorSuccess;
}

}  // namespace

std::uint32_t walk_parts(ParsedName& name, std::size_t count, std::string& host) {
  std::string at;
  struct stat st {};
  if (auto e = walk(name, count, at, st); e != kErrorSuccess) return e;
  host = std::move(at);
  return kErrorSuccess;
}

std::uint32_t resolve_parsed(ParsedName& name, std::string& host, bool* found) {
  if (!name.host_path.empty()) {
    host = name.host_path;
    if (found) *found = exists(host);
    return kErrorSuccess;
  }
  if (name.parts.empty()) {  // the drive's root
    if (!is_dir(name.root)) return kErrorPathNotFound;
    host = name.root;
    if (found) *found = true;
    return kErrorSuccess;
  }
  // Most names are given in their case on disk: one stat settles them.
  const std::string whole = join_host(name.root, name.parts, name.parts.size());
  if (exists(whole)) {
    host = whole;
    if (found) *found = true;
    return kErrorSuccess;
  }
  std::string dir;
  struct stat st {};
  const std::size_t n = name.parts.size();
  if (auto e = walk(name, n - 1, dir, st); e != kErrorSuccess) return e;
  std::string& last = name.parts[n - 1];
  auto real = find_entry(dir, st, last);
  if (real) last = std::move(*real);
  host = child_path(dir, last);
  if (found) *found = real.has_value();
  return kErrorSuccess;
}

// --- the public interface ----------------------------------------------------

std::uint32_t resolve_dos_path(std::string_view dos, std::string& host, bool* found) {
  ParsedName name;
  if (auto e = parse_dos_name(dos, false, name); e != kErrorSuccess) return e;
  return resolve_parsed(name, host, found);
}

std::uint32_t resolve_dos_directory(std::string_view dos, std::string& host) {
  ParsedName name;
  std::string text = dos.empty() ? std::string(".") : std::string(dos);
  if (text.size() == 2 && text[1] == ':') text += '.';
  if (auto e = parse_dos_name(text, false, name); e != kErrorSuccess) return e;
  if (!name.host_path.empty()) {
    if (!is_dir(name.host_path)) return kErrorPathNotFound;
    host = name.host_path;
    return kErrorSuccess;
  }
  return walk_parts(name, name.parts.size(), host);
}

bool is_drive_root(std::string_view dos) {
  ParsedName name;
  return parse_dos_name(dos, false, name) == kErrorSuccess && name.host_path.empty() &&
         name.parts.empty();
}

void reset_current_directories() {
  Current& c = current();
  std::lock_guard lock(c.mutex);
  c.loaded = false;
}

int _getdrive() {
  Current& c = current();
  std::lock_guard lock(c.mutex);
  load_locked(c);
  return c.drive - 'A' + 1;
}

int _chdrive(int drive) {
  if (!valid_drive(drive)) {
    SetLastError(kErrorPathNotFound);
    return -1;
  }
  Current& c = current();
  std::lock_guard lock(c.mutex);
  load_locked(c);
  c.drive = static_cast<char>('A' + drive - 1);
  sync_working_directory_locked(c);
  return 0;
}

char* _getdcwd(int drive, char* buffer, int max_length) {
  if (buffer == nullptr || max_length <= 0) return nullptr;
  std::string text;
  {
    Current& c = current();
    std::lock_guard lock(c.mutex);
    load_locked(c);
    const char letter = drive == 0 ? c.drive : static_cast<char>('A' + drive - 1);
    if (drive < 0 || drive > 26 || !drive_root(letter)) {
      SetLastError(kErrorPathNotFound);
      return nullptr;
    }
    text = {letter, ':'};
    const auto& parts = c.dirs[letter - 'A'];
    if (parts.empty()) text += '\\';
    for (const auto& p : parts) {
      text += '\\';
      text += p;
    }
  }
  if (text.size() + 1 > static_cast<std::size_t>(max_length)) {
    SetLastError(kErrorInsufficientBuffer);
    return nullptr;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return buffer;
}

int _chdir(const char* dos) {
  if (dos == nullptr) return -1;
  ParsedName name;
  std::string host;
  std::uint32_t e = parse_dos_name(dos, false, name);
  if (e == kErrorSuccess && !name.host_path.empty()) e = kErrorPathNotFound;  // no drive for it
  if (e == kErrorSuccess) e = walk_parts(name, name.parts.size(), host);
  if (e != kErrorSuccess) {
    SetLastError(e);
    return -1;
  }
  Current& c = current();
  std::lock_guard lock(c.mutex);
  c.dirs[name.drive - 'A'] = name.parts;
  const std::string_view text(dos);
  if (text.size() >= 2 && text[1] == ':') c.drive = name.drive;
  if (name.drive == c.drive) sync_working_directory_locked(c);
  return 0;
}

int _mkdir(const char* dos) {
  if (dos == nullptr) return -1;
  std::string host;
  bool there = false;
  std::uint32_t e = resolve_dos_path(dos, host, &there);
  if (e == kErrorSuccess && there) e = kErrorAlreadyExists;
  if (e == kErrorSuccess && sys().mkdir(host.c_str(), 0777) != 0) e = error_from_errno(errno);
  if (e != kErrorSuccess) {
    SetLastError(e);
    return -1;
  }
  return 0;
}

int _rmdir(const char* dos) {
  if (dos == nullptr) return -1;
  ParsedName name;
  std::string host;
  std::uint32_t e = parse_dos_name(dos, false, name);
  if (e == kErrorSuccess && name.host_path.empty() && name.parts.empty()) e = kErrorAccessDenied;
  if (e == kErrorSuccess) e = resolve_parsed(name, host, nullptr);
  if (e == kErrorSuccess && name.host_path.empty()) {
    // A directory that is current on its drive cannot go (DOS refuses too).
    Current& c = current();
    std::lock_guard lock(c.mutex);
    const auto& cur = c.dirs[name.drive - 'A'];
    if (cur.size() >= name.parts.size() &&
        std::equal(name.parts.begin(), name.parts.end(), cur.begin()))
      e = kErrorAccessDenied;
  }
  if (e == kErrorSuccess && sys().rmdir(host.c_str()) != 0) e = error_from_errno(errno);
  if (e != kErrorSuccess) {
    SetLastError(e);
    return -1;
  }
  return 0;
}

int _access(const char* dos, int mode) {
  if (dos == nullptr) return -1;
  std::string host;
  bool there = false;
  if (resolve_dos_path(dos, host, &there) != kErrorSuccess || !there) return -1;
  int m = F_OK;
  if (mode & 2) m |= W_OK;
  if (mode & 4) m |= R_OK;
  return sys().access(host.c_str(), m) == 0 ? 0 : -1;
}

int dos_rename(const char* from, const char* to) {
  constexpr int kNoEntry = 2, kDenied = 13, kOtherDevice = 18, kBadName = 22;
  if (from == nullptr || to == nullptr) return kBadName;
  std::string old_host, new_host;
  bool old_there = false, new_there = false;
  const std::uint32_t e1 = resolve_dos_path(from, old_host, &old_there);
  if (e1 == kErrorInvalidName || e1 == kErrorFilenameTooLong) return kBadName;
  if (e1 != kErrorSuccess || !old_there) return kNoEntry;
  ParsedName target;
  std::uint32_t e2 = parse_dos_name(to, false, target);
  if (e2 == kErrorInvalidName || e2 == kErrorFilenameTooLong) return kBadName;
  std::string given_last = target.parts.empty() ? std::string() : target.parts.back();
  if (e2 == kErrorSuccess) e2 = resolve_parsed(target, new_host, &new_there);
  if (e2 != kErrorSuccess) return kNoEntry;
  if (new_there) {
    struct stat a {}, b {};
    const bool same = sys().stat(old_host.c_str(), &a) == 0 &&
                      sys().stat(new_host.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
                      a.st_ino == b.st_ino;
    if (!same || given_last.empty()) return kDenied;
    // A change of case only: the new name is the one given.
    new_host.resize(new_host.size() - target.parts.back().size());
    new_host += given_last;
  }
  if (sys().rename(old_host.c_str(), new_host.c_str()) == 0) return 0;
  switch (errno) {
    case ENOENT:
    case ENOTDIR: return kNoEntry;
    case EXDEV: return kOtherDevice;
    case EINVAL:
    case ENAMETOOLONG: return kBadName;
    default: return kDenied;
  }
}

std::int32_t DeleteFileA(const char* dos) {
  if (dos == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::string host;
  bool there = false;
  std::uint32_t e = resolve_dos_path(dos, host, &there);
  if (e == kErrorSuccess && !there) e = kErrorFileNotFound;
  if (e == kErrorSuccess && is_dir(host)) e = kErrorAccessDenied;
  if (e == kErrorSuccess && sys().unlink(host.c_str()) != 0) e = error_from_errno(errno);
  SetLastError(e);
  return e == kErrorSuccess ? 1 : 0;
}

}  // namespace corva::platform
