// The settings stores among files that are not what they seem: special files
// and symlinks planted under their names, modes and links a rewrite must keep,
// temporaries of writers that died, names that would not read back, and
// Windows directories the process must not trust.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "corvaplat/config.h"
#include "corvaplat/owned_file.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {
namespace fs = std::filesystem;
using namespace corva::platform;

std::string read_cvx(const char* key, const char* def = "?") {
  char buffer[64];
  const std::uint32_t n = GetPrivateProfileStringA("Lib", key, def, buffer, sizeof buffer, "CVX70.INI");
  return std::string(buffer, n);
}

std::string read_win(const char* key) {
  char buffer[64];
  return std::string(buffer, GetProfileStringA("Lib", key, "?", buffer, sizeof buffer));
}

// The value "A" of HKLM\SOFTWARE\T as a string, or the error number.
std::string read_registry() {
  RegKey k = 0;
  if (const std::int32_t e = RegOpenKeyExA(kHKeyLocalMachine, "SOFTWARE\\T", 0, kKeyRead, &k); e != 0)
    return "error " + std::to_string(e);
  char data[16] = {};
  std::uint32_t size = sizeof data - 1;
  const std::int32_t e =
      RegQueryValueExA(k, "A", nullptr, nullptr, reinterpret_cast<std::uint8_t*>(data), &size);
  RegCloseKey(k);
  return e == 0 ? std::string(data) : "error " + std::to_string(e);
}

std::int32_t write_registry(const char* value) {
  RegKey k = 0;
  if (const std::int32_t e = RegCreateKeyExA(kHKeyLocalMachine, "SOFTWARE\\T", 0, "", 0,
                                             kKeyAllAccess, nullptr, &k, nullptr); e != 0)
    return e;
  const std::int32_t e = RegSetValueExA(k, "A", 0, kRegSz, reinterpret_cast<const std::uint8_t*>(value),
                                        static_cast<std::uint32_t>(std::strlen(value) + 1));
  RegCloseKey(k);
  return e;
}

mode_t mode_of(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class HostileFiles : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(win_);
    profile_cache_clear();
  }
  void TearDown() override { profile_cache_clear(); }
  corva::test::TempDir dir_;
  std::string win_ = dir_.file("win");
  corva::test::WindowsDirectory windir_{win_};
};

