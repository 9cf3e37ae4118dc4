// Names given in another case, resolved through the remembered directory
// listings: the right entry among names that differ only in case, listings
// reused while their directory is unchanged, and changes seen at once even on
// a file system whose times advance in whole seconds.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "corvaplat/dirsys.h"
#include "corvaplat/paths.h"
#include "corvaplat/sys.h"
#include "tests/dos_tree.h"

namespace {
using namespace corva::platform;

int g_listings = 0;
void* counting_opendir(const char* path) {
  ++g_listings;
  return real_dir_sys().opendir(path);
}

// A stat that shows the times of a file system stamping whole seconds.
int whole_second_stat(const char* path, void* buffer) {
  const int r = real_sys().stat(path, buffer);
  auto* st = static_cast<struct stat*>(buffer);
  st->st_mtim.tv_nsec = 0;
  st->st_ctim.tv_nsec = 0;
  return r;
}

// Long enough for a listing taken now to be trusted.
void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(80)); }

class NameCache : public DosTree {
 protected:
  // The host name below the tree that the DOS name resolves to; "" when the
  // last component does not exist, "?" when resolution fails.
  std::string found(const std::string& dos) {
    std::string host;
    bool exists = false;
    if (resolve_dos_path(dos, host, &exists) != 0) return "?";
    return exists ? host.substr(root().size()) : std::string();
  }
};

TEST_F(NameCache, ExactCaseWinsThenSmallestMatch) {
  write("/Data/Co1/data.txt", "");
  write("/Data/Co1/Data.txt", "");
  write("/Data/Co1/DATA.txt", "");
  settle();
  struct Case {
    const char* dos;
    const char* host;
  };
  const Case cases[] = {
      {"D:\\data\\co1\\data.txt", "/Data/Co1/data.txt"},
      {"D:\\data\\co1\\Data.txt", "/Data/Co1/Data.txt"},
      {"D:\\data\\co1\\DATA.TXT", "/Data/Co1/DATA.txt"},  // no exact: "DATA.txt" sorts first
      {"D:\\data\\co1\\dAtA.txt", "/Data/Co1/DATA.txt"},
      {"D:\\DATA\\CO1\\LEDGER.DAT", "/Data/Co1/Ledger.dat"},
      {"D:\\DATA\\CO1\\LEDGER.DA", ""},
      {"D:\\DATA\\CO3\\LEDGER.DAT", "?"},
  };
  for (int round = 0; round < 2; ++round) {  // listing, then remembered listing
    for (const Case& c : cases) EXPECT_EQ(found(c.dos), c.host) << c.dos << " round " << round;
  }
}

TEST_F(NameCache, ListsOnlyWhatChanged) {
  DirSysOverride dirs;
  dirs.calls().opendir = counting_opendir;
  for (int i = 0; i < 12; ++i) std::filesystem::create_directories(root() + "/Co" + std::to_string(i));
  settle();
  g_listings = 0;
  EXPECT_EQ(found("d:\\data\\co1\\ledger.dat"), "/Data/Co1/Ledger.dat");
  EXPECT_EQ(g_listings, 3);  // the root, Data and Co1
  EXPECT_EQ(found("D:\\DATA\\CO1\\index.dat"), "/Data/Co1/INDEX.DAT");
  EXPECT_EQ(g_listings, 3);
  // A new entry changes Co1 only; the listing taken right after it is not
  // trusted until a tick has passed.
  write("/Data/Co1/New.dat", "");
  EXPECT_EQ(found("d:\\data\\co1\\new.dat"), "/Data/Co1/New.dat");
  EXPECT_EQ(g_listings, 4);
  settle();
  EXPECT_EQ(found("d:\\data\\co1\\new.dat"), "/Data/Co1/New.dat");
  EXPECT_EQ(found("d:\\data\\co1\\new.dat"), "/Data/Co1/New.dat");
  EXPECT_EQ(g_listings, 5);
  // Only a few directories are remembered: going through a dozen others
  // pushes Data and Co1 out.
  for (int i = 0; i < 12; ++i) EXPECT_EQ(found("d:\\co" + std::to_string(i) + "\\none"), "");
  g_listings = 0;
  EXPECT_EQ(found("d:\\data\\co1\\new.dat"), "/Data/Co1/New.dat");
  EXPECT_EQ(g_listings, 2);
}

TEST_F(NameCache, SeesChangesWithinOneTimeStep) {
  SysOverride sys_calls;
  sys_calls.calls().stat = whole_second_stat;
  const std::string co1 = root() + "/Data/Co1/";
  struct Step {
    const char* from;  // renamed to `to`; null: `to` is created; `to` null: removed
    const char* to;
    const char* dos;
    const char* host;
  };
  const Step steps[] = {
      {nullptr, "Report.txt", "d:\\data\\co1\\REPORT.TXT", "/Data/Co1/Report.txt"},
      {"Report.txt", "Summary.TXT", "d:\\data\\co1\\report.txt", ""},
      {nullptr, nullptr, "d:\\data\\co1\\summary.txt", "/Data/Co1/Summary.TXT"},
      {nullptr, "summary.txt", "d:\\data\\co1\\summary.txt", "/Data/Co1/summary.txt"},
      {"Summary.TXT", nullptr, "d:\\data\\co1\\SUMMARY.TXT", "/Data/Co1/summary.txt"},
      {"summary.txt", nullptr, "d:\\data\\co1\\summary.txt", ""},
  };
  for (const Step& s : steps) {
    if (s.from != nullptr && s.to != nullptr) {
      std::filesystem::rename(co1 + s.from, co1 + s.to);
    } else if (s.from != nullptr) {
      std::filesystem::remove(co1 + s.from);
    } else if (s.to != nullptr) {
      write("/Data/Co1/" + std::string(s.to), "");
    }
    EXPECT_EQ(found(s.dos), s.host) << s.dos;
  }
}

}  // namespace
