// What every resample filter shares: the source window clipped to the picture, the part
// of the placed rectangle that lies on the canvas, and the fill pixels around it. A filter
// then writes only the placed pixels on the canvas.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/PixelView.h"
#include "image/transform/ResizeGeometry.h"

struct ResampleMapping {
  PixelRect src;    // the window, inside the source (possibly empty)
  PixelRect place;  // the placed rectangle, possibly reaching past the canvas
  // The canvas columns and rows of placed pixels; empty when nothing is placed.
  std::int64_t colBegin = 0, colEnd = 0, rowBegin = 0, rowEnd = 0;
};

// The window limited to a width x height source, and the placed part of the canvas.
inline ResampleMapping MappingFor(PixelRect window, int width, int height, PixelRect place,
                                  const PixelView& target) {
  using i64 = std::int64_t;
  ResampleMapping m;
  const i64 x0 = std::clamp<i64>(window.x, 0, width);
  const i64 y0 = std::clamp<i64>(window.y, 0, height);
  const i64 x1 = std::clamp<i64>(window.x + std::max<i64>(window.w, 0), x0, width);
  const i64 y1 = std::clamp<i64>(window.y + std::max<i64>(window.h, 0), y0, height);
  m.src = {x0, y0, x1 - x0, y1 - y0};
  m.place = place;
  m.colBegin = std::clamp<i64>(place.x, 0, target.width);
  m.colEnd = std::clamp<i64>(place.x + std::max<i64>(place.w, 0), m.colBegin, target.width);
  m.rowBegin = std::clamp<i64>(place.y, 0, target.height);
  m.rowEnd = std::clamp<i64>(place.y + std::max<i64>(place.h, 0), m.rowBegin, target.height);
  return m;
}

// Writes `fill` into every canvas pixel outside the placed columns and rows.
inline void FillAroundPlaced(const PixelView& target, const ResampleMapping& m,
                             std::uint32_t fill) {
  for (std::int64_t j = 0; j < target.height; ++j) {
    std::uint32_t* row = target.Row(j);
    if (j < m.rowBegin || j >= m.rowEnd) {
      std::fill(row, row + target.width, fill);
      continue;
    }
    std::fill(row, row + m.colBegin, fill);
    std::fill(row + m.colEnd, row + target.width, fill);
  }
}
