#include "job/DestinationNaming.h"

#include <algorithm>

#include "job/PathFunctions.h"

namespace {

// Padding wider than any file name allows only makes a name that cannot be saved; the
// cap keeps the text small while still giving that too-long name.
constexpr int kMaxPadding = 256;

}  // namespace

std::string DestinationFolderFor(const ConversionItem& item, const ConversionSettings& settings) {
  if (!settings.sameDir) return settings.destFolder;
  return JoinPath(settings.destFolder, DirectoryOf(item.relativePath));
}

std::string PageText(int pageIndex, int pageCount, int zeroPadding) {
  if (pageCount <= 1) return {};
  std::string digits = std::to_string(pageIndex);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.erase(0, 1);
  const int width = std::min(zeroPadding, kMaxPadding) - (negative ? 1 : 0);
  if (width > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string BuildDestinationPath(const ConversionItem& item, const ConversionSettings& settings,
                                 int pageIndex, int pageCount) {
  const std::string title = TitleOf(FileNameOf(item.relativePath));
  const std::string name = settings.prefix + title +
                           PageText(pageIndex, pageCount, settings.zeroPadding) + settings.suffix +
                           "." + settings.destFileExt;
  return JoinPath(DestinationFolderFor(item, settings), name);
}
