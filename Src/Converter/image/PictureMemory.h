// Allocation and row access for FreeImage bitmaps. Every picture the program makes is
// allocated here, after a size check in 64-bit arithmetic, so that a hostile or absurd
// size gives a failure code instead of an overflowed or enormous allocation.
#pragma once

#include <FreeImage.h>

#include <cstdint>

// The largest picture the program makes, in pixels (2 GiB at 32 bits per pixel).
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 29;
// The largest width or height of a picture the program makes.
constexpr std::int64_t kMaxPictureSide = std::int64_t{1} << 20;

// Whether a width x height picture may be allocated.
bool PictureSizeAllowed(std::int64_t width, std::int64_t height);
// A new bitmap (all masks 0), or nullptr when the size is not allowed or allocation fails.
FIBITMAP* AllocatePicture(std::int64_t width, std::int64_t height, int bpp);
// Copies the horizontal and vertical pixels per metre of one picture to another.
void CopyResolution(FIBITMAP* from, FIBITMAP* to);
// Whether FreeImage holds the picture as an ordinary bitmap (not float, 16-bit grey, ...).
bool IsStandardBitmap(FIBITMAP* picture);

// The pixels of the row that is y rows below the top of a 32-bit picture. FreeImage keeps
// rows bottom-up: that row is memory row height - 1 - y.
inline std::uint32_t* PixelRow(FIBITMAP* picture, int y) {
  const int memoryRow = static_cast<int>(FreeImage_GetHeight(picture)) - 1 - y;
  return reinterpret_cast<std::uint32_t*>(FreeImage_GetScanLine(picture, memoryRow));
}
// Distance in 32-bit pixels from one top-down row to the next (negative: rows go bottom-up).
inline std::ptrdiff_t PixelStride(FIBITMAP* picture) {
  return -static_cast<std::ptrdiff_t>(FreeImage_GetPitch(picture) / 4);
}
