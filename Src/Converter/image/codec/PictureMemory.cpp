#include "image/codec/PictureMemory.h"

#include <algorithm>

#include "image/codec/FreeImageCall.h"

namespace {

bool KnownDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// A header-only bitmap is as large as the picture it describes: width, height and depth.
bool HeaderWithinBudget(FIBITMAP* header) {
  const std::int64_t w = FreeImage_GetWidth(header), h = FreeImage_GetHeight(header);
  const std::int64_t bytesPerPixel = std::max<std::int64_t>(4, (FreeImage_GetBPP(header) + 7) / 8);
  // Both factors are below 2^32, so the product cannot overflow 64 bits.
  const std::int64_t pixels = w * h;
  return pixels <= kMaxPicturePixels && pixels <= kMaxPictureBytes / bytesPerPixel;
}

// The header of page `page` of a TIFF; the document is opened only to describe that page.
bool TiffPageAllowed(const std::string& path, int page) {
  FIMULTIBITMAP* doc = CallFreeImage<FIMULTIBITMAP*>(nullptr, [&] {
    return FreeImage_OpenMultiBitmap(FIF_TIFF, path.c_str(), FALSE, TRUE, FALSE, FIF_LOAD_NOPIXELS);
  });
  if (!doc) return true;
  bool allowed = true;
  FIBITMAP* header =
      CallFreeImage<FIBITMAP*>(nullptr, [&] { return FreeImage_LockPage(doc, page); });
  if (header) {
    allowed = HeaderWithinBudget(header);
    FreeImage_UnlockPage(doc, header, FALSE);
  }
  FreeImage_CloseMultiBitmap(doc, 0);
  return allowed;
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

bool DeclaredSizeAllowed(FREE_IMAGE_FORMAT fif, const std::string& path, int page) {
  if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsNoPixels(fif)) return true;
  if (fif == FIF_TIFF) return TiffPageAllowed(path, page);
  FIBITMAP* header = CallFreeImage<FIBITMAP*>(
      nullptr, [&] { return FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS); });
  if (!header) return true;
  const bool allowed = HeaderWithinBudget(header);
  FreeImage_Unload(header);
  return allowed;
}

void CopyResolution(FIBITMAP* from, FIBITMAP* to) {
  if (!from || !to) return;
  FreeImage_SetDotsPerMeterX(to, FreeImage_GetDotsPerMeterX(from));
  FreeImage_SetDotsPerMeterY(to, FreeImage_GetDotsPerMeterY(from));
}

bool IsStandardBitmap(FIBITMAP* picture) {
  return picture && FreeImage_GetImageType(picture) == FIT_BITMAP;
}
