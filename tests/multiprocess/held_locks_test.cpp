// Another process holds a lock the library needs and never lets go: every
// call gives its failure answer once its bounded wait on the platform clock
// has run out, and nothing is written.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/clock.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/owned_file.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"
#include "support/child.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {
namespace plat = corva::platform;
using corva::test::Child;

int quiet_box(void*, const plat::MessageBoxRequest&) { return 1; }

// In a child: takes a lock on [start, start + length) of path and holds it
// until the parent says so.
int hold_lock(Child& self, const std::string& path, short type, off_t start, off_t length) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = start;
  fl.l_len = length;
  if (fd < 0 || fcntl(fd, F_OFD_SETLK, &fl) != 0) return 1;
  self.signal('L');
  self.wait_for_parent();
  return 0;
}

TEST(HeldLocks, EveryWaitEndsWithItsFailureAnswer) {
  corva::test::TempDir dir;
  corva::test::WindowsDirectory windir(dir.path());
  const std::string data = dir.path() + "/";
  std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
  std::memcpy(MyCorvaLibDataPtr->DataPath, data.data(), data.size());
  dir.write("ERRORLOG.TXT", std::string(3950, 'x'));
  const plat::MessageBoxPresenter previous = plat::set_message_box_presenter(quiet_box, nullptr);

  struct Case {
    const char* what;
    const char* held;  // the file whose lock the other process holds
    short type;
    off_t start;
    std::function<bool()> call;  // true: the failure answer
    const char* untouched;       // a file that must keep its bytes
  } cases[] = {
      {"read lock on byte 100 of the log", "ERRORLOG.TXT", F_RDLCK, 100,
       [] { return MessageStr(0, "held") == 1; }, "ERRORLOG.TXT"},
      {"INI companion", ".CVX70.INI.lock", F_WRLCK, 0,
       [] {
         return WriteCVXProfileString("Lib", "A", "1") == 0 &&
                plat::GetLastError() == plat::kErrorLockViolation;
       },
       "CVX70.INI"},
      {"registry companion", ".CORVAREG.TXT.lock", F_RDLCK, 0,
       [] {
         plat::RegKey k = 0;
         return plat::RegCreateKeyExA(plat::kHKeyCurrentUser, "Software\\T", 0, "", 0,
                                      plat::kKeyAllAccess, nullptr, &k,
                                      nullptr) == plat::kErrorLockViolation;
       },
       "CORVAREG.TXT"},
  };
  for (const Case& c : cases) {
    const std::string held = dir.file(c.held);
    const std::string before = dir.read(c.untouched);
    Child holder([&](Child& self) { return hold_lock(self, held, c.type, c.start, 1); });
    ASSERT_EQ(holder.wait_for_child(), 'L') << c.what;
    plat::ManualClock clock;
    plat::Clock* real = plat::set_clock(&clock);
    EXPECT_TRUE(c.call()) << c.what;
    plat::set_clock(real);
    EXPECT_EQ(clock.slept(), plat::kLockWaitLimit) << c.what;
    EXPECT_EQ(dir.read(c.untouched), before) << c.what;
    holder.signal('Q');
    EXPECT_EQ(holder.join(), 0) << c.what;
  }
  plat::set_message_box_presenter(previous, nullptr);
  std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
}

}  // namespace
