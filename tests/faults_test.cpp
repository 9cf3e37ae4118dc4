// Allocation faults: every exported call gives its documented failure answer
// when memory runs out, whichever allocation fails, and loses nothing that was
// stored before. The Nth allocation of any kind (C++ new, the library's heap
// blocks, global blocks) fails; N rises until the operation completes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "containers/memstore.h"
#include "corvalib/containers.h"
#include "corvalib/files.h"
#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/api.h"
#include "corvaplat/globalmem.h"
#include "support/boxes.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {

long g_countdown = 0;      // allocations until the failing one; 0: none fails
bool g_persistent = false;  // every allocation after it fails too
bool g_failed = false;      // an allocation failed in this run

bool fail_this_allocation() {
  if (g_countdown == 0) return false;
  if (g_countdown > 1) {
    --g_countdown;
    return false;
  }
  if (!g_persistent) g_countdown = 0;
  g_failed = true;
  return true;
}

}  // namespace

// Every C++ allocation of the process passes the countdown; unarmed, this is
// plain malloc. (The replacement pair is malloc and free on purpose.)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
// Every ordinary form is replaced, so that no block is freed by another
// allocator than the one that made it.
void* operator new(std::size_t n) {
  if (fail_this_allocation()) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  return fail_this_allocation() ? nullptr : std::malloc(n == 0 ? 1 : n);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

namespace fs = std::filesystem;

// Arms the countdown (and the layer's hook for the other allocations) for
// one call.
template <typename Op>
auto with_fault(long n, bool persistent, Op op) {
  g_failed = false;
  g_persistent = persistent;
  corva::platform::set_allocation_fault_hook(fail_this_allocation);
  g_countdown = n;
  auto answer = op();
  g_countdown = 0;
  corva::platform::set_allocation_fault_hook(nullptr);
  return answer;
}

// Runs op with allocation N failing, N = 1, 2, ..., until a run completes with
// no failure; check(answer, failed) after each run. Answers the runs made.
template <typename Op, typename Check>
long fault_loop(Op op, Check check) {
  for (long n = 1; n < 20000; ++n) {
    const auto answer = with_fault(n, false, op);
    const bool failed = g_failed;
    const bool had_failure = testing::Test::HasFailure();
    check(answer, failed);
    if (!had_failure && testing::Test::HasFailure()) return n;  // report the first run only
    if (!failed) return n;
  }
  ADD_FAILURE() << "the operation never completed";
  return 0;
}

class Faults : public testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(saved_path_, MyCorvaLibDataPtr->DataPath, sizeof saved_path_);
    std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof saved_path_);
    const std::string data = dir_.path() + "/";
    std::memcpy(MyCorvaLibDataPtr->DataPath, data.data(), std::min<std::size_t>(data.size(), 64));
  }
  void TearDown() override {
    std::memcpy(MyCorvaLibDataPtr->DataPath, saved_path_, sizeof saved_path_);
  }
  std::string read(const std::string& name) const { return dir_.read(name); }

  corva::test::TempDir dir_;
  corva::test::WindowsDirectory windir_{dir_.path()};
  corva::test::BoxRecorder boxes_;
  char saved_path_[sizeof MyCorvaLibDataPtr->DataPath];
};

