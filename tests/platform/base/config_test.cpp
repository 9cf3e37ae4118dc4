// Where the Windows directory is when the environment says little or names it
// relative to the current directory.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "corvaplat/config.h"
#include "support/temp_dir.h"

namespace {
using namespace corva::platform;

// Sets (or, with nullopt, clears) an environment variable for its lifetime.
class Variable {
 public:
  Variable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* v = std::getenv(name)) saved_ = v;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~Variable() {
    if (saved_) {
      setenv(name_, saved_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
    reload_configuration();
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST(WindowsDirectory, DefaultsNeverUseASharedFolder) {
  const passwd* me = getpwuid(geteuid());
  ASSERT_NE(me, nullptr);
  const std::string home = me->pw_dir;
  struct Case {
    std::optional<std::string> xdg, home;
    std::string expected;
  } cases[] = {
      {"/x/conf", "/h", "/x/conf/corvalib"},
      {"relative", "/h/", "/h/.config/corvalib"},
      {std::nullopt, std::nullopt, home + "/.config/corvalib"},
      {std::nullopt, "", home + "/.config/corvalib"},
      {std::nullopt, "not/absolute", home + "/.config/corvalib"},
  };
  Variable windir("CORVALIB_WINDIR", std::nullopt);
  for (const Case& c : cases) {
    Variable xdg("XDG_CONFIG_HOME", c.xdg);
    Variable home_var("HOME", c.home);
    reload_configuration();
    EXPECT_EQ(windows_directory(), c.expected);
  }
}

TEST(WindowsDirectory, RelativeSettingIsFixedAtFirstUse) {
  corva::test::TempDir dir;
  dir.mkdir("sub");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Variable windir("CORVALIB_WINDIR", "relwin/");
  reload_configuration();
  const std::string first = windows_directory();
  std::filesystem::current_path(dir.file("sub"));
  const std::string second = windows_directory();
  std::filesystem::current_path(before);
  EXPECT_EQ(first, dir.file("relwin"));
  EXPECT_EQ(second, first);
}

}  // namespace
