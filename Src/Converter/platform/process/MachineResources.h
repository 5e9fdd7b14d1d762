// What this process may use of the machine it runs on: processors and memory, each the
// smaller of what the system reports and what its control group allows.
#pragma once

#include <cstdint>

// Processors online, fewer when the process is pinned to some (taskset, a batch
// scheduler) or its control group has a CPU quota (rounded up); at least 1.
int UsableProcessors();
// Memory the system reports as available, less when the control group's limit minus its
// present usage is smaller. 0 when neither can be read.
std::int64_t UsableMemoryBytes();
