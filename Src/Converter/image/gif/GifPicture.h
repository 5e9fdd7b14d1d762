// A decoded GIF raster turned into the 32-bit picture the rest of the pipeline works on.
#pragma once

#include <FreeImage.h>

#include "image/gif/GifRaster.h"

// A new 32-bit picture of the raster's size whose pixels are the raster's colours, with
// the fourth byte 0xFF so that the picture is opaque. Stored rows correspond one to one:
// both keep the bottom row first. nullptr when the picture cannot be allocated.
FIBITMAP* GifRasterToPicture(const GifRaster& raster);
