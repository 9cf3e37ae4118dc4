#include <corvaplat/config.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

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

void load_locked(Config& c) {
  if (c.loaded) return;
  const char* w = std::getenv("CORVALIB_WINDIR");
  if (w != nullptr && *w != '\0') {
    c.windir = strip_trailing_slashes(w);
  } else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x != nullptr && *x == '/') {
    c.windir = strip_trailing_slashes(std::string(x) + "/corvalib");
  } else if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0') {
    c.windir = strip_trailing_slashes(std::string(h) + "/.config/corvalib");
  } else {
    c.windir = "/tmp/corvalib";
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

bool ensure_windows_directory() {
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

std::string display_choice() {
  const char* v = std::getenv("CORVALIB_DISPLAY");
  return v != nullptr ? std::string(v) : std::string();
}

void reload_configuration() {
  Config& c = config();
  std::lock_guard lock(c.mutex);
  c.loaded = false;
}

}  // namespace corva::platform
