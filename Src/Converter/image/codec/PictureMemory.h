// Allocation and row access for FreeImage bitmaps, and the memory budget of one picture.
// Every picture the program makes is allocated here, after a size check in 64-bit
// arithmetic, so that a hostile or absurd size gives a failure code instead of an
// overflowed or enormous allocation. Files decoded by FreeImage are judged by the size
// their header declares before any pixel memory is taken.
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The most memory one picture may take, counted as 32-bit pixels: 2 GiB.
constexpr std::int64_t kMaxPictureBytes = std::int64_t{1} << 31;
// The largest picture the program makes, in pixels (kMaxPictureBytes at 4 bytes each).
constexpr std::int64_t kMaxPicturePixels = kMaxPictureBytes / 4;
// The largest width or height of a picture the program makes: the widest row whose bit
// count FreeImage can hold in 32 bits at 32 bits per pixel. Formats with a smaller limit
// (GIF: 65,535) refuse larger pictures when they are written; otherwise the pixel budget
// alone limits a picture, so a long thin strip is allowed.
constexpr std::int64_t kMaxPictureSide = (std::int64_t{1} << 27) - 1;

// Whether a width x height picture may be allocated.
bool PictureSizeAllowed(std::int64_t width, std::int64_t height);
// A new bitmap (all masks 0), or nullptr when the size is not allowed or the memory cannot
// be had; callers report nullptr as E_OUTOFMEMORY.
FIBITMAP* AllocatePicture(std::int64_t width, std::int64_t height, int bpp);

// Whether the picture that FreeImage would decode from `path` (page `page` of a TIFF,
// else the file's one picture) fits the budget, judged from its header alone: at most
// kMaxPicturePixels pixels and kMaxPictureBytes bytes at its own depth. Formats whose
// header FreeImage cannot read alone pass here and are decoded as usual; a header that
// cannot be read passes too, and the decode then reports the fault.
bool DeclaredSizeAllowed(FREE_IMAGE_FORMAT fif, const std::string& path, int page);

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
