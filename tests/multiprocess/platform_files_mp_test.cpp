// Sharing modes and byte-range locks between processes: a forked child opens
// the file on its own, holds it, and the parent tries to get in.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "corvaplat/files.h"
#include "support/child.h"
#include "support/temp_dir.h"

namespace {
using namespace corva::platform;
using corva::test::Child;

TEST(PlatformFilesProcesses, SharingViolationUntilTheHolderCloses) {
  corva::test::TempDir dir;
  dir.write("shared.dat", "x");
  const std::string name = dir.file("shared.dat");
  Child child([&](Child& self) {
    const HFILE h = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_EXCLUSIVE);
    self.signal(h != HFILE_ERROR ? 'y' : 'n');
    self.wait_for_parent();
    _lclose(h);
    self.signal('c');
    self.wait_for_parent();
    return 0;
  });
  ASSERT_EQ(child.wait_for_child(), 'y');
  EXPECT_EQ(_lopen(name.c_str(), OF_READ | OF_SHARE_DENY_NONE), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), kErrorSharingViolation);
  child.signal('g');
  ASSERT_EQ(child.wait_for_child(), 'c');
  const HFILE h = _lopen(name.c_str(), OF_READ | OF_SHARE_DENY_NONE);
  EXPECT_NE(h, HFILE_ERROR);
  _lclose(h);
  child.signal('g');
  EXPECT_EQ(child.join(), 0);
}

TEST(PlatformFilesProcesses, LocksContendAndVanishWithTheHolder) {
  corva::test::TempDir dir;
  dir.write("locks.dat", std::string(64, '.'));
  const std::string name = dir.file("locks.dat");
  Child child([&](Child& self) {
    const HFILE h = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_NONE);
    _llseek(h, 8, FILE_BEGIN);
    self.signal(_locking(h, LK_NBLCK, 8) == 0 ? 'y' : 'n');
    pause();  // held until killed
    return 0;
  });
  ASSERT_EQ(child.wait_for_child(), 'y');
  const HFILE h = _lopen(name.c_str(), OF_READWRITE | OF_SHARE_DENY_NONE);
  ASSERT_NE(h, HFILE_ERROR);
  _llseek(h, 15, FILE_BEGIN);
  EXPECT_EQ(_locking(h, LK_NBLCK, 1), -1);
  EXPECT_EQ(crt_errno(), CRT_EACCES);
  _llseek(h, 16, FILE_BEGIN);
  EXPECT_EQ(_locking(h, LK_NBLCK, 1), 0);
  EXPECT_EQ(_locking(h, LK_UNLCK, 1), 0);
  child.kill();
  _llseek(h, 8, FILE_BEGIN);
  EXPECT_EQ(_locking(h, LK_NBLCK, 8), 0);
  _lclose(h);
}

}  // namespace
