// Named memory blocks: the table's order, locking, and the faults that end
// the process (run in a child, the fatal text checked on its standard error).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "containers/memstore.h"
#include "corvalib/containers.h"
#include "corvaplat/globalmem.h"
#include "support/boxes.h"

namespace {

namespace cn = corva::containers;
namespace pf = corva::platform;

std::vector<uint32_t> identifiers() {
  const cn::MemStore& s = cn::memstore();
  return {s.identifiers, s.identifiers + s.count};
}

TEST(MemoryBlocks, TableOrderLockingAndZeroFill) {
  ASSERT_EQ(cn::memstore().count, 0);
  corva::test::BoxRecorder boxes;
  for (uint32_t id : {1u, 2u, 3u}) ASSERT_EQ(CreateMem(id, 64), 1);
  auto* p3 = static_cast<unsigned char*>(LockMem(3));
  ASSERT_NE(p3, nullptr);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(p3[i], 0) << i;
  p3[0] = 0x5A;
  EXPECT_EQ(UnLockMem(3), 0);

  DeleteMem(2);
  EXPECT_EQ(identifiers(), (std::vector<uint32_t>{1, 3}));
  EXPECT_EQ(cn::memstore().handles[2], 0u);  // the freed last entry is cleared
  p3 = static_cast<unsigned char*>(LockMem(3));
  ASSERT_NE(p3, nullptr);
  EXPECT_EQ(p3[0], 0x5A);

  // Lock counts: non-zero while a lock is left, then 0, and 0 once unlocked.
  LockMem(3);
  EXPECT_EQ(UnLockMem(3), 1);
  EXPECT_EQ(UnLockMem(3), 0);
  EXPECT_EQ(UnLockMem(3), 0);

  // Unknown identifiers, including 0 and the largest, answer quietly.
  for (uint32_t id : {0u, 2u, 99u, 0xFFFFFFFFu}) {
    EXPECT_EQ(LockMem(id), nullptr) << id;
    EXPECT_EQ(UnLockMem(id), 0) << id;
  }
  EXPECT_TRUE(boxes.texts().empty());

  DeleteMem(1);
  DeleteMem(3);
  EXPECT_EQ(cn::memstore().count, 0);
}

TEST(MemoryBlocks, FailedAllocationKeepsAnEmptyEntry) {
  corva::test::BoxRecorder boxes;
  pf::fail_next_global_allocations(1);
  EXPECT_EQ(CreateMem(0xFFFFFFFFu, 16), 0);
  ASSERT_EQ(boxes.texts(), (std::vector<std::string>{"Not enough Memory to run."}));
  EXPECT_EQ(identifiers(), (std::vector<uint32_t>{0xFFFFFFFFu}));
  EXPECT_EQ(LockMem(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(UnLockMem(0xFFFFFFFFu), 0);
  DeleteMem(0xFFFFFFFFu);
  EXPECT_EQ(cn::memstore().count, 0);
  EXPECT_EQ(boxes.count(), 1u);
}

// The stderr of the child: each box as a line, then the fatal exit.
std::string fault(const char* first_message) {
  return std::string(first_message) +
         ".*Call Corvantis Technical Support\\..*"
         "Fatal application exit: Problem detected in MemStore";
}

TEST(MemoryBlocksDeathTest, MisuseEndsTheProcess) {
  ASSERT_EQ(cn::memstore().count, 0);
  EXPECT_EXIT(DeleteMem(7), testing::ExitedWithCode(3),
              fault("Attempt to delete memory block without a create\\."));

  ASSERT_EQ(CreateMem(7, 8), 1);
  EXPECT_EXIT(CreateMem(7, 8), testing::ExitedWithCode(3),
              fault("Attempt to create duplicate memory block\\."));
  DeleteMem(7);

  // Twenty blocks fit; the twenty-first is a fault.
  for (uint32_t id = 100; id < 120; ++id) ASSERT_EQ(CreateMem(id, 1), 1) << id;
  EXPECT_EQ(cn::memstore().count, 20);
  EXPECT_EXIT(CreateMem(120, 1), testing::ExitedWithCode(3),
              fault("Not enough Memory to run\\."));
  for (uint32_t id = 119; id >= 100; --id) DeleteMem(id);
  EXPECT_EQ(cn::memstore().count, 0);
}

}  // namespace
