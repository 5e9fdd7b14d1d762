// ConversionItem: one page of one source file, with its paths, the data the conversion
// list shows, and the result of its last conversion. Items are created by a
// FileCollector, owned by the list that holds them and never copied.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Item status values (namespaced so they stay apart from the Succeeded/Failed tests of
// result codes).
namespace ItemStatus {
// Skipped: the destination existed and was left alone (neither converted nor failed).
enum : int { NotStarted = 0, Succeeded = 1, Failed = 2, Skipped = 3 };
}  // namespace ItemStatus

// The string-table number of a status text ("Not Started", "Succeeded", "Failed",
// "Skipped").
int ItemStatusTextId(int status);

// Pending-change bits kept by the conversion list.
namespace ItemListFlag {
enum : int { Changed = 1, Added = 2, Removed = 4 };
}

struct ConversionItem {
  ConversionItem() = default;
  ConversionItem(const ConversionItem&) = delete;
  ConversionItem& operator=(const ConversionItem&) = delete;

  std::string sourcePath;
  std::string baseFolder;    // the folder relativePath is counted from
  std::string relativePath;  // path below baseFolder; names the destination
  std::string extension;     // the source's extension
  std::uint64_t fileSize = 0;
  std::uint64_t lastWriteTime = 0;  // 100-ns intervals since 1601-01-01 UTC
  std::uint32_t attributes = 0;
  int listFlags = ItemListFlag::Added;
  int status = ItemStatus::NotStarted;
  int pageCount = 1;
  int pageIndex = 0;  // counted from 0
  std::string log;    // last message of the conversion
  int width = -1, height = -1;
  int newWidth = -1, newHeight = -1;
  int bitDepth = -1, newBitDepth = -1;
  std::string destPath;  // destination of the last conversion
};

using ItemList = std::vector<std::unique_ptr<ConversionItem>>;

// The items of a list in its order, as a run takes them: later changes to the list do not
// disturb a run that is iterating the snapshot.
std::vector<ConversionItem*> SnapshotOf(const ItemList& items);

// Copies what names the page (paths, file facts, page number), not its result.
void CopyPageIdentity(const ConversionItem& from, ConversionItem& to);
