// Encoding of a palettised raster as a single-image GIF89a file in memory: header and
// global colour table, one graphic control extension, one image descriptor, the LZW data
// and the trailer.
#pragma once

#include <string>

#include "image/gif/GifRaster.h"

// Appends the whole file to `out`. False (nothing appended) for a raster that is empty,
// deeper than 8 bits, or wider or taller than the 16-bit fields of the format.
bool EncodeGif(const GifRaster& raster, std::string& out);
