// Row access to the pixels of a 32-bit picture for the transformation loops: the top row's
// address and the distance between rows, so that a loop steps from row to row without
// asking FreeImage again. Rows are counted from the top, as the picture is seen.
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>

#include "image/codec/PictureMemory.h"

template <typename Pixel>
struct BasicPixelView {
  Pixel* top = nullptr;       // row 0, the top row
  std::ptrdiff_t stride = 0;  // pixels from one row to the next one down
  int width = 0;
  int height = 0;

  Pixel* Row(std::int64_t y) const { return top + y * stride; }
};

using PixelView = BasicPixelView<std::uint32_t>;
using ConstPixelView = BasicPixelView<const std::uint32_t>;

// Whether the picture exists, is an ordinary bitmap and has 32 bits per pixel.
inline bool IsPicture32(FIBITMAP* picture) {
  return IsStandardBitmap(picture) && FreeImage_GetBPP(picture) == 32;
}

// The view of a 32-bit picture (see IsPicture32).
inline PixelView ViewOf(FIBITMAP* picture) {
  return {PixelRow(picture, 0), PixelStride(picture), static_cast<int>(FreeImage_GetWidth(picture)),
          static_cast<int>(FreeImage_GetHeight(picture))};
}

inline ConstPixelView ConstViewOf(FIBITMAP* picture) {
  const PixelView v = ViewOf(picture);
  return {v.top, v.stride, v.width, v.height};
}

// Row access to the pixels of a 24-bit picture: blue, green, red byte triples. Rows are
// padded to four bytes, so the stride counts bytes.
struct RgbView {
  const BYTE* top = nullptr;  // row 0, the top row
  std::ptrdiff_t stride = 0;  // bytes from one row to the next one down
  int width = 0;
  int height = 0;

  const BYTE* Row(std::int64_t y) const { return top + y * stride; }
};

// Whether the picture exists, is an ordinary bitmap and has 24 bits per pixel.
inline bool IsPicture24(FIBITMAP* picture) {
  return IsStandardBitmap(picture) && FreeImage_GetBPP(picture) == 24;
}

// The view of a 24-bit picture (see IsPicture24).
inline RgbView RgbViewOf(FIBITMAP* picture) {
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  return {FreeImage_GetScanLine(picture, height - 1),
          -static_cast<std::ptrdiff_t>(FreeImage_GetPitch(picture)),
          static_cast<int>(FreeImage_GetWidth(picture)), height};
}
