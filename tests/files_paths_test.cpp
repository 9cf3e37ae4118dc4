// The library's file names, directories, searches and whole-file functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "corvalib/files.h"
#include "corvaplat/dirsys.h"
#include "corvaplat/search.h"
#include "files/dirlist.h"
#include "files/finds.h"
#include "files/handle_io.h"
#include "tests/dos_tree.h"

namespace {

template <std::size_t N>
std::string field(const char (&f)[N]) {
  return std::string(f, strnlen(f, N));
}

TEST(FileNames, ParseFileName) {
  struct Case {
    const char* text;
    uint16_t high;
    const char *drive, *dir, *name, *ext;
  };
  const Case cases[] = {
      {"c:\\data\\co1\\ledger.dat", 40, "C:", "\\data\\co1\\", "ledger", ".dat"},
      {"ledger", 40, "", "", "ledger", ""},
      {"c:ledger.dat", 40, "C:", "", "ledger", ".dat"},
      {"A:", 40, "A:", "", "", ""},
      {"\\", 40, "", "\\", "", ""},
      {"A:", 0, "", "", "A", ""},  // HIGH 0 never finds a drive
      {"1:X", 40, "", "", "1:X", ""},
      {"d:/srv/co1/x.y", 40, "D:", "/srv/co1/", "x", ".y"},
      {"ARCHIVE.TAR.GZ", 40, "", "", "ARCHIVE", ".TAR"},
      {"VERYLONGNAME.DAT", 40, "", "", "VERYLONG", ".DAT"},
      {"C:\\DATA\\LEDGER.DAT", 9, "C:", "\\DATA\\", "LE", ""},  // cut at HIGH
      {nullptr, 5, "", "", "", ""},  // a null text reads as empty
  };
  for (const Case& c : cases) {
    CvNameRecord r;
    std::memset(&r, 'x', sizeof r);
    char text[41] = {};
    if (c.text != nullptr) std::strncpy(text, c.text, 40);
    EXPECT_EQ(ParseFileName(c.high, c.text != nullptr ? text : nullptr, &r), 1);
    const char* shown = c.text != nullptr ? c.text : "(null)";
    EXPECT_EQ(field(r.drive), c.drive) << shown;
    EXPECT_EQ(field(r.directory), c.dir) << shown;
    EXPECT_EQ(field(r.name), c.name) << shown;
    EXPECT_EQ(field(r.extension), c.ext) << shown;
  }
  EXPECT_EQ(ParseFileName(BSTR("A:"), nullptr), 1);
}

TEST(FileNames, ConstructAddBackSlash) {
  struct Case {
    const char *a, *b;
    uint16_t high;
    const char* result;
  };
  const Case cases[] = {
      {"ledger", "C:\\DATA\\*.DAT", 79, "C:\\DATA\\ledger.DAT"},
      {".BAK", "C:\\DATA\\LEDGER.DAT", 79, "C:\\DATA\\LEDGER.BAK"},
      {"", "C:\\DATA\\LEDGER.DAT", 79, "C:\\DATA\\LEDGER.DAT"},
      {"X.Y", "C:\\DATA\\", 5, "C:\\DAT"},  // HIGH + 1 characters, no NUL
      {"D:", "C:\\DATA\\LEDGER.DAT", 79, "D:\\DATA\\LEDGER.DAT"},
  };
  for (const Case& c : cases) {
    char out[80];
    std::memset(out, 'x', sizeof out);
    char a[80] = {}, b[80] = {};
    std::strncpy(a, c.a, 79);
    std::strncpy(b, c.b, 79);
    ConstructFileName(79, a, 79, b, c.high, out);
    EXPECT_EQ(std::string(out, strnlen(out, std::size_t{c.high} + 1)), c.result) << c.a;
    if (std::strlen(c.result) <= c.high) {
      EXPECT_EQ(out[c.high], '\0');
    }
  }
  ConstructFileName(BSTR("a"), BSTR("b"), 5, nullptr);

  struct Slash {
    const char *in, *out;
  };
  for (const Slash& s : {Slash{"", ""}, Slash{"C:\\DATA\\", "C:\\DATA\\"},
                         Slash{"C:\\DATA", "C:\\DATA\\"}, Slash{"C:\\DATAX", "C:\\DATAX"}}) {
    char buf[9] = {};
    std::strncpy(buf, s.in, 8);
    AddBackSlash(8, buf);  // room for 8 characters
    EXPECT_STREQ(buf, s.out) << s.in;
  }
  AddBackSlash(7, nullptr);
}

TEST_F(DosTree, DrivesAndDirectories) {
  ASSERT_EQ(SetDrive(3), 0);
  EXPECT_EQ(GetDrive(), 3);
  EXPECT_EQ(SetDrive(16), -1);  // Q: has no mapping
  EXPECT_EQ(GetDrive(), 3);
  char dir[80];
  ASSERT_TRUE(GetDir(0, 79, dir));
  EXPECT_STREQ(dir, "\\");
  EXPECT_TRUE(SetFullDir(BSTR("d:\\data\\co1")));
  ASSERT_TRUE(GetDir(4, 79, dir));
  EXPECT_STREQ(dir, "\\Data\\Co1");
  ASSERT_TRUE(GetFullDir(79, dir));
  EXPECT_STREQ(dir, "D:\\Data\\Co1");
  EXPECT_FALSE(GetDir(0, 62, dir));
  EXPECT_FALSE(GetDir(17, 79, dir));
  // A failed directory change keeps the drive change.
  ASSERT_EQ(SetDrive(3), 0);
  EXPECT_FALSE(SetFullDir(BSTR("E:\\NONE")));
  EXPECT_EQ(GetDrive(), 4);
  EXPECT_FALSE(SetFullDir(79, nullptr));

  // GetDir limits: 63 characters with the drive for HIGH 63, 64 from HIGH 64.
  const std::string deep = "/" + std::string(58, 'A');
  std::filesystem::create_directories(root() + deep + "/BC");
  const std::string deep_dir = "D:" + deep + "\\BC";  // 64 characters in all
  ASSERT_TRUE(SetFullDir(static_cast<uint16_t>(deep_dir.size()), deep_dir.c_str()));
  char small[64], big[65];
  EXPECT_FALSE(GetDir(0, 63, small));
  EXPECT_TRUE(GetDir(0, 64, big));
  EXPECT_EQ(std::strlen(big), 62u);

  EXPECT_TRUE(MakeDir(BSTR("D:\\DATA\\NEW1")));
  EXPECT_FALSE(MakeDir(BSTR("D:\\DATA\\NEW1")));
  EXPECT_TRUE(RemoveDir(BSTR("D:\\DATA\\new1")));
  EXPECT_FALSE(RemoveDir(BSTR("D:\\DATA\\new1")));
  EXPECT_FALSE(MakeDir(12, nullptr));

  EXPECT_GT(GetDiskSpace(4), 0);
  EXPECT_EQ(GetDiskSpace(17), -1);
  EXPECT_EQ(GetDiskSpace(27), -1);
  {
    corva::platform::DirSysOverride o;
    o.calls().statvfs = [](const char*, void*) { return -1; };
    EXPECT_EQ(GetDiskSpace(0), -1);
  }
}

TEST_F(DosTree, Searches) {
  std::filesystem::create_directories(root() + "/Data/Co1/Sub");
  CvFindRecord f{};
  std::vector<std::string> names;
  ASSERT_TRUE(FindFirst(BSTR("D:\\DATA\\CO1\\*.*"), 0, &f));
  do names.emplace_back(f.name);
  while (FindNext(&f));
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "INDEX.DAT", "Ledger.dat", "Sub"}));
  EXPECT_EQ(corva::platform::open_searches(), 0u);  // closed at its end
  EXPECT_FALSE(FindNext(&f));
  EXPECT_FALSE(FindFirst(BSTR("D:\\DATA\\CO1\\*.XYZ"), 0, &f));

  // A second search ends the first; FindNext then goes on with the second.
  CvFindRecord first{}, second{};
  ASSERT_TRUE(FindFirst(BSTR("D:\\DATA\\CO1\\*.DAT"), 0, &first));
  ASSERT_TRUE(FindFirst(BSTR("D:\\DATA\\*"), 0, &second));
  EXPECT_EQ(corva::platform::open_searches(), 1u);
  ASSERT_TRUE(FindNext(&first));
  EXPECT_STREQ(first.name, "..");
  CloseFinds();
  EXPECT_EQ(corva::platform::open_searches(), 0u);
  CloseFinds();

  struct Case {
    uint8_t attribute;
    std::vector<std::string> names;
  };
  const Case cases[] = {{0, {"INDEX.DAT", "Ledger.dat", "Sub"}},
                        {16, {"Sub"}},
                        {32, {"INDEX.DAT", "Ledger.dat"}},
                        {1, {}}};
  for (const Case& c : cases) {
    char name[80] = "D:\\DATA\\CO1\\*.*";
    std::vector<std::string> got;
    bool more = CVXFindFirstFile(&f, 79, name, c.attribute);
    while (more) {
      got.emplace_back(name);
      more = CVXFindNextFile(79, name, &f, c.attribute);
    }
    EXPECT_EQ(got, c.names) << int{c.attribute};
  }
  char cut[6] = "D:\\*";
  ASSERT_TRUE(CVXFindFirstFile(&f, 3, cut, 0));
  EXPECT_STREQ(cut, "Dat");  // the found name, cut to HIGH

  ASSERT_TRUE(FindFirst(BSTR("D:\\*"), 0, &f));
  corva::files::close_all_finds();  // what the frame does at unload
  EXPECT_EQ(corva::platform::open_searches(), 0u);
  EXPECT_FALSE(FindFirst(BSTR("D:\\*"), 0, nullptr));
}

