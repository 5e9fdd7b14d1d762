#include "job/RunCollisions.h"

#include "platform/PathStatus.h"

namespace {

// The source as the entry named and as the file it leads to (they differ for a link).
std::set<FileIdentity> SourceIdentities(const ConversionItem& item) {
  std::set<FileIdentity> ids;
  if (auto entry = EntryIdentity(item.sourcePath)) ids.insert(*entry);
  if (auto target = TargetIdentity(item.sourcePath)) ids.insert(*target);
  return ids;
}

}  // namespace

void RunCollisions::Begin(const std::vector<ConversionItem*>& items) {
  Clear();
  for (const ConversionItem* item : items)
    for (const FileIdentity& id : SourceIdentities(*item)) ++readers_[id];
}

bool RunCollisions::Forbidden(const ConversionItem& item, const std::string& dest) const {
  // The entry itself: a rename over a link replaces the link, not what it leads to.
  const auto id = EntryIdentity(dest);
  if (!id) return false;
  if (claimed_.count(*id)) return true;
  const auto readers = readers_.find(*id);
  if (readers == readers_.end()) return false;
  const int own = SourceIdentities(item).count(*id) ? 1 : 0;
  return readers->second - own > 0;
}

void RunCollisions::Claim(const std::string& dest) {
  if (auto id = EntryIdentity(dest)) claimed_.insert(*id);
}

bool RunCollisions::Claimed(const std::string& dest) const {
  const auto id = EntryIdentity(dest);
  return id && claimed_.count(*id);
}

void RunCollisions::Clear() {
  readers_.clear();
  claimed_.clear();
}
