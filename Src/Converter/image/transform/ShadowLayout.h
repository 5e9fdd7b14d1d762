// Where the drop shadow's parts lie, in the picture's own coordinates (the picture covers
// (0, 0, W, H)): the light comes from shadowAngle degrees counter-clockwise from the
// right, and the shadow falls shadowDistance pixels away on the opposite side.
#pragma once

#include <cstdint>

#include "image/transform/WinRect.h"
#include "settings/ConversionSettings.h"

struct ShadowLayout {
  std::int64_t dx = 0;  // offset of the shadow, y growing downward
  std::int64_t dy = 0;
  WinRect picture;  // P
  WinRect core;     // C: P moved by (dx, dy) and shrunk by (3 x blur) div 4; may be inverted
  WinRect outer;    // O: C grown by the blur; the soft edge lies between C and O
  WinRect canvas;   // K: the union of O and P grown by 2; the new picture's extent
};

ShadowLayout ComputeShadowLayout(const ConversionSettings& settings, int width, int height);
