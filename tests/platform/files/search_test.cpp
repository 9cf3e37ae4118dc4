// DOS wildcards, directory searches, disk space and temporary names of the
// platform layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "corvaplat/dirsys.h"
#include "corvaplat/disk.h"
#include "corvaplat/search.h"
#include "tests/dos_tree.h"

namespace {
using namespace corva::platform;

TEST(Wildcards, MatchAsDos) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "LEDGER.DAT", true},        {"*", "README", true},
      {"*.*", "README", true},          {"*.*", "a.b.c", true},
      {"*.DAT", "ledger.dat", true},    {"*.DAT", "LEDGER.DATA", false},
      {"*.DAT", "OLD.LEDGER.DAT", true}, {"*.DAT", "DAT", false},
      {"*.", "README", true},           {"*.", "LEDGER.DAT", false},
      {"LEDGER.*", "LEDGER", true},     {"LEDGER.*", "ledger.dat", true},
      {"LEDGER.*", "LEDGERS.DAT", false},
      {"FILE?.TXT", "FILE1.TXT", true}, {"FILE?.TXT", "FILE.TXT", true},
      {"FILE?.TXT", "FILE12.TXT", false},
      {"A?C", "ABC", true},             {"A?C", "AC", false},
      {"AB?", "AB", true},              {"AB??", "ABC", true},
      {"????????.???", "LONGNAME.TXT", true}, {"????????.???", "LONGNAME1.TXT", false},
      {"????????.???", "AB", true},     {"*.T?T", "x.TXT", true},
      {"*.TX?", "x.TX", true},          {"*.TX?", "x.TXTS", false},
      {"LEDGER", "Ledger", true},       {"LEDGER", "LEDGER.DAT", false},
      {"L*R.DAT", "LEDGER.DAT", true},  {"L*R.DAT", "LEDGER.DAX", false},
      {"*R*", "LEDGER.DAT", true},      {"*Z*", "LEDGER.DAT", false},
      {".*", ".profile", true},         {"CONTINUE", "continue", true},
      // Trailing blanks and dots of a wildcard pattern.
      {"*. ", "LEDGER.DAT", true},      {"*. ", "README", true},
      {"* .", "README", true},          {"* .", "LEDGER.DAT", false},
      {"*..", "README", true},          {"*..", "LEDGER.DAT", false},
      {"aa? ", "aa", true},             {"aa? ", "aaa", true},
      {"aa? ", "aaaa", false},          {"a ", "a ", true},  // no wildcard: as it is
      {"?", ".", true},                 {"??", "..", true},
      {"?", "..", true},                {"?", "ab", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(dos_wildcard_match(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

std::vector<std::string> find_all(const char* pattern, std::vector<std::uint32_t>* attribs = nullptr) {
  std::vector<std::string> names;
  FindData d{};
  const std::intptr_t h = _findfirst(pattern, &d);
  if (h == -1) return names;
  do {
    names.emplace_back(d.name);
    if (attribs) attribs->push_back(d.attrib);
  } while (_findnext(h, &d) == 0);
  EXPECT_EQ(_findclose(h), 0);
  return names;
}

using Names = std::vector<std::string>;

TEST_F(DosTree, SearchesDirectories) {
  write("/Data/Co1/notes", "n");
  write("/Data/Co1/.hidden", "h");
  write("/Data/Co1/_work", "w");
  std::vector<std::uint32_t> attribs;
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\*.*", &attribs),
            (Names{".", "..", ".hidden", "INDEX.DAT", "Ledger.dat", "notes", "_work"}));
  EXPECT_EQ(attribs, (std::vector<std::uint32_t>{kAttrSubdir, kAttrSubdir,
                                                 kAttrArchive | kAttrHidden, kAttrArchive,
                                                 kAttrArchive, kAttrArchive, kAttrArchive}));
  EXPECT_EQ(find_all("d:/data/co1/*.dat"), (Names{"INDEX.DAT", "Ledger.dat"}));
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\*."), (Names{".", "..", "notes", "_work"}));
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\*.."), (Names{".", "..", "notes", "_work"}));
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\*. ").size(), 7u);
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\?"), (Names{".", ".."}));
  EXPECT_EQ(find_all("D:\\*"), (Names{"Data"}));  // no "." at a drive's root
  EXPECT_EQ(find_all("D:\\DATA"), (Names{"Data"}));
  EXPECT_EQ(find_all("D:\\DATA\\CO1\\*.XYZ"), Names{});
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_EQ(find_all("D:\\NONE\\*.*"), Names{});
  EXPECT_EQ(GetLastError(), kErrorPathNotFound);
  EXPECT_EQ(find_all("D:\\DATA\\"), Names{});
  EXPECT_EQ(find_all("Q:\\*.*"), Names{});
  ASSERT_EQ(_chdir("D:\\DATA\\CO1"), 0);
  EXPECT_EQ(find_all("INDEX.*"), (Names{"INDEX.DAT"}));
  EXPECT_EQ(find_all("D:IND*"), (Names{"INDEX.DAT"}));

  FindData d{};
  const std::intptr_t h = _findfirst("D:\\DATA\\CO1\\LEDGER.DAT", &d);
  ASSERT_NE(h, -1);
  EXPECT_EQ(d.size, 6u);
  EXPECT_EQ(_findnext(h, &d), -1);
  EXPECT_EQ(GetLastError(), kErrorNoMoreFiles);
  EXPECT_EQ(_findclose(h), 0);
  EXPECT_EQ(_findclose(h), -1);
  EXPECT_EQ(_findnext(h, &d), -1);
  EXPECT_EQ(_findfirst(nullptr, &d), -1);
  EXPECT_EQ(open_searches(), 0u);
}

TEST_F(DosTree, DiskSpaceAndTemporaryNames) {
  std::uint32_t spc = 0, bps = 0, free_c = 0, total = 0;
  ASSERT_EQ(GetDiskFreeSpaceA("D:\\", &spc, &bps, &free_c, &total), 1);
  EXPECT_EQ(bps, 512u);
  EXPECT_GE(spc, 1u);
  EXPECT_LE(free_c, total);
  EXPECT_EQ(GetDiskFreeSpaceA("Q:\\", &spc, &bps, &free_c, &total), 0);
  {
    DirSysOverride o;
    o.calls().statvfs = [](const char*, void*) { return -1; };
    EXPECT_EQ(GetDiskFreeSpaceA("D:\\", &spc, &bps, &free_c, &total), 0);
  }

  setenv("TMPDIR", (root() + "/Data").c_str(), 1);
  char path[260];
  EXPECT_EQ(GetTempPathA(4, path), root().size() + 7);  // needs the NUL too
  ASSERT_EQ(GetTempPathA(sizeof path, path), root().size() + 6);
  EXPECT_EQ(std::string(path), root() + "/Data/");
  char name[260];
  const std::uint32_t n1 = GetTempFileNameA(path, "CVXFILE", 0, name);
  ASSERT_NE(n1, 0u);
  char expect[16];
  std::snprintf(expect, sizeof expect, "CVX%04X.TMP", n1);
  EXPECT_EQ(std::string(name), std::string(path) + expect);
  EXPECT_TRUE(std::filesystem::is_regular_file(name));
  EXPECT_EQ(std::filesystem::file_size(name), 0u);
  const std::uint32_t n2 = GetTempFileNameA(path, "CVX", 0, name);
  EXPECT_NE(n2, n1);
  EXPECT_EQ(GetTempFileNameA("D:\\DATA", "X", 0x12345, name), 0x2345u);
  EXPECT_STREQ(name, "D:\\DATA\\X2345.TMP");
  EXPECT_EQ(GetTempFileNameA("D:\\NONE", "X", 0, name), 0u);
  unsetenv("TMPDIR");
}

}  // namespace
