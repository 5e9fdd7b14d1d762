#include "image/transform/Resample.h"

#include <algorithm>

#include "image/Pixel.h"

namespace {

using i64 = std::int64_t;

// The window limited to the source: [x, x + w) and [y, y + h) inside 0..width, 0..height.
template <typename View>
PixelRect ClipToSource(PixelRect r, const View& source) {
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

// Per-channel sums of the pixels [x0, x1) of one row, for a 32-bit and a 24-bit row; the
// fourth bytes are summed too, which tells whether their alpha is real.
struct ChannelSums {
  std::uint64_t blue = 0, green = 0, red = 0, fourth = 0;
};

inline void AddRow(const std::uint32_t* row, i64 x0, i64 x1, ChannelSums& s) {
  for (i64 x = x0; x < x1; ++x) {
    const std::uint32_t p = row[x];
    s.blue += p & 0xFFu;
    s.green += (p >> 8) & 0xFFu;
    s.red += (p >> 16) & 0xFFu;
    s.fourth += p >> 24;
  }
}

// The fourth bytes of the averaged pixels seen so far. Pictures the program makes, and
// files without alpha, have 0xFF in every pixel, some files without alpha 0 in every pixel:
// only a mix of values is real alpha. A block's sum tells whether it holds a byte other
// than 0xFF (sum below 255 per pixel) and one other than 0 (sum above 0).
struct AlphaSeen {
  bool notAllOpaque = false, notAllZero = false;
  bool Real() const { return notAllOpaque && notAllZero; }
};

inline void AddRow(const BYTE* row, i64 x0, i64 x1, ChannelSums& s) {
  for (const BYTE *p = row + 3 * x0, *end = row + 3 * x1; p < end; p += 3) {
    s.blue += p[0];
    s.green += p[1];
    s.red += p[2];
  }
}

// The pixel at column x copied whole; a 24-bit pixel is opaque, as its 32-bit copy would be.
inline std::uint32_t WholePixel(const std::uint32_t* row, i64 x) { return row[x]; }
inline std::uint32_t WholePixel(const BYTE* row, i64 x) {
  const BYTE* p = row + 3 * x;
  return kOpaque | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 |
         p[0];
}

// Average of the block [x0, x1) x rows of `rows`, opaque. 64-bit sums: a block may hold
// more pixels than a 32-bit sum of 255s allows.
template <typename View>
std::uint32_t AverageBlock(const View& source, const RowBlock& rows, i64 x0, i64 x1,
                           AlphaSeen& seen) {
  ChannelSums s;
  for (i64 y = rows.first; y < rows.end; ++y) AddRow(source.Row(y), x0, x1, s);
  const std::uint64_t count = static_cast<std::uint64_t>((rows.end - rows.first) * (x1 - x0));
  seen.notAllOpaque |= s.fourth != 255 * count;
  seen.notAllZero |= s.fourth != 0;
  return kOpaque | static_cast<std::uint32_t>((s.red / count) << 16 | (s.green / count) << 8 |
                                              s.blue / count);
}

// Sums of a block of a source with real alpha: colours weighted by their alpha, the alpha
// itself, and the plain colours for a block that is wholly transparent.
struct AlphaSums {
  std::uint64_t blue = 0, green = 0, red = 0, alpha = 0;
  ChannelSums plain;
};

inline void AddRow(const std::uint32_t* row, i64 x0, i64 x1, AlphaSums& s) {
  for (i64 x = x0; x < x1; ++x) {
    const std::uint32_t p = row[x];
    const std::uint64_t a = p >> 24;
    s.blue += (p & 0xFFu) * a;
    s.green += ((p >> 8) & 0xFFu) * a;
    s.red += ((p >> 16) & 0xFFu) * a;
    s.alpha += a;
  }
  AddRow(row, x0, x1, s.plain);
}

// Average of the block with colours weighted by alpha, so that transparent pixels do not
// darken edges; the fourth byte is the mean alpha. A wholly transparent block keeps the
// plain mean of its colours.
std::uint32_t AverageBlockByAlpha(const ConstPixelView& source, const RowBlock& rows, i64 x0,
                                  i64 x1) {
  AlphaSums s;
  for (i64 y = rows.first; y < rows.end; ++y) AddRow(source.Row(y), x0, x1, s);
  const std::uint64_t count = static_cast<std::uint64_t>((rows.end - rows.first) * (x1 - x0));
  const std::uint32_t alpha = static_cast<std::uint32_t>(s.alpha / count) << 24;
  if (s.alpha == 0)
    return static_cast<std::uint32_t>((s.plain.red / count) << 16 | (s.plain.green / count) << 8 |
                                      s.plain.blue / count);
  return alpha | static_cast<std::uint32_t>((s.red / s.alpha) << 16 | (s.green / s.alpha) << 8 |
                                            s.blue / s.alpha);
}

void FillSpan(std::uint32_t* row, i64 from, i64 to, std::uint32_t fill) {
  if (from < to) std::fill(row + from, row + to, fill);
}

// How target pixels map to the source window, fixed for the whole resample.
struct Mapping {
  PixelRect src;    // the window, inside the source
  PixelRect place;  // the placed rectangle, possibly reaching past the canvas
  // The placed columns and rows that lie on the canvas; empty when nothing is placed.
  i64 colBegin, colEnd, rowBegin, rowEnd;
  double fx, fy;  // window pixels per placed pixel
};

Mapping MappingFor(const PixelRect& src, const PixelRect& place, const PixelView& target) {
  Mapping m{src, place, 0, 0, 0, 0, 0.0, 0.0};
  m.colBegin = std::clamp<i64>(place.x, 0, target.width);
  m.colEnd = std::clamp<i64>(place.x + std::max<i64>(place.w, 0), m.colBegin, target.width);
  m.rowBegin = std::clamp<i64>(place.y, 0, target.height);
  m.rowEnd = std::clamp<i64>(place.y + std::max<i64>(place.h, 0), m.rowBegin, target.height);
  // Only computed when something is placed, so a placed size of 0 never divides.
  if (m.colBegin < m.colEnd) m.fx = static_cast<double>(src.w) / static_cast<double>(place.w);
  if (m.rowBegin < m.rowEnd) m.fy = static_cast<double>(src.h) / static_cast<double>(place.h);
  return m;
}

// The placed columns of target row j (a placed row). x0, y0 start each block at the
// truncated mapped position; the block spans trunc(x0 + fx) - x0 columns and likewise rows,
// cut at the window's right and bottom edges.
template <bool ByAlpha, typename View>
void ResamplePlacedRow(const View& source, const Mapping& m, i64 j, std::uint32_t* out,
                       AlphaSeen& seen) {
  const i64 srcRight = m.src.x + m.src.w, srcBottom = m.src.y + m.src.h;
  const i64 y0 =
      static_cast<i64>(static_cast<double>(j - m.place.y) * m.fy + static_cast<double>(m.src.y));
  const i64 y1 = static_cast<i64>(static_cast<double>(y0) + m.fy);
  const RowBlock rows{y0, std::min(y1, srcBottom), std::clamp<i64>(y0, 0, source.height - 1)};
  const auto* nearestRow = source.Row(rows.nearest);
  for (i64 i = m.colBegin; i < m.colEnd; ++i) {
    const i64 x0 =
        static_cast<i64>(static_cast<double>(i - m.place.x) * m.fx + static_cast<double>(m.src.x));
    const i64 x1 = std::min(static_cast<i64>(static_cast<double>(x0) + m.fx), srcRight);
    if (x1 > x0 && rows.end > rows.first) {
      if constexpr (ByAlpha) {
        out[i] = AverageBlockByAlpha(source, rows, x0, x1);
      } else {
        out[i] = AverageBlock(source, rows, x0, x1, seen);
      }
    } else {
      out[i] = WholePixel(nearestRow, std::clamp<i64>(x0, 0, source.width - 1));
    }
  }
}

// Fills the target row by row. The plain pass (ByAlpha false) stops and returns false as
// soon as the pixels it averaged show real alpha; the caller then runs the weighted pass.
template <bool ByAlpha, typename View>
bool ResampleRows(const View& source, const Mapping& m, const PixelView& target,
                  std::uint32_t fill) {
  AlphaSeen seen;
  for (i64 j = 0; j < target.height; ++j) {
    std::uint32_t* out = target.Row(j);
    if (j < m.rowBegin || j >= m.rowEnd) {
      FillSpan(out, 0, target.width, fill);
      continue;
    }
    FillSpan(out, 0, m.colBegin, fill);
    ResamplePlacedRow<ByAlpha>(source, m, j, out, seen);
    FillSpan(out, m.colEnd, target.width, fill);
    if (!ByAlpha && seen.Real()) return false;
  }
  return true;
}

}  // namespace

void ResampleInto(const ConstPixelView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill) {
  const Mapping m = MappingFor(ClipToSource(sourceRect, source), placeRect, target);
  // The plain pass notes the alpha of what it averages; on the first row that shows real
  // alpha the picture is resampled once more, weighted. Opaque pictures pay one AND and OR
  // per averaged pixel; pictures with alpha usually show it in their first rows.
  if (!ResampleRows<false>(source, m, target, fill)) ResampleRows<true>(source, m, target, fill);
}

void ResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill) {
  ResampleRows<false>(source, MappingFor(ClipToSource(sourceRect, source), placeRect, target),
                      target, fill);
}
