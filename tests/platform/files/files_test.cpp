// The platform's file handles: errors of opens, sharing modes between opens,
// byte-range locks, positions and a full medium.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "corvaplat/files.h"
#include "corvaplat/sys.h"
#include "support/temp_dir.h"

namespace {
using namespace corva::platform;

class PlatformFiles : public testing::Test {
 protected:
  corva::test::TempDir dir;
  std::string path(const std::string& name) const { return dir.path() + "/" + name; }
  void TearDown() override { EXPECT_EQ(open_file_count(), 0); }
};

TEST_F(PlatformFiles, OpenErrors) {
  dir.write("present.dat", "abc");
  dir.mkdir("folder");
  unsetenv("CORVALIB_DRIVE_J");
  const std::string long_name = path(std::string(300, 'x'));
  struct Case {
    std::string name;
    std::uint32_t error;
  };
  const Case cases[] = {
      {path("missing.dat"), kErrorFileNotFound},
      {path("nodir/missing.dat"), kErrorPathNotFound},
      {path("present.dat/inner"), kErrorPathNotFound},
      {path("folder"), kErrorAccessDenied},
      {"", kErrorPathNotFound},
      {long_name, kErrorPathNotFound},
      {"J:\\ANY.DAT", kErrorPathNotFound},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(_lopen(c.name.c_str(), OF_READ), HFILE_ERROR) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  EXPECT_EQ(_lopen(nullptr, OF_READ), HFILE_ERROR);
  OFSTRUCT of{};
  EXPECT_EQ(OpenFile(path("missing.dat").c_str(), &of, OF_READWRITE), HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
  EXPECT_EQ(CreateFileA(path("present.dat").c_str(), GENERIC_READ, 3, CREATE_NEW, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), kErrorFileExists);
}

TEST_F(PlatformFiles, DriveLettersAndBackslashes) {
  dir.mkdir("sub");
  dir.write("sub/x.dat", "x");
  setenv("CORVALIB_DRIVE_K", dir.path().c_str(), 1);
  const HFILE h = _lopen("k:\\sub\\x.dat", OF_READ);
  EXPECT_NE(h, HFILE_ERROR);
  _lclose(h);
  unsetenv("CORVALIB_DRIVE_K");
}

// Sharing between two opens: the first holds, the second asks.
TEST_F(PlatformFiles, SharingModes) {
  dir.write("shared.dat", "data");
  const std::string name = path("shared.dat");
  struct Case {
    std::uint32_t first, second;
    bool allowed;
  };
  const Case cases[] = {
      {OF_READ | OF_SHARE_DENY_NONE, OF_READWRITE | OF_SHARE_DENY_NONE, true},
      {OF_READ | OF_SHARE_COMPAT, OF_READWRITE | OF_SHARE_COMPAT, true},
      {OF_READWRITE | OF_SHARE_EXCLUSIVE, OF_READ | OF_SHARE_DENY_NONE, false},
      {OF_READ | OF_SHARE_DENY_NONE, OF_READWRITE | OF_SHARE_EXCLUSIVE, false},
      {OF_READ | OF_SHARE_DENY_WRITE, OF_READ | OF_SHARE_DENY_NONE, true},
      {OF_READ | OF_SHARE_DENY_WRITE, OF_READWRITE | OF_SHARE_DENY_NONE, false},
      {OF_READ | OF_SHARE_DENY_WRITE, OF_READ | OF_SHARE_DENY_WRITE, true},
      {OF_READWRITE | OF_SHARE_DENY_NONE, OF_READ | OF_SHARE_DENY_WRITE, false},
      {OF_WRITE | OF_SHARE_DENY_READ, OF_WRITE | OF_SHARE_DENY_NONE, true},
      {OF_WRITE | OF_SHARE_DENY_READ, OF_READ | OF_SHARE_DENY_NONE, false},
  };
  for (const Case& c : cases) {
    const HFILE a = _lopen(name.c_str(), c.first);
    ASSERT_NE(a, HFILE_ERROR);
    const HFILE b = _lopen(name.c_str(), c.second);
    EXPECT_EQ(b != HFILE_ERROR, c.allowed) << c.first << " then " << c.second;
    if (b == HFILE_ERROR) {
      EXPECT_EQ(GetLastError(), kErrorSharingViolation);
    } else {
      _lclose(b);
    }
    _lclose(a);
  }
  // Closing the holder frees the file; a refused create leaves the data alone.
  const HFILE x = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_EXCLUSIVE);
  EXPECT_EQ(OpenFile(name.c_str(), nullptr, OF_CREATE | OF_READWRITE), HFILE_ERROR);
  EXPECT_EQ(dir.read("shared.dat"), "data");
  _lclose(x);
  const HFILE y = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_EXCLUSIVE);
  EXPECT_NE(y, HFILE_ERROR);
  _lclose(y);
}

TEST_F(PlatformFiles, ReadWriteSeekAndAccess) {
  const HFILE h = _lcreat(path("rw.dat").c_str(), 0);
  ASSERT_NE(h, HFILE_ERROR);
  EXPECT_EQ(_lwrite(h, "hello world", 11), 11u);
  EXPECT_EQ(_llseek(h, 0, FILE_CURRENT), 11);
  EXPECT_EQ(_llseek(h, 6, FILE_BEGIN), 6);
  char buf[16] = {};
  EXPECT_EQ(_lread(h, buf, 16), 5u);
  EXPECT_STREQ(buf, "world");
  EXPECT_EQ(_llseek(h, -3, FILE_END), 8);
  EXPECT_EQ(_llseek(h, -20, FILE_CURRENT), HFILE_ERROR);
  EXPECT_EQ(_llseek(h, 0, FILE_CURRENT), 8);
  EXPECT_EQ(_llseek(h, 0, 7), HFILE_ERROR);
  EXPECT_EQ(_commit(h), 0);
  const HFILE d = _dup(h);
  EXPECT_NE(d, HFILE_ERROR);
  EXPECT_EQ(_lclose(d), 0);
  EXPECT_EQ(_lclose(h), 0);
  EXPECT_EQ(_lclose(h), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), kErrorInvalidHandle);
  EXPECT_EQ(_lread(h, buf, 1), kTransferError);

