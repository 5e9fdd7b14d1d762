// Allocation and row access for FreeImage bitmaps, and the memory budget of one picture.
// Every picture the program makes is allocated here, after a size check in 64-bit
// arithmetic, so that a hostile or absurd size gives a failure code instead of an
// overflowed or enormous allocation. Files are judged by the peak their declared size
// leads to before any pixel memory is taken (image/header/DeclaredPicture.h).
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The most memory the conversion of one picture may take (see PeakBytesFor): 2 GiB.
constexpr std::int64_t kMaxPictureBytes = std::int64_t{1} << 31;
// The largest picture the program makes, in pixels (kMaxPictureBytes at 4 bytes each).
// A step that reads one picture and makes another can hold two of them.
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

// The most memory converting one picture of `type` (an image type: a FreeImage format or
// ImageTypeOwnGif) declared as width x height at `bpp` bits per pixel takes at its peak,
// from the decode through the steps that work at the picture's size. Measured as the peak
// resident memory of whole conversions (Brindlemark.exe -threads:1, one picture of 9 and
// of 36 megapixels, the growth between the two divided by the pixels added):
//  - JPEG, TIFF and PSD (8-bit RGB): 3.0 bytes a pixel to decode and resample, the 24-bit
//    picture alone (0.75 of the 32-bit count); 7.0 to 8.0 when a step makes a new 32-bit
//    picture beside the old one (32-bit output, greyscale, rotation, shadow): 2.0.
//  - GIF: 5.1 bytes a pixel (the index raster beside the 32-bit picture), 7 with a
//    24-bit raster of the screen's size (the 29-byte file with a 23000 x 23000 screen:
//    1.75); 8.1 in the steps; and while frames follow, the canvas composed so far (1 or
//    3 bytes) and the file's bytes (up to 1.5 for LZW codes of 12 bits) are kept.
//  - JPEG 2000: 15 bytes a pixel for 8-bit RGB (the decoder keeps 32-bit samples); WebP: 6.
// Hence, per pixel: the largest of what the decoder holds, the decoded picture beside its
// 32-bit copy, and two 32-bit pictures; GIF adds what it keeps. Saturates instead of
// overflowing; 0 for an empty size.
std::int64_t PeakBytesFor(int type, std::int64_t width, std::int64_t height, int bpp);

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
