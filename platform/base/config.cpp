#include <corvaplat/config.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include <corvaplat/sys.h>

namespace corva::platform {
namespace {

struct Config {
  std::mutex mutex;
  bool loaded = false;
  std::string windir;
};

Config& config() {
  // Never destroyed: the library's unload runs after static destructors.
  static Config* c = new Config;
  return *c;
}

std::string strip_trailing_slashes(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// The home directory of the process's user in the password database.
std::string password_home() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/')
    return {};
  return found->pw_dir;
}

// An absolute path: a relative one is taken from the current directory now,
// so that later changes of directory do not move it.
std::string absolute(std::string path) {
  if (path.front() == '/') return path;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return {};
  return std::string(cwd) + "/" + path;
}

void load_locked(Config& c) {
  if (c.loaded) return;
  if (const char* w = std::getenv("CORVALIB_WINDIR"); w != nullptr && *w != '\0') {
    c.windir = strip_trailing_slashes(absolute(w));
  } else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x != nullptr && *x == '/') {
    c.windir = strip_trailing_slashes(x) + "/corvalib";
  } else if (const char* h = std::getenv("HOME"); h != nullptr && *h == '/') {
    c.windir = strip_trailing_slashes(h) + "/.config/corvalib";
  } else if (const std::string home = password_home(); !home.empty()) {
    c.windir = strip_trailing_slashes(home) + "/.config/corvalib";
  } else {
    c.windir.clear();  // no home anywhere: no Windows directory, never a shared one
  }
  c.loaded = true;
}

}  // namespace

std::string windows_directory() {
  Config& c = config();
  std::lock_guard lock(c.mutex);
  load_locked(c);
  return c.windir;
}

bool windows_directory_usable() {
  const std::string dir = windows_directory();
  if (dir.empty()) return false;
  struct stat st {};
  if (sys().stat(dir.c_str(), &st) != 0) return errno == ENOENT;  // made on first write
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & S_IWOTH) == 0;
}

bool ensure_windows_directory() {
  if (!windows_directory_usable()) {
    errno = EACCES;
    return false;
  }
  std::string dir = windows_directory();
  // Create each missing component in turn, like mkdir -p.
  for (std::size_t i = 1; i <= dir.size(); ++i) {
    if (i != dir.size() && dir[i] != '/') continue;
    std::string part = dir.substr(0, i);
    struct stat st {};
    if (sys().stat(part.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return false;
      continue;
    }
    if (sys().mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

std::optional<std::string> drive_root(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  // Read at each call: the mapping is cheap to look up and tests change it.
  std::string var = "CORVALIB_DRIVE_";
  var += letter;
  if (const char* v = std::getenv(var.c_str()); v != nullptr && *v != '\0') {
    return strip_trailing_slashes(v);
  }
  if (letter == 'C') return std::string("/");
  return std::nullopt;
}

void reload_configuration() {
  Config& c = config();
  std::lock_guard lock(c.mutex);
  c.loaded = false;
}

}  // namespace corva::platform
