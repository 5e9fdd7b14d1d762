#include "image/ResizeAndFrame.h"

#include "image/ImageResult.h"
#include "image/Pixel.h"
#include "image/PixelView.h"
#include "image/Resample.h"
#include "image/ResizeGeometry.h"

HRESULT ResizeAndFrame(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result) {
  *result = nullptr;
  if (!IsPicture32(picture)) return E_IMG_NOT_32BIT;
  const ConstPixelView source = ConstViewOf(picture);
  const ResizeGeometry g = ComputeResizeGeometry(settings, source.width, source.height);
  if (g.canvasSize.w <= 0 || g.canvasSize.h <= 0) return E_IMG_TOO_SMALL;
  FIBITMAP* canvas = AllocatePicture(g.canvasSize.w, g.canvasSize.h, 32);
  if (!canvas) return E_OUTOFMEMORY;
  CopyResolution(picture, canvas);
  ResampleInto(source, g.sourceRect, ViewOf(canvas), g.placeRect, ToPixel(settings.paddingColor) | kOpaque);
  *result = canvas;
  return S_OK;
}
