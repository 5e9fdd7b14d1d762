// The tests' oracle for the BMP files FreeImage writes, and a fuzzing target; the program
// itself reads BMP through FreeImage.
// Reading an uncompressed Windows BMP held in memory into a raster: the optional 14-byte
// file header, a 40-byte info header (4-byte palette entries) or an OS/2 header of 12 or
// 64 bytes (3-byte entries), 1, 4, 8 or 24 bits per pixel, bottom-up or top-down rows.
// Every size and offset is checked against the bytes given; palette entries the file
// does not supply stay zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/gif/GifRaster.h"

// False when the bytes are not such a file, or the picture is over maxPixels.
bool ReadBmp(const std::uint8_t* data, std::size_t size, GifRaster& raster, std::int64_t maxPixels);
