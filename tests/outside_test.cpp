// The 16-bit bridge over a thunk library that the test registers in-process,
// and the report writer launch on top of it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "corvalib/files.h"
#include "corvalib/frame.h"
#include "corvalib/outside.h"
#include "corvaplat/exec.h"
#include "corvaplat/modules.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/windows.h"
#include "outside/bridge.h"
#include "support/boxes.h"

namespace {

namespace pf = corva::platform;

// The stand-in thunk library and the report writer's component library.
struct Fake {
  int connects = 0, disconnects = 0, frees16 = 0;
  int32_t connect_result = 0;
  uint32_t load_result = 0x1234;
  std::vector<std::string> loads;
  std::string open_company;  // what QZ_GetCurrentCompany answers
  std::vector<std::string> started;
} g;

uint32_t load16(const char* path) {
  g.loads.emplace_back(path);
  return g.load_result;
}
void free16(uint32_t) { ++g.frees16; }
uint32_t get_proc16(uint32_t, const char* name) {
  return std::strcmp(name, "QZ_GetCurrentCompany") == 0 ? 0x00AB0010u : 0;
}
uint32_t call16(uint32_t procedure, void*, void* arguments, uint32_t) {
  if (procedure != 0x00AB0010u) return 0;
  auto* q = static_cast<CvCompanyQuery*>(arguments);
  std::strncpy(q->Path, g.open_company.c_str(), q->Length);
  return 1;
}
uint32_t alloc_callback(void*, uint32_t) { return 0; }
void free_callback(uint32_t) {}
uint32_t last_error() { return 0; }
int32_t connect() {
  ++g.connects;
  return g.connect_result;
}
void disconnect() { ++g.disconnects; }

std::vector<pf::ModuleSymbol> thunk_symbols(const char* without = "") {
  std::vector<pf::ModuleSymbol> all = {
      {"_thkLoadLibrary16@4", reinterpret_cast<void*>(load16)},
      {"_thkFreeLibrary16@4", reinterpret_cast<void*>(free16)},
      {"_thkGetProcAddress16@8", reinterpret_cast<void*>(get_proc16)},
      {"_thkCallProc16@16", reinterpret_cast<void*>(call16)},
      {"_thkAllocCallback16@8", reinterpret_cast<void*>(alloc_callback)},
      {"_thkFreeCallback16@4", reinterpret_cast<void*>(free_callback)},
      {"_thkGetLastError@0", reinterpret_cast<void*>(last_error)},
      {"_thkConnect@0", reinterpret_cast<void*>(connect)},
      {"_thkDisconnect@0", reinterpret_cast<void*>(disconnect)},
  };
  std::erase_if(all, [&](const pf::ModuleSymbol& s) { return std::strcmp(s.name, without) == 0; });
  return all;
}

class Bridge : public testing::Test {
 protected:
  void SetUp() override {
    g = Fake{};
    install();
  }
  void TearDown() override {
    while (corva::outside::bridge_uses() > 0) ThunkTerminate();
    remove();
  }
  void install(const char* without = "") {
    const auto symbols = thunk_symbols(without);
    module_ = pf::register_module("CRV32T10.DLL", {}, symbols);
  }
  void remove() {
    if (module_ != 0) pf::unregister_module(module_);
    module_ = 0;
  }
  pf::ModuleHandle module_ = 0;
};

TEST_F(Bridge, UsesLoadAndFreeTheThunkLibraryOnce) {
  const uint32_t a = ThunkLoadLibrary16("A.DLL");
  const uint32_t b = ThunkLoadLibrary16("B.DLL");
  EXPECT_EQ(a, 0x1234u);
  EXPECT_EQ(b, 0x1234u);
  EXPECT_EQ(corva::outside::bridge_uses(), 2);
  EXPECT_EQ(g.connects, 1);
  EXPECT_EQ(ThunkGetProcAddress16(a, "QZ_GetCurrentCompany"), 0x00AB0010u);
  EXPECT_EQ(ThunkGetProcAddress16(a, nullptr), 0u);
  ThunkFreeLibrary16(a);
  EXPECT_EQ(g.disconnects, 1);  // the one before connecting
  ThunkFreeLibrary16(b);
  EXPECT_EQ(g.frees16, 2);
  EXPECT_EQ(g.disconnects, 2);
  EXPECT_EQ(corva::outside::bridge_uses(), 0);
  // Unloaded: nothing answers, and extra releases do nothing.
  EXPECT_EQ(ThunkGetProcAddress16(a, "QZ_GetCurrentCompany"), 0u);
  EXPECT_EQ(ThunkCallProc16(0x00AB0010u, nullptr, nullptr, 0), 0u);
  ThunkTerminate();
  EXPECT_EQ(corva::outside::bridge_uses(), 0);
}

TEST_F(Bridge, FailuresLeaveTheUseCount) {
  g.load_result = 2;  // the 16-bit library is not there
  EXPECT_EQ(ThunkLoadLibrary16("MISSING.DLL"), 0u);
  EXPECT_EQ(corva::outside::bridge_uses(), 0);
  EXPECT_EQ(ThunkLoadLibrary16(nullptr), 0u);

  struct Case {
    const char* what;
    const char* without;  // entry point the thunk library lacks
    int32_t connect_result;
    int expected;
  } cases[] = {
      {"all there", "", 0, 1},
      {"no SetLastError is fine", "_thkSetLastError@4", 0, 1},
      {"no CallProc", "_thkCallProc16@16", 0, 0},
      {"no Connect", "_thkConnect@0", 0, 0},
      {"connect refused", "", 5, 0},
  };
  for (const Case& c : cases) {
    remove();
    install(c.without);
    g.connect_result = c.connect_result;
    EXPECT_EQ(ThunkInitialize(), c.expected) << c.what;
    EXPECT_EQ(corva::outside::bridge_uses(), c.expected) << c.what;
    if (c.expected) ThunkTerminate();
  }
  // No thunk library at all: every load tries again and fails.
  remove();
  g.connect_result = 0;
  for (int i = 0; i < 2; ++i) EXPECT_EQ(ThunkLoadLibrary16("A.DLL"), 0u);
  EXPECT_EQ(corva::outside::bridge_uses(), 0);
  install();
  g.load_result = 0x1234;
  EXPECT_NE(ThunkLoadLibrary16("A.DLL"), 0u);
}

uint32_t record_start(void*, const char* line, uint32_t show) {
  g.started.push_back(std::string(line) + " /" + std::to_string(show));
  return 33;
}

TEST_F(Bridge, ReportWriterStartsRaisesOrRefuses) {
  const auto previous_starter = pf::set_program_starter(record_start, nullptr);
  corva::test::BoxRecorder boxes;
  ASSERT_EQ(WriteCVXProfileString("Install", "PROGRAMPATH", "C:\\CVR"), 1);
  pf::WindowClass cls;
  cls.name = "xvt320task9012";
  cls.procedure = pf::DefWindowProcA;
  ASSERT_NE(pf::RegisterClassA(cls), 0);
  const pf::WindowHandle writer = pf::CreateWindowExA(
      0, "xvt320task9012", "Report Writer", pf::WS_OVERLAPPEDWINDOW | pf::WS_MINIMIZE, 0, 0,
      100, 100, 0, 0, 0, nullptr);
  ASSERT_NE(writer, 0u);

  // Not running: started with the company on its command line.
  CVRRun("C:\\DATA\\CO1");
  EXPECT_EQ(g.loads, std::vector<std::string>{"C:\\CVR\\QZUSER.DLL"});
  ASSERT_EQ(g.started.size(), 1u);
  EXPECT_EQ(g.started[0],
            "C:\\CVR\\CVR.EXE -ENV\"QZDATA=C:\\DATA\\CO1\" -dC:\\CVR\\ddmaster.DAT /5");
  EXPECT_FALSE(pf::IsWindowVisible(writer));
  EXPECT_EQ(corva::outside::bridge_uses(), 0);

  // Running for the same company in other letters: raised and restored.
  g.open_company = "c:\\data\\co1";
  CVRRun("C:\\DATA\\CO1");
  EXPECT_EQ(g.started.size(), 1u);
  EXPECT_TRUE(pf::IsWindowVisible(writer));
  EXPECT_EQ(pf::GetWindowLongA(writer, pf::GWL_STYLE) & pf::WS_MINIMIZE, 0);
  EXPECT_TRUE(boxes.texts().empty());

  // Running for another company: message 20347 and nothing else.
  CVRRun("C:\\DATA\\CO2");
  EXPECT_EQ(g.started.size(), 1u);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.texts()[0].rfind("Corvantis Report Writer is already running", 0), 0u);

