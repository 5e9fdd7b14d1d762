#include "image/transform/ResizeGeometry.h"

#include "image/codec/PictureMemory.h"
#include "image/transform/SafeTruncate.h"

namespace {

using i64 = std::int64_t;

struct Target {
  i64 w;
  i64 h;
};

// A portrait picture (taller than wide) takes the portrait target unless both share one.
Target TargetFor(const ConversionSettings& s, i64 w, i64 h) {
  if (h > w && !s.sameForPortrait) return {s.portraitWidth, s.portraitHeight};
  return {s.width, s.height};
}

// Cuts the source to the target's proportions; the window's position along the cut axis
// is the crop ratio of the spare length.
void Crop(const ConversionSettings& s, Target t, i64 w, i64 h, ResizeGeometry& g) {
  g.placeRect.w = t.w;
  g.placeRect.h = t.h;
  if (t.w <= 0 || t.h <= 0) return;  // no canvas pixel; nothing to cut
  if (t.w * h > t.h * w) {
    i64 sh = t.h * w / t.w;
    if (sh > h) sh = h;
    g.sourceRect.h = sh;
    g.sourceRect.y = TruncToInt64(static_cast<double>(h - sh) * s.cropTopRatio);
  } else if (t.w * h < t.h * w) {
    i64 sw = t.w * h / t.h;
    if (sw > w) sw = w;
    g.sourceRect.w = sw;
    g.sourceRect.x = TruncToInt64(static_cast<double>(w - sw) * s.cropLeftRatio);
  }
}

// Fits the whole source inside the target; the spare band is placed by the crop ratio.
void Pad(const ConversionSettings& s, Target t, i64 w, i64 h, ResizeGeometry& g) {
  if (t.w * h > t.h * w) {
    i64 pw = t.h * w / h;
    if (pw > t.w) pw = t.w;
    g.placeRect.w = pw;
    g.placeRect.h = t.h;
    g.placeRect.x = TruncToInt64(static_cast<double>(t.w - pw) * s.cropLeftRatio);
  } else {
    i64 ph = t.w * h / w;
    if (ph > t.h) ph = t.h;
    g.placeRect.w = t.w;
    g.placeRect.h = ph;
    g.placeRect.y = TruncToInt64(static_cast<double>(t.h - ph) * s.cropTopRatio);
  }
}

// Fits inside the target, never enlarging.
void Fit(Target t, i64 w, i64 h, ResizeGeometry& g) {
  if (w <= t.w && h <= t.h) {
    g.placeRect.w = w;
    g.placeRect.h = h;
    return;
  }
  g.placeRect.w = t.w;
  g.placeRect.h = t.w * h / w;
  if (g.placeRect.h > t.h) {
    g.placeRect.h = t.h;
    g.placeRect.w = t.h * w / h;
  }
}

// trunc(side x ratio), at least 1. A non-finite or enormous product becomes a size the
// caller's check refuses.
i64 ScaledSide(i64 side, double ratio) {
  const double v = static_cast<double>(side) * ratio;
  if (v < 1.0) return 1;
  return TruncToInt64(v, kMaxPictureSide + 1);
}

void PlaceByMode(const ConversionSettings& s, Target t, i64 w, i64 h, ResizeGeometry& g) {
  PixelRect& p = g.placeRect;
  switch (s.resizeOption) {
    case FixedCrop: Crop(s, t, w, h, g); break;
    case FixedPad: Pad(s, t, w, h, g); break;
    case MaxSize: Fit(t, w, h, g); break;
    case FixedWidthKeepRatio:
      p.w = t.w;
      p.h = t.w * h / w;
      break;
    case FixedHeightKeepRatio:
      p.w = t.h * w / h;
      p.h = t.h;
      break;
    case ByRatio:
      p.w = ScaledSide(w, s.ratio);
      p.h = ScaledSide(h, s.ratio);
      break;
    case NoResize:
      p.w = w;
      p.h = h;
      break;
    case FixedSize:
      p.w = t.w;
      p.h = t.h;
      break;
    case FixedWidth:
      p.w = t.w;
      p.h = h;
      break;
    case FixedHeight:
      p.w = w;
      p.h = t.h;
      break;
    default: break;  // unknown mode: placed 0 x 0
  }
}

}  // namespace

ResizeGeometry ComputeResizeGeometry(const ConversionSettings& s, int width, int height) {
  const i64 w = width, h = height;
  const Target t = TargetFor(s, w, h);
  ResizeGeometry g;
  g.sourceRect = {0, 0, w, h};
  PlaceByMode(s, t, w, h, g);
  g.canvasSize =
      s.resizeOption == FixedPad ? PixelSize{t.w, t.h} : PixelSize{g.placeRect.w, g.placeRect.h};
  if (s.addPadding) {
    // paddingVert is the thickness of the left and right bars, paddingHorz of the top
    // and bottom bars.
    g.canvasSize.w += 2 * static_cast<i64>(s.paddingVert);
    g.canvasSize.h += 2 * static_cast<i64>(s.paddingHorz);
    g.placeRect.x += s.paddingVert;
    g.placeRect.y += s.paddingHorz;
  }
  return g;
}
