// TIFF directories as bytes: laying a little-endian one out after the data before it,
// reading the first one of a file, and following the chain of a file's directories (its
// pages). The EXIF block of a JPEG and the tags added to a TIFF file are made of these.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TiffEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  // The value's bytes; an entry read from a file keeps its four value bytes as they stand
  // (`placed`), since a longer value stays where the file has it.
  std::vector<std::uint8_t> value;
  bool placed = false;
};

// The tags more than one reader or writer of camera data names.
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kInteropPointerTag = 0xA005;

constexpr std::uint16_t kTiffShort = 3;
constexpr std::uint16_t kTiffLong = 4;
constexpr std::uint16_t kTiffUndefined = 7;

// The bytes of one value of a field type; 0 for an unknown type.
int TiffTypeSize(std::uint16_t type);

// Appends a directory of `entries` (sorted by tag here) to `out`, whose first byte is at
// offset `base` of the file, followed by the values longer than four bytes; `next` is the
// offset of the following directory (0: none). Returns the directory's file offset.
std::uint32_t AppendTiffDirectory(std::vector<std::uint8_t>& out, std::uint32_t base,
                                  std::vector<TiffEntry> entries, std::uint32_t next);

// Reads the first directory of the little-endian TIFF file `file`: its offset, its entries
// (placed) and the offset of the next one. False for another byte order or a short file.
bool ReadFirstTiffDirectory(std::FILE* file, std::uint32_t& offset, std::vector<TiffEntry>& entries,
                            std::uint32_t& next);

// How many pages a TIFF file claims: its image directories form a chain, each one ending in
// the offset of the next (0 after the last). A file cut short, or damaged, claims a next
// directory that is not there; FreeImage then counts the pages before it and says nothing
// of the rest. Reading the chain directly tells the rest apart.
struct TiffPageChain {
  int complete = 0;          // directories read whole, from the first
  bool brokenAfter = false;  // the last complete one names a next directory not there
  bool pastTheEnd = false;   // that directory lies (partly) beyond the end of the file
};

// The chain of a classic TIFF file of either byte order. A file that is no classic TIFF
// (too short, another signature, BigTIFF) gives {0, false, false}: nothing claimed.
TiffPageChain ReadTiffPageChain(const std::string& path);
