// Counting the pages of a TIFF file without decoding it: a walk of the chain of image
// file directories, classic (32-bit offsets) or BigTIFF (64-bit), either byte order. It
// reads only the header, each directory's entry count and its next-directory offset, so a
// hostile file cannot make it allocate or run long: every read is bounds-checked against
// the file's size, a directory met twice ends the chain (a loop), and so does a next offset
// that points outside the file or at a directory that cannot be read whole. The count is
// that of the directories read until then, at most kMaxTiffPages; how the chain ended tells
// a file cut short or damaged (it names a next directory that is not there) from a whole
// one. It runs in the process that collects files, where FreeImage's decoder is never
// called on outside bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr int kMaxTiffPages = 1000000;

// Reads `size` bytes at `offset` into `out`; false when they are not all there.
using TiffByteReader =
    std::function<bool(std::uint64_t offset, std::size_t size, std::uint8_t* out)>;

// The chain of a file's directories: how many were read whole, and whether the last of them
// names a next one that cannot be read (a loop, a directory cut short or out of the file).
struct TiffPageChain {
  int pages = 0;             // directories read whole, from the first; -1: no file to read
  bool brokenAfter = false;  // the last whole one names a next directory that is not there
  bool pastTheEnd = false;   // that directory lies (partly) beyond the end of the file
};

// The chain of a file of `fileSize` bytes; no pages when it is no TIFF or its first
// directory cannot be read.
TiffPageChain WalkTiffPages(const TiffByteReader& read, std::uint64_t fileSize);
// The chain of a file; pages -1 when it cannot be opened.
TiffPageChain WalkTiffPagesInFile(const std::string& path);

// The number of directories of a file of `fileSize` bytes; 0 when it is no TIFF or its
// first directory cannot be read.
int CountTiffPages(const TiffByteReader& read, std::uint64_t fileSize);
// The same over bytes in memory.
int CountTiffPages(const std::uint8_t* data, std::size_t size);
// The same over a file; -1 when it cannot be opened.
int CountTiffPagesInFile(const std::string& path);
