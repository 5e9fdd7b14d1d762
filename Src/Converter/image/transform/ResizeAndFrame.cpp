#include "image/transform/ResizeAndFrame.h"

#include "image/ImageResult.h"
#include "image/Pixel.h"
#include "image/PixelView.h"
#include "image/resample/LanczosResample.h"
#include "image/resample/Resample.h"
#include "image/transform/ResizeGeometry.h"

HRESULT ResizeAndFrame(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result) {
  *result = nullptr;
  const bool rgb = IsPicture24(picture);
  if (!rgb && !IsPicture32(picture)) return E_IMG_NOT_32BIT;
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  const ResizeGeometry g = ComputeResizeGeometry(settings, width, height);
  if (g.canvasSize.w <= 0 || g.canvasSize.h <= 0) return E_IMG_TOO_SMALL;
  FIBITMAP* canvas = AllocatePicture(g.canvasSize.w, g.canvasSize.h, 32);
  if (!canvas) return E_OUTOFMEMORY;
  CopyResolution(picture, canvas);
  const std::uint32_t fill = ToPixel(settings.paddingColor) | kOpaque;
  // Any filter value but Lanczos (also one read from a damaged store) means the box.
  const auto resample = [&](const auto& source) {
    if (settings.filter == LanczosFilter) {
      LanczosResampleInto(source, g.sourceRect, ViewOf(canvas), g.placeRect, fill);
    } else {
      ResampleInto(source, g.sourceRect, ViewOf(canvas), g.placeRect, fill);
    }
  };
  if (rgb) {
    resample(RgbViewOf(picture));
  } else {
    resample(ConstViewOf(picture));
  }
  *result = canvas;
  return S_OK;
}
