// Counting the pages of a TIFF file without decoding it: a walk of the chain of image file
// directories (TiffChain: classic or BigTIFF, either byte order), reading only the header,
// each directory's entry count and its next-directory offset, every read bounds-checked, so
// a hostile file cannot make it allocate or run long. A directory met twice ends the chain
// (a loop); one that cannot be read whole ends it too, and marks the rest of the file as cut
// off or damaged. It runs in the process that collects files, where FreeImage's decoder is
// never called on outside bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/header/TiffChain.h"

constexpr int kMaxTiffPages = 1000000;

// The chain of a file, at most kMaxTiffPages pages; pages -1 when it cannot be opened, 0
// when it is no TIFF or its first directory cannot be read whole.
TiffChain::Extent WalkTiffPagesInFile(const std::string& path);
// The number of pages of bytes in memory.
int CountTiffPages(const std::uint8_t* data, std::size_t size);
// The number of pages of a file; -1 when it cannot be opened.
int CountTiffPagesInFile(const std::string& path);
