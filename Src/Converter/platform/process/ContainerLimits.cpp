#include "platform/process/ContainerLimits.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// v1 writes "no limit" as the largest page-aligned signed 64-bit number; anything this big
// is no limit in practice.
constexpr std::int64_t kNoLimitAbove = std::int64_t{1} << 62;

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  return line;
}

// A byte count, absent for "max", a negative value or v1's "unlimited".
std::optional<std::int64_t> ReadBytes(const std::string& path) {
  const auto line = FirstLine(path);
  if (!line) return std::nullopt;
  std::istringstream in(*line);
  long long value = -1;
  if (!(in >> value) || value < 0 || value >= kNoLimitAbove) return std::nullopt;
  return value;
}

// Processors from a quota and a period in microseconds; absent when unlimited.
std::optional<double> QuotaProcessors(long long quota, long long period) {
  if (quota <= 0 || period <= 0) return std::nullopt;
  return static_cast<double>(quota) / static_cast<double>(period);
}

std::optional<double> ReadCpuMax(const std::string& path) {  // v2: "<quota|max> <period>"
  const auto line = FirstLine(path);
  if (!line) return std::nullopt;
  std::istringstream in(*line);
  std::string quota;
  long long period = 0;
  if (!(in >> quota >> period) || quota == "max") return std::nullopt;
  try {
    return QuotaProcessors(std::stoll(quota), period);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<double> ReadCfsQuota(const std::string& folder) {  // v1
  const auto quota = FirstLine(folder + "/cpu.cfs_quota_us");
  const auto period = FirstLine(folder + "/cpu.cfs_period_us");
  if (!quota || !period) return std::nullopt;
  try {
    return QuotaProcessors(std::stoll(*quota), std::stoll(*period));
  } catch (...) {
    return std::nullopt;
  }
}

// The folders of a group and of every group above it, deepest first. When the group's own
// folder is not there (a container's mount shows its own group as the root), the root
// alone.
std::vector<std::string> GroupChain(const std::string& base, std::string group) {
  if (!IsFolder(base)) return {};
  while (group.size() > 1 && group.back() == '/') group.pop_back();
  if (group.empty() || group == "/" || !IsFolder(base + group)) return {base};
  std::vector<std::string> chain;
  for (;;) {
    chain.push_back(base + group);
    const auto slash = group.rfind('/');
    if (slash == 0 || slash == std::string::npos) break;
    group.resize(slash);
  }
  chain.push_back(base);
  return chain;
}

// Keeps the tightest memory limit seen, with the usage of the group that set it.
void TakeMemory(ContainerLimits& limits, std::optional<std::int64_t> limit,
                std::optional<std::int64_t> used) {
  if (!limit || (limits.memoryBytes && *limits.memoryBytes <= *limit)) return;
  limits.memoryBytes = limit;
  limits.memoryUsedBytes = used;
}

void TakeProcessors(ContainerLimits& limits, std::optional<double> processors) {
  if (processors && (!limits.processors || *processors < *limits.processors))
    limits.processors = processors;
}

// The v1 hierarchy folder of a controller: mounted under its own name, or under the joint
// name of the line ("cpu,cpuacct").
std::string V1Folder(const std::string& root, const std::string& controllers,
                     const std::string& wanted) {
  std::istringstream names(controllers);
  std::string name;
  bool listed = false;
  while (std::getline(names, name, ','))
    if (name == wanted) listed = true;
  if (!listed) return {};
  if (IsFolder(root + "/" + wanted)) return root + "/" + wanted;
  return IsFolder(root + "/" + controllers) ? root + "/" + controllers : std::string{};
}

}  // namespace

ContainerLimits ReadContainerLimits(const std::string& mountRoot, const std::string& cgroupFile) {
  ContainerLimits limits;
  std::ifstream in(cgroupFile);
  std::string line;
  while (std::getline(in, line)) {
    // "hierarchy-id:controllers:path"; v2's line has id 0 and no controllers.
    const auto first = line.find(':');
    const auto second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string group = line.substr(second + 1);
    if (controllers.empty()) {
      // Unified alone, or beside v1 hierarchies in a hybrid layout.
      const std::string base =
          IsFolder(mountRoot + "/unified") ? mountRoot + "/unified" : mountRoot;
      for (const std::string& folder : GroupChain(base, group)) {
        TakeMemory(limits, ReadBytes(folder + "/memory.max"),
                   ReadBytes(folder + "/memory.current"));
        TakeProcessors(limits, ReadCpuMax(folder + "/cpu.max"));
      }
      continue;
    }
    if (const std::string memory = V1Folder(mountRoot, controllers, "memory"); !memory.empty())
      for (const std::string& folder : GroupChain(memory, group))
        TakeMemory(limits, ReadBytes(folder + "/memory.limit_in_bytes"),
                   ReadBytes(folder + "/memory.usage_in_bytes"));
    if (const std::string cpu = V1Folder(mountRoot, controllers, "cpu"); !cpu.empty())
      for (const std::string& folder : GroupChain(cpu, group))
        TakeProcessors(limits, ReadCfsQuota(folder));
  }
  return limits;
}
