#include "ui/list/ConversionList.h"

#include <algorithm>

namespace {
ConversionList* theList = nullptr;
}

ConversionList* TheConversionList() { return theList; }

ConversionList::ConversionList() { theList = this; }

ConversionList::~ConversionList() {
  if (theList == this) theList = nullptr;
}

int ConversionList::StatusCount(int status) const {
  return status >= 0 && status < 3 ? statusCounts_[static_cast<std::size_t>(status)] : 0;
}

void ConversionList::RecountStatus() {
  statusCounts_ = {};
  for (const auto& item : items_)
    if (item->status >= 0 && item->status < 3)
      ++statusCounts_[static_cast<std::size_t>(item->status)];
}

ConversionItem& ConversionList::Add(std::unique_ptr<ConversionItem> item) {
  items_.push_back(std::move(item));
  RecountStatus();
  Changed();
  return *items_.back();
}

ConversionItem& ConversionList::Append(std::unique_ptr<ConversionItem> item) {
  items_.push_back(std::move(item));
  return *items_.back();
}

void ConversionList::SetSelected(const ConversionItem* item, bool selected) {
  const bool known = std::any_of(items_.begin(), items_.end(),
                                 [item](const auto& held) { return held.get() == item; });
  if (!known) return;
  if (selected)
    selected_.insert(item);
  else
    selected_.erase(item);
}

void ConversionList::ReplaceSelection(const std::vector<const ConversionItem*>& items) {
  std::set<const ConversionItem*> known;
  for (const auto& held : items_) known.insert(held.get());
  selected_.clear();
  for (const ConversionItem* item : items)
    if (known.count(item)) selected_.insert(item);
}

ConversionItem* ConversionList::FirstSelectedItem() const {
  for (const auto& item : items_)
    if (selected_.count(item.get())) return item.get();
  return nullptr;
}

bool ConversionList::SelectionSucceeded() const {
  const ConversionItem* first = FirstSelectedItem();
  return first && first->status == ItemStatus::Succeeded;
}

bool ConversionList::RemoveSelected() {
  if (Busy()) return false;
  if (selected_.empty()) return true;
  // The view drops the marked rows (in one go) before the items are freed.
  for (const auto& item : items_)
    if (selected_.count(item.get())) item->listFlags = ItemListFlag::Removed;
  if (view_) view_->DeleteRemovedRows();
  std::erase_if(items_, [this](const auto& item) { return selected_.count(item.get()) != 0; });
  selected_.clear();
  RecountStatus();
  Changed();
  return true;
}

bool ConversionList::RemoveAll() {
  if (Busy()) return false;
  if (view_) view_->DeleteAllRows();
  items_.clear();
  selected_.clear();
  RecountStatus();
  Changed();
  return true;
}

void ConversionList::ResetForRun() {
  for (const auto& item : items_) {
    if (item->status == ItemStatus::NotStarted) continue;
    item->status = ItemStatus::NotStarted;
    item->destPath.clear();
    item->log.clear();
    item->width = item->height = -1;
    item->newWidth = item->newHeight = -1;
    item->bitDepth = item->newBitDepth = -1;
    item->listFlags = ItemListFlag::Changed;
  }
  if (view_) view_->ApplyPendingChanges();
  RecountStatus();
  Changed();
  for (const auto& item : items_) item->listFlags = 0;
}

void ConversionList::Changed() {
  if (onChanged) onChanged();
}
