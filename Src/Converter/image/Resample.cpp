#include "image/Resample.h"

#include <algorithm>

#include "image/Pixel.h"

namespace {

using i64 = std::int64_t;

// The window limited to the source: [x, x + w) and [y, y + h) inside 0..width, 0..height.
PixelRect ClipToSource(PixelRect r, const ConstPixelView& source) {
  const i64 x0 = std::clamp<i64>(r.x, 0, source.width);
  const i64 y0 = std::clamp<i64>(r.y, 0, source.height);
  const i64 x1 = std::clamp<i64>(r.x + std::max<i64>(r.w, 0), x0, source.width);
  const i64 y1 = std::clamp<i64>(r.y + std::max<i64>(r.h, 0), y0, source.height);
  return {x0, y0, x1 - x0, y1 - y0};
}

// The source rows one target row reads: [first, end) after clipping, and `nearest`, the
// row copied when the block is empty.
struct RowBlock {
  i64 first;
  i64 end;
  i64 nearest;
};

// Average of the block [x0, x1) x rows of `rows`, opaque. 64-bit sums: a block may hold
// more pixels than a 32-bit sum of 255s allows.
std::uint32_t AverageBlock(const ConstPixelView& source, const RowBlock& rows, i64 x0, i64 x1) {
  std::uint64_t blue = 0, green = 0, red = 0;
  for (i64 y = rows.first; y < rows.end; ++y) {
    const std::uint32_t* row = source.Row(y);
    for (i64 x = x0; x < x1; ++x) {
      const std::uint32_t p = row[x];
      blue += p & 0xFFu;
      green += (p >> 8) & 0xFFu;
      red += (p >> 16) & 0xFFu;
    }
  }
  const std::uint64_t count = static_cast<std::uint64_t>((rows.end - rows.first) * (x1 - x0));
  return kOpaque | static_cast<std::uint32_t>((red / count) << 16 | (green / count) << 8 | blue / count);
}

void FillSpan(std::uint32_t* row, i64 from, i64 to, std::uint32_t fill) {
  if (from < to) std::fill(row + from, row + to, fill);
}

}  // namespace

void ResampleInto(const ConstPixelView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill) {
  const PixelRect src = ClipToSource(sourceRect, source);
  const PixelRect& place = placeRect;
  // The placed columns and rows that lie on the canvas; empty when nothing is placed.
  const i64 colBegin = std::clamp<i64>(place.x, 0, target.width);
  const i64 colEnd = std::clamp<i64>(place.x + std::max<i64>(place.w, 0), colBegin, target.width);
  const i64 rowBegin = std::clamp<i64>(place.y, 0, target.height);
  const i64 rowEnd = std::clamp<i64>(place.y + std::max<i64>(place.h, 0), rowBegin, target.height);
  // Only computed when something is placed, so a placed size of 0 never divides.
  const double fx = colBegin < colEnd ? static_cast<double>(src.w) / static_cast<double>(place.w) : 0.0;
  const double fy = rowBegin < rowEnd ? static_cast<double>(src.h) / static_cast<double>(place.h) : 0.0;
  const i64 srcRight = src.x + src.w, srcBottom = src.y + src.h;

  for (i64 j = 0; j < target.height; ++j) {
    std::uint32_t* out = target.Row(j);
    if (j < rowBegin || j >= rowEnd) {
      FillSpan(out, 0, target.width, fill);
      continue;
    }
    const i64 y0 = static_cast<i64>(static_cast<double>(j - place.y) * fy + static_cast<double>(src.y));
    const i64 y1 = static_cast<i64>(static_cast<double>(y0) + fy);
    const RowBlock rows{y0, std::min(y1, srcBottom), std::clamp<i64>(y0, 0, source.height - 1)};
    const std::uint32_t* nearestRow = source.Row(rows.nearest);
    FillSpan(out, 0, colBegin, fill);
    for (i64 i = colBegin; i < colEnd; ++i) {
      const i64 x0 = static_cast<i64>(static_cast<double>(i - place.x) * fx + static_cast<double>(src.x));
      const i64 x1 = std::min(static_cast<i64>(static_cast<double>(x0) + fx), srcRight);
      if (x1 > x0 && rows.end > rows.first) {
        out[i] = AverageBlock(source, rows, x0, x1);
      } else {
        out[i] = nearestRow[std::clamp<i64>(x0, 0, source.width - 1)];
      }
    }
    FillSpan(out, colEnd, target.width, fill);
  }
}
