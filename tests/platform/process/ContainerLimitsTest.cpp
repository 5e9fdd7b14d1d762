// The control-group reader over fake /sys/fs/cgroup trees and /proc/self/cgroup texts:
// v2 alone, v1 alone, the hybrid layout, a container whose mount shows its own group as
// the root, and the values that mean "no limit".
#include "platform/process/ContainerLimits.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestFiles.h"

namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

struct Tree {
  TempDir dir;
  void File(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(dir / path).parent_path());
    WriteFile(dir / path, text + "\n");
  }
  ContainerLimits Read(const std::string& cgroupText) {
    WriteFile(dir / "self-cgroup", cgroupText);
    return ReadContainerLimits(dir / "root", dir / "self-cgroup");
  }
};

TEST(ContainerLimits, UnifiedHierarchyTakesTheTightestGroupOnThePath) {
  Tree t;
  t.File("root/memory.max", "max");
  t.File("root/cpu.max", "max 100000");
  t.File("root/jobs/memory.max", std::to_string(3072 * kMiB));
  t.File("root/jobs/memory.current", std::to_string(100 * kMiB));
  t.File("root/jobs/run/memory.max", "max");  // the parent's limit still binds
  t.File("root/jobs/run/memory.current", std::to_string(40 * kMiB));
  t.File("root/jobs/run/cpu.max", "150000 100000");
  t.File("root/jobs/cpu.max", "400000 100000");
  t.File("root/cgroup.controllers", "cpu memory");
  const ContainerLimits limits = t.Read("0::/jobs/run\n");
  EXPECT_EQ(limits.memoryBytes, 3072 * kMiB);
  EXPECT_EQ(limits.memoryUsedBytes, 100 * kMiB);
  ASSERT_TRUE(limits.processors);
  EXPECT_DOUBLE_EQ(*limits.processors, 1.5);
}

TEST(ContainerLimits, VersionOneControllersAndTheirNoLimitValues) {
  Tree t;
  t.File("root/memory/memory.limit_in_bytes", "9223372036854771712");  // unlimited
  t.File("root/memory/box/memory.limit_in_bytes", std::to_string(2048 * kMiB));
  t.File("root/memory/box/memory.usage_in_bytes", std::to_string(512 * kMiB));
  t.File("root/cpu,cpuacct/box/cpu.cfs_quota_us", "250000");
  t.File("root/cpu,cpuacct/box/cpu.cfs_period_us", "100000");
  const ContainerLimits limits =
      t.Read("12:pids:/box\n4:memory:/box\n3:cpu,cpuacct:/box\n1:name=systemd:/box\n");
  EXPECT_EQ(limits.memoryBytes, 2048 * kMiB);
  EXPECT_EQ(limits.memoryUsedBytes, 512 * kMiB);
  ASSERT_TRUE(limits.processors);
  EXPECT_DOUBLE_EQ(*limits.processors, 2.5);

  Tree unlimited;
  unlimited.File("root/memory/memory.limit_in_bytes", "9223372036854771712");
  unlimited.File("root/cpu/cpu.cfs_quota_us", "-1");
  unlimited.File("root/cpu/cpu.cfs_period_us", "100000");
  const ContainerLimits none = unlimited.Read("4:memory:/\n2:cpu:/\n");
  EXPECT_FALSE(none.memoryBytes);
  EXPECT_FALSE(none.processors);
}

TEST(ContainerLimits, AContainerSeesItsOwnGroupAsTheMountRoot) {
  // /proc/self/cgroup names the host's path, which the container's mount does not show.
  Tree t;
  t.File("root/memory/memory.limit_in_bytes", std::to_string(3000 * kMiB));
  t.File("root/memory/memory.usage_in_bytes", std::to_string(1000 * kMiB));
  t.File("root/unified/memory.max", std::to_string(8000 * kMiB));  // hybrid: v2 beside v1
  const ContainerLimits limits = t.Read("4:memory:/docker/0123abcd\n0::/docker/0123abcd\n");
  EXPECT_EQ(limits.memoryBytes, 3000 * kMiB);
  EXPECT_EQ(limits.memoryUsedBytes, 1000 * kMiB);
}

TEST(ContainerLimits, MissingOrMalformedFilesGiveNoLimit) {
  Tree t;
  t.File("root/memory.max", "lots");
  t.File("root/cpu.max", "max");
  EXPECT_FALSE(t.Read("0::/\n").memoryBytes);
  EXPECT_FALSE(t.Read("0::/\n").processors);
  EXPECT_FALSE(t.Read("garbage without colons\n").memoryBytes);
  EXPECT_FALSE(ReadContainerLimits(t.dir / "nowhere", t.dir / "no-file").memoryBytes);
}

}  // namespace