struct FakeDialog {
  static inline std::vector<std::string> calls;
};

TEST_F(DosTree, DialogDirectoryList) {
  auto& target = corva::files::dialog_list_target();
  const auto saved = target;
  FakeDialog::calls.clear();
  target.reset_list = [](CvHWND d, int16_t l) {
    FakeDialog::calls.push_back("reset " + std::to_string(d) + "/" + std::to_string(l));
  };
  target.add_string = [](CvHWND, int16_t l, const char* t) {
    FakeDialog::calls.push_back("add " + std::to_string(l) + " " + t);
  };
  target.set_item_text = [](CvHWND, int16_t i, const char* t) {
    FakeDialog::calls.push_back("text " + std::to_string(i) + " " + t);
  };
  EXPECT_EQ(MyDlgDirList(9, BSTR("D:\\DATA\\CO1"), 101, 102, 0), 1);
  EXPECT_EQ(FakeDialog::calls,
            (std::vector<std::string>{"reset 9/101", "text 102 D:\\DATA\\CO1",
                                      "add 101 INDEX.DAT", "add 101 Ledger.dat"}));
  char dir[80];
  ASSERT_TRUE(GetFullDir(79, dir));
  EXPECT_STREQ(dir, "D:\\Data\\Co1");  // stays current
  EXPECT_EQ(MyDlgDirList(9, BSTR("D:\\DATA\\CO2"), 101, 0, 0), 0);  // empty directory
  EXPECT_EQ(MyDlgDirList(9, BSTR("D:\\NONE"), 101, 0, 0), 0);
  EXPECT_EQ(MyDlgDirList(9, BSTR("D:\\DATA"), 0, 0, 0), 0);
  target = saved;
  EXPECT_EQ(MyDlgDirList(9, BSTR("D:\\DATA"), 101, 0, 16), 1);  // nothing to show it in
}