// No exception crosses the interface: with every allocation failing from the
// first on, each call answers its documented failure.
TEST_F(Faults, ExhaustedMemoryGivesEachCallItsFailureAnswer) {
  struct Case {
    const char* name;
    long (*call)();
    long failure;
  };
  const Case cases[] = {
      {"WriteCVXProfileString", [] { return long{WriteCVXProfileString("Lib", "K", "v")}; }, 0},
      {"GetCVXProfileInt", [] { return long{static_cast<int32_t>(GetCVXProfileInt("Lib", "K", 42))}; }, 42},
      {"CVXRegSetValue",
       [] {
         const uint8_t data[] = "1";
         return long{CVXRegSetValue("Acct", "Options", "V", 1, data, 2)};
       },
       corva::platform::kErrorNotEnoughMemory},
      {"ListInitialize",
       [] {
         ListHeader* list = nullptr;
         return long{ListInitialize(&list, "x")};
       },
       0},
      {"CVXCopyFile", [] { return long{CVXCopyFile(0, 5, "A:\\*.*", 4, "B:\\")}; }, 5},
      {"MessageStr", [] { return long{MessageStr(0, "hello")}; }, 0},
  };
  for (const Case& c : cases) {
    corva::platform::SetLastError(0);
    EXPECT_EQ(with_fault(1, true, c.call), c.failure) << c.name;
    EXPECT_TRUE(g_failed) << c.name;
  }
  // An exception stopped at the boundary says why.
  with_fault(1, true, [] { return WriteCVXProfileString("Lib", "K", "v"); });
  EXPECT_EQ(corva::platform::GetLastError(), corva::platform::kErrorNotEnoughMemory);
}

std::string names(ListHeader* list) {
  std::string out;
  ListNode* node = nullptr;
  for (bool more = ListGetFirstNode(list, &node); more; more = ListNext(list)) {
    ListGetNode(list, nullptr, nullptr, &node);
    out += node->Name != nullptr ? node->Name : "-";
    out += node->Item != nullptr ? std::string(static_cast<const char*>(node->Item), node->ItemSize)
                                 : std::string();
    out += ',';
  }
  return out;
}

// Each list operation either does its work or answers 0 with the list as it was.
TEST_F(Faults, ListOperationsKeepTheListWhole) {
  struct Case {
    const char* name;
    int32_t (*op)(ListHeader* list, ListHeader* other);
    const char* after;
    bool partial;  // a failure may leave part of the work done after what was there
  };
  const Case cases[] = {
      {"ListAdd", [](ListHeader* l, ListHeader*) { return ListAdd(l, "d", "4", 1); }, "a1,b2,c3,d4,", false},
      {"ListAddStart", [](ListHeader* l, ListHeader*) { return ListAddStart(l, "d", "4", 1); },
       "d4,a1,b2,c3,", false},
      {"ListAddSorted",
       [](ListHeader* l, ListHeader*) { return ListAddSorted(l, "bb", "5", 1, ListDefaultCompare); },
       "a1,b2,bb5,c3,", false},
      {"ListSetItem",
       [](ListHeader* l, ListHeader*) { return ListSetItem(l, "b", ListDefaultCompare, "22", 2); },
       "a1,b22,c3,", false},
      {"ListPaste", [](ListHeader* l, ListHeader* o) { return ListPaste(o, l, 0); },
       "a1,b2,c3,x9,y8,", true},
      {"ListPasteSorted",
       [](ListHeader* l, ListHeader* o) { return ListPasteSorted(o, l, 0, ListDefaultCompare); },
       "a1,b2,c3,x9,y8,", true},
  };
  const std::string before = "a1,b2,c3,";
  for (const Case& c : cases) {
    ListHeader* list = nullptr;
    ListHeader* other = nullptr;
    ASSERT_EQ(ListInitialize(&list, "main"), 1);
    ASSERT_EQ(ListInitialize(&other, "other"), 1);
    for (const char* n : {"a1", "b2", "c3"}) ASSERT_EQ(ListAddEnd(list, std::string(n, 1).c_str(), n + 1, 1), 1);
    for (const char* n : {"x9", "y8"}) ASSERT_EQ(ListAddEnd(other, std::string(n, 1).c_str(), n + 1, 1), 1);
    const long runs = fault_loop([&] { return c.op(list, other); },
                                 [&](int32_t answer, bool failed) {
                                   if (failed && answer == 0) {
                                     const std::string now = names(list);
                                     if (c.partial) {
                                       EXPECT_EQ(now.substr(0, before.size()), before) << c.name;
                                       ListFree(&list);
                                       ListInitialize(&list, "main");
                                       for (const char* n : {"a1", "b2", "c3"})
                                         ListAddEnd(list, std::string(n, 1).c_str(), n + 1, 1);
                                     } else {
                                       EXPECT_EQ(now, before) << c.name;
                                     }
                                     EXPECT_EQ(names(other), "x9,y8,") << c.name;
                                   } else {
                                     EXPECT_EQ(answer, 1) << c.name;
                                     EXPECT_EQ(names(list), c.after) << c.name;
                                   }
                                 });
    EXPECT_GT(runs, 1) << c.name << " allocated nothing";
    ListFree(&list);
    ListFree(&other);
  }
}

