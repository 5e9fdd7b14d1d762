#include "image/transform/Shadow.h"

#include <algorithm>
#include <cstring>

#include "image/transform/BlendWeight.h"
#include "image/ImageResult.h"
#include "image/Pixel.h"
#include "image/PixelView.h"
#include "image/transform/ShadowFalloff.h"
#include "image/transform/ShadowLayout.h"

namespace {

using i64 = std::int64_t;

// Distance from the core along one axis: 0 inside [lo, hi), else counted so that the
// first position outside is 1. Also right for an inverted core.
i64 DistanceToCore(i64 v, i64 lo, i64 hi) {
  if (lo <= v && v < hi) return 0;
  return v < lo ? lo - v : v - hi + 1;
}

// Paints the shadow and background of one canvas row; every value it makes is opaque.
class ShadowPainter {
 public:
  ShadowPainter(const ConversionSettings& s, const ShadowLayout& layout)
      : l_(layout),
        back_(ToPixel(s.shadowBackColor) | kOpaque),
        shade_(ToPixel(s.shadowColor)),
        coreColor_(BlendColor(shade_, back_, BlendWeight(s.shadowOpaque)) | kOpaque),
        opaque_(BlendWeight(s.shadowOpaque)),
        blur_(s.shadowBlur) {}

  // Canvas columns [from, to) of the row at picture row y.
  void Paint(std::uint32_t* out, i64 from, i64 to, i64 y) const {
    const bool inCoreRow = l_.core.HoldsRow(y);
    const bool inOuterRow = l_.outer.HoldsRow(y) && blur_ >= 0;
    const i64 ey = DistanceToCore(y, l_.core.top, l_.core.bottom);
    for (i64 col = from; col < to; ++col) {
      const i64 x = l_.canvas.left + col;
      if (inCoreRow && l_.core.HoldsColumn(x)) {
        out[col] = coreColor_;
      } else if (inOuterRow && l_.outer.HoldsColumn(x)) {
        const i64 ex = DistanceToCore(x, l_.core.left, l_.core.right);
        out[col] = BlendColor(shade_, back_, ShadowFalloff(ex, ey, blur_) * opaque_) | kOpaque;
      } else {
        out[col] = back_;
      }
    }
  }

 private:
  const ShadowLayout& l_;
  std::uint32_t back_;
  std::uint32_t shade_;
  std::uint32_t coreColor_;
  double opaque_;
  int blur_;
};

}  // namespace

HRESULT AddShadow(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result) {
  *result = nullptr;
  if (!IsPicture32(picture)) return E_IMG_NOT_32BIT;
  const ConstPixelView src = ConstViewOf(picture);
  const ShadowLayout layout = ComputeShadowLayout(settings, src.width, src.height);
  FIBITMAP* made = AllocatePicture(layout.canvas.Width(), layout.canvas.Height(), 32);
  if (!made) return E_OUTOFMEMORY;
  CopyResolution(picture, made);
  const PixelView dst = ViewOf(made);
  const ShadowPainter painter(settings, layout);
  // The picture's columns on the canvas: it lies inside, since K holds P.
  const i64 pictureLeft = -layout.canvas.left;
  const i64 pictureRight = pictureLeft + src.width;
  for (int row = 0; row < dst.height; ++row) {
    const i64 y = layout.canvas.top + row;
    std::uint32_t* out = dst.Row(row);
    if (!layout.picture.HoldsRow(y)) {
      painter.Paint(out, 0, dst.width, y);
      continue;
    }
    painter.Paint(out, 0, pictureLeft, y);
    std::memcpy(out + pictureLeft, src.Row(y), static_cast<std::size_t>(src.width) * 4);
    painter.Paint(out, pictureRight, dst.width, y);
  }
  *result = made;
  return S_OK;
}
