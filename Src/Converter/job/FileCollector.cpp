#include "job/FileCollector.h"

#include "image/ImageType.h"
#include "job/PathFunctions.h"
#include "platform/PathStatus.h"

void FileCollector::Collect() {
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
    if (DescribeEntry(path, entry) && !entry.IsDirectory())
      AddFile(path, entry.size, entry.attributes, entry.creationTime, entry.lastAccessTime, entry.lastWriteTime);
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
    if (!entry.IsDirectory()) {
      AddFile(path, entry.size, entry.attributes, entry.creationTime, entry.lastAccessTime, entry.lastWriteTime);
    } else if (recursive) {
      AddFolder(path);
    }
  }
}

void FileCollector::AddFile(const std::string& path, std::uint64_t size, std::uint32_t attributes,
                            std::uint64_t, std::uint64_t, std::uint64_t lastWriteTime) {
  // The extension decides, not the content.
  if (!IsSupportedType(path, true)) return;
  const int pages = GetPageCount(path);
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

void ListCollector::AddItem(std::unique_ptr<ConversionItem> item) { items_.push_back(std::move(item)); }
