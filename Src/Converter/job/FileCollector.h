// FileCollector: turns source files and folders into ConversionItems, one per page of
// every file whose type can be read (TIFF pages, GIF frames). Folders are walked in name
// order, recursively unless told otherwise; a folder reached again through a link is
// not walked twice. Only regular files become items; a destination folder that lies inside
// a source is left out. Variants override the hooks: AddItem decides where items go,
// OnUnreadable hears of every source, folder, file or rest of a file that should have
// given pages and cannot (a failure the run counts), OnSkipped of the entries left out
// because they are no files at all.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "job/ConversionItem.h"
#include "platform/FolderListing.h"

class FileCollector {
 public:
  FileCollector() = default;
  FileCollector(const FileCollector&) = delete;
  FileCollector& operator=(const FileCollector&) = delete;
  virtual ~FileCollector() = default;

  std::vector<std::string> sources;
  bool recursive = true;
  std::atomic<bool> stop{false};  // set from outside; read before each source and entry
  std::string baseFolder;         // the folder relative paths are counted from
  // The run's destination folder: when it lies inside a source folder, its subtree is not
  // collected, so earlier outputs never come back as sources. Empty: nothing left out.
  std::string destinationFolder;
  // False: a single source folder is the base of its relative paths, and several sources
  // each give relative paths that start with their own name. True: every source keeps
  // the path it is written with ("2020/trip" gives "2020/trip/a.jpg", "/pics/a.jpg" gives
  // "pics/a.jpg", "." gives "a.jpg"), however many sources there are.
  bool keepWrittenPaths = false;

  // Adds the items of every source path, in list order.
  virtual void Collect();
  // Called when a folder's walk begins; does nothing here.
  virtual void OnEnterFolder(const std::string& folder);
  // Adds one item per page of the file when its type can be read.
  virtual void AddFile(const std::string& path, std::uint64_t size, std::uint32_t attributes,
                       std::uint64_t creationTime, std::uint64_t lastAccessTime,
                       std::uint64_t lastWriteTime);
  // Adds the folder's files and, when recursive, its subfolders'.
  virtual void AddFolder(const std::string& folder);
  // Receives each new item; this base discards it.
  virtual void AddItem(std::unique_ptr<ConversionItem> item);
  // Told of an entry left out because it is not a regular file or is a picture of a type
  // this build cannot read, with a short reason;
  // does nothing here.
  virtual void OnSkipped(const std::string& path, const std::string& reason);
  // Told of what cannot be collected although it should give pages: a source that does
  // not exist, a folder that cannot be read, a path too long for the system, a picture
  // file that cannot be opened or counted, the pages of a file past those that can be
  // read. The reason is short ("no such file or folder"); does nothing here.
  virtual void OnUnreadable(const std::string& path, const std::string& reason);

 private:
  bool FirstVisit(const std::string& folder);
  // Refuses a path the system cannot open as a whole (OnUnreadable); true when it fits.
  bool PathFits(const std::string& path);
  std::set<FileIdentity> visited_;           // folders walked since the current source began
  std::optional<FileIdentity> destination_;  // the destination folder, when it exists
};

// The collector of a run: its items go to the list it was given.
class ListCollector : public FileCollector {
 public:
  explicit ListCollector(ItemList& items) : items_(items) {}
  void AddItem(std::unique_ptr<ConversionItem> item) override;

 private:
  ItemList& items_;
};
