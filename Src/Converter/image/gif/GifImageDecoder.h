// One image of a GIF file turned into a raster of palette indices: the depth follows the
// colour table in force (1 bit for 2 entries, 4 bits up to 16, 8 bits above), the
// palette receives that table, and a transparent index grows a smaller palette to 256
// entries with white ones.
#pragma once

#include <cstdint>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifCursor.h"
#include "image/gif/GifRaster.h"

// Whether the image is decoded at all: it has pixels and lies inside the logical screen.
bool GifImageDecodable(const GifImageDescriptor& image, const GifScreen& screen);

// The depth of an image whose colour table has `entries` entries (0 when it has none).
int GifImageDepth(int entries);

// Decodes the image whose descriptor was just read (the cursor at its minimum code size
// byte) with `table` (nullptr when the file has none) into `raster`, and leaves the cursor
// after the image's data. False, with the cursor unmoved, when the raster would exceed
// maxPixels or the memory cannot be had.
bool DecodeGifImage(GifCursor& in, const GifImageDescriptor& image, const GifColourTable* table,
                    int transparentIndex, std::int64_t maxPixels, GifRaster& raster);
