#include "image/resample/LanczosResample.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "image/Pixel.h"
#include "image/resample/BandSums.h"
#include "image/resample/FilterPasses.h"
#include "image/resample/FilterTaps.h"
#include "image/resample/Resample.h"
#include "image/resample/ResampleMapping.h"

namespace {

using i64 = std::int64_t;

// Along an axis reduced by a factor f of at least this, the window is first shrunk by the
// whole factor floor(f / kShrinkGap), so the Lanczos filter itself reduces by kShrinkGap to
// 2 x kShrinkGap: a smaller gap is faster, a larger one closer to the filter applied to
// the whole source.
constexpr double kShrinkGap = 2.5;

constexpr int kChannels = 4;  // blue, green, red, alpha

// One axis: the window, its whole-factor pre-shrink, and the Lanczos taps over the shrunk
// pixels for the placed pixels on the canvas.
struct Axis {
  i64 windowStart = 0, windowLength = 0;
  i64 shrink = 1;
  i64 needBegin = 0, needEnd = 0;  // the shrunk pixels the Lanczos taps read
  Taps<std::uint32_t> triangle;    // window pixels to the needed shrunk pixels
  FilterTaps lanczos;              // shrunk pixels to placed pixels
};

Axis AxisFor(i64 windowStart, i64 windowLength, i64 placed, i64 placedBegin, i64 placedEnd) {
  Axis a;
  a.windowStart = windowStart;
  a.windowLength = windowLength;
  const double factor = static_cast<double>(windowLength) / static_cast<double>(placed);
  a.shrink = std::max<i64>(1, static_cast<i64>(factor / kShrinkGap));
  const i64 shrunk = (windowLength + a.shrink - 1) / a.shrink;
  a.lanczos = LanczosTaps(shrunk, factor / static_cast<double>(a.shrink), placedBegin, placedEnd);
  a.needBegin = shrunk;
  for (std::size_t k = 0; k < a.lanczos.first.size(); ++k) {
    a.needBegin = std::min(a.needBegin, a.lanczos.first[k]);
    a.needEnd = std::max(a.needEnd, a.lanczos.first[k] + a.lanczos.count[k]);
  }
  a.triangle = TriangleShrinkTaps(windowLength, a.shrink, a.needBegin, a.needEnd);
  return a;
}

// Whether the window's fourth bytes are real alpha: neither all 0xFF (opaque) nor all 0
// (files that store no alpha).
bool HasRealAlpha(const ConstPixelView& source, const PixelRect& w) {
  bool notOpaque = false, notZero = false;
  for (i64 y = w.y; y < w.y + w.h; ++y) {
    const std::uint32_t* row = source.Row(y);
    std::uint32_t all = ~0u, any = 0;
    for (i64 x = w.x; x < w.x + w.w; ++x) {
      all &= row[x];
      any |= row[x];
    }
    notOpaque |= (all >> 24) != 0xFFu;
    notZero |= (any >> 24) != 0;
    if (notOpaque && notZero) return true;
  }
  return false;
}

// The rows of the picture shrunk by the triangle taps, for the shrunk columns the
// horizontal Lanczos taps read, as pixels of PixelBytes() bytes: blue, green, red and, for
// 4 bytes, a fourth byte. With real alpha the colours are premultiplied by alpha, so
// transparent pixels add no colour; otherwise the fourth byte is not read. A row of an
// unshrunk picture without alpha is the source row itself. Acc holds the pre-shrink's sums.
template <typename View, bool Alpha, typename Acc>
class ShrunkRows {
 public:
  ShrunkRows(const View& source, const Axis& x, const Axis& y) : source_(source), x_(x), y_(y) {
    // The window columns the needed shrunk columns read.
    const auto last = x.triangle.first.size() - 1;
    x0_ = x.triangle.first.front();
    x1_ = x.triangle.first[last] + x.triangle.count[last];
    lanes_.resize(static_cast<std::size_t>((x1_ - x0_) * kLanes));
    rows_.resize(static_cast<std::size_t>(y.triangle.stride));
    // The triangles sum to 2 shrink^2 along each axis.
    norm_ = static_cast<std::uint64_t>(Norm(x) * Norm(y));
  }

  // Pixels in a shrunk row.
  std::size_t Width() const { return static_cast<std::size_t>(x_.needEnd - x_.needBegin); }
  int PixelBytes() const { return Unshrunk() && !Alpha ? kBytesPerPixel<View> : 4; }

