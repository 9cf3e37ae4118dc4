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

#include "corvaplat/config.h"
#include "corvaplat/headfile.h"
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

TEST_F(HeadFile, SecondOpenWaitsForTheLock) {
  // A lock held through another open of the same file in this process: the
  // rewrite must not get past it. Probed without waiting through the table.
  const int fd = real_sys().open(file_.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_len = 4;
  ASSERT_EQ(real_sys().fcntl(fd, F_OFD_SETLK, &fl), 0);
  static int blocked = 0;
  {
    SysOverride probe;
    probe.calls().fcntl = [](int f, int command, void* arg) {
      if (command == F_OFD_SETLKW) command = F_OFD_SETLK;  // do not wait in the test
      const int r = real_sys().fcntl(f, command, arg);
      if (r != 0) ++blocked;
      return r;
    };
    std::size_t seen = 0;
    EXPECT_EQ(rewrite_file_head(file_.c_str(), 4, shift_in_x, &seen), 33u);
  }
  EXPECT_EQ(blocked, 1);
  real_sys().close(fd);
  EXPECT_EQ(contents(), "");
}

}  // namespace
