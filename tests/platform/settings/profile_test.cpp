// The profile (INI) engine of the platform layer: reading, listing, writing,
// the file names it resolves and the cache it keeps.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "corvaplat/platform.h"
#include "corvaplat/locale.h"
#include "corvaplat/profile.h"
#include "support/windir.h"

namespace {
using namespace corva::platform;

std::string make_temp_dir() {
  char pattern[] = "/tmp/corva-profile-XXXXXX";
  const char* dir = mkdtemp(pattern);
  return dir == nullptr ? std::string("/tmp") : std::string(dir);
}

void put(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string read(const char* section, const char* key, const std::string& file,
                 const char* def = "?", std::uint32_t size = 256) {
  std::string buffer(size == 0 ? 1 : size, '#');
  const std::uint32_t n = GetPrivateProfileStringA(section, key, def, buffer.data(), size,
                                                   file.c_str());
  return buffer.substr(0, n);
}

const char kSample[] =
    "; accounts\n"
    "[Lib]\n"
    "DATAPATH = C:\\DATA   \n"
    "Quoted = \"  padded  \"\n"
    "Single='x'\n"
    "Mismatch=\"abc'\n"
    "Empty=\n"
    "no equals sign here\n"
    "Num=  -42xyz\n"
    "Plus=+7\n"
    "Letters=abc\n"
    "\n"
    "[ Other ]\n"
    "key=1\n"
    "[LIB]\n"
    "OnlyHere=2\n";

class ProfileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = make_temp_dir();
    file_ = dir_ + "/SAMPLE.INI";
    put(file_, kSample);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_, file_;
};

TEST_F(ProfileTest, ReadsValuesAsWritten) {
  struct Case { const char* section; const char* key; const char* expected; };
  const Case cases[] = {
      {"Lib", "DATAPATH", "C:\\DATA"},   {"lib", "datapath", "C:\\DATA"},
      {"  LIB ", " DataPath ", "C:\\DATA"}, {"Lib", "Quoted", "  padded  "},
      {"Lib", "Single", "x"},            {"Lib", "Mismatch", "\"abc'"},
      {"Lib", "Empty", ""},              {"Lib", "no equals sign here", "?"},
      {"Lib", "Missing", "?"},           {"Other", "KEY", "1"},
      {"Lib", "OnlyHere", "?"},          {"Nowhere", "key", "?"},
      {"Lib", "", "?"},                  {"", "key", "?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read(c.section, c.key, file_), c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(read("Lib", "DATAPATH", dir_ + "/absent.ini"), "?");
  EXPECT_EQ(read("Lib", "DATAPATH", ""), "?");
  EXPECT_EQ(read("Lib", "DATAPATH", "R:\\UNMAPPED.INI"), "?");
}

TEST_F(ProfileTest, ReadsIntegers) {
  struct Case { const char* key; std::int32_t expected; };
  const Case cases[] = {{"Num", -42}, {"Plus", 7}, {"Letters", 0}, {"Empty", 99},
                        {"Missing", 99}, {"Single", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<std::int32_t>(GetPrivateProfileIntA("Lib", c.key, 99, file_.c_str())),
              c.expected)
        << c.key;
  }
  EXPECT_EQ(GetPrivateProfileIntA(nullptr, "Num", 5, file_.c_str()), 5u);
}

TEST_F(ProfileTest, CutsToTheBuffer) {
  struct Case { std::uint32_t size; std::string expected; };
  const Case cases[] = {{4, "C:\\"}, {2, "C"}, {1, ""}, {8, "C:\\DATA"}, {100, "C:\\DATA"}};
  for (const Case& c : cases) EXPECT_EQ(read("Lib", "DATAPATH", file_, "?", c.size), c.expected);
  char untouched[2] = {'z', 'z'};
  EXPECT_EQ(GetPrivateProfileStringA("Lib", "DATAPATH", "", untouched, 0, file_.c_str()), 0u);
  EXPECT_EQ(untouched[0], 'z');
  EXPECT_EQ(GetPrivateProfileStringA("Lib", "DATAPATH", "", nullptr, 10, file_.c_str()), 0u);
  // The default may be the buffer that receives the result.
  char same[8] = "-";
  EXPECT_EQ(GetPrivateProfileStringA("intl", "sDate", same, same, 2, file_.c_str()), 1u);
  EXPECT_STREQ(same, "-");
}

TEST_F(ProfileTest, ListsSectionsAndKeys) {
  using namespace std::string_literals;
  struct Case { const char* section; std::uint32_t size; std::string expected; std::uint32_t count; };
  const Case cases[] = {
      {nullptr, 100, "Lib\0Other\0LIB\0\0"s, 14},
      {nullptr, 15, "Lib\0Other\0LIB\0\0"s, 14},  // exactly fits
      {nullptr, 14, "Lib\0Other\0LI\0\0"s, 12},   // cut: size - 2 characters and two NULs
      {nullptr, 6, "Lib\0\0\0"s, 4},
      {nullptr, 2, "\0\0"s, 0},
      {nullptr, 1, "\0"s, 0},
      {"other", 100, "key\0\0"s, 4},
      {"Other", 4, "ke\0\0"s, 2},
      {"Nowhere", 100, "dflt\0"s, 4},  // no keys: the default
  };
  for (const Case& c : cases) {
    std::string buffer(c.size, '#');
    const std::uint32_t n = GetPrivateProfileStringA(c.section, nullptr, "dflt", buffer.data(),
                                                     c.size, file_.c_str());
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected) << c.size;
    EXPECT_EQ(n, c.count) << c.size;
  }
  std::string keys(200, '#');
  const std::uint32_t n = GetPrivateProfileStringA("LIB", nullptr, "", keys.data(), 200,
                                                   file_.c_str());
  EXPECT_EQ(keys.substr(0, n + 1),
            std::string("DATAPATH\0Quoted\0Single\0Mismatch\0Empty\0Num\0Plus\0Letters\0\0", n + 1));
}

TEST_F(ProfileTest, WritesKeepEverythingElse) {
  struct Case {
    const char* section; const char* key; const char* value; std::string before; std::string after;
  };
  const Case cases[] = {
      // Replace a value; comments, blanks and unknown lines stay byte for byte.
      {"lib", "datapath", "D:\\X", "; c\n[Lib]\n  DataPath = C:\\\nodd line\n\n[B]\n",
       "; c\n[Lib]\nDataPath=D:\\X\nodd line\n\n[B]\n"},
      // CRLF files stay CRLF; a new key goes after the section's last entry.
      {"Lib", "New", "1", "[Lib]\r\nA=1\r\n\r\n[B]\r\n", "[Lib]\r\nA=1\r\nNew=1\r\n\r\n[B]\r\n"},
      // A new section at the end, after a blank line; an unterminated last line is ended.
      {"Opt", "K", "v", "[Lib]\nA=1", "[Lib]\nA=1\n\n[Opt]\nK=v\n"},
      // Delete a key; delete a section (every section of the name).
      {"Lib", "A", nullptr, "[Lib]\nA=1\nB=2\n", "[Lib]\nB=2\n"},
      {"lib", nullptr, nullptr, "[Lib]\nA=1\n[B]\nC=3\n[LIB]\nD=4\n", "[B]\nC=3\n"},
      // A value is cut at a line break; garbage bytes elsewhere stay.
      {"S", "K", "one\ntwo", std::string("\x01\xff\0zz\n[S]\nK=0\n", 13),
       std::string("\x01\xff\0zz\n[S]\nK=one\n", 15)},
      // A new file.
      {"Lib", "A", "1", "", "[Lib]\nA=1\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = dir_ + "/w" + std::to_string(n++) + ".ini";
    if (!c.before.empty()) put(path, c.before);
    EXPECT_EQ(WritePrivateProfileStringA(c.section, c.key, c.value, path.c_str()), 1);
    EXPECT_EQ(get(path), c.after) << n;
  }
  // Deleting from a missing file creates nothing.
  const std::string missing = dir_ + "/missing.ini";
  EXPECT_EQ(WritePrivateProfileStringA("S", "K", nullptr, missing.c_str()), 1);
  EXPECT_NE(access(missing.c_str(), F_OK), 0);
  // Names that cannot be read back are refused.
  for (const char* bad : {"", " ", "a]b", "x\ny"}) {
    EXPECT_EQ(WritePrivateProfileStringA(bad, "K", "v", file_.c_str()), 0) << bad;
  }
  EXPECT_EQ(WritePrivateProfileStringA("S", "a=b", "v", file_.c_str()), 0);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(WritePrivateProfileStringA("S", "K", "v", ""), 0);
  EXPECT_EQ(get(file_), kSample);
}

TEST_F(ProfileTest, LongLinesRoundTrip) {
  const std::string big(100000, 'x');
  ASSERT_EQ(WritePrivateProfileStringA("Big", "Line", big.c_str(), file_.c_str()), 1);
  std::string buffer(100001, '\0');
  EXPECT_EQ(GetPrivateProfileStringA("big", "line", "", buffer.data(), 100001, file_.c_str()),
            100000u);
  EXPECT_EQ(read("Lib", "DATAPATH", file_), "C:\\DATA");
}

TEST_F(ProfileTest, SeesChangesMadeBehindItsBack) {
  EXPECT_EQ(read("Other", "key", file_), "1");
  // Same size, replaced by rename (another inode).
  put(dir_ + "/next", std::string(kSample).replace(std::string(kSample).find("key=1"), 5, "key=2"));
  ASSERT_EQ(rename((dir_ + "/next").c_str(), file_.c_str()), 0);
  EXPECT_EQ(read("Other", "key", file_), "2");
  // Rewritten in place with another size.
  put(file_, "[Other]\nkey=three\n");
  EXPECT_EQ(read("Other", "key", file_), "three");
  // Rewritten in place with the same size (only the time moves).
  put(file_, "[Other]\nkey=seven\n");
  EXPECT_EQ(read("Other", "key", file_), "seven");
  // A second name for the file, then a file renamed over the first name.
  ASSERT_EQ(link(file_.c_str(), (dir_ + "/alias").c_str()), 0);
  put(dir_ + "/next", "[Other]\nkey=eight\n");
  ASSERT_EQ(rename((dir_ + "/next").c_str(), file_.c_str()), 0);
  EXPECT_EQ(read("Other", "key", file_), "eight");
  // Deleted: the default.
  ASSERT_EQ(unlink(file_.c_str()), 0);
  EXPECT_EQ(read("Other", "key", file_), "?");
}

TEST_F(ProfileTest, FailedWriteLeavesTheOldFile) {
  SysOverride o;
  o.calls().rename = [](const char*, const char*) {
    errno = EACCES;
    return -1;
  };
  EXPECT_EQ(WritePrivateProfileStringA("Lib", "DATAPATH", "lost", file_.c_str()), 0);
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  o.calls().rename = real_sys().rename;
  EXPECT_EQ(get(file_), kSample);
  EXPECT_EQ(read("Lib", "DATAPATH", file_), "C:\\DATA");
  // No temporary file is left behind.
  const std::string listing = dir_ + "/listing";
  ASSERT_EQ(std::system(("ls -a " + dir_ + " | grep -c tmp > " + listing + " || true").c_str()), 0);
  EXPECT_EQ(get(listing), "0\n");
}

TEST_F(ProfileTest, ResolvesNames) {
  corva::test::WindowsDirectory windir(dir_ + "/windir");
  setenv("CORVALIB_DRIVE_Q", dir_.c_str(), 1);
  reload_configuration();
  // The Windows directory is created on the first write.
  EXPECT_EQ(WriteProfileStringA("intl", "sDecimal", ","), 1);
  EXPECT_EQ(get(dir_ + "/windir/WIN.INI"), "[intl]\nsDecimal=,\n");
  char buffer[8];
  EXPECT_EQ(GetProfileStringA("INTL", "SDECIMAL", "", buffer, 8), 1u);
  EXPECT_EQ(GetProfileIntA("intl", "missing", -3), static_cast<std::uint32_t>(-3));
  // A drive path, with the file's name in another case on the disk.
  EXPECT_EQ(read("Lib", "DATAPATH", "q:\\sample.ini"), "C:\\DATA");
  EXPECT_EQ(profile_path("Q:\\Sub\\A.INI"), "");  // its directory does not exist
  std::filesystem::create_directory(dir_ + "/Sub");
  EXPECT_EQ(profile_path("Q:\\sub\\A.INI"), dir_ + "/Sub/A.INI");
  EXPECT_EQ(profile_path("CVX70.INI"), dir_ + "/windir/CVX70.INI");
  EXPECT_EQ(profile_path("R:\\A.INI"), "");
  EXPECT_EQ(WritePrivateProfileStringA("S", "K", "v", "R:\\A.INI"), 0);
  EXPECT_EQ(GetLastError(), kErrorPathNotFound);
  unsetenv("CORVALIB_DRIVE_Q");
}

}  // namespace

namespace {
using namespace corva::platform;

TEST(RegionalConventions, FromLocaleParts) {
  struct Case {
    const char* decimal; const char* thousands; int digits; const char* date_format;
    char want_decimal; char want_thousands; int want_digits; int want_order; char want_separator;
  };
  const Case cases[] = {
      {".", "", -1, "%m/%d/%y", '.', 0, 2, 0, '/'},               // C
      {",", ".", 2, "%d.%m.%Y", ',', '.', 2, 1, '.'},             // day first
      {",", "\xe2\x80\xaf", 2, "%d/%m/%Y", ',', ' ', 2, 1, '/'},  // narrow no-break space
      {".", ",", 0, "%Y-%m-%d", '.', ',', 0, 2, '-'},
      {".", ",", 3, "%F", '.', ',', 3, 2, '-'},
      {".", ",", 2, "%D", '.', ',', 2, 0, '/'},
      {"", nullptr, 99, "%e.%m.%Y", '.', 0, 2, 1, '.'},
  };
  for (const Case& c : cases) {
    const RegionalConventions r = regional_conventions_from(c.decimal, c.thousands, c.digits, c.date_format);
    EXPECT_EQ(r.decimal_point, c.want_decimal) << c.date_format;
    EXPECT_EQ(r.thousands_separator, c.want_thousands) << c.date_format;
    EXPECT_EQ(r.currency_digits, c.want_digits) << c.date_format;
    EXPECT_EQ(r.date_order, c.want_order) << c.date_format;
    EXPECT_EQ(r.date_separator, c.want_separator) << c.date_format;
  }
}

}  // namespace

namespace {
using namespace corva::platform;

// Fails the n-th file call of a write (open, write, fsync, close, rename).
int g_calls = 0, g_fail_at = 0;
bool fail_now() { return ++g_calls == g_fail_at; }

TEST(ProfileFaults, AFailedStepNeverTearsTheFile) {
  const std::string dir = make_temp_dir();
  const std::string file = dir + "/FAULT.INI";
  const std::string old_text = "; keep me\r\n[Lib]\r\nA=1\r\n";
  bool done = false;
  for (g_fail_at = 1; g_fail_at < 30 && !done; ++g_fail_at) {
    put(file, old_text);
    profile_cache_clear();
    g_calls = 0;
    {
      SysOverride o;
      o.calls().open = [](const char* p, int f, unsigned m) {
        return fail_now() ? (errno = ENOSPC, -1) : real_sys().open(p, f, m);
      };
      o.calls().write = [](int fd, const void* b, std::size_t n) {
        return fail_now() ? (errno = ENOSPC, -1L) : real_sys().write(fd, b, n);
      };
      o.calls().fsync = [](int fd) { return fail_now() ? (errno = EIO, -1) : real_sys().fsync(fd); };
      o.calls().rename = [](const char* a, const char* b) {
        return fail_now() ? (errno = EACCES, -1) : real_sys().rename(a, b);
      };
      done = WritePrivateProfileStringA("Lib", "B", "2", file.c_str()) == 1;
    }
    const std::string now = get(file);
    if (done) {
      EXPECT_EQ(now, "; keep me\r\n[Lib]\r\nA=1\r\nB=2\r\n");
    } else {
      EXPECT_EQ(now, old_text) << "failing call " << g_fail_at;
      EXPECT_EQ(read("Lib", "B", file), "?");
    }
  }
  EXPECT_TRUE(done);
  EXPECT_GT(g_fail_at, 5);  // the lock, the read, the temporary file, its write, fsync, rename
  std::filesystem::remove_all(dir);
}

}  // namespace
