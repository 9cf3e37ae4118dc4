// Names given in another case while another process creates, renames and
// deletes entries: each change is seen by the next resolution, although the
// directory's listing was remembered (and trusted) just before it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "corvaplat/paths.h"
#include "support/child.h"
#include "support/temp_dir.h"

namespace {
namespace plat = corva::platform;
using corva::test::Child;

TEST(PathsProcesses, ChangesByAnotherProcessAreSeenAtOnce) {
  corva::test::TempDir dir;
  dir.mkdir("Data/Co1");
  dir.write("Data/Co1/Ledger.dat", "x");
  setenv("CORVALIB_DRIVE_D", dir.path().c_str(), 1);
  plat::reset_current_directories();
  const std::string co1 = dir.path() + "/Data/Co1/";

  struct Step {
    char action;       // sent to the child: c create, r rename, d delete
    const char* from;  // the entry the child changes
    const char* to;    // for a rename
    const char* dos;   // then resolved here
    const char* host;  // below Data/Co1, "" when absent
  };
  const Step steps[] = {
      {'c', "Report.Txt", "", "d:\\data\\co1\\REPORT.TXT", "Report.Txt"},
      {'r', "Report.Txt", "SUMMARY.txt", "d:\\data\\co1\\report.txt", ""},
      {'c', "summary.txt", "", "d:\\data\\co1\\summary.txt", "summary.txt"},  // exact case wins
      {'d', "summary.txt", "", "d:\\data\\co1\\summary.txt", "SUMMARY.txt"},
      {'d', "SUMMARY.txt", "", "d:\\DATA\\CO1\\Summary.Txt", ""},
      {'r', "Ledger.dat", "LEDGER.DAT", "d:\\data\\co1\\ledger.dat", "LEDGER.DAT"},
  };

  Child child([&](Child& self) {
    for (const Step& s : steps) {
      if (self.wait_for_parent() != 'g') return 1;
      std::error_code ec;
      if (s.action == 'c') std::ofstream(co1 + s.from) << "y";
      if (s.action == 'r') std::filesystem::rename(co1 + s.from, co1 + s.to, ec);
      if (s.action == 'd') std::filesystem::remove(co1 + s.from, ec);
      self.signal(ec ? 'n' : 'y');
    }
    return 0;
  });

  for (const Step& s : steps) {
    // Resolve twice a tick apart, so that the listing is remembered and
    // trusted when the other process changes the directory.
    std::string host;
    ASSERT_EQ(plat::resolve_dos_path(s.dos, host), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    ASSERT_EQ(plat::resolve_dos_path(s.dos, host), 0u);
    child.signal('g');
    ASSERT_EQ(child.wait_for_child(), 'y') << s.from;
    bool exists = false;
    ASSERT_EQ(plat::resolve_dos_path(s.dos, host, &exists), 0u) << s.dos;
    EXPECT_EQ(exists ? host.substr(co1.size()) : std::string(), s.host) << s.dos;
  }
  EXPECT_EQ(child.join(), 0);
  unsetenv("CORVALIB_DRIVE_D");
  plat::reset_current_directories();
}

}  // namespace
