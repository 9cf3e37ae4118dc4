// Points the Windows directory (CORVALIB_WINDIR) at a directory of the test's
// while it lives; the setting found before (none when it was empty) comes back
// afterwards. The configuration is read again on each change.
#pragma once
#include <cstdlib>
#include <string>

#include "corvaplat/config.h"

namespace corva::test {

class WindowsDirectory {
 public:
  explicit WindowsDirectory(const std::string& path) {
    const char* saved = std::getenv("CORVALIB_WINDIR");
    saved_ = saved == nullptr ? "" : saved;
    setenv("CORVALIB_WINDIR", path.c_str(), 1);
    platform::reload_configuration();
  }
  ~WindowsDirectory() {
    if (saved_.empty()) {
      unsetenv("CORVALIB_WINDIR");
    } else {
      setenv("CORVALIB_WINDIR", saved_.c_str(), 1);
    }
    platform::reload_configuration();
  }
  WindowsDirectory(const WindowsDirectory&) = delete;
  WindowsDirectory& operator=(const WindowsDirectory&) = delete;

 private:
  std::string saved_;
};

}  // namespace corva::test
