#include "image/transform/Rotate.h"

#include <algorithm>

#include "image/ImageResult.h"
#include "image/PixelView.h"

namespace {

// (x, y) of the source goes to: 90: (H - 1 - y, x); 180: (W - 1 - x, H - 1 - y);
// 270: (y, W - 1 - x). The quarter turns work on bands of kBand new rows, so that each
// source row is read kBand pixels at a time and the rows being written stay in cache.
constexpr int kBand = 64;

void QuarterClockwise(const ConstPixelView& src, const PixelView& dst) {
  for (int r0 = 0; r0 < dst.height; r0 += kBand) {
    const int r1 = std::min(r0 + kBand, dst.height);
    for (int c = 0; c < dst.width; ++c) {
      const std::uint32_t* in =
          src.Row(src.height - 1 - c);  // new column c is source row H - 1 - c
      for (int r = r0; r < r1; ++r) dst.Row(r)[c] = in[r];
    }
  }
}

void HalfTurn(const ConstPixelView& src, const PixelView& dst) {
  for (int r = 0; r < dst.height; ++r) {
    const std::uint32_t* in = src.Row(src.height - 1 - r);
    std::reverse_copy(in, in + src.width, dst.Row(r));
  }
}

void QuarterAnticlockwise(const ConstPixelView& src, const PixelView& dst) {
  for (int r0 = 0; r0 < dst.height; r0 += kBand) {
    const int r1 = std::min(r0 + kBand, dst.height);
    for (int c = 0; c < dst.width; ++c) {
      const std::uint32_t* in = src.Row(c);  // new column c is source row c
      for (int r = r0; r < r1; ++r) dst.Row(r)[c] = in[src.width - 1 - r];
    }
  }
}

}  // namespace

HRESULT RotatePicture(FIBITMAP* picture, int degrees, FIBITMAP** result) {
  *result = nullptr;
  if (!IsPicture32(picture)) return E_IMG_NOT_32BIT;
  if (degrees != 90 && degrees != 180 && degrees != 270) return S_OK;
  const ConstPixelView src = ConstViewOf(picture);
  const bool swap = degrees != 180;
  FIBITMAP* rotated =
      AllocatePicture(swap ? src.height : src.width, swap ? src.width : src.height, 32);
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
