// Limits a helper process puts on itself as it starts: how much memory it may allocate,
// that it ends with the process that started it, and that the terminal's and a
// supervisor's stop signals are left to that parent (which finishes or removes the
// helper's work) instead of killing the helper in the middle of an item.
#pragma once

#include <cstdint>

// Caps the memory this process may allocate (its data segment and private mappings,
// RLIMIT_DATA) at `bytes`; allocations past it fail as out of memory. 0 sets no cap.
// Address-sanitiser builds reserve terabytes of shadow memory up front and cannot run
// under such a cap, so there it is never set. False when the cap was not set.
bool LimitOwnMemory(std::int64_t bytes);
// Whether LimitOwnMemory can take effect in this build.
bool MemoryLimitSupported();
// Ignores SIGINT, SIGTERM, SIGHUP and SIGQUIT, and asks for SIGKILL when the parent ends.
void FollowParentLifetime();
