#include "job/WorkerCount.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

TEST(WorkerCount, ExplicitCountsAreKeptAndTheAutomaticOneIsBoundByProcessorsAndMemory) {
  struct Case {
    int requested, processors;
    std::int64_t available;
    int expected;
  };
  const Case cases[] = {
      {1, 16, 64 * 1024 * kMiB, 1},  // one at a time, whatever the machine
      {3, 1, 0, 3},                  // an explicit count is the user's choice
      {1000, 8, 0, 64},              // up to the ceiling
      {0, 2, 64 * 1024 * kMiB, 2},   // every processor when memory allows
      {-5, 4, 8 * 1024 * kMiB, 4},   // a negative count means automatic as well
      {0, 16, 2048 * kMiB, 4},       // 2 GiB allow four workers of 512 MiB
      {0, 16, 1023 * kMiB, 1},       // less than two workers' memory: one
      {0, 8, 100 * kMiB, 1},         // never fewer than one
      {0, 256, 1024 * 1024 * kMiB, 64},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WorkerCount(c.requested, c.processors, c.available), c.expected)
        << c.requested << " " << c.processors << " " << c.available;
}

TEST(WorkerCount, EachWorkerMayTakeItsShareOfMemoryWithinAFloorAndACeiling) {
  struct Case {
    int requested;
    std::int64_t usable;
    int workers;
    std::int64_t cap;
  };
  const Case cases[] = {
      {0, 3072 * kMiB, 2, 1536 * kMiB},                // a 3 GiB container: two workers of 1.5 GiB
      {4, 1024 * kMiB, 4, kWorkerMemoryBytes},         // asked for more than fits: the floor
      {1, 64 * 1024 * kMiB, 1, kWorkerMemoryCeiling},  // never past the ceiling
      {2, 0, 2, kWorkerMemoryCeiling},                 // memory unknown: the ceiling alone
  };
  for (const Case& c : cases) {
    const RunBudget budget = BudgetFor(c.requested, 2, c.usable);
    EXPECT_EQ(budget.workers, c.workers) << c.requested << " " << c.usable;
    EXPECT_EQ(budget.workerMemoryBytes, c.cap) << c.requested << " " << c.usable;
  }
  EXPECT_EQ(kWorkerMemoryCeiling, (std::int64_t{4608}) * kMiB);
}

}  // namespace
