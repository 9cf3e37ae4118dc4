// The frame: shared record, slots, string search, allocator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "corvalib/frame.h"
#include "corvaplat/globalmem.h"
#include "corvaplat/modules.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/process.h"
#include "frame/state.h"
#include "support/boxes.h"

namespace {

using corva::platform::StringResource;

TEST(Frame, LoadStateAndSlots) {
  EXPECT_EQ(GetPerInstanceData(3), reinterpret_cast<uintptr_t>(MyCorvaLibDataPtr));
  EXPECT_EQ(GetLibraryHandle(3), CorvaLibHandle());
  EXPECT_NE(CorvaLibHandle(), 0u);
  EXPECT_EQ(GetPerInstanceData(7), 0u);
  EXPECT_EQ(RequirePerInstanceData(11, 7, 42), 1);
  EXPECT_EQ(RequirePerInstanceData(12, 7, 43), 1);
  EXPECT_EQ(GetPerInstanceData(7), 43u);
  EXPECT_EQ(GetLibraryHandle(7), 12u);
  EXPECT_EQ(RequirePerInstanceData(12, 15, 1), 1);
  EXPECT_EQ(GetPerInstanceData(15), 0u);
  EXPECT_EQ(GetPerInstanceData(-1), 0u);
}

TEST(Frame, StringSearchOrderAndCut) {
  const StringResource early[] = {{60001, "early"}, {60002, "only early"}};
  const StringResource late[] = {{60001, "late"}, {60003, "only late"}};
  const auto e = corva::platform::register_module("early-test", early);
  const auto l = corva::platform::register_module("late-test", late);
  RegisterInstanceForStringSearch(l, 20);
  RegisterInstanceForStringSearch(e, 5);
  const CorvaLibDataType& r = *MyCorvaLibDataPtr;
  for (uint16_t i = 1; i < r.StringInstanceCount; ++i)
    EXPECT_LE(r.StringInstances[i - 1].Priority, r.StringInstances[i].Priority);

  char buf[11];
  MyCorvaLibDataPtr->LastStringInstance = 0;
  EXPECT_EQ(MyLoadString(60001, 10, buf), 5);
  EXPECT_STREQ(buf, "early");
  EXPECT_EQ(MyLoadString(60003, 10, buf), 9);
  EXPECT_EQ(MyCorvaLibDataPtr->LastStringInstance, l);
  EXPECT_EQ(MyLoadString(60001, 10, buf), 4);  // the last answering module goes first
  EXPECT_STREQ(buf, "late");
  EXPECT_EQ(MyLoadString(60002, 3, buf), 3);
  EXPECT_STREQ(buf, "onl");
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(MyLoadString(60999, 10, buf), 0);
  for (char c : buf) EXPECT_EQ(c, 0);
  EXPECT_EQ(MyLoadString(20301, 10, nullptr), 0);
  char own[40];
  EXPECT_GT(MyLoadString(20301, 39, own), 0);
  EXPECT_STREQ(own, "@Not enough Memory to run.");
  MyCorvaLibDataPtr->LastStringInstance = 0;
}

uint32_t header_of(void* p) {
  uint32_t h;
  std::memcpy(&h, static_cast<char*>(p) - 4, 4);
  return h;
}

TEST(Allocator, BlocksHeadersAndGrowth) {
  void* p = _RealAllocate(0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(header_of(p), 5u);
  EXPECT_EQ(*static_cast<char*>(p), 0);
  EXPECT_EQ(_RealDeAllocate(p), nullptr);
  EXPECT_EQ(_RealDeAllocate(nullptr), nullptr);

  void* v = nullptr;
  ASSERT_TRUE(_CppAllocate(&v, 10, __FILE__, __LINE__));
  std::memset(v, 7, 10);
  ASSERT_TRUE(_CppReAllocate(&v, &v, 20, __FILE__, __LINE__));
  EXPECT_EQ(header_of(v), 24u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(static_cast<char*>(v)[i], i < 10 ? 7 : 0) << i;
  void* small = _RealReAllocate(v, 4);
  EXPECT_EQ(header_of(small), 8u);
  EXPECT_EQ(static_cast<char*>(small)[3], 7);
  _RealDeAllocate(small);
}

TEST(Allocator, OutOfMemoryTellsAndKeepsTheOldBlock) {
  const std::string kNoMemory = "Not enough Memory to run.";
  corva::test::BoxRecorder boxes;
  void* v = _RealAllocate(8);
  void* old = v;
  EXPECT_FALSE(_CppReAllocate(&v, &v, 0xFFFFFFFFu, __FILE__, __LINE__));
  EXPECT_EQ(v, nullptr);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(1, kNoMemory));
  _RealDeAllocate(old);  // still a valid block

  uint32_t handle = 1234;
  corva::platform::fail_next_global_allocations(1);
  EXPECT_EQ(_OldAllocate(&handle, 16), nullptr);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, kNoMemory));
}

TEST(Allocator, GlobalBlocks) {
  uint32_t handle = 0;
  auto* p = static_cast<unsigned char*>(_OldAllocate(&handle, 32));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[31], 0);
  EXPECT_EQ(corva::platform::global_lock_count(handle), 1);
  OldDeAllocate(&handle);
  EXPECT_EQ(handle, 0u);
}

TEST(AllocatorDeathTest, StillLockedBlockEndsTheProcess) {
  uint32_t handle = 0;
  ASSERT_NE(_OldAllocate(&handle, 8), nullptr);
  corva::platform::GlobalLock(handle);
  EXPECT_EXIT(OldDeAllocate(&handle), testing::ExitedWithCode(3),
              "Fatal application exit: Problem detected in MemStore");
}

}  // namespace
