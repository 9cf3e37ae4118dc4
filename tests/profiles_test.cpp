// The product's entries to its INI file, WIN.INI and its registry keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/config.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {
using namespace corva::platform;

class ProfilesTest : public testing::Test {
 protected:
  void TearDown() override { set_reported_platform(kPlatformWin32Windows); }
  corva::test::TempDir dir_;
  corva::test::WindowsDirectory windir_{dir_.path()};
};

TEST_F(ProfilesTest, IniFilesOfTheProduct) {
  EXPECT_EQ(WriteCVXProfileString("Lib", "DATAPATH", "C:\\DATA"), 1);
  EXPECT_EQ(WriteCVXProfileString("Lib", "Count", "-12"), 1);
  EXPECT_EQ(WriteWINProfileString("intl", "iCurrDigits", "3"), 1);
  // Cutting to the buffer is the profile layer's own; only a negative size is ours.
  char buffer[16];
  EXPECT_EQ(GetCVXProfileString("lib", "datapath", "", buffer, 16), 7u);
  EXPECT_STREQ(buffer, "C:\\DATA");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(GetCVXProfileString("Lib", "DATAPATH", "", buffer, -1), 0u);  // negative: nothing
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(static_cast<std::int32_t>(GetCVXProfileInt("Lib", "Count", 5)), -12);
  EXPECT_EQ(static_cast<std::int32_t>(GetCVXProfileInt("Lib", "None", -5)), -5);
  EXPECT_EQ(GetWINProfileInt("INTL", "ICURRDIGITS", 2), 3u);
  EXPECT_EQ(GetWINProfileString("intl", "sDate", "/", buffer, 16), 1u);
  EXPECT_STREQ(buffer, "/");
  EXPECT_EQ(GetSYSProfileString("Lib", "DATAPATH", "", buffer, 16, "cvx70.ini"), 7u);
  EXPECT_EQ(GetSYSProfileString("intl", "iCurrDigits", "", buffer, 16, nullptr), 1u);
}

TEST_F(ProfilesTest, RegistryKeysOfTheProduct) {
  struct Case { const char* section; RegKey root; const char* path; };
  const Case cases[] = {
      {"Options", kHKeyCurrentUser, "Software\\Corvantis\\Accounting\\Options"},
      {"Tips", kHKeyCurrentUser, "Software\\Corvantis\\Accounting\\Tips"},
      {"options", kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Accounting\\options"},
      {"Setup", kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Accounting\\Setup"},
  };
  for (const Case& c : cases) {
    CvHANDLE key = 0;
    EXPECT_EQ(CVXGetRegKey("Accounting", c.section, &key, 0), kErrorFileNotFound) << c.section;
    ASSERT_EQ(CVXGetRegKey("Accounting", c.section, &key, 1), 0);
    RegCloseKey(key);
    RegKey direct = 0;
    EXPECT_EQ(RegOpenKeyExA(c.root, c.path, 0, kKeyRead, &direct), 0) << c.path;
    RegCloseKey(direct);
  }
  const std::uint8_t count[4] = {7, 0, 0, 0};
  EXPECT_EQ(CVXRegSetValue("Accounting", "Options", "Count", kRegDword, count, 4), 0);
  std::uint8_t data[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  std::uint32_t type = 0, size = sizeof data;
  EXPECT_EQ(CVXRegQryValue("Accounting", "Options", "count", &type, data, &size), 0);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(data[0], 7);
  // A key that does not exist: the open's answer, the data untouched.
  data[0] = 9;
  EXPECT_EQ(CVXRegQryValue("Payroll", "Options", "Count", &type, data, &size), kErrorFileNotFound);
  EXPECT_EQ(data[0], 9);
  CvHANDLE key = 0;
  EXPECT_EQ(CVXGetRegKey(nullptr, "Options", &key, 1), kErrorInvalidParameter);
  EXPECT_EQ(CVXGetRegKey("Accounting", "Options", nullptr, 1), kErrorInvalidParameter);
}

TEST_F(ProfilesTest, SystemValueRedirection) {
  char buffer[32] = "unchanged";
  // Not Windows NT here: never redirected.
  EXPECT_EQ(CVXRegQrySysValue("SYSTEM.INI", "Boot.Description", "display.drv", "", buffer, 32), -1);
  set_reported_platform(kPlatformWin32Nt);
  EXPECT_EQ(CVXRegQrySysValue("SYSTEM.INI", "Boot.Description", "display.drv", "", buffer, 32), -1);
  RegKey k = 0;
  ASSERT_EQ(RegCreateKeyExA(kHKeyLocalMachine,
                            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\WOW\\boot.description",
                            0, "", 0, kKeyAllAccess, nullptr, &k, nullptr), 0);
  RegSetValueExA(k, "display.drv", 0, kRegSz, reinterpret_cast<const std::uint8_t*>("VGA\0"), 4);
  RegCloseKey(k);
  EXPECT_EQ(CVXRegQrySysValue("SYSTEM.INI", "Boot.Description", "display.drv", "", buffer, 32), 4);
  EXPECT_STREQ(buffer, "VGA");
  EXPECT_EQ(CVXRegQrySysValue("SYSTEM.INI", "Boot.Description", "display.drv", "", buffer, 2), -1);
  EXPECT_EQ(CVXRegQrySysValue("win.ini", "boot.description", "display.drv", "", buffer, 32), -1);
  EXPECT_EQ(CVXRegQrySysValue("system.ini", "boot", "display.drv", "", buffer, 32), -1);
  EXPECT_EQ(CVXRegQrySysValue(nullptr, nullptr, nullptr, nullptr, nullptr, 0), -1);
}

}  // namespace
