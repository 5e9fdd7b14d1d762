// The geometry of the resize step: which part of the source is used, where it lands and
// how large the new picture is, for each of the ten resize modes, the portrait target and
// the frame. Pure arithmetic in 64 bits, so that no product of sizes can overflow; the
// caller checks the canvas before allocating.
#pragma once

#include <cstdint>

#include "settings/ConversionSettings.h"

// x to the right, y downward from the top-left corner; w and h in pixels.
struct PixelRect {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t w = 0;
  std::int64_t h = 0;
  bool operator==(const PixelRect&) const = default;
};

struct PixelSize {
  std::int64_t w = 0;
  std::int64_t h = 0;
  bool operator==(const PixelSize&) const = default;
};

struct ResizeGeometry {
  PixelRect sourceRect;  // the part of the source that is used
  PixelRect placeRect;   // where that part lands on the new picture
  PixelSize canvasSize;  // the new picture
};

// The geometry for a width x height source (both at least 1). An unknown mode places
// 0 x 0; a canvas of no pixels or of more than the allowed size is left for the caller
// to refuse.
ResizeGeometry ComputeResizeGeometry(const ConversionSettings& settings, int width, int height);
