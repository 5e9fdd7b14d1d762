#include "ui/run/DestinationCheck.h"

#include <cerrno>
#include <cstring>

#include "job/PathFunctions.h"
#include "platform/PathStatus.h"
#include "platform/TempFile.h"
#include "strings/StringTable.h"
#include "ui/resources/AdviceTexts.h"

namespace {

// Empty when a new file can be made in the folder; else the system's reason.
std::string WhyNotWritable(const std::string& folder) {
  const std::string probe = CreateTempFile(folder, "brindlemark-write-check", "");
  if (probe.empty()) return std::strerror(errno);
  RemoveFileEntry(probe);
  return {};
}

// The nearest ancestor of `path` that exists: "/" or "." at the latest.
std::string NearestExisting(const std::string& path) {
  for (std::string at = path;;) {
    const std::string up = DirectoryOf(at);
    if (up.empty()) return path.front() == '/' ? "/" : ".";
    if (TargetIdentity(up)) return up;
    at = up;
  }
}

}  // namespace

DestinationCheck CheckDestination(const std::string& folder) {
  if (folder.empty()) return {DestinationCheck::Missing, {}};
  if (TargetIdentity(folder)) {
    if (!IsFolder(folder))
      return {DestinationCheck::Unusable, FillText(AdviceTexts::DestinationIsFile, folder, {})};
    if (const std::string why = WhyNotWritable(folder); !why.empty())
      return {DestinationCheck::Unusable,
              FillText(AdviceTexts::DestinationNotWritable, folder, why)};
    return {DestinationCheck::Ready, {}};
  }
  const std::string ancestor = NearestExisting(folder);
  if (!IsFolder(ancestor))
    return {DestinationCheck::Unusable,
            FillText(AdviceTexts::DestinationUnderFile, folder, ancestor)};
  if (const std::string why = WhyNotWritable(ancestor); !why.empty())
    return {DestinationCheck::Unusable, FillText(AdviceTexts::DestinationNotCreatable, folder,
                                                 FillText("'%s': %s", ancestor, why))};
  return {DestinationCheck::Missing, {}};
}
