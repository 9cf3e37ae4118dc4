// DOS names, drives and current directories of the platform layer.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "corvaplat/config.h"
#include "corvaplat/paths.h"
#include "tests/dos_tree.h"

namespace {
using namespace corva::platform;

TEST_F(DosTree, ResolvesNames) {
  struct Case {
    const char* dos;
    std::uint32_t error;
    const char* host;  // below the tree, "" for none
    bool exists;
  };
  const Case cases[] = {
      {"D:\\Data\\Co1\\Ledger.dat", 0, "/Data/Co1/Ledger.dat", true},
      {"d:\\DATA\\CO1\\LEDGER.DAT", 0, "/Data/Co1/Ledger.dat", true},
      {"d:/data/co1/ledger.dat", 0, "/Data/Co1/Ledger.dat", true},
      {"D:\\DATA\\CO1\\NEW.DAT", 0, "/Data/Co1/NEW.DAT", false},
      {"D:\\DATA\\.\\CO1\\..\\CO1\\ledger.dat", 0, "/Data/Co1/Ledger.dat", true},
      {"D:\\DATA\\CO1\\LEDGER.DAT.", 0, "/Data/Co1/Ledger.dat", true},
      {"D:\\", 0, "", true},
      {"D:", 0, "", true},
      {"D:\\DATA\\NONE\\X.DAT", kErrorPathNotFound, "", false},
      {"D:\\DATA\\CO1\\LEDGER.DAT\\X", kErrorPathNotFound, "", false},
      {"D:\\..", kErrorPathNotFound, "", false},
      {"D:\\DATA\\..\\..\\etc", kErrorPathNotFound, "", false},
      {"D:\\DATA\\*.DAT", kErrorInvalidName, "", false},
      {"D:\\DATA\\A|B", kErrorInvalidName, "", false},
      {"Q:\\X", kErrorPathNotFound, "", false},
      {"1:\\X", kErrorInvalidName, "", false},
      {"", kErrorPathNotFound, "", false},
      {"\\\\server\\share", kErrorPathNotFound, "", false},
  };
  for (const Case& c : cases) {
    std::string host;
    bool exists = false;
    EXPECT_EQ(resolve_dos_path(c.dos, host, &exists), c.error) << c.dos;
    if (c.error != 0) continue;
    EXPECT_EQ(host, root() + c.host) << c.dos;
    EXPECT_EQ(exists, c.exists) << c.dos;
  }
  std::string host;
  EXPECT_EQ(resolve_dos_path("D:\\" + std::string(300, 'A'), host), kErrorFilenameTooLong);
  EXPECT_EQ(resolve_dos_path("/tmp/Whatever", host), 0u);
  EXPECT_EQ(host, "/tmp/Whatever");
}

TEST_F(DosTree, CurrentDriveAndDirectories) {
  ASSERT_EQ(_chdrive(4), 0);
  EXPECT_EQ(_getdrive(), 4);
  char buf[80];
  ASSERT_NE(_getdcwd(0, buf, sizeof buf), nullptr);
  EXPECT_STREQ(buf, "D:\\");
  ASSERT_EQ(_chdir("data\\co1"), 0);
  EXPECT_STREQ(_getdcwd(4, buf, sizeof buf), "D:\\Data\\Co1");
  EXPECT_EQ(_getdcwd(4, buf, 11), nullptr);  // needs 12 with the NUL
  // Relative names now start there, and the process follows.
  std::string host;
  ASSERT_EQ(resolve_dos_path("ledger.dat", host), 0u);
  EXPECT_EQ(host, root() + "/Data/Co1/Ledger.dat");
  EXPECT_EQ(resolve_dos_path("D:..\\Co2", host), 0u);
  EXPECT_EQ(host, root() + "/Data/Co2");
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), root() + "/Data/Co1"));
  // Another drive's directory changes without changing the current drive...
  ASSERT_EQ(_chdrive(5), 0);
  ASSERT_EQ(_chdir("\\Data"), 0);
  EXPECT_STREQ(_getdcwd(5, buf, sizeof buf), "E:\\Data");
  EXPECT_STREQ(_getdcwd(4, buf, sizeof buf), "D:\\Data\\Co1");
  // ...unless the name carries the drive letter.
  ASSERT_EQ(_chdir("D:\\DATA\\CO2"), 0);
  EXPECT_EQ(_getdrive(), 4);
  EXPECT_EQ(_chdir("D:\\NONE"), -1);
  EXPECT_EQ(_chdir("D:\\DATA\\CO1\\LEDGER.DAT"), -1);
  EXPECT_EQ(_chdrive(0), -1);
  EXPECT_EQ(_chdrive(17), -1);  // Q: has no mapping
  EXPECT_EQ(_chdrive(27), -1);
  EXPECT_EQ(_getdcwd(17, buf, sizeof buf), nullptr);
  EXPECT_EQ(_getdrive(), 4);
}

