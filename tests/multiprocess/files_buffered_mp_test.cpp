// File variables in two processes: sharing denial, lock contention and the
// Lock retry count, locks of a killed holder, locked record updates that all
// arrive, and a medium that fills up under a file-size limit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "corvalib/files.h"
#include "corvaplat/clock.h"
#include "support/child.h"
#include "support/temp_dir.h"

namespace {
namespace plat = corva::platform;
using corva::test::Child;

// Real time, but the waits between lock attempts are short, so contention
// costs microseconds instead of seconds.
class QuickRetryClock final : public plat::Clock {
 public:
  std::chrono::system_clock::time_point now() override { return std::chrono::system_clock::now(); }
  std::chrono::seconds utc_offset(std::chrono::system_clock::time_point) override {
    return std::chrono::seconds{0};
  }
  std::uint64_t ticks_ms() override { return 0; }
  void sleep(std::chrono::milliseconds) override {
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
};

struct Record {
  std::int32_t count, copy;  // equal whenever nobody is in the middle of an update
};

bool locked(CvxFileType& f, CvxLockRegion& r) {
  for (int i = 0; i < 1000; ++i) {
    if (Lock(&f, &r)) return true;
  }
  return false;
}

TEST(BufferedFilesProcesses, SharingDenialIsResult11) {
  corva::test::TempDir dir;
  dir.write("ledger.dat", "x");
  const std::string name = dir.file("ledger.dat");
  struct Case {
    int holder;  // 0 Lookup (others read only), 1 Create32 (exclusive)
    bool shared_read_allowed;
  };
  for (const Case c : {Case{0, true}, Case{1, false}}) {
    Child child([&](Child& self) {
      CvxFileType f{};
      if (c.holder == 0) {
        Lookup(&f, 0, name.c_str(), 0);
      } else {
        Create32(&f, 0, name.c_str());
      }
      self.signal(f.result == 0 ? 'y' : 'n');
      self.wait_for_parent();
      return 0;
    });
    ASSERT_EQ(child.wait_for_child(), 'y');
    CvxFileType f{};
    Lookup(&f, 0, name.c_str(), 0);
    EXPECT_EQ(+f.result, CVX_FILE_ACCESS_DENIED) << c.holder;
    MultiLookup(&f, 0, name.c_str(), 1, 1, 0);
    EXPECT_EQ(+f.result == 0, c.shared_read_allowed) << c.holder;
    if (f.result == 0) Close(&f);
    child.signal('g');
    EXPECT_EQ(child.join(), 0);
  }
  CvxFileType f{};
  Lookup(&f, 0, name.c_str(), 0);  // the holder is gone: open again
  EXPECT_EQ(+f.result, 0);
  Close(&f);
}

TEST(BufferedFilesProcesses, LockRetriesThenTheHolderDies) {
  corva::test::TempDir dir;
  dir.write("rec.dat", std::string(1024, 'r'));
  const std::string name = dir.file("rec.dat");
  Child child([&](Child& self) {
    CvxFileType f{};
    MultiLookup(&f, 0, name.c_str(), 1, 0, 0);
    CvxLockRegion r{512, 64};
    self.signal(Lock(&f, &r) ? 'y' : 'n');
    pause();
    return 0;
  });
  ASSERT_EQ(child.wait_for_child(), 'y');
  CvxFileType f{};
  MultiLookup(&f, 0, name.c_str(), 1, 0, 0);
  ASSERT_EQ(+f.result, 0);
  plat::ManualClock clock;
  plat::Clock* saved = plat::set_clock(&clock);
  CvxLockRegion overlapping{570, 10}, beside{576, 10};
  EXPECT_FALSE(Lock(&f, &overlapping));
  EXPECT_EQ(clock.sleeps(), 9);  // ten attempts, one second apart
  EXPECT_TRUE(Lock(&f, &beside));
  EXPECT_EQ(UnLock(&f, &beside), 0);
  child.kill();
  EXPECT_TRUE(Lock(&f, &overlapping));
  EXPECT_EQ(clock.sleeps(), 9);  // the dead holder's lock was gone at once
  plat::set_clock(saved);
  Close(&f);
}

// Two processes take turns at one record, each adding to it under the lock
// and checking that it never finds an update half done.
TEST(BufferedFilesProcesses, LockedUpdatesAllArrive) {
  corva::test::TempDir dir;
  const std::string name = dir.file("counter.dat");
  {
    CvxFileType f{};
    Create(&f, 0, name.c_str());
    const Record zero{0, 0};
    WriteBlock(&f, sizeof zero, &zero);
    Close(&f);
  }
  constexpr int kUpdatesEach = 5000;
  QuickRetryClock quick;
  plat::Clock* saved = plat::set_clock(&quick);
  // Returns 0, or what went wrong: 1 no lock, 2 a failed transfer, 3 a torn record.
  auto update = [&name]() -> int {
    CvxFileType f{};
    MultiLookup(&f, 0, name.c_str(), 1, 0, 0);
    CvxLockRegion r{0, sizeof(Record)};
    for (int i = 0; i < kUpdatesEach; ++i) {
      if (!locked(f, r)) return 1;
      Record rec{};
      SetPos(&f, 0);
      ReadBlock(&f, sizeof rec, &rec);
      if (rec.count != rec.copy) return 3;
      SetPos(&f, 0);
      rec.count += 1;
      WriteBlock(&f, sizeof rec.count, &rec.count);
      rec.copy += 1;
      WriteBlock(&f, sizeof rec.copy, &rec.copy);
      if (f.result != 0 || UnLock(&f, &r) != 0) return 2;
    }
    Close(&f);
    return 0;
  };
  Child other([&](Child&) { return update(); }, 60000);
  EXPECT_EQ(update(), 0);
  EXPECT_EQ(other.join(), 0);
  plat::set_clock(saved);
  CvxFileType f{};
  MultiLookup(&f, 0, name.c_str(), 1, 1, 0);
  Record rec{};
  ReadBlock(&f, sizeof rec, &rec);
  EXPECT_EQ(rec.count, 2 * kUpdatesEach);
  EXPECT_EQ(rec.copy, 2 * kUpdatesEach);
  Close(&f);
}

// Under a file-size limit the write that crosses it reports a full medium,
// and every byte before the limit is in the file as written.
TEST(BufferedFilesProcesses, FileSizeLimitIsAFullMedium) {
  corva::test::TempDir dir;
  const std::string name = dir.file("limited.txt");
  constexpr rlim_t kLimit = 1000;
  Child child([&](Child&) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLimit, kLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 9;
    CvxFileType f{};
    Create(&f, 0, name.c_str());
    int written = 0;
    for (; written < 2000 && f.result == 0; ++written)
      WriteChar(&f, static_cast<char>('a' + written % 26));
    if (f.result != CVX_FILE_MEDIUM_FULL || !f.eof) return 1;
    if (written != 4 * 256 + 1) return 2;  // the fourth buffer crossed the limit
    if (WriteLongBlock(&f, 10, "0123456789")) return 3;
    if (f.result != CVX_FILE_MEDIUM_FULL) return 4;
    return 0;
  });
  EXPECT_EQ(child.join(), 0);
  const std::string kept = dir.read("limited.txt");
  ASSERT_EQ(kept.size(), kLimit);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    ASSERT_EQ(kept[i], static_cast<char>('a' + i % 26)) << i;
  }
}

}  // namespace
