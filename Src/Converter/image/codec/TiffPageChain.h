// How many pages a TIFF file claims: its image directories form a chain, each one ending in
// the offset of the next (0 after the last). A file cut short, or damaged, claims a next
// directory that is not there; FreeImage then counts the pages before it and says nothing
// of the rest. Reading the chain directly tells the rest apart.
#pragma once

#include <string>

struct TiffPageChain {
  int complete = 0;          // directories read whole, from the first
  bool brokenAfter = false;  // the last complete one names a next directory not there
  bool pastTheEnd = false;   // that directory lies (partly) beyond the end of the file
};

// The chain of a classic TIFF file of either byte order. A file that is no classic TIFF
// (too short, another signature, BigTIFF) gives {0, false, false}: nothing claimed.
TiffPageChain ReadTiffPageChain(const std::string& path);
