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