TEST_F(DosTree, WholeFiles) {
  EXPECT_TRUE(FileExist("D:\\DATA\\CO1\\ledger.DAT"));
  EXPECT_TRUE(FileExist("D:\\DATA"));
  EXPECT_FALSE(FileExist("D:\\DATA\\CO1\\NONE"));
  EXPECT_FALSE(FileExist(nullptr));

  write("/Data/Co1/LEDGER.LCK", "");
  EXPECT_EQ(FileDeleteWithLCK(BSTR("D:\\DATA\\CO1\\LEDGER.DAT")), 0);
  EXPECT_FALSE(FileExist("D:\\DATA\\CO1\\LEDGER.DAT"));
  EXPECT_FALSE(FileExist("D:\\DATA\\CO1\\LEDGER.LCK"));
  EXPECT_EQ(FileDeleteWithLCK(BSTR("D:\\DATA\\CO1\\LEDGER.DAT")), 1);

  struct Case {
    const char *name, *ext, *deleted;
  };
  const Case cases[] = {{"D:\\DATA\\CO1\\INDEX.DAT", "BAK", "/Data/Co1/INDEX.BAK"},
                        {"D:\\DATA\\CO1\\INDEX.", "X", "/Data/Co1/INDEX.X"}};
  for (const Case& c : cases) {
    write(c.deleted, "");
    EXPECT_EQ(FileDeleteByExt(c.name, c.ext), 0) << c.name;
    EXPECT_FALSE(std::filesystem::exists(root() + c.deleted)) << c.name;
  }
  ASSERT_EQ(SetFullDir(BSTR("D:\\DATA\\CO1")), 1);
  write("/Data/Co1/.LCK", "");
  EXPECT_EQ(FileDeleteByExt("NODOT", "LCK"), 0);  // becomes ".LCK"
  EXPECT_EQ(FileDelete(BSTR("INDEX.DAT")), 0);
  EXPECT_EQ(FileDelete(BSTR("INDEX.DAT")), 1);
  EXPECT_EQ(FileDelete(0, nullptr), 1);

  write("/Data/Co1/A.DAT", "a");
  EXPECT_EQ(Rename(BSTR("a.dat"), BSTR("B.DAT")), 0);
  EXPECT_TRUE(is_host_file("/Data/Co1/B.DAT"));
  EXPECT_EQ(Rename(BSTR("a.dat"), BSTR("C.DAT")), 2);
  write("/Data/Co1/C.DAT", "c");
  EXPECT_EQ(Rename(BSTR("B.DAT"), BSTR("C.DAT")), 13);
  EXPECT_EQ(Rename(79, nullptr, BSTR("C.DAT")), 2);
}

