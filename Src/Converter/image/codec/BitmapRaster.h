// The raster of a FreeImage picture of 1, 4 or 8 bits per pixel, built directly from its
// bits: palette of 2^bpp entries (those the picture lacks are zero), bottom-up rows
// padded to 4 bytes and the resolution in dots per inch. It is the raster that reading
// the picture's uncompressed BMP file back with BmpReader gives, without the file.
#pragma once

#include <FreeImage.h>

#include "image/gif/GifRaster.h"

// False for a missing picture, another depth, or a size over the picture budget.
bool RasterFromBitmap(FIBITMAP* picture, GifRaster& raster);