  // No company given: the current directory is the one asked for.
  char current[260];
  ASSERT_TRUE(GetFullDir(259, current));
  g.open_company = "";
  CVRRun(nullptr);
  ASSERT_EQ(g.started.size(), 2u);
  EXPECT_NE(g.started[1].find(std::string("QZDATA=") + current + "\""), std::string::npos);

  // Without PROGRAMPATH the component library is looked for at the drive's root;
  // with it missing, nothing happens.
  ASSERT_EQ(WriteCVXProfileString("Install", "PROGRAMPATH", nullptr), 1);
  g.load_result = 2;
  CVRRun("C:\\DATA\\CO1");
  EXPECT_EQ(g.loads.back(), "\\QZUSER.DLL");
  EXPECT_EQ(g.started.size(), 2u);

  pf::DestroyWindow(writer);
  pf::UnregisterClassA("xvt320task9012", 0);
  pf::set_program_starter(previous_starter, nullptr);
}

TEST(CommandLines, SplitAsTheRunTimeSplits) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"C:\\CVR\\CVR.EXE -ENV\"QZDATA=C:\\A B\" -dC:\\x",
       {"C:\\CVR\\CVR.EXE", "-ENVQZDATA=C:\\A B", "-dC:\\x"}},
      {"  a\t b  ", {"a", "b"}},
      {"\"a b\"c", {"a bc"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\"b", {"a\"b"}},
      {"a\\b\\", {"a\\b\\"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(pf::split_command_line(c.line), c.words) << c.line;
  EXPECT_EQ(pf::WinExec(nullptr, 5), 0u);
  EXPECT_EQ(pf::WinExec("Q:\\NO\\SUCH.EXE", 5), 3u);
  EXPECT_EQ(pf::WinExec("/bin/true -x \"y z\"", 5), 33u);  // started, not waited for
  EXPECT_EQ(pf::WinExec("/no/such/program", 5), 2u);
}

}  // namespace
