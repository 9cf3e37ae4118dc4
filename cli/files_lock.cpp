// corva files lock: takes a byte-range lock through a file variable and holds
// it, so that locks can be tried from two shells.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/clock.h"
#include "corvaplat/files.h"

namespace corva::cli {
namespace {

struct LockOptions {
  std::string file;
  unsigned long offset = 0, length = 0, hold = 10;
};
LockOptions g_lock;

int lock() {
  const LockOptions& o = g_lock;
  const std::vector<std::string> args{o.file};
  const unsigned long offset = o.offset, length = o.length, hold = o.hold;
  CvxFileType f{};
  MultiLookup(&f, 0, args[0].c_str(), 1, 0, 0);
  if (f.result != 0) return fail("cannot open " + args[0] + ": " + file_result_words(f.result));
  CvxLockRegion region{static_cast<int32_t>(offset), static_cast<int32_t>(length)};
  std::cout << "locking " << args[0] << " bytes " << offset << "+" << length << " ..." << std::endl;
  if (!Lock(&f, &region)) {
    std::cout << "refused: the range is locked by another file variable" << std::endl;
    Close(&f);
    return 1;
  }
  std::cout << "locked; holding for " << hold << " seconds" << std::endl;
  platform::Sleep(static_cast<std::uint32_t>(hold * 1000));
  const uint16_t err = UnLock(&f, &region);
  Close(&f);
  std::cout << (err == 0 ? "unlocked" : "unlock failed") << std::endl;
  return err == 0 ? 0 : 1;
}

// Writes a few lines through one file variable, reads them back, and shows a
// second file variable refused a record that the first holds.
int demo(const std::string& samples) {
  CvxFileType in{};
  const std::string source = samples + "/ledger.txt";
  MultiLookup(&in, 0, source.c_str(), 1, 1, 0);
  if (in.result != 0) return fail("cannot open " + source + ": " + file_result_words(in.result));
  char line[41];
  while (true) {
    const uint16_t n = ReadLn(&in, 40, line);
    if (in.eof || in.result != 0) break;
    std::cout << "read " << n << ": [" << line << "]\n";
  }
  int32_t length = 0;
  FileLength(&in, &length);
  std::cout << "length " << length << "\n";

  CvxLockRegion record{0, 24};
  CvxFileType other{};
  MultiLookup(&other, 0, source.c_str(), 1, 1, 0);
  std::cout << "first variable locks bytes 0+24: " << (Lock(&in, &record) ? "locked" : "refused")
            << "\n";
  // The refused lock's ten attempts are waited out on a standing clock.
  platform::ManualClock clock;
  platform::Clock* saved = platform::set_clock(&clock);
  const bool got = Lock(&other, &record);
  platform::set_clock(saved);
  std::cout << "second variable tries the same bytes: " << (got ? "locked" : "refused") << " after "
            << clock.sleeps() + 1 << " attempts\n";
  std::cout << "first variable unlocks: " << UnLock(&in, &record) << "\n";
  std::cout << "second variable tries again: " << (Lock(&other, &record) ? "locked" : "refused")
            << "\n";
  UnLock(&other, &record);
  Close(&other);
  Close(&in);
  return 0;
}

void define(CLI::App& app) {
  app.add_option("FILE", g_lock.file, "the file (a DOS name or a host path)")->required();
  app.add_option("OFFSET", g_lock.offset, "the first byte of the range")
      ->required()
      ->check(within(0, 0x7FFFFFFF));
  app.add_option("LENGTH", g_lock.length, "the number of bytes")
      ->required()
      ->check(within(0, 0x7FFFFFFF));
  app.add_option("--hold", g_lock.hold, "how long to hold the lock (0-86400, default 10)")
      ->type_name("SECONDS")
      ->check(within(0, 86400));
  app.footer(
      "Locks LENGTH bytes of FILE from OFFSET as Lock does (ten attempts, one second apart),\n"
      "holds them, then unlocks. Exit status 0 when the lock was held, 1 when it was refused.");
  on_run(&app, lock);
}

const Registration word{{"files lock", "lock a range of a file's bytes and hold it", define, demo}};

}  // namespace
}  // namespace corva::cli
