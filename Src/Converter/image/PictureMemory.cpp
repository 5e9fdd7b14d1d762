#include "image/PictureMemory.h"

#include "image/FreeImageCall.h"

bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

FIBITMAP* AllocatePicture(std::int64_t width, std::int64_t height, int bpp) {
  if (!PictureSizeAllowed(width, height)) return nullptr;
  return CallFreeImage<FIBITMAP*>(nullptr, [&] {
    return FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), bpp, 0, 0, 0);
  });
}

void CopyResolution(FIBITMAP* from, FIBITMAP* to) {
  if (!from || !to) return;
  FreeImage_SetDotsPerMeterX(to, FreeImage_GetDotsPerMeterX(from));
  FreeImage_SetDotsPerMeterY(to, FreeImage_GetDotsPerMeterY(from));
}

bool IsStandardBitmap(FIBITMAP* picture) {
  return picture && FreeImage_GetImageType(picture) == FIT_BITMAP;
}