// A named memory block that cannot be made stays in the table without a block
// (answer 0); the blocks made before keep their bytes.
TEST_F(Faults, MemoryBlocksKeepTheirBytes) {
  ASSERT_EQ(CreateMem(500, 4), 1);
  std::memcpy(LockMem(500), "keep", 4);
  UnLockMem(500);
  const long runs = fault_loop([] { return CreateMem(501, 64); },
                               [](uint8_t answer, bool failed) {
                                 EXPECT_EQ(answer, failed ? 0 : 1);
                                 EXPECT_EQ(std::memcmp(LockMem(500), "keep", 4), 0);
                                 UnLockMem(500);
                                 DeleteMem(501);
                               });
  EXPECT_GT(runs, 1);
  DeleteMem(500);
  EXPECT_EQ(corva::containers::memstore().count, 0);
}

// A message that runs out of memory answers 0 or its button; the lines already
// in the error log stay.
TEST_F(Faults, MessagesKeepTheLog) {
  MessageStr(0, "first entry");
  ASSERT_NE(read("ERRORLOG.TXT").find("first entry"), std::string::npos);
  const long runs = fault_loop([] { return MessageStr(0, "second entry"); },
                               [&](uint16_t answer, bool failed) {
                                 if (!failed) {
                                   EXPECT_EQ(answer, 1);
                                 }
                                 EXPECT_TRUE(answer == 0 || answer == 1) << answer;
                                 EXPECT_NE(read("ERRORLOG.TXT").find("first entry"), std::string::npos);
                               });
  EXPECT_GT(runs, 1);
  EXPECT_NE(read("ERRORLOG.TXT").find("second entry"), std::string::npos);
}

// A profile or registry write that runs out of memory answers its failure; every
// value written before reads back unchanged.
TEST_F(Faults, ProfileWritesKeepEveryValue) {
  for (int i = 0; i < 20; ++i) {
    const std::string key = "K" + std::to_string(i);
    ASSERT_EQ(WriteCVXProfileString("Lib", key.c_str(), ("value " + key).c_str()), 1);
  }
  auto intact = [] {
    for (int i = 0; i < 20; ++i) {
      const std::string key = "K" + std::to_string(i);
      char buffer[32] = {};
      GetCVXProfileString("Lib", key.c_str(), "", buffer, sizeof buffer);
      EXPECT_EQ(std::string(buffer), "value " + key);
    }
  };
  long runs = fault_loop([] { return WriteCVXProfileString("Other", "New", "fresh"); },
                         [&](int32_t answer, bool failed) {
                           if (!failed) {
                             EXPECT_EQ(answer, 1);
                           }
                           intact();
                         });
  EXPECT_GT(runs, 1);

  const uint8_t kept[] = "kept";
  ASSERT_EQ(CVXRegSetValue("Acct", "Options", "Old", 1, kept, sizeof kept), 0);
  runs = fault_loop(
      [] {
        const uint8_t data[] = "new";
        return CVXRegSetValue("Acct", "Options", "New", 1, data, sizeof data);
      },
      [&](int32_t answer, bool failed) {
        if (!failed) {
          EXPECT_EQ(answer, 0);
        }
        uint8_t buffer[16] = {};
        uint32_t size = sizeof buffer;
        EXPECT_EQ(CVXRegQryValue("Acct", "Options", "Old", nullptr, buffer, &size), 0);
        EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "kept");
      });
  EXPECT_GT(runs, 1);
}

}  // namespace
