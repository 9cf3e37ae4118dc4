// The copy with progress, over real directories and a stand-in for the
// buffered files and the message engine.
#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "corvalib/files.h"
#include "corvalib/frame.h"
#include "corvaplat/dirsys.h"
#include "corvaplat/modules.h"
#include "corvaplat/paths.h"
#include "files/copy_io.h"
#include "files/handle_io.h"
#include "tests/dos_tree.h"

namespace {


// Buffered files over stdio, with switches for the faults.
struct Fake {
  static inline std::map<CvxFileType*, std::FILE*> open;
  static inline std::set<std::string> in_use;  // host paths that answer 11
  static inline bool fail_read = false;
  static inline long write_room = -1;
  static inline std::vector<unsigned> messages;
  static inline std::deque<uint16_t> answers;  // then OK (1)

  static CvxFileType& fv(CvxFileType* f) { return *f; }
  static bool host(const char* name, std::string& h, bool& exists) {
    return corva::platform::resolve_dos_path(name, h, &exists) == 0;
  }
  static void attach(CvxFileType* f, const std::string& h, bool created) {
    open[f] = std::fopen(h.c_str(), "r+b");
    fv(f).result = open[f] ? 0 : 1;
    fv(f).eof = created;
    fv(f).isNew = created;
  }
  static void create32(CvxFileType* f, uint16_t, const char* name) {
    std::string h;
    bool exists = false;
    if (!host(name, h, exists)) {
      fv(f).result = 4;
      return;
    }
    if (in_use.count(h)) {
      fv(f).result = 11;
      return;
    }
    if (!exists) std::fclose(std::fopen(h.c_str(), "wb"));
    attach(f, h, true);
  }
  static void lookup(CvxFileType* f, uint16_t high, const char* name, uint8_t create) {
    std::string h;
    bool exists = false;
    if (!host(name, h, exists)) {
      fv(f).result = 4;
    } else if (in_use.count(h)) {
      fv(f).result = 11;
    } else if (exists) {
      attach(f, h, false);
    } else if (create) {
      create32(f, high, name);
    } else {
      fv(f).result = 5;
    }
  }
  static uint8_t read(CvxFileType* f, uint16_t count, void* data) {
    if (fail_read) {
      fv(f).result = 1;
      fv(f).lastCount = 0;
      return 0;
    }
    const std::size_t n = std::fread(data, 1, count, open[f]);
    fv(f).lastCount = static_cast<uint16_t>(n);
    fv(f).eof = n < count;
    fv(f).result = 0;
    return 1;
  }
  static uint8_t write(CvxFileType* f, uint16_t count, const void* data) {
    std::size_t n = count;
    if (write_room >= 0) {
      n = std::min<std::size_t>(n, static_cast<std::size_t>(write_room));
      write_room -= static_cast<long>(n);
    }
    n = std::fwrite(data, 1, n, open[f]);
    fv(f).lastCount = static_cast<uint16_t>(n);
    fv(f).eof = n < count;
    fv(f).result = n < count ? 8 : 0;
    return fv(f).result == 0;
  }
  static void length(CvxFileType* f, int32_t* len) {
    std::FILE* s = open[f];
    const long at = std::ftell(s);
    std::fseek(s, 0, SEEK_END);
    *len = static_cast<int32_t>(std::ftell(s));
    std::fseek(s, at, SEEK_SET);
  }
  static void close(CvxFileType* f) {
    if (auto it = open.find(f); it != open.end()) {
      if (it->second) std::fclose(it->second);
      open.erase(it);
    }
  }
  static uint16_t message(uint32_t, uintptr_t ref) {
    messages.push_back(static_cast<unsigned>(ref));
    if (answers.empty()) return 1;
    const uint16_t a = answers.front();
    answers.pop_front();
    return a;
  }
};

// A progress module in slot 5 that counts its calls.
struct ProgressCalls {
  static inline std::string title;
  static inline std::vector<std::string> shown;
  static inline int checks = 0, marks = 0, ends = 0;
  static uintptr_t begin(int32_t, CvHWND, int32_t high, const char* t) {
    title.assign(t, static_cast<std::size_t>(high));
    return 77;
  }
  static int32_t message(uintptr_t h, int32_t, int32_t, const char* text) {
    if (h == 77) shown.emplace_back(text);
    return 0;
  }
  static int32_t check(uintptr_t) { return ++checks, 0; }
  static int32_t mark(uintptr_t) { return ++marks, 0; }
  static int32_t end(uintptr_t* h) { return ++ends, *h = 0, 0; }
};

class Copy : public DosTree {
 protected:
  void SetUp() override {
    DosTree::SetUp();
    saved_ = corva::files::copy_io();
    corva::files::copy_io() = {Fake::lookup, Fake::create32, Fake::read, Fake::write,
                               Fake::length, Fake::close, Fake::message};
    Fake::in_use.clear();
    Fake::fail_read = false;
    Fake::write_room = -1;
    Fake::messages.clear();
    Fake::answers.clear();
    std::filesystem::create_directories(root() + "/Src/Sub");
    write("/Src/A.DAT", std::string(40000, 'a'));
    write("/Src/B.TXT", "");
  }
  void TearDown() override {
    corva::files::copy_io() = saved_;
    EXPECT_TRUE(Fake::open.empty());
    DosTree::TearDown();
  }
  int16_t copy(const char* src = "D:\\SRC\\*.*", const char* dst = "D:\\DATA\\CO2\\") {
    return CVXCopyFile(5, static_cast<uint16_t>(std::strlen(src)), src,
                       static_cast<uint16_t>(std::strlen(dst)), dst);
  }
  std::string read(const std::string& below) {
    std::ifstream in(root() + below, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  corva::files::CopyIo saved_{};
};

TEST_F(Copy, CopiesEveryFileWithProgress) {
  const corva::platform::ModuleSymbol symbols[] = {
      {"_BeginProgressNicely@16", reinterpret_cast<void*>(&ProgressCalls::begin)},
      {"_ProgressMessage@16", reinterpret_cast<void*>(&ProgressCalls::message)},
      {"_CheckForAbortProgress@4", reinterpret_cast<void*>(&ProgressCalls::check)},
      {"_MarkProgress@4", reinterpret_cast<void*>(&ProgressCalls::mark)},
      {"_EndProgress@4", reinterpret_cast<void*>(&ProgressCalls::end)}};
  const auto module = corva::platform::register_module("progress-test.dll", {}, symbols);
  RequirePerInstanceData(module, 5, 0);
  write("/Data/Co2/CONTINUE", "stale");
  EXPECT_EQ(copy(), 0);
  RequirePerInstanceData(0, 5, 0);
  corva::platform::unregister_module(module);

  EXPECT_EQ(read("/Data/Co2/A.DAT"), std::string(40000, 'a'));
  EXPECT_TRUE(is_host_file("/Data/Co2/B.TXT"));
  EXPECT_EQ(read("/Data/Co2/B.TXT"), "");
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/Sub"));
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/CONTINUE"));  // stale marker gone
  EXPECT_TRUE(Fake::messages.empty());
  EXPECT_EQ(ProgressCalls::title, "Copying Files");
  EXPECT_EQ(ProgressCalls::shown, (std::vector<std::string>{"D:\\SRC\\A.DAT", "D:\\SRC\\B.TXT"}));
  EXPECT_EQ(ProgressCalls::marks, 3);           // A.DAT, B.TXT, Sub
  EXPECT_EQ(ProgressCalls::checks, 2 + 3 * 2 + 2);  // per file, per block (3 + 1)
  EXPECT_EQ(ProgressCalls::ends, 1);
}

TEST_F(Copy, Results) {
  struct Case {
    const char* name;
    void (*arrange)();
    const char *src, *dst;
    int16_t result;
  };
  const Case cases[] = {
      {"nothing matches", [] {}, "D:\\SRC\\*.XYZ", "D:\\DATA\\CO2\\", 3},
      {"only directories", [] {}, "D:\\SRC\\S*", "D:\\DATA\\CO2\\", 0},
      {"no source directory", [] {}, "D:\\NONE\\*.*", "D:\\DATA\\CO2\\", 3},
      {"read fails", [] { Fake::fail_read = true; }, "D:\\SRC\\*.*", "D:\\DATA\\CO2\\", 7},
      {"write falls short", [] { Fake::write_room = 100; }, "D:\\SRC\\*.*", "D:\\DATA\\CO2\\", 4},
      {"destination two levels down", [] {}, "D:\\SRC\\*.*", "D:\\DATA\\X\\Y\\", 2},
  };
  for (const Case& c : cases) {
    Fake::messages.clear();
    Fake::fail_read = false;
    Fake::write_room = -1;
    c.arrange();
    const int16_t r = copy(c.src, c.dst);
    EXPECT_EQ(r, c.result) << c.name;
    const std::vector<unsigned> expected =
        r == 0 ? std::vector<unsigned>{} : std::vector<unsigned>{21000u + r};
    EXPECT_EQ(Fake::messages, expected) << c.name;
  }
  // A destination one level down is made; a source in use answers 6.
  EXPECT_EQ(copy("D:\\SRC\\*.*", "D:\\DATA\\NEW\\"), 0);
  EXPECT_EQ(read("/Data/NEW/A.DAT").size(), 40000u);
  std::string host;
  corva::platform::resolve_dos_path("D:\\SRC\\A.DAT", host);
  Fake::in_use.insert(host);
  Fake::messages.clear();
  EXPECT_EQ(copy(), 6);
  EXPECT_EQ(Fake::messages, std::vector<unsigned>{21006});
}

// A destination file name that would not fit is never cut to another file's
// name: the copy answers 2 before writing anything, and UndoCopy deletes
// nothing by a cut name either. A null destination is not the current directory.
TEST_F(Copy, DestinationNamesThatDoNotFit) {
  const std::string folder(65, 'L');  // "D:\\DATA\\" + folder + "\\" is 74 characters
  std::filesystem::create_directories(root() + "/Data/" + folder);
  write("/Src/LEDGER1.DAT", "one");
  write("/Src/LEDGER2.DAT", "two");
  write("/Data/" + folder + "/LEDGE", "keep");
  const std::string dest = "D:\\DATA\\" + folder + "\\";
  ASSERT_EQ(dest.size(), 74u);
  EXPECT_EQ(copy("D:\\SRC\\LEDGER*.DAT", dest.c_str()), 2);
  EXPECT_EQ(Fake::messages, std::vector<unsigned>{21002});
  std::vector<std::string> there;
  for (const auto& e : std::filesystem::directory_iterator(root() + "/Data/" + folder))
    there.push_back(e.path().filename().string());
  EXPECT_EQ(there, std::vector<std::string>{"LEDGE"});
  UndoCopy(BSTR("D:\\SRC\\LEDGER*.DAT"), static_cast<uint16_t>(dest.size()), dest.c_str(), 0);
  EXPECT_EQ(read("/Data/" + folder + "/LEDGE"), "keep");

  Fake::messages.clear();
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(root() + "/Data");
  EXPECT_EQ(CVXCopyFile(0, BSTR("D:\\SRC\\*.DAT"), 5, nullptr), 2);
  UndoCopy(BSTR("D:\\SRC\\*.DAT"), 5, nullptr, 0);
  std::filesystem::current_path(here);
  EXPECT_EQ(Fake::messages, std::vector<unsigned>{21002});
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/A.DAT"));
}

TEST_F(Copy, FullDiskAsksForAnotherDiskette) {
  corva::platform::DirSysOverride o;
  o.calls().statvfs = [](const char*, void* b) {
    auto* st = static_cast<struct statvfs*>(b);
    std::memset(st, 0, sizeof *st);
    st->f_frsize = 4096;
    st->f_blocks = 100;
    st->f_bavail = 1;  // 4096 bytes: B.TXT fits, A.DAT does not
    return 0;
  };
  Fake::answers = {1, 1, 2};
  EXPECT_EQ(copy(), 4);
  EXPECT_EQ(Fake::messages, (std::vector<unsigned>{21011, 21012, 21012, 21004}));
  EXPECT_TRUE(std::filesystem::exists(root() + "/Data/Co2/CONTINUE"));
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/A.DAT"));

  // Nobody to answer: the copy still ends.
  Fake::messages.clear();
  corva::files::copy_io().message = nullptr;
  EXPECT_EQ(copy(), 4);
}

TEST_F(Copy, ContinueMarkerAndUndo) {
  write("/Src/CONTINUE", "");
  Fake::answers = {1, 2};  // one more diskette, then stop
  EXPECT_EQ(copy(), 0);
  EXPECT_EQ(Fake::messages, (std::vector<unsigned>{21013, 21013}));
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/CONTINUE"));
  EXPECT_TRUE(std::filesystem::exists(root() + "/Data/Co2/A.DAT"));

  write("/Data/Co2/KEEP.DAT", "k");
  UndoCopy(BSTR("D:\\SRC\\*.DAT"), BSTR("D:\\DATA\\CO2\\"), 3);  // nothing was written
  EXPECT_TRUE(std::filesystem::exists(root() + "/Data/Co2/A.DAT"));
  UndoCopy(BSTR("D:\\SRC\\*.DAT"), BSTR("D:\\DATA\\CO2\\"), 4);
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/A.DAT"));
  EXPECT_TRUE(std::filesystem::exists(root() + "/Data/Co2/B.TXT"));
  EXPECT_TRUE(std::filesystem::exists(root() + "/Data/Co2/KEEP.DAT"));
}

}  // namespace

namespace {

// The same copies through the library's own buffered files.
class RealCopy : public DosTree {
 protected:
  std::string read(const std::string& below) {
    std::ifstream in(root() + below, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(RealCopy, CopiesThroughTheBufferedFiles) {
  const std::string big(50000, 'q');
  write("/Data/Co1/Ledger.dat", big);
  EXPECT_TRUE(CopyFile2("D:\\DATA\\CO2\\COPY.DAT", "d:\\data\\co1\\ledger.dat", 1));
  EXPECT_EQ(read("/Data/Co2/COPY.DAT"), big);
  EXPECT_FALSE(CopyFile2("D:\\DATA\\CO2\\EMPTY.DAT", "D:\\DATA\\CO1\\LEDGER.DAT", 0));
  EXPECT_EQ(read("/Data/Co2/EMPTY.DAT"), "");
  EXPECT_FALSE(CopyFile2("D:\\DATA\\CO2\\NONE.DAT", "D:\\DATA\\CO1\\NONE.DAT", 1));
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/Co2/NONE.DAT"));

  testing::internal::CaptureStderr();  // the messages of the failures below
  EXPECT_EQ(CVXCopyFile(0, BSTR("D:\\DATA\\CO1\\*.*"), BSTR("D:\\DATA\\NEW\\")), 0);
  EXPECT_EQ(read("/Data/NEW/Ledger.dat"), big);
  EXPECT_EQ(read("/Data/NEW/INDEX.DAT"), "index");
  EXPECT_EQ(CVXCopyFile(0, BSTR("D:\\DATA\\CO1\\*.XYZ"), BSTR("D:\\DATA\\NEW\\")), 3);

  // A source that another open holds exclusively is in use by another user.
  CvxFileType holder{};
  corva::files::copy_io().create32(&holder, BSTR("D:\\DATA\\CO1\\INDEX.DAT"));
  ASSERT_EQ(holder.result, 0);
  EXPECT_EQ(CVXCopyFile(0, BSTR("D:\\DATA\\CO1\\*.DAT"), BSTR("D:\\DATA\\NEW\\")), 6);
  corva::files::copy_io().close(&holder);
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Source does not exist."), std::string::npos) << shown;
  EXPECT_NE(shown.find("another user"), std::string::npos) << shown;

  UndoCopy(BSTR("D:\\DATA\\CO1\\*.*"), BSTR("D:\\DATA\\NEW\\"), 0);
  EXPECT_FALSE(std::filesystem::exists(root() + "/Data/NEW/INDEX.DAT"));
}

}  // namespace
