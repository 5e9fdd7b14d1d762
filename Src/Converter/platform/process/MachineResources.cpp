#include "platform/process/MachineResources.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "platform/process/ContainerLimits.h"

int UsableProcessors() {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  cpu_set_t set;
  CPU_ZERO(&set);
  const int allowed = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
  long count = online > 0 ? online : 1;
  if (allowed > 0) count = std::min<long>(count, allowed);
  if (const auto quota = ReadContainerLimits().processors)
    count = std::min<long>(count, static_cast<long>(std::ceil(*quota)));
  return static_cast<int>(std::max<long>(count, 1));
}

std::int64_t UsableMemoryBytes() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  std::int64_t usable = pages > 0 && pageSize > 0 ? std::int64_t{pages} * pageSize : 0;
  const ContainerLimits limits = ReadContainerLimits();
  if (limits.memoryBytes) {
    const std::int64_t left =
        std::max<std::int64_t>(*limits.memoryBytes - limits.memoryUsedBytes.value_or(0), 0);
    usable = usable > 0 ? std::min(usable, left) : left;
  }
  return usable;
}
