// Little-endian TIFF directories as bytes: laying one out after the data before it, and
// reading the first one of a file. The EXIF block of a JPEG and the tags added to a TIFF
// file are both made of these.
#pragma once

#include <cstdint>
#include <cstdio>
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
