#include "job/ConversionItem.h"

#include "strings/StringTable.h"

int ItemStatusTextId(int status) {
  switch (status) {
    case ItemStatus::Succeeded: return Ids::StatusSucceeded;
    case ItemStatus::Failed: return Ids::StatusFailed;
    case ItemStatus::Skipped: return Ids::StatusSkipped;
    default: return Ids::StatusNotStarted;
  }
}

std::vector<ConversionItem*> SnapshotOf(const ItemList& items) {
  std::vector<ConversionItem*> snapshot;
  snapshot.reserve(items.size());
  for (const auto& item : items) snapshot.push_back(item.get());
  return snapshot;
}

void CopyPageIdentity(const ConversionItem& from, ConversionItem& to) {
  to.sourcePath = from.sourcePath;
  to.baseFolder = from.baseFolder;
  to.relativePath = from.relativePath;
  to.extension = from.extension;
  to.fileSize = from.fileSize;
  to.lastWriteTime = from.lastWriteTime;
  to.attributes = from.attributes;
  to.pageCount = from.pageCount;
  to.pageIndex = from.pageIndex;
}
