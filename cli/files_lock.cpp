// corva files lock: takes a byte-range lock through a file variable and holds
// it, so that locks can be tried from two shells.
#include <iostream>
#include <string>

#include "cli/files_commands.h"
#include "corvalib.h"
#include "corvaplat/clock.h"
#include "corvaplat/files.h"

namespace corva::cli {
namespace {

int lock(const Args& all) {
  Args args = all;
  std::string hold_text = "10";
  if (!take_option(args, "--hold", hold_text)) return usage_error("--hold needs a value");
  unsigned long offset = 0, length = 0, hold = 0;
  if (args.size() != 3) return usage_error("files lock needs FILE OFFSET LENGTH");
  if (!parse_number(args[1], 0x7FFFFFFF, offset) || !parse_number(args[2], 0x7FFFFFFF, length))
    return usage_error("OFFSET and LENGTH must be 0-2147483647");
  if (!parse_number(hold_text, 86400, hold)) return usage_error("--hold must be 0-86400 seconds");
  CvxFileType f{};
  MultiLookup(&f, 0, args[0].c_str(), 1, 0, 0);
  if (f.result != 0) {
    std::cerr << "corva: cannot open " << args[0] << " (file result " << f.result << ")\n";
    return 1;
  }
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
  if (in.result != 0) {
    std::cerr << "corva: cannot open " << source << " (file result " << in.result << ")\n";
    return 1;
  }
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

const FilesSubcommand word{"lock", "", lock, demo};

}  // namespace
}  // namespace corva::cli