  const HFILE r = _lopen(path("rw.dat").c_str(), OF_READ);
  EXPECT_EQ(_lwrite(r, "x", 1), kTransferError);
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  _lclose(r);
  EXPECT_EQ(dir.read("rw.dat"), "hello world");
}

// Reading ahead never hides a change: the handle's own writes drop what it
// read ahead, and an open that lets others write does not read ahead.
TEST_F(PlatformFiles, ReadAheadNeverServesStaleData) {
  dir.write("ahead.dat", "abcdefgh");
  const std::string name = path("ahead.dat");
  char buf[5] = {};
  const HFILE own = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_WRITE);
  EXPECT_EQ(_lread(own, buf, 4), 4u);
  _llseek(own, 0, FILE_BEGIN);
  EXPECT_EQ(_lwrite(own, "XY", 2), 2u);
  _llseek(own, 0, FILE_BEGIN);
  EXPECT_EQ(_lread(own, buf, 4), 4u);
  EXPECT_STREQ(buf, "XYcd");
  _lclose(own);

  const HFILE reader = _lopen(name.c_str(), OF_READ | OF_SHARE_DENY_NONE);
  const HFILE writer = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_NONE);
  EXPECT_EQ(_lread(reader, buf, 2), 2u);
  _llseek(writer, 2, FILE_BEGIN);
  EXPECT_EQ(_lwrite(writer, "QR", 2), 2u);
  EXPECT_EQ(_lread(reader, buf, 4), 4u);
  EXPECT_STREQ(buf, "QRef");
  _lclose(writer);
  _lclose(reader);
}

TEST_F(PlatformFiles, LocksBetweenOpensOfOneProcess) {
  dir.write("locks.dat", std::string(100, '.'));
  const std::string name = path("locks.dat");
  const HFILE a = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_NONE);
  const HFILE b = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_NONE);
  ASSERT_NE(a, HFILE_ERROR);
  ASSERT_NE(b, HFILE_ERROR);
  _llseek(a, 10, FILE_BEGIN);
  EXPECT_EQ(_locking(a, LK_NBLCK, 10), 0);
  struct Case {
    std::int32_t start, length;
    bool free;
  };
  const Case cases[] = {
      {0, 10, true}, {19, 1, false}, {5, 6, false}, {20, 5, true}, {0, 100, false}};
  for (const Case& c : cases) {
    _llseek(b, c.start, FILE_BEGIN);
    EXPECT_EQ(_locking(b, LK_NBLCK, c.length) == 0, c.free) << c.start << "+" << c.length;
    if (c.free) {
      EXPECT_EQ(_locking(b, LK_UNLCK, c.length), 0);
    } else {
      EXPECT_EQ(crt_errno(), CRT_EACCES);
    }
  }
  // The holder's own overlapping lock fails; an unlock must match a lock.
  _llseek(a, 15, FILE_BEGIN);
  EXPECT_EQ(_locking(a, LK_NBLCK, 1), -1);
  EXPECT_EQ(_locking(a, LK_UNLCK, 5), -1);
  EXPECT_EQ(crt_errno(), CRT_EACCES);
  EXPECT_EQ(_locking(a, 9, 1), -1);
  EXPECT_EQ(crt_errno(), CRT_EINVAL);
  EXPECT_EQ(_locking(a, LK_NBLCK, -1), -1);
  EXPECT_EQ(_locking(999, LK_NBLCK, 1), -1);
  EXPECT_EQ(crt_errno(), CRT_EBADF);

  // Closing the holder ends its locks; the sharing marks never meet a record lock.
  _lclose(a);
  _llseek(b, 12, FILE_BEGIN);
  EXPECT_EQ(_locking(b, LK_NBLCK, 2), 0);
  _llseek(b, 0, FILE_BEGIN);
  EXPECT_EQ(_locking(b, LK_NBLCK, 0x7FFFFFFF), -1);  // overlaps its own lock at 12
  EXPECT_EQ(_locking(b, LK_NBLCK, 12), 0);
  _lclose(b);
}

// A full medium: the write reports what it wrote, and nothing before is lost.
TEST_F(PlatformFiles, FullMedium) {
  const HFILE h = _lcreat(path("full.dat").c_str(), 0);
  ASSERT_NE(h, HFILE_ERROR);
  EXPECT_EQ(_lwrite(h, "kept", 4), 4u);
  {
    SysOverride o;
    o.calls().pwrite = [](int, const void*, std::size_t, std::int64_t) -> long {
      errno = ENOSPC;
      return -1;
    };
    EXPECT_EQ(_lwrite(h, "lost", 4), 0u);
    EXPECT_EQ(GetLastError(), kErrorDiskFull);
    o.calls().pwrite = [](int, const void*, std::size_t, std::int64_t) -> long {
      errno = EIO;
      return -1;
    };
    EXPECT_EQ(_lwrite(h, "lost", 4), kTransferError);
  }
  _lclose(h);
  EXPECT_EQ(dir.read("full.dat"), "kept");
}

}  // namespace
