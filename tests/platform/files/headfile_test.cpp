// The platform's locked in-place rewrite of a file's head, and DOS names on
// the host file system.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "corvaplat/clock.h"
#include "corvaplat/config.h"
#include "corvaplat/headfile.h"
#include "corvaplat/owned_file.h"
#include "corvaplat/sys.h"

namespace {

namespace fs = std::filesystem;
using namespace corva::platform;

class HeadFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("corva-head-") + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Data" / "Co1");
    file_ = (dir_ / "f.bin").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
  std::string file_;
};

// Appends the byte count it saw, then shifts in an 'X'.
bool shift_in_x(void* seen, FileHead& head) {
  *static_cast<std::size_t*>(seen) = head.present;
  std::memmove(head.bytes + 1, head.bytes, head.size - 1);
  head.bytes[0] = 'X';
  return true;
}

TEST_F(HeadFile, RewritesInPlace) {
  std::size_t seen = 99;
  EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), 0u);
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(contents(), std::string("X\0\0\0", 4));
  { std::ofstream(file_, std::ios::binary | std::ios::trunc) << "abcdefgh"; }
  EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), 0u);
  EXPECT_EQ(seen, 4u);
  EXPECT_EQ(contents(), "Xabcefgh");  // never shortened, tail untouched
  EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, [](void*, FileHead&) { return false; }, nullptr),
            0u);
  EXPECT_EQ(contents(), "Xabcefgh");

  char buffer[6];
  std::size_t present = 0;
  EXPECT_EQ(read_file_head(file_.c_str(), buffer, 6, &present), 0u);
  EXPECT_EQ(present, 6u);
  EXPECT_EQ(std::string(buffer, 6), "Xabcef");
  EXPECT_EQ(read_file_head((dir_ / "none").c_str(), buffer, 6, &present), 2u);
  EXPECT_EQ(rewrite_file_head((dir_ / "no" / "f").c_str(), 4, shift_in_x, &seen), 2u);
  EXPECT_EQ(rewrite_file_head(nullptr, 4, shift_in_x, &seen), 87u);
}

TEST_F(HeadFile, FaultsAreReportedAndRetried) {
  static int calls = 0;
  struct Case {
    const char* what;
    long (*pwrite)(int, const void*, std::size_t, std::int64_t);
    std::uint32_t result;
    const char* after;
  } cases[] = {
      {"interrupted, then in two pieces",
       [](int fd, const void* b, std::size_t n, std::int64_t off) -> long {
         if (++calls == 1) {
           errno = EINTR;
           return -1;
         }
         return real_sys().pwrite(fd, b, n > 2 ? 2 : n, off);
       },
       0, "Xabc"},
      {"disk full", [](int, const void*, std::size_t, std::int64_t) -> long {
         errno = ENOSPC;
         return -1;
       },
       112, "abcd"},
  };
  for (const Case& c : cases) {
    { std::ofstream(file_, std::ios::binary | std::ios::trunc) << "abcd"; }
    calls = 0;
    SysOverride fault;
    fault.calls().pwrite = c.pwrite;
    std::size_t seen = 0;
    EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), c.result) << c.what;
    EXPECT_EQ(contents(), c.after) << c.what;
  }
}

TEST_F(HeadFile, MadeInPlaceWhereHardLinksAreRefused) {
  // Some shared file systems have no hard links: the file is then made in
  // place, and no temporary name is left behind.
  SysOverride no_links;
  no_links.calls().link = [](const char*, const char*) {
    errno = EPERM;
    return -1;
  };
  std::size_t seen = 99;
  EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), 0u);
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(contents(), std::string("X\0\0\0", 4));
  std::size_t entries = 0;
  for (const auto& e : fs::directory_iterator(dir_)) entries += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(entries, 1u);
}

TEST_F(HeadFile, LockWaitIsBounded) {
  // A lock held through another open of the same file in this process: the
  // rewrite and the read wait their bound on the platform clock, then give up.
  const int fd = real_sys().open(file_.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_len = 4;
  ASSERT_EQ(real_sys().fcntl(fd, F_OFD_SETLK, &fl), 0);
  ManualClock manual;
  Clock* real = set_clock(&manual);
  std::size_t seen = 0;
  EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), 33u);
  EXPECT_EQ(manual.slept(), kLockWaitLimit);
  char buffer[4];
  EXPECT_EQ(read_file_head(file_.c_str(), buffer, sizeof buffer, &seen), 33u);
  EXPECT_EQ(manual.slept(), 2 * kLockWaitLimit);
  set_clock(real);
  real_sys().close(fd);
  EXPECT_EQ(contents(), "");
}

TEST_F(HeadFile, OnlyARegularFileIsUsed) {
  // Whatever is planted under the name, nothing is written through it and
  // nothing blocks.
  const std::string target = (dir_ / "target").string();
  struct Case {
    const char* what;
    void (*plant)(const std::string& file, const std::string& target);
    std::uint32_t rewrite, read;
  } cases[] = {
      {"symlink to a file", [](const std::string& f, const std::string& t) { fs::create_symlink(t, f); },
       5, 0},
      {"symlink to nowhere",
       [](const std::string& f, const std::string& t) { fs::create_symlink(t + ".none", f); }, 5, 2},
      {"symlink to a device",
       [](const std::string& f, const std::string&) { fs::create_symlink("/dev/zero", f); }, 5, 5},
      {"FIFO", [](const std::string& f, const std::string&) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); },
       5, 5},
      {"directory", [](const std::string& f, const std::string&) { fs::create_directory(f); }, 5, 5},
  };
  for (const Case& c : cases) {
    fs::remove_all(file_);
    { std::ofstream(target, std::ios::binary | std::ios::trunc) << "keep"; }
    c.plant(file_, target);
    std::size_t seen = 0;
    EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), c.rewrite) << c.what;
    char buffer[4];
    EXPECT_EQ(read_file_head(file_.c_str(), buffer, sizeof buffer, &seen), c.read) << c.what;
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep") << c.what;
    EXPECT_FALSE(fs::exists(target + ".none")) << c.what;
  }
}

}  // namespace