// Handles over an in-memory set of files, with switches for the failures.
struct MemoryFiles {
  static inline std::map<std::string, std::string> files;
  static inline std::map<int, std::string> open;  // handle -> name
  static inline int next = 1;
  static inline bool refuse_create = false;
  static inline long write_room = -1;  // bytes a write may still put down; -1 any
  static inline std::map<int, std::size_t> pos;

  static void install(corva::files::HandleIo& io) {
    files.clear();
    open.clear();
    pos.clear();
    refuse_create = false;
    write_room = -1;
    io.open_read = [](const char* n) {
      if (!files.count(n)) return -1;
      open[next] = n;
      pos[next] = 0;
      return next++;
    };
    io.create = [](const char* n) {
      if (refuse_create) return -1;
      files[n].clear();
      open[next] = n;
      return next++;
    };
    io.read = [](int32_t f, void* b, uint32_t c) -> uint32_t {
      const std::string& s = files[open[f]];
      const std::size_t n = std::min<std::size_t>(c, s.size() - pos[f]);
      std::memcpy(b, s.data() + pos[f], n);
      pos[f] += n;
      return static_cast<uint32_t>(n);
    };
    io.write = [](int32_t f, const void* b, uint32_t c) -> uint32_t {
      uint32_t n = c;
      if (write_room >= 0) {
        n = static_cast<uint32_t>(std::min<long>(c, write_room));
        write_room -= n;
      }
      files[open[f]].append(static_cast<const char*>(b), n);
      return n;
    };
    io.close = [](int32_t f) { return open.erase(f) ? 0 : -1; };
  }
};

TEST(FileCopy, CopyFile2) {
  auto& io = corva::files::handle_io();
  const auto saved = io;
  MemoryFiles::install(io);
  const std::string big(20000, 'z');
  MemoryFiles::files["SRC"] = big;
  EXPECT_TRUE(CopyFile2("DST", "SRC", 1));
  EXPECT_EQ(MemoryFiles::files["DST"], big);
  EXPECT_TRUE(MemoryFiles::open.empty());

  MemoryFiles::files["DST"] = "old";
  EXPECT_FALSE(CopyFile2("DST", "SRC", 0));
  EXPECT_EQ(MemoryFiles::files["DST"], "");  // made, left empty

  MemoryFiles::files["DST2"] = "keep";
  EXPECT_FALSE(CopyFile2("DST2", "NONE", 1));
  EXPECT_EQ(MemoryFiles::files["DST2"], "keep");  // not touched

  MemoryFiles::refuse_create = true;
  EXPECT_FALSE(CopyFile2("DST3", "SRC", 1));
  EXPECT_TRUE(MemoryFiles::open.empty());
  MemoryFiles::refuse_create = false;

  MemoryFiles::write_room = 10000;
  EXPECT_FALSE(CopyFile2("DST4", "SRC", 1));
  EXPECT_TRUE(MemoryFiles::open.empty());
  EXPECT_FALSE(CopyFile2(nullptr, "SRC", 1));
  io = saved;
}

}  // namespace