TEST_F(DosTree, DirectoriesAndWholeFiles) {
  EXPECT_EQ(_mkdir("D:\\data\\NEWDIR"), 0);
  EXPECT_TRUE(is_host_dir("/Data/NEWDIR"));
  EXPECT_EQ(_mkdir("D:\\DATA\\newdir"), -1);  // already there, in another case
  EXPECT_EQ(_mkdir("D:\\NONE\\SUB"), -1);
  EXPECT_EQ(_rmdir("D:\\DATA\\NewDir"), 0);
  EXPECT_FALSE(is_host_dir("/Data/NEWDIR"));
  EXPECT_EQ(_rmdir("D:\\DATA"), -1);  // not empty
  EXPECT_EQ(_rmdir("D:\\"), -1);
  ASSERT_EQ(_chdir("D:\\DATA\\CO2"), 0);
  EXPECT_EQ(_rmdir("D:\\DATA\\CO2"), -1);  // current

  EXPECT_EQ(_access("D:\\DATA\\CO1\\LEDGER.DAT", 0), 0);
  EXPECT_EQ(_access("D:\\DATA\\CO1\\LEDGER.DAT", 6), 0);
  EXPECT_EQ(_access("D:\\DATA\\CO1\\MISSING.DAT", 0), -1);

  EXPECT_EQ(dos_rename("D:\\DATA\\CO1\\LEDGER.DAT", "D:\\DATA\\CO1\\INDEX.DAT"), 13);  // exists
  EXPECT_EQ(dos_rename("D:\\DATA\\CO1\\NONE.DAT", "D:\\DATA\\CO1\\X.DAT"), 2);
  EXPECT_EQ(dos_rename("D:\\DATA\\CO1\\LEDGER.DAT", "D:\\NONE\\X.DAT"), 2);
  EXPECT_EQ(dos_rename("D:\\DATA\\CO1\\LEDGER.DAT", "D:\\DATA\\CO1\\A|B"), 22);
  EXPECT_EQ(dos_rename("D:\\DATA\\CO1\\LEDGER.DAT", "D:\\DATA\\CO2\\Moved.dat"), 0);
  EXPECT_TRUE(is_host_file("/Data/Co2/Moved.dat"));
  EXPECT_EQ(dos_rename("D:\\DATA\\CO2\\MOVED.DAT", "D:\\DATA\\CO2\\MOVED.DAT"), 0);  // case only
  EXPECT_TRUE(is_host_file("/Data/Co2/MOVED.DAT"));

  EXPECT_EQ(DeleteFileA("D:\\DATA\\CO2\\moved.dat"), 1);
  EXPECT_FALSE(is_host_file("/Data/Co2/MOVED.DAT"));
  EXPECT_EQ(DeleteFileA("D:\\DATA\\CO2\\moved.dat"), 0);
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_EQ(DeleteFileA("D:\\DATA\\CO1"), 0);
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  EXPECT_EQ(DeleteFileA("D:\\NONE\\X"), 0);
  EXPECT_EQ(GetLastError(), kErrorPathNotFound);
  EXPECT_EQ(DeleteFileA(nullptr), 0);
}

}  // namespace
