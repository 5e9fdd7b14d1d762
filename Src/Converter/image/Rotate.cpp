#include "image/Rotate.h"

#include <algorithm>

#include "image/ImageResult.h"
#include "image/PixelView.h"

namespace {

// Each loop writes the new picture row by row; the source is walked along a column (90,
// 270) or a row backwards (180). (x, y) of the source goes to: 90: (H - 1 - y, x);
// 180: (W - 1 - x, H - 1 - y); 270: (y, W - 1 - x).
void QuarterClockwise(const ConstPixelView& src, const PixelView& dst) {
  for (int r = 0; r < dst.height; ++r) {  // dst row r is source column r, read bottom-up
    std::uint32_t* out = dst.Row(r);
    const std::uint32_t* in = src.Row(src.height - 1) + r;
    for (int c = 0; c < dst.width; ++c, in -= src.stride) out[c] = *in;
  }
}

void HalfTurn(const ConstPixelView& src, const PixelView& dst) {
  for (int r = 0; r < dst.height; ++r) {
    const std::uint32_t* in = src.Row(src.height - 1 - r);
    std::reverse_copy(in, in + src.width, dst.Row(r));
  }
}

void QuarterAnticlockwise(const ConstPixelView& src, const PixelView& dst) {
  for (int r = 0; r < dst.height; ++r) {  // dst row r is source column W - 1 - r, read top-down
    std::uint32_t* out = dst.Row(r);
    const std::uint32_t* in = src.Row(0) + (src.width - 1 - r);
    for (int c = 0; c < dst.width; ++c, in += src.stride) out[c] = *in;
  }
}

}  // namespace

HRESULT RotatePicture(FIBITMAP* picture, int degrees, FIBITMAP** result) {
  *result = nullptr;
  if (!IsPicture32(picture)) return E_IMG_NOT_32BIT;
  if (degrees != 90 && degrees != 180 && degrees != 270) return S_OK;
  const ConstPixelView src = ConstViewOf(picture);
  const bool swap = degrees != 180;
  FIBITMAP* rotated = AllocatePicture(swap ? src.height : src.width, swap ? src.width : src.height, 32);
  if (!rotated) return E_OUTOFMEMORY;
  CopyResolution(picture, rotated);
  const PixelView dst = ViewOf(rotated);
  if (degrees == 90) QuarterClockwise(src, dst);
  if (degrees == 180) HalfTurn(src, dst);
  if (degrees == 270) QuarterAnticlockwise(src, dst);
  *result = rotated;
  return S_OK;
}

HRESULT Rotate(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result) {
  return RotatePicture(picture, settings.rotateDegree, result);
}