TEST_F(HostileFiles, SpecialFilesAreNeverRead) {
  // Each reader meets each thing that is not a regular file, or one over the
  // size limit: defaults (or an error) at once, never a wait or a crash.
  struct Plant {
    const char* what;
    void (*make)(const std::string& path);
  } plants[] = {
      {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
      {"symlink to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
      {"directory", [](const std::string& p) { fs::create_directory(p); }},
      {"over the limit", [](const std::string& p) {
         std::ofstream(p) << "[Lib]\nA=x\n";
         fs::resize_file(p, kMaxOwnedFileSize + 1);
       }},
  };
  for (const Plant& plant : plants) {
    for (const char* name : {"CVX70.INI", "WIN.INI", "CORVAREG.TXT"}) {
      fs::remove_all(win_ + "/" + name);
      plant.make(win_ + "/" + name);
    }
    const auto planted = fs::symlink_status(win_ + "/CVX70.INI").type();
    profile_cache_clear();
    EXPECT_EQ(read_cvx("A"), "?") << plant.what;
    EXPECT_EQ(read_win("A"), "?") << plant.what;
    EXPECT_EQ(read_registry().substr(0, 5), "error") << plant.what;
    // A write neither blocks nor replaces what is there.
    EXPECT_EQ(WritePrivateProfileStringA("Lib", "A", "y", "CVX70.INI"), 0) << plant.what;
    EXPECT_EQ(GetLastError(), plant.what[0] == 'o' ? kErrorDiskFull : kErrorAccessDenied);
    EXPECT_NE(write_registry("y"), 0) << plant.what;
    for (const char* name : {"CVX70.INI", "CORVAREG.TXT"})
      EXPECT_EQ(fs::symlink_status(win_ + "/" + name).type(), planted) << plant.what << name;
  }
}

TEST_F(HostileFiles, PlantedSymlinksAreNotWrittenThrough) {
  const std::string target = dir_.file("victim");
  struct Case {
    const char* link;
    bool (*write)();
  } cases[] = {
      {".CVX70.INI.lock", [] { return WritePrivateProfileStringA("Lib", "A", "1", "CVX70.INI") == 1; }},
      {".WIN.INI.lock", [] { return WriteProfileStringA("Lib", "A", "1") == 1; }},
      {".CORVAREG.TXT.lock", [] { return write_registry("1") == 0; }},
  };
  for (const Case& c : cases) {
    for (bool target_exists : {false, true}) {
      fs::remove(target);
      if (target_exists) dir_.write("victim", "precious");
      fs::remove(win_ + "/" + c.link);
      fs::create_symlink(target, win_ + "/" + c.link);
      EXPECT_FALSE(c.write()) << c.link;
      EXPECT_EQ(fs::exists(target), target_exists) << c.link;
      EXPECT_EQ(dir_.read("victim"), target_exists ? "precious" : "") << c.link;
    }
  }
}

TEST_F(HostileFiles, RewritesKeepModeAndSharedTargets) {
  struct Case {
    const char* name;
    bool (*write)(const char* value);
  } cases[] = {
      {"CVX70.INI", [](const char* v) { return WritePrivateProfileStringA("Lib", "A", v, "CVX70.INI") == 1; }},
      {"WIN.INI", [](const char* v) { return WriteProfileStringA("Lib", "A", v) == 1; }},
      {"CORVAREG.TXT", [](const char* v) { return write_registry(v) == 0; }},
  };
  for (const Case& c : cases) {
    const std::string path = win_ + "/" + c.name;
    ASSERT_TRUE(c.write("first")) << c.name;
    for (mode_t mode : {0600, 0640, 0604}) {
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
      EXPECT_TRUE(c.write(std::to_string(mode).c_str())) << c.name;
      EXPECT_EQ(mode_of(path), mode) << c.name;
    }
  }
  // A profile linked into place from a shared folder keeps receiving the writes.
  fs::create_directories(dir_.file("shared"));
  dir_.write("shared/SHARED.INI", "[Lib]\nA=old\n");
  fs::remove(win_ + "/CVX70.INI");
  fs::create_symlink("../shared/SHARED.INI", win_ + "/CVX70.INI");
  EXPECT_EQ(WritePrivateProfileStringA("Lib", "A", "new", "CVX70.INI"), 1);
  EXPECT_TRUE(fs::is_symlink(win_ + "/CVX70.INI"));
  EXPECT_EQ(dir_.read("shared/SHARED.INI"), "[Lib]\nA=new\n");
  EXPECT_EQ(read_cvx("A"), "new");
}

TEST_F(HostileFiles, TemporariesOfDeadWritersAreRemoved) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  const std::string orphan = ".CVX70.INI." + std::to_string(dead) + ".4.tmp";
  const std::string live = ".CVX70.INI." + std::to_string(getppid()) + ".4.tmp";
  const std::string other_file = ".WIN.INI." + std::to_string(dead) + ".4.tmp";
  const std::string not_ours = ".CVX70.INI.x" + std::to_string(dead) + ".4.tmp";
  for (const std::string& name : {orphan, live, other_file, not_ours}) dir_.write("win/" + name, "x");
  ASSERT_EQ(WritePrivateProfileStringA("Lib", "A", "1", "CVX70.INI"), 1);
  EXPECT_FALSE(fs::exists(win_ + "/" + orphan));
  for (const std::string& name : {live, other_file, not_ours}) EXPECT_TRUE(fs::exists(win_ + "/" + name)) << name;
}

TEST_F(HostileFiles, ChangeInPlaceWithTheOldTimeIsSeen) {
  dir_.write("win/CVX70.INI", "[Lib]\nA=one\n");
  EXPECT_EQ(read_cvx("A"), "one");
  const auto when = fs::last_write_time(win_ + "/CVX70.INI");
  {
    std::fstream f(win_ + "/CVX70.INI", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(8);
    f << "two";
  }
  fs::last_write_time(win_ + "/CVX70.INI", when);
  EXPECT_EQ(read_cvx("A"), "two");
}

TEST_F(HostileFiles, NamesThatWouldNotReadBackAreRefused) {
  dir_.write("win/CVX70.INI", "[Reports]\nA=1\n[Lib]\nB=2\n");
  struct Case {
    const char* section;
    const char* key;
  } refused[] = {
      {"Reports", "[Lib]"}, {"Reports", " [x"}, {"Reports", ";hidden"}, {"Reports", "a=b"},
      {"Reports", ""},      {"Reports", "a\rb"}, {"Reports", "a\nb"},   {"", "K"},
      {"a]b", "K"},         {"a\rb", "K"},      {"  ", "K"},
  };
  for (const Case& c : refused) {
    SetLastError(0);
    EXPECT_EQ(WritePrivateProfileStringA(c.section, c.key, "x", "CVX70.INI"), 0) << c.section << c.key;
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter) << c.section << c.key;
  }
  EXPECT_EQ(dir_.read("win/CVX70.INI"), "[Reports]\nA=1\n[Lib]\nB=2\n");
  // Names that look odd but read back as themselves are kept.
  for (const Case& c : {Case{"a=b", "k"}, Case{"Reports", "a]b"}, Case{"[x", "k;"}}) {
    EXPECT_EQ(WritePrivateProfileStringA(c.section, c.key, "v", "CVX70.INI"), 1) << c.section << c.key;
    char buffer[8];
    EXPECT_EQ(GetPrivateProfileStringA(c.section, c.key, "", buffer, sizeof buffer, "CVX70.INI"), 1u);
  }
}

TEST_F(HostileFiles, ReadsAsTheHostSystemDoes) {
  dir_.write("win/CR.INI", "[section1]\rname1=val1\r[section2]\rname2=val2\r");
  char buffer[64];
  struct Case {
    const char* section;
    const char* key;
    const char* def;
    std::string expected;
  } cases[] = {
      {"section1", "name1", "", "val1"},
      {"section2", "name2", "", "val2"},
      {nullptr, nullptr, "", std::string("section1\0section2\0", 18)},
      {"section1", "missing", "default  ", "default"},
      {"section1", "missing", "tab\t \t", "tab"},
      {"section1", "missing", "  lead", "  lead"},
  };
  for (const Case& c : cases) {
    const std::uint32_t n = GetPrivateProfileStringA(c.section, c.key, c.def, buffer, sizeof buffer, "CR.INI");
    EXPECT_EQ(std::string(buffer, n), c.expected) << c.key;
  }
  // A CR file stays one when written.
  EXPECT_EQ(WritePrivateProfileStringA("section1", "new", "n", "CR.INI"), 1);
  EXPECT_EQ(dir_.read("win/CR.INI"), "[section1]\rname1=val1\rnew=n\r[section2]\rname2=val2\r");
}

TEST_F(HostileFiles, UntrustedWindowsDirectoryGivesDefaults) {
  dir_.write("win/CVX70.INI", "[Lib]\nA=planted\n");
  EXPECT_EQ(read_cvx("A"), "planted");
  struct Case {
    const char* what;
    mode_t mode;
    uid_t owner;
  } cases[] = {
      {"writable by others", 0777, geteuid()},
      {"another user's", 0755, geteuid() + 4242},
  };
  for (const Case& c : cases) {
    if (c.owner != geteuid() && geteuid() != 0) continue;  // only root can give it away
    ASSERT_EQ(chmod(win_.c_str(), c.mode), 0);
    ASSERT_EQ(chown(win_.c_str(), c.owner, static_cast<gid_t>(-1)), 0);
    profile_cache_clear();
    EXPECT_EQ(read_cvx("A"), "?") << c.what;
    EXPECT_EQ(WritePrivateProfileStringA("Lib", "A", "mine", "CVX70.INI"), 0) << c.what;
    EXPECT_EQ(GetLastError(), kErrorAccessDenied) << c.what;
    EXPECT_EQ(write_registry("mine"), kErrorAccessDenied) << c.what;
    EXPECT_EQ(dir_.read("win/CVX70.INI"), "[Lib]\nA=planted\n") << c.what;
    ASSERT_EQ(chown(win_.c_str(), geteuid(), static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(chmod(win_.c_str(), 0755), 0);
  }
}

}  // namespace
