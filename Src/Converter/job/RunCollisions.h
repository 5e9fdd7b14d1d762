// The files a run must not replace: every file that an item of the run reads, and every
// file the run has already written. An item may still replace its own source when no
// other item reads it (an in-place conversion).
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
  // Whether writing `dest` for `item` would replace another item's source or an earlier
  // result of this run.
  bool Forbidden(const ConversionItem& item, const std::string& dest) const;
  // Notes a file the run has written.
  void Written(const std::string& dest);
  void Clear();

 private:
  std::map<FileIdentity, int> readers_;  // source file -> number of items reading it
  std::set<FileIdentity> written_;
};
