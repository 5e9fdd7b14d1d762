// The files a run must not replace: every file that an item of the run reads, and every
// destination the run has already claimed (written, or left alone as existing). An item
// may still replace its own source when no other item reads it (an in-place conversion).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "job/ConversionItem.h"
#include "platform/FolderListing.h"

class RunCollisions {
 public:
  // Starts a run over these items, noting the files they read.
  void Begin(const std::vector<ConversionItem*>& items);
  // Whether writing `dest` for `item` would replace another item's source or a destination
  // this run claimed.
  bool Forbidden(const ConversionItem& item, const std::string& dest) const;
  // Notes a destination the run has written or left alone: a later item that maps to the
  // same file collides with it.
  void Claim(const std::string& dest);
  bool Claimed(const std::string& dest) const;
  void Clear();

 private:
  std::map<FileIdentity, int> readers_;  // source file -> number of items reading it
  std::set<FileIdentity> claimed_;
};
