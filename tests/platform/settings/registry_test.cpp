// The registry store of the platform layer: values kept exactly, the error
// numbers callers see, the text file it lives in, and an unreadable store.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "corvaplat/config.h"
#include "corvaplat/registry.h"
#include "corvaplat/sys.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {
using namespace corva::platform;

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class RegistryTest : public testing::Test {
 protected:
  RegKey create(const char* path) {
    RegKey k = 0;
    EXPECT_EQ(RegCreateKeyExA(kHKeyLocalMachine, path, 0, "Cls", 0, kKeyAllAccess, nullptr, &k,
                              nullptr), 0);
    return k;
  }
  corva::test::TempDir dir_;
  corva::test::WindowsDirectory windir_{dir_.file("win")};
};

TEST_F(RegistryTest, KeepsValuesExactly) {
  using namespace std::string_literals;
  struct Case { const char* name; std::uint32_t type; std::string bytes; };
  const Case cases[] = {
      {"Company", kRegSz, "ACME \"Ltd\"\\\0"s},
      {"Unterminated", kRegSz, "abc"s},
      {"Count", kRegDword, "\x2a\0\0\x80"s},
      {"Short", kRegDword, "\x01\x02"s},
      {"Layout", kRegBinary, "\0\x01\xff\0"s},
      {"Empty", kRegBinary, ""s},
      {"", kRegSz, "default\0"s},
      {"Odd", 7, "a\0b\0\0"s},
  };
  const RegKey k = create("SOFTWARE\\Corvantis\\Ledger\\Setup");
  for (const Case& c : cases) {
    EXPECT_EQ(RegSetValueExA(k, c.name, 0, c.type, reinterpret_cast<const std::uint8_t*>(c.bytes.data()),
                             static_cast<std::uint32_t>(c.bytes.size())), 0);
  }
  EXPECT_EQ(RegCloseKey(k), 0);
  // Read back through another open, the path in another case.
  RegKey r = 0;
  ASSERT_EQ(RegOpenKeyExA(kHKeyLocalMachine, "software\\CORVANTIS\\ledger\\setup", 0, kKeyRead, &r), 0);
  for (const Case& c : cases) {
    std::uint8_t data[32];
    std::uint32_t type = 99, size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(r, c.name, nullptr, &type, data, &size), 0) << c.name;
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), c.bytes) << c.name;
  }
  std::uint32_t size = 0, type = 0;
  EXPECT_EQ(RegQueryValueExA(r, "COMPANY", nullptr, &type, nullptr, &size), 0);
  EXPECT_EQ(size, 12u);
  std::uint8_t small[4] = {'z', 'z', 'z', 'z'};
  size = 4;
  EXPECT_EQ(RegQueryValueExA(r, "Company", nullptr, nullptr, small, &size), kErrorMoreData);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(small[0], 'z');
  EXPECT_EQ(RegQueryValueExA(r, "Company", nullptr, nullptr, small, nullptr), kErrorInvalidParameter);
  EXPECT_EQ(RegQueryValueExA(r, "Nothing", nullptr, nullptr, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(RegSetValueExA(r, "Company", 0, kRegSz, small, 1), kErrorAccessDenied);
  EXPECT_EQ(RegCloseKey(r), 0);
  EXPECT_EQ(RegCloseKey(r), kErrorInvalidHandle);
  EXPECT_EQ(RegQueryValueExA(r, "Company", nullptr, nullptr, nullptr, &size), kErrorInvalidHandle);
}

TEST_F(RegistryTest, OpensWhatExists) {
  RegKey k = create("SOFTWARE\\Corvantis\\Ledger\\Setup");
  RegCloseKey(k);
  struct Case { RegKey root; const char* path; std::int32_t result; };
  const Case cases[] = {
      {kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Ledger\\Setup", 0},
      {kHKeyLocalMachine, "SOFTWARE\\Corvantis", 0},          // a key above a stored one
      {kHKeyLocalMachine, "\\SOFTWARE\\\\Corvantis\\", 0},
      {kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Led", kErrorFileNotFound},
      {kHKeyCurrentUser, "SOFTWARE\\Corvantis\\Ledger\\Setup", kErrorFileNotFound},
      {kHKeyLocalMachine, "", 0},
      {12345, "SOFTWARE", kErrorInvalidHandle},
  };
  for (const Case& c : cases) {
    RegKey r = 0;
    EXPECT_EQ(RegOpenKeyExA(c.root, c.path, 0, kKeyRead, &r), c.result) << c.path;
    if (c.result == 0) {
      EXPECT_EQ(RegCloseKey(r), 0);
    }
  }
  std::uint32_t disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(kHKeyLocalMachine, "software\\corvantis\\LEDGER\\setup", 0, "", 0,
                            kKeyAllAccess, nullptr, &k, &disposition), 0);
  EXPECT_EQ(disposition, kRegOpenedExistingKey);
  RegKey sub = 0;
  ASSERT_EQ(RegCreateKeyExA(k, "Sub", 0, nullptr, 0, kKeyAllAccess, nullptr, &sub, &disposition), 0);
  EXPECT_EQ(disposition, kRegCreatedNewKey);
  RegCloseKey(sub);
  RegCloseKey(k);
  EXPECT_EQ(RegOpenKeyExA(kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Ledger\\Setup\\SUB", 0, kKeyRead, &k), 0);
  RegCloseKey(k);
}

TEST_F(RegistryTest, StoresReadableText) {
  const RegKey k = create("SOFTWARE\\Corvantis\\Ledger");
  const std::uint8_t dword[] = {0x2a, 0, 0, 0};
  RegSetValueExA(k, "Count", 0, kRegDword, dword, 4);
  RegSetValueExA(k, "Name", 0, kRegSz, reinterpret_cast<const std::uint8_t*>("A\tB\xe9"), 5);
  RegSetValueExA(k, "Bin", 0, kRegBinary, dword, 2);
  RegCloseKey(k);
  EXPECT_EQ(slurp(registry_path()),
            "CorvaLib registry 1\n\n"
            "key \"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Corvantis\\\\Ledger\" class \"Cls\"\n"
            "value \"Count\" dword 0x0000002a\n"
            "value \"Name\" sz \"A\\x09B\\xe9\\0\"\n"
            "value \"Bin\" hex(3) 2a 00\n");
}

TEST_F(RegistryTest, UnreadableStoreIsKeptUntilAWrite) {
  const RegKey k = create("SOFTWARE\\Corvantis\\Ledger");
  const std::string garbage = "not a registry\nkey \"HKEY_LOCAL_MACHINE\\\\X\"\n";
  std::uint32_t size = 0;
  const std::uint8_t one = 1;
  // Each time the store turns to garbage the next write keeps a copy of it,
  // never over an earlier one.
  for (const char* backup : {"win/CORVAREG.BAD", "win/CORVAREG.BAD.1"}) {
    std::ofstream(registry_path(), std::ios::binary | std::ios::trunc) << garbage;
    RegKey r = 0;
    EXPECT_EQ(RegQueryValueExA(k, "A", nullptr, nullptr, nullptr, &size), kErrorRegistryCorrupt);
    EXPECT_EQ(RegOpenKeyExA(kHKeyLocalMachine, "X", 0, kKeyRead, &r), kErrorRegistryCorrupt);
    EXPECT_EQ(slurp(registry_path()), garbage);
    EXPECT_EQ(RegSetValueExA(k, "A", 0, kRegBinary, &one, 1), 0);
    EXPECT_EQ(slurp(dir_.file(backup)), garbage);
  }
  std::uint8_t back = 0;
  size = 1;
  EXPECT_EQ(RegQueryValueExA(k, "A", nullptr, nullptr, &back, &size), 0);
  EXPECT_EQ(back, 1);
  // A store that cannot be written: the error comes back, the old value stays.
  {
    SysOverride o;
    o.calls().open = [](const char* path, int flags, unsigned mode) {
      if (std::string(path).find(".tmp") != std::string::npos) {
        errno = EACCES;
        return -1;
      }
      return real_sys().open(path, flags, mode);
    };
    const std::uint8_t two = 2;
    EXPECT_EQ(RegSetValueExA(k, "A", 0, kRegBinary, &two, 1), kErrorAccessDenied);
  }
  EXPECT_EQ(RegQueryValueExA(k, "A", nullptr, nullptr, &back, &size), 0);
  EXPECT_EQ(back, 1);
  RegCloseKey(k);
}

TEST_F(RegistryTest, BadLinesCostOnlyThemselves) {
  const RegKey k = create("SOFTWARE\\Corvantis\\Ledger");
  for (std::uint8_t i = 0; i < 100; ++i)
    RegSetValueExA(k, ("v" + std::to_string(i)).c_str(), 0, kRegBinary, &i, 1);
  const auto every_value_reads = [&] {
    for (std::uint8_t i = 0; i < 100; ++i) {
      std::uint8_t back = 0xFF;
      std::uint32_t size = 1;
      if (RegQueryValueExA(k, ("v" + std::to_string(i)).c_str(), nullptr, nullptr, &back, &size) != 0 ||
          back != i)
        return false;
    }
    return true;
  };
  struct Case {
    const char* bad;     // appended to the store
    const char* backup;  // where the next write sets it aside
  } cases[] = {
      {"value \"broken\n", "win/CORVAREG.BAD"},
      {"key \"HKEY_NOWHERE\\\\X\"\nvalue \"under it\" dword 0x00000001\n", "win/CORVAREG.BAD.1"},
      {"garbage\r\n", "win/CORVAREG.BAD.2"},
  };
  for (const Case& c : cases) {
    std::ofstream(registry_path(), std::ios::binary | std::ios::app) << c.bad;
    EXPECT_TRUE(every_value_reads()) << c.bad;
    const std::uint8_t one = 1;
    EXPECT_EQ(RegSetValueExA(k, "after", 0, kRegBinary, &one, 1), 0) << c.bad;
    EXPECT_TRUE(every_value_reads()) << c.bad;
    std::string expected = c.bad;
    if (const auto cr = expected.find('\r'); cr != std::string::npos) expected.erase(cr, 1);
    EXPECT_EQ(slurp(dir_.file(c.backup)), expected);
    EXPECT_EQ(slurp(registry_path()).find(expected), std::string::npos) << c.bad;
  }
  RegCloseKey(k);
}

}  // namespace