namespace {

// Temporary files stay in the temporary directory whatever the prefix, and
// are private to their owner.
TEST_F(DosTree, TempFileNamesKeepToTheirDirectory) {
  struct Case {
    const char* prefix;
    const char* kept;
  };
  const Case cases[] = {
      {"../x", ""}, {"a/b", "a"}, {"..\\evil", ""}, {"AB.C", "AB"},
      {"CVXFILE", "CVX"}, {"C:X", "C"}, {"", ""}, {"x*y", "x"},
  };
  setenv("TMPDIR", root().c_str(), 1);
  for (const Case& c : cases) {
    char name[260] = {};
    const int32_t n = CVX_GetTempFileName(c.prefix, name);
    ASSERT_NE(n, 0) << c.prefix;
    char expect[16];
    std::snprintf(expect, sizeof expect, "%s%04X.TMP", c.kept, static_cast<unsigned>(n));
    EXPECT_EQ(std::string(name), root() + "/" + expect) << c.prefix;
    const auto status = std::filesystem::symlink_status(name);
    EXPECT_EQ(status.type(), std::filesystem::file_type::regular) << c.prefix;
    EXPECT_EQ(status.permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << c.prefix;
  }
  unsetenv("TMPDIR");
}

TEST_F(DosTree, BadInputGetsTheDocumentedAnswer) {
  const std::string long_name = "D:\\" + std::string(300, 'N');
  const uint16_t lh = static_cast<uint16_t>(long_name.size());
  EXPECT_EQ(FileDelete(lh, long_name.c_str()), 1);
  EXPECT_FALSE(MakeDir(lh, long_name.c_str()));
  EXPECT_FALSE(SetFullDir(lh, long_name.c_str()));
  EXPECT_FALSE(FileExist(long_name.c_str()));
  EXPECT_EQ(Rename(lh, long_name.c_str(), BSTR("D:\\X")), 2);  // cut to 79: no such file
  CvFindRecord f{};
  EXPECT_FALSE(FindFirst(lh, long_name.c_str(), 0, &f));
  EXPECT_FALSE(FindFirst(0, "", 0, &f));
  EXPECT_FALSE(FindFirst(10, nullptr, 0, &f));
  EXPECT_FALSE(CVXFindFirstFile(nullptr, 10, nullptr, 0));
  EXPECT_FALSE(CVXFindNextFile(10, nullptr, &f, 0));
  EXPECT_EQ(FileDelete(BSTR("D:\\DATA")), 1);  // a directory
  EXPECT_EQ(FileDelete(BSTR("Q:\\X.DAT")), 1);
  EXPECT_EQ(FileDeleteByExt(nullptr, "LCK"), 1);
  EXPECT_EQ(FileDeleteWithLCK(5, nullptr), 1);
  EXPECT_EQ(MyDlgDirList(1, 10, nullptr, 5, 0, 0), 0);
  char name[260];
  EXPECT_EQ(CVX_GetTempFileName("X", nullptr), 0);
  setenv("TMPDIR", (root() + "/none").c_str(), 1);
  EXPECT_EQ(CVX_GetTempFileName("X", name), 0);  // the directory is not there
  setenv("TMPDIR", root().c_str(), 1);
  EXPECT_NE(CVX_GetTempFileName(nullptr, name), 0);
  unsetenv("TMPDIR");
  EXPECT_EQ(CVXCopyFile(0, 5, nullptr, 5, nullptr), 2);  // no destination
  EXPECT_EQ(CVXCopyFile(0, 5, nullptr, BSTR("D:\\")), 3);
  UndoCopy(5, nullptr, 5, nullptr, 0);
  CreateFileAndTest(nullptr, BSTR("D:\\"), nullptr);
}

}  // namespace

#if __has_include(<corvaplat/windows.h>)
#include "corvaplat/windows.h"

namespace {

TEST_F(DosTree, DialogDirectoryListFillsTheListBox) {
  namespace w = corva::platform;
  const w::WindowHandle dialog =
      w::CreateWindowExA(0, "STATIC", "", w::WS_POPUP, 0, 0, 200, 200, 0, 0, 0, nullptr);
  ASSERT_NE(dialog, 0u);
  w::CreateWindowExA(0, "LISTBOX", "", w::WS_CHILD, 0, 0, 100, 100, dialog, 101, 0, nullptr);
  w::CreateWindowExA(0, "STATIC", "old", w::WS_CHILD, 0, 0, 100, 10, dialog, 102, 0, nullptr);
  w::SendDlgItemMessageA(dialog, 101, w::LB_ADDSTRING, 0, reinterpret_cast<w::LPARAM>("stale"));
  EXPECT_EQ(MyDlgDirList(dialog, BSTR("D:\\DATA\\CO1"), 101, 102, 0), 1);
  ASSERT_EQ(w::SendDlgItemMessageA(dialog, 101, w::LB_GETCOUNT, 0, 0), 2);
  char item[32] = {};
  w::SendDlgItemMessageA(dialog, 101, w::LB_GETTEXT, 0, reinterpret_cast<w::LPARAM>(item));
  EXPECT_STREQ(item, "INDEX.DAT");
  EXPECT_EQ(w::window_text(w::GetDlgItem(dialog, 102)), "D:\\DATA\\CO1");
  w::DestroyWindow(dialog);
}

}  // namespace
#endif
