#include "image/codec/PictureMemory.h"

#include <algorithm>
#include <limits>

#include "image/codec/FreeImageCall.h"
#include "image/codec/ImageType.h"

namespace {

bool KnownDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

}  // namespace

bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  // The side test comes first, so the product below stays far from overflow.
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

FIBITMAP* AllocatePicture(std::int64_t width, std::int64_t height, int bpp) {
  if (!KnownDepth(bpp) || !PictureSizeAllowed(width, height)) return nullptr;
  return CallFreeImage<FIBITMAP*>(nullptr, [&] {
    return FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), bpp, 0, 0, 0);
  });
}

std::int64_t PeakBytesFor(int type, std::int64_t width, std::int64_t height, int bpp) {
  if (width <= 0 || height <= 0) return 0;
  const std::int64_t stored = std::max<std::int64_t>(1, (std::int64_t{bpp} + 7) / 8);
  constexpr std::int64_t kTwoPictures = 2 * 4;
  std::int64_t perPixel = 0;
  if (type == ImageTypeOwnGif) {
    // Kept between frames: the canvas (1 byte, 3 for a screen raster) and the file's
    // bytes (LZW codes of at most 12 bits a pixel, with their sub-block counts).
    constexpr std::int64_t kFileBytes = 2;
    perPixel = kTwoPictures + stored + kFileBytes;
  } else {
    std::int64_t decoder = stored;
    if (type == FIF_J2K || type == FIF_JP2) decoder = 5 * stored;
    if (type == FIF_WEBP) decoder = 2 * stored;
    perPixel = std::max({decoder, stored + 4, kTwoPictures});
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  if (width > kMax / perPixel / height) return kMax;
  return width * height * perPixel;
}

void CopyResolution(FIBITMAP* from, FIBITMAP* to) {
  if (!from || !to) return;
  FreeImage_SetDotsPerMeterX(to, FreeImage_GetDotsPerMeterX(from));
  FreeImage_SetDotsPerMeterY(to, FreeImage_GetDotsPerMeterY(from));
}

bool IsStandardBitmap(FIBITMAP* picture) {
  return picture && FreeImage_GetImageType(picture) == FIT_BITMAP;
}
