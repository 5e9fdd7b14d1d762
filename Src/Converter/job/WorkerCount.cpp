#include "job/WorkerCount.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Processors online, fewer when the process is pinned to some (taskset, a batch scheduler).
int UsableProcessors() {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  cpu_set_t set;
  CPU_ZERO(&set);
  const int allowed = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
  long count = online > 0 ? online : 1;
  if (allowed > 0) count = std::min<long>(count, allowed);
  return static_cast<int>(count);
}

std::int64_t AvailableBytes() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kWorkerMemoryBytes;  // unknown: one worker's worth
  return static_cast<std::int64_t>(pages) * pageSize;
}

}  // namespace

int WorkerCount(int requested, int processors, std::int64_t availableBytes) {
  if (requested > 0) return std::min(requested, kMaxWorkers);
  const std::int64_t byMemory = availableBytes / kWorkerMemoryBytes;
  const std::int64_t count = std::min<std::int64_t>({processors, byMemory, kMaxWorkers});
  return static_cast<int>(std::max<std::int64_t>(count, 1));
}

int WorkerCount(int requested) {
  if (requested > 0) return WorkerCount(requested, 1, 0);
  return WorkerCount(requested, UsableProcessors(), AvailableBytes());
}
