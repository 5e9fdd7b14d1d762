#include "image/transform/Overlay.h"

#include <algorithm>

#include "image/transform/BlendWeight.h"
#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/Pixel.h"
#include "image/PixelView.h"
#include "image/transform/SafeTruncate.h"

namespace {

using i64 = std::int64_t;

// Where the overlay's top-left corner lies along one axis: a fraction of the free length.
i64 AlignedOffset(i64 pictureSide, i64 overlaySide, double ratio) {
  return TruncToInt64(static_cast<double>(pictureSide - overlaySide) * ratio);
}

}  // namespace

HRESULT ApplyOverlay(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result) {
  *result = nullptr;
  FIBITMAP* logo = settings.overlayImage ? settings.overlayImage->Picture() : nullptr;
  if (!IsPicture32(picture) || !IsPicture32(logo)) return E_IMG_NOT_32BIT;
  const PixelView dst = ViewOf(picture);
  const ConstPixelView over = ConstViewOf(logo);
  const i64 ox = AlignedOffset(dst.width, over.width, settings.overlayHAlignRatio);
  const i64 oy = AlignedOffset(dst.height, over.height, settings.overlayVAlignRatio);
  const i64 x0 = std::max<i64>(ox, 0), x1 = std::min<i64>(ox + over.width, dst.width);
  const i64 y0 = std::max<i64>(oy, 0), y1 = std::min<i64>(oy + over.height, dst.height);
  const std::uint32_t key = settings.overlayTransparentClr;
  const double t = BlendWeight(settings.overlayTransparency);
  for (i64 y = y0; y < y1; ++y) {
    std::uint32_t* out = dst.Row(y);
    const std::uint32_t* in = over.Row(y - oy);
    for (i64 x = x0; x < x1; ++x) {
      const std::uint32_t q = in[x - ox];
      if (q != key) out[x] = BlendColor(out[x], q, t) | kOpaque;
    }
  }
  return S_OK;
}
