// Camera data laid out as TIFF directories: the EXIF block of a JPEG's APP1 segment, and
// the entries a TIFF file's first directory gains (its camera tags, pointers to the Exif
// and GPS directories, the IPTC records and the XMP packet).
#pragma once

#include <cstdint>
#include <vector>

#include "image/camera/CameraData.h"
#include "image/camera/TiffDirectory.h"

// The largest block FreeImage's JPEG writer puts in one APP1 segment: it cuts longer ones
// into pieces of this size, which no reader joins again.
constexpr std::size_t kLargestExifBlock = 65504;

// "Exif\0\0" and a little-endian TIFF block of the first, Exif, GPS and interoperability
// directories; empty when `data` has no EXIF tags.
std::vector<std::uint8_t> ExifBlock(const CameraData& data);

// Appends the Exif, GPS and interoperability directories to `out`, whose first byte is at
// file offset `base`, and returns the first directory's entries: its camera tags and the
// pointers to what was appended.
std::vector<TiffEntry> AppendCameraDirectories(std::vector<std::uint8_t>& out, std::uint32_t base,
                                               const CameraData& data);

// The IPTC datasets as the records a TIFF file carries: 0x1C, record, dataset, big-endian
// length, data. A keyword list, held joined by ';', is one dataset a keyword again.
std::vector<std::uint8_t> IptcRecords(const CameraTags& iptc);
