// Decoding of one image's LZW data (the data sub-blocks after the minimum code size byte)
// into a raster of palette indices, row by row, in the four interlace passes when asked.
// Corrupt data never fails: the indices decoded so far stay, the rest remain index 0.
// The cursor is left after the image's block terminator.
#pragma once

#include "image/gif/GifCursor.h"
#include "image/gif/GifRaster.h"

// Codes start codeSize + 1 bits wide; a code size outside 2..9 decodes nothing. Indices
// are masked to the raster's depth.
void DecodeLzwImage(GifCursor& in, int codeSize, bool interlaced, GifRaster& raster);
