// Pixels between FreeImage bitmaps (bottom-up rows, blue first) and the top-down rows of
// red, green, blue (and alpha) bytes that the HEIF and JPEG XL libraries take and give.
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>

// A new 24-bit (3 channels) or 32-bit (4 channels) picture made from top-down rows of
// RGB(A) bytes, `stride` bytes apart; nullptr when the size is over the picture budget or
// the memory cannot be had.
FIBITMAP* PictureFromRgbRows(const std::uint8_t* rows, std::size_t stride, int width, int height,
                             int channels);

// The channels of a picture as rows of bytes: 1 for 8-bit grey, 3 for 24 bits, 4 for 32
// bits; 0 for any other picture.
int RgbChannelsOf(FIBITMAP* picture);
// Copies the pixels of a picture with channels into top-down rows of grey, RGB or RGBA
// bytes, `stride` bytes apart, that the caller made large enough.
void CopyToRgbRows(FIBITMAP* picture, std::uint8_t* rows, std::size_t stride);
