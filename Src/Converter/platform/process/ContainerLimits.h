// The limits a control group puts on this process, read from the files the kernel
// exposes: cgroup v2 (`memory.max`, `memory.current`, `cpu.max`) and v1
// (`memory.limit_in_bytes`, `memory.usage_in_bytes`, `cpu.cfs_quota_us` over
// `cpu.cfs_period_us`). The group of this process is taken from /proc/self/cgroup; each
// group from it up to the root is read and the tightest limit wins, since a parent's limit
// binds its children. In a container whose mount shows only its own group, the path named
// in /proc/self/cgroup may not exist below the mount: then the mount's root is read.
// Values that say "no limit" ("max", -1, or v1's huge page-rounded number) give none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ContainerLimits {
  std::optional<std::int64_t> memoryBytes;      // the limit
  std::optional<std::int64_t> memoryUsedBytes;  // what the group uses now
  std::optional<double> processors;             // CPU quota in processors (1.5 = 150 %)
};

// Reads the limits below `mountRoot` (normally "/sys/fs/cgroup") for the groups named in the
// text of `cgroupFile` (normally "/proc/self/cgroup"). Missing or unreadable files give
// no limit; nothing here fails.
ContainerLimits ReadContainerLimits(const std::string& mountRoot = "/sys/fs/cgroup",
                                    const std::string& cgroupFile = "/proc/self/cgroup");