  // Shrunk row s: the source row, or `slot` (Width() 32-bit pixels) filled with it.
  const BYTE* Row(i64 s, std::uint32_t* slot) {
    if (!Unshrunk()) {
      SumRows(s);
      ShrinkAcross(slot);
      return BytesOf(slot);
    }
    const auto* row = source_.Row(y_.windowStart + s);
    const i64 c0 = x_.windowStart + x0_;
    if constexpr (Alpha) {
      for (std::size_t i = 0; i < Width(); ++i)
        slot[i] = Premultiplied(row[c0 + static_cast<i64>(i)]);
      return BytesOf(slot);
    } else {
      return BytesOf(row) + c0 * kBytesPerPixel<View>;
    }
  }

 private:
  static constexpr int kLanes = Alpha ? kWeightedLanes : kBytesPerPixel<View>;
  static i64 Norm(const Axis& a) { return a.shrink == 1 ? 1 : 2 * a.shrink * a.shrink; }
  bool Unshrunk() const { return x_.shrink == 1 && y_.shrink == 1; }

  static std::uint32_t Premultiplied(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    const auto times = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | times((p >> 16) & 0xFFu) << 16 | times((p >> 8) & 0xFFu) << 8 |
           times(p & 0xFFu);
  }

  // lanes_ = the triangle-weighted sums of the source rows of shrunk row s.
  void SumRows(i64 s) {
    const auto k = static_cast<std::size_t>(s - y_.needBegin);
    const i64 firstRow = y_.windowStart + y_.triangle.first[k];
    const int n = y_.triangle.count[k];
    if constexpr (Alpha) {
      for (int t = 0; t < n; ++t) rows_[t] = source_.Row(firstRow + t) + x_.windowStart + x0_;
      SumWeightedPremultipliedRows(rows_.data(), y_.triangle.WeightsOf(k), n, x1_ - x0_,
                                   lanes_.data());
    } else {
      for (int t = 0; t < n; ++t)
        rows_[t] = BytesOf(source_.Row(firstRow + t)) + (x_.windowStart + x0_) * kLanes;
      SumWeightedRows(rows_.data(), y_.triangle.WeightsOf(k), n, (x1_ - x0_) * kLanes,
                      lanes_.data());
    }
  }

  // out = the triangle-weighted means across of lanes_, rounded.
  void ShrinkAcross(std::uint32_t* out) const {
    // Weighted colours sum colour x alpha: 255 times the premultiplied colour.
    const std::uint64_t colourNorm = Alpha ? 255 * norm_ : norm_;
    for (std::size_t n = 0; n < x_.triangle.first.size(); ++n) {
      const std::uint32_t* w = x_.triangle.WeightsOf(n);
      const Acc* lane = lanes_.data() + (x_.triangle.first[n] - x0_) * kLanes;
      std::uint64_t sum[kLanes] = {};
      for (int t = 0; t < x_.triangle.count[n]; ++t, lane += kLanes)
        for (int i = 0; i < kLanes; ++i) sum[i] += std::uint64_t{w[t]} * lane[i];
      const auto mean = [](std::uint64_t v, std::uint64_t d) {
        return static_cast<std::uint32_t>((v + d / 2) / d);
      };
      const std::uint32_t fourth = Alpha ? mean(sum[3], norm_) : 0xFFu;
      out[n] = fourth << 24 | mean(sum[2], colourNorm) << 16 | mean(sum[1], colourNorm) << 8 |
               mean(sum[0], colourNorm);
    }
  }

  using RowPointer = std::conditional_t<Alpha, const std::uint32_t*, const BYTE*>;

