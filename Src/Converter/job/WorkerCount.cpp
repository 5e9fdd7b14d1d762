#include "job/WorkerCount.h"

#include <algorithm>

#include "platform/process/MachineResources.h"

int WorkerCount(int requested, int processors, std::int64_t usableBytes) {
  if (requested > 0) return std::min(requested, kMaxWorkers);
  const std::int64_t byMemory = usableBytes / kWorkerMemoryBytes;
  const std::int64_t count = std::min<std::int64_t>({processors, byMemory, kMaxWorkers});
  return static_cast<int>(std::max<std::int64_t>(count, 1));
}

RunBudget BudgetFor(int requested, int processors, std::int64_t usableBytes) {
  RunBudget budget;
  budget.workers = WorkerCount(requested, processors, usableBytes);
  if (usableBytes > 0)
    budget.workerMemoryBytes =
        std::clamp(usableBytes / budget.workers, kWorkerMemoryBytes, kWorkerMemoryCeiling);
  else
    budget.workerMemoryBytes = kWorkerMemoryCeiling;
  return budget;
}

RunBudget BudgetFor(int requested) {
  return BudgetFor(requested, UsableProcessors(), UsableMemoryBytes());
}
