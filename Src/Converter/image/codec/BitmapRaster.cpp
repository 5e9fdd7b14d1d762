#include "image/codec/BitmapRaster.h"

#include <cmath>
#include <cstring>

#include "image/codec/PictureMemory.h"

namespace {

// Pixels per metre to dots per inch, rounded half up.
int DotsPerInch(unsigned perMetre) {
  return static_cast<int>(std::floor(static_cast<double>(perMetre) * 0.0254 + 0.5));
}

}  // namespace

bool RasterFromBitmap(FIBITMAP* picture, GifRaster& raster) {
  if (!picture || !IsStandardBitmap(picture)) return false;
  const int bpp = static_cast<int>(FreeImage_GetBPP(picture));
  if (bpp != 1 && bpp != 4 && bpp != 8) return false;
  const std::int64_t width = FreeImage_GetWidth(picture);
  const std::int64_t height = FreeImage_GetHeight(picture);
  if (!raster.Create(width, height, bpp, kMaxPicturePixels)) return false;
  const RGBQUAD* palette = FreeImage_GetPalette(picture);
  const unsigned colours = palette ? FreeImage_GetColorsUsed(picture) : 0;
  for (unsigned i = 0; i < colours && i < (1u << bpp); ++i) {
    const RGBQUAD& q = palette[i];
    raster.palette[i] = static_cast<std::uint32_t>(q.rgbBlue) |
                        (static_cast<std::uint32_t>(q.rgbGreen) << 8) |
                        (static_cast<std::uint32_t>(q.rgbRed) << 16) |
                        (static_cast<std::uint32_t>(q.rgbReserved) << 24);
  }
  // FreeImage pads rows to 4 bytes too, so each stored row copies over whole.
  const std::size_t rowBytes = raster.Stride();
  for (int r = 0; r < raster.Height(); ++r)
    std::memcpy(raster.Row(r), FreeImage_GetScanLine(picture, r), rowBytes);
  raster.dpiX = DotsPerInch(FreeImage_GetDotsPerMeterX(picture));
  raster.dpiY = DotsPerInch(FreeImage_GetDotsPerMeterY(picture));
  return true;
}
