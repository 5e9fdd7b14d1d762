// Decoding of one frame of a GIF file held in memory: the header, the light counting pass,
// then the blocks again from the start with the images the frame needs decoded and
// composed. Every raster, the screen-sized one included, must stay within maxPixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/gif/GifRaster.h"

// Decodes frame `frame` (from 0) of the file in data[0, size) into `out`. False when the
// file does not start with "GIF8", a header, descriptor or colour table is cut short, the
// frame is not below the number of frames, the frame's image lies outside the screen or
// has no pixels, or a raster it needs is over the budget. *frameCount (when given)
// receives the number of image descriptors once the counting pass has run, else 0.
bool DecodeGifFrame(const std::uint8_t* data, std::size_t size, int frame, std::int64_t maxPixels,
                    GifRaster& out, int* frameCount = nullptr);

// The number of frames when frame 0 of the file decodes, else 0; decided without decoding
// any image data.
int GifFrameCount(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels);
