#include "job/FileCollector.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "image/codec/ImageType.h"
#include "job/PathFunctions.h"
#include "platform/PathStatus.h"

namespace {

const char kNotRegular[] = "not a regular file";
const char kTooLong[] = "the path is too long for the system";

// The reason a path could not be reached, from the errno of the failed call.
std::string ReasonFor(int error, const std::string& path) {
  if (error == ENAMETOOLONG) return kTooLong;
  if (error != ENOENT && error != ENOTDIR) return std::strerror(error);
  // A shell expands "~" only at the start of a word, never after "-source:".
  if (path.starts_with("~")) return "no such file or folder (~ is not expanded here)";
  return "no such file or folder";
}

// Why a picture file gave no pages: it cannot be opened, or its pages cannot be counted.
std::string NoPagesReason(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::string("the file cannot be opened: ") + std::strerror(errno);
  close(fd);
  return "its pages cannot be counted";
}

}  // namespace

void FileCollector::Collect() {
  destination_ = destinationFolder.empty() ? std::nullopt : TargetIdentity(destinationFolder);
  for (const std::string& path : sources) {
    if (stop) return;
    visited_.clear();
    if (path.empty()) continue;  // no source given: nothing to collect, and no failure
    if (keepWrittenPaths)
      baseFolder = path == "." ? path : "";  // relative paths are the paths as written
    else
      baseFolder = DirectoryOf(path);
    if (FolderExists(path)) {
      // A single source folder is the base, so relative paths start inside it.
      if (sources.size() == 1 && !keepWrittenPaths) baseFolder = path;
      AddFolder(path);
      continue;
    }
    FileEntry entry;
    if (!DescribeEntry(path, entry)) {
      OnUnreadable(path, ReasonFor(errno, path));
    } else if (!entry.regular) {
      OnSkipped(path, kNotRegular);
    } else {
      AddFile(path, entry.size, entry.attributes, entry.creationTime, entry.lastAccessTime,
              entry.lastWriteTime);
    }
  }
}

void FileCollector::OnEnterFolder(const std::string&) {}

bool FileCollector::FirstVisit(const std::string& folder) {
  const auto identity = TargetIdentity(folder);
  return identity && visited_.insert(*identity).second;
}

bool FileCollector::PathFits(const std::string& path) {
  if (path.size() < PATH_MAX) return true;
  OnUnreadable(path, kTooLong);
  return false;
}

void FileCollector::AddFolder(const std::string& folder) {
  if (!PathFits(folder) || !FirstVisit(folder)) return;
  OnEnterFolder(folder);
  std::vector<FileEntry> entries;
  if (!ListFolder(folder, entries)) {
    OnUnreadable(folder, "the folder cannot be read: " + ReasonFor(errno, folder));
    return;
  }
  for (const FileEntry& entry : entries) {
    if (stop) return;
    const std::string path = JoinPath(folder, entry.name);
    if (entry.IsDirectory()) {
      if (recursive && entry.identity != destination_) AddFolder(path);
    } else if (!entry.regular) {
      OnSkipped(path, kNotRegular);
    } else {
      AddFile(path, entry.size, entry.attributes, entry.creationTime, entry.lastAccessTime,
              entry.lastWriteTime);
    }
  }
}

void FileCollector::AddFile(const std::string& path, std::uint64_t size, std::uint32_t attributes,
                            std::uint64_t, std::uint64_t, std::uint64_t lastWriteTime) {
  // The extension decides, not the content. A picture type this build cannot read is told
  // of; a file that is no picture by its name is left out in silence.
  if (!IsSupportedType(path, true)) {
    const std::string type = UnreadablePictureType(path);
    if (!type.empty()) OnSkipped(path, type + " pictures cannot be read");
    return;
  }
  if (!PathFits(path)) return;
  // Paths may come from elsewhere than a listing (a drop, a single source): a FIFO or
  // device is refused before anything opens it in blocking mode.
  if (!IsRegularFile(path)) {
    OnSkipped(path, kNotRegular);
    return;
  }
  const PageCount count = CountPages(path);
  const int pages = count.pages;
  if (pages <= 0) OnUnreadable(path, NoPagesReason(path));
  for (int page = 0; page < pages; ++page) {
    auto item = std::make_unique<ConversionItem>();
    item->sourcePath = path;
    item->baseFolder = baseFolder;
    item->relativePath = RelativePath(path, baseFolder);
    item->extension = ExtensionOf(path);
    item->fileSize = size;
    item->lastWriteTime = lastWriteTime;
    item->attributes = attributes;
    item->pageCount = pages;
    item->pageIndex = page;
    AddItem(std::move(item));
  }
  if (!count.unreadableRest.empty()) OnUnreadable(path, count.unreadableRest);
}

void FileCollector::AddItem(std::unique_ptr<ConversionItem>) {}

void FileCollector::OnSkipped(const std::string&, const std::string&) {}

void FileCollector::OnUnreadable(const std::string&, const std::string&) {}

void ListCollector::AddItem(std::unique_ptr<ConversionItem> item) {
  items_.push_back(std::move(item));
}
