#include "job/FileCollector.h"

#include "image/codec/ImageType.h"
#include "job/PathFunctions.h"
#include "platform/PathStatus.h"

namespace {

const char kNotRegular[] = "not a regular file";

}  // namespace

void FileCollector::Collect() {
  destination_ = destinationFolder.empty() ? std::nullopt : TargetIdentity(destinationFolder);
  for (const std::string& path : sources) {
    if (stop) return;
    visited_.clear();
    baseFolder = DirectoryOf(path);
    if (FolderExists(path)) {
      // A single source folder is the base, so relative paths start inside it.
      if (sources.size() == 1) baseFolder = path;
      AddFolder(path);
      continue;
    }
    FileEntry entry;
    if (!DescribeEntry(path, entry)) {
      if (!path.empty()) OnSkipped(path, "no such file or folder");
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

void FileCollector::AddFolder(const std::string& folder) {
  if (!FirstVisit(folder)) return;
  OnEnterFolder(folder);
  std::vector<FileEntry> entries;
  if (!ListFolder(folder, entries)) return;
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
  // Paths may come from elsewhere than a listing (a drop, a single source): a FIFO or
  // device is refused before anything opens it in blocking mode.
  if (!IsRegularFile(path)) {
    OnSkipped(path, kNotRegular);
    return;
  }
  const int pages = GetPageCount(path);
  if (pages <= 0) OnSkipped(path, "its pages cannot be counted");
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
}

void FileCollector::AddItem(std::unique_ptr<ConversionItem>) {}

void FileCollector::OnSkipped(const std::string&, const std::string&) {}

void ListCollector::AddItem(std::unique_ptr<ConversionItem> item) {
  items_.push_back(std::move(item));
}