  const View& source_;
  const Axis& x_;
  const Axis& y_;
  i64 x0_ = 0, x1_ = 0;  // the window columns read
  std::uint64_t norm_ = 1;
  std::vector<Acc> lanes_;
  std::vector<RowPointer> rows_;
};

// The filtered value of one channel as a byte, rounded and clipped (Lanczos rings past the
// input's range near sharp edges).
inline std::uint32_t ToByte(float v) {
  return v <= 0.0f ? 0u : v >= 255.0f ? 255u : static_cast<std::uint32_t>(v + 0.5f);
}

inline std::uint32_t OpaquePixel(const float* v) {
  return kOpaque | ToByte(v[2]) << 16 | ToByte(v[1]) << 8 | ToByte(v[0]);
}

// Undoes the premultiplication; a wholly transparent result is transparent black.
inline std::uint32_t PixelWithAlpha(const float* v) {
  const std::uint32_t a = ToByte(v[3]);
  if (a == 0) return 0;
  const float unpremultiply = 255.0f / v[3];
  return a << 24 | ToByte(v[2] * unpremultiply) << 16 | ToByte(v[1] * unpremultiply) << 8 |
         ToByte(v[0] * unpremultiply);
}

// For each placed canvas row, the shrunk rows its vertical taps read (kept in a ring, each
// made once) are weighed into one row, whose horizontal taps then give the canvas pixels.
template <typename View, bool Alpha, typename Acc>
void FilterPlaced(const View& source, const ResampleMapping& m, const Axis& x, const Axis& y,
                  const PixelView& target) {
  ShrunkRows<View, Alpha, Acc> rows(source, x, y);
  const std::size_t width = rows.Width();
  const int pixelBytes = rows.PixelBytes();
  const PairedTaps across = PairTaps(x.lanczos, x.needBegin);
  const int capacity = y.lanczos.stride;
  std::vector<std::uint32_t> ring(width * static_cast<std::size_t>(capacity));
  std::vector<i64> held(static_cast<std::size_t>(capacity), -1);
  std::vector<const BYTE*> slotRow(static_cast<std::size_t>(capacity));
  std::vector<const BYTE*> in(static_cast<std::size_t>(capacity));
  const std::size_t bytes = width * static_cast<std::size_t>(pixelBytes);
  // Room past the row: the partner of an odd last tap across reads it (with weight 0).
  std::vector<float> down(bytes + 2 * kChannels);
  std::vector<float> line(x.lanczos.first.size() * kChannels);
  for (i64 j = m.rowBegin; j < m.rowEnd; ++j) {
    const auto q = static_cast<std::size_t>(j - m.rowBegin);
    const int taps = y.lanczos.count[q];
    for (int t = 0; t < taps; ++t) {
      const i64 s = y.lanczos.first[q] + t;
      const auto slot = static_cast<std::size_t>(s % capacity);
      if (held[slot] != s) {
        slotRow[slot] = rows.Row(s, ring.data() + slot * width);
        held[slot] = s;
      }
      in[static_cast<std::size_t>(t)] = slotRow[slot];
    }
    FilterDown(in.data(), y.lanczos.WeightsOf(q), taps, bytes, down.data());
    FilterAcross(down.data(), pixelBytes, across, line.data());
    std::uint32_t* out = target.Row(j) + m.colBegin;
    for (std::size_t i = 0; i < line.size(); i += kChannels, ++out)
      *out = Alpha ? PixelWithAlpha(line.data() + i) : OpaquePixel(line.data() + i);
  }
}

template <typename View>
void Lanczos(const View& source, PixelRect sourceRect, const PixelView& target, PixelRect placeRect,
             std::uint32_t fill) {
  const ResampleMapping m = MappingFor(sourceRect, source.width, source.height, placeRect, target);
  const bool oneToOne = m.src.w == m.place.w && m.src.h == m.place.h;
  if (m.src.w == 0 || m.src.h == 0 || oneToOne) {
    ResampleInto(source, sourceRect, target, placeRect, fill);
    return;
  }
  FillAroundPlaced(target, m, fill);
  if (m.colBegin == m.colEnd || m.rowBegin == m.rowEnd) return;
  const Axis x = AxisFor(m.src.x, m.src.w, m.place.w, m.colBegin - m.place.x, m.colEnd - m.place.x);
  const Axis y = AxisFor(m.src.y, m.src.h, m.place.h, m.rowBegin - m.place.y, m.rowEnd - m.place.y);
  // The pre-shrink sums a row's weighted colours (up to 255 x 255 each) with weights that
  // add up to 2 shrink^2: 32 bits hold that for a shrink of up to 181 (a reduction by less
  // than 455); a larger one sums in 64 bits.
  const bool wide = y.shrink > 181;
  if constexpr (std::is_same_v<View, ConstPixelView>) {
    if (HasRealAlpha(source, m.src)) {
      if (wide) {
        FilterPlaced<View, true, std::uint64_t>(source, m, x, y, target);
      } else {
        FilterPlaced<View, true, std::uint32_t>(source, m, x, y, target);
      }
      return;
    }
  }
  if (wide) {
    FilterPlaced<View, false, std::uint64_t>(source, m, x, y, target);
  } else {
    FilterPlaced<View, false, std::uint32_t>(source, m, x, y, target);
  }
}

}  // namespace

void LanczosResampleInto(const ConstPixelView& source, PixelRect sourceRect,
                         const PixelView& target, PixelRect placeRect, std::uint32_t fill) {
  Lanczos(source, sourceRect, target, placeRect, fill);
}

void LanczosResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                         PixelRect placeRect, std::uint32_t fill) {
  Lanczos(source, sourceRect, target, placeRect, fill);
}
