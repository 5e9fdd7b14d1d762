// Numeric tags of any page of a TIFF file, in either byte order, read from the file itself:
// FreeImage reports neither a page's orientation nor the format of its samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The first value of tag `tag` (SHORT or LONG) in the directory of page `pageIndex`; none
// when the file, the page or the tag cannot be read.
std::optional<std::uint32_t> TiffPageTag(const std::string& path, int pageIndex, std::uint16_t tag);

// Whether the page's samples are 16-bit floating point (half floats).
bool HasHalfFloatSamples(const std::string& path, int pageIndex);
