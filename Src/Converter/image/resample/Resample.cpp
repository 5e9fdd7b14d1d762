#include "image/resample/Resample.h"

#include <algorithm>
#include <type_traits>
#include <vector>

#include "image/Pixel.h"
#include "image/resample/BandSums.h"
#include "image/resample/ResampleMapping.h"

namespace {

using i64 = std::int64_t;

// The source span [first, end) that each placed pixel of one axis reads, for the placed
// pixels on the canvas (index 0 is the first of them).
struct AxisSpans {
  std::vector<i64> first, end;
  bool reduces = false;   // more window pixels than placed ones: spans partition the window
  bool enlarges = false;  // fewer: each span is the one nearest pixel
};

// A reduction partitions the window into runs of floor or ceil(window / placed) pixels:
// placed pixel p starts at round(p x window / placed), so every window pixel is read
// exactly once and each run is centred on its placed pixel. At whole factors this is
// the run of `factor` pixels at p x factor. Otherwise each placed pixel reads the pixel
// at trunc(p x window / placed), inside the source even for an empty window.
AxisSpans SpansFor(i64 windowStart, i64 windowLength, i64 placed, i64 placedBegin, i64 placedEnd,
                   int sourceSize) {
  AxisSpans s;
  s.reduces = windowLength > placed;
  s.enlarges = windowLength < placed;
  const auto count = static_cast<std::size_t>(placedEnd - placedBegin);
  s.first.resize(count);
  s.end.resize(count);
  const double factor =
      placed > 0 ? static_cast<double>(windowLength) / static_cast<double>(placed) : 0.0;
  for (i64 p = placedBegin; p < placedEnd; ++p) {
    const auto k = static_cast<std::size_t>(p - placedBegin);
    if (s.reduces) {
      s.first[k] = windowStart + (2 * p * windowLength + placed) / (2 * placed);
      s.end[k] = windowStart + (2 * (p + 1) * windowLength + placed) / (2 * placed);
    } else {
      const auto at =
          static_cast<i64>(static_cast<double>(p) * factor + static_cast<double>(windowStart));
      s.first[k] = std::clamp<i64>(at, 0, sourceSize - 1);
      s.end[k] = s.first[k] + 1;
    }
  }
  return s;
}

// Whether the fourth bytes of the averaged pixels seen so far are real alpha. Pictures the
// program makes, and files without alpha, have 0xFF in every pixel, some files without
// alpha 0 in every pixel: only a mix of values is real alpha. A block's sum tells whether
// it holds a byte other than 0xFF (sum below 255 per pixel) and one other than 0.
struct AlphaSeen {
  bool notAllOpaque = false, notAllZero = false;
  bool Real() const { return notAllOpaque && notAllZero; }
};

// The opaque per-channel mean of `count` pixels (integer division) from blue, green, red sums.
inline std::uint32_t PlainMean(const std::uint64_t* s, std::uint64_t count) {
  return kOpaque |
         static_cast<std::uint32_t>((s[2] / count) << 16 | (s[1] / count) << 8 | s[0] / count);
}

// Colours weighted by alpha, so that transparent pixels do not darken edges; the fourth
// byte is the mean alpha. `s` holds the weighted blue, green, red and the alpha; the
// caller takes a wholly transparent block's plain mean instead.
inline std::uint32_t WeightedMean(const std::uint64_t* s, std::uint64_t count) {
  const std::uint64_t alpha = s[3];
  return static_cast<std::uint32_t>(alpha / count) << 24 |
         static_cast<std::uint32_t>((s[2] / alpha) << 16 | (s[1] / alpha) << 8 | s[0] / alpha);
}

// The pixel at column x copied whole; a 24-bit pixel is opaque, as its 32-bit copy would be.
inline std::uint32_t WholePixel(const std::uint32_t* row, i64 x) { return row[x]; }
inline std::uint32_t WholePixel(const BYTE* row, i64 x) {
  const BYTE* p = row + 3 * x;
  return kOpaque | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 |
         p[0];
}

// The resample of the placed pixels, one canvas row at a time: the column sums of the
// row's band of source rows first (BandSums.h), then each placed pixel adds those of its run.
template <typename View>
class BoxResampler {
 public:
  BoxResampler(const View& source, const ResampleMapping& m, const PixelView& target)
      : source_(source),
        target_(target),
        m_(m),
        cols_(SpansFor(m.src.x, m.src.w, m.place.w, m.colBegin - m.place.x, m.colEnd - m.place.x,
                       source.width)),
        rows_(SpansFor(m.src.y, m.src.h, m.place.h, m.rowBegin - m.place.y, m.rowEnd - m.place.y,
                       source.height)),
        xBegin_(cols_.first.front()),
        xEnd_(cols_.end.back()) {}

  // An enlargement that reduces along neither axis repeats pixels whole; any reduction
  // averages (along an enlarged axis its run is the one nearest pixel).
  bool CopiesWhole() const {
    return (cols_.enlarges || rows_.enlarges) && !cols_.reduces && !rows_.reduces;
  }

  void CopyRows() const {
    for (i64 j = m_.rowBegin; j < m_.rowEnd; ++j) {
      const auto* in = source_.Row(rows_.first[static_cast<std::size_t>(j - m_.rowBegin)]);
      std::uint32_t* out = target_.Row(j) + m_.colBegin;
      for (std::size_t k = 0; k < cols_.first.size(); ++k) out[k] = WholePixel(in, cols_.first[k]);
    }
  }

  // Averages every placed pixel, with plain means or (Weighted) weighted by alpha. The
  // plain pass of a 32-bit source stops and returns false as soon as the pixels it
  // averaged show real alpha; the caller then runs the weighted pass.
  template <bool Weighted>
  bool AverageRows() const {
    // A plain lane adds at most 255 per row: 16 bits hold a band of up to 257 rows. A
    // weighted lane adds up to 255 x 255: 32 bits hold a band of up to 66,051 rows.
    i64 tallest = 0;
    for (std::size_t r = 0; r < rows_.first.size(); ++r)
      tallest = std::max(tallest, rows_.end[r] - rows_.first[r]);
    if constexpr (!Weighted) {
      if (tallest <= 257) return AverageRowsWith<Weighted, std::uint16_t>();
    }
    return tallest <= 66051 ? AverageRowsWith<Weighted, std::uint32_t>()
                            : AverageRowsWith<Weighted, std::uint64_t>();
  }

 private:
  static constexpr int kPlainLanes = kBytesPerPixel<View>;

  template <bool Weighted, typename Acc>
  bool AverageRowsWith() const {
    constexpr int kLanes = Weighted ? kWeightedLanes : kPlainLanes;
    constexpr bool kNoteAlpha = !Weighted && kPlainLanes == 4;
    std::vector<Acc> lanes(static_cast<std::size_t>((xEnd_ - xBegin_) * kLanes));
    AlphaSeen seen;
    for (i64 j = m_.rowBegin; j < m_.rowEnd; ++j) {
      const auto r = static_cast<std::size_t>(j - m_.rowBegin);
      const i64 y0 = rows_.first[r], rows = rows_.end[r] - y0;
      if constexpr (Weighted) {
        SumWeightedBand(source_.Row(y0) + xBegin_, source_.stride, rows, xEnd_ - xBegin_,
                        lanes.data());
      } else {
        SumBand(BytesOf(source_.Row(y0)) + xBegin_ * kLanes, ByteStride(source_), rows,
                (xEnd_ - xBegin_) * kLanes, lanes.data());
      }
      std::uint32_t* out = target_.Row(j) + m_.colBegin;
      for (std::size_t k = 0; k < cols_.first.size(); ++k) {
        const i64 x0 = cols_.first[k], x1 = cols_.end[k];
        std::uint64_t sums[kLanes] = {};
        const Acc* lane = lanes.data() + (x0 - xBegin_) * kLanes;
        for (i64 x = x0; x < x1; ++x, lane += kLanes)
          for (int c = 0; c < kLanes; ++c) sums[c] += lane[c];
        const auto count = static_cast<std::uint64_t>(rows * (x1 - x0));
        if constexpr (Weighted) {
          out[k] =
              sums[3] ? WeightedMean(sums, count) : PlainBlockMean(y0, rows, x0, x1) & ~kOpaque;
        } else {
          out[k] = PlainMean(sums, count);
        }
        if constexpr (kNoteAlpha) {
          seen.notAllOpaque |= sums[3] != 255 * count;
          seen.notAllZero |= sums[3] != 0;
        }
      }
      if (kNoteAlpha && seen.Real()) return false;
    }
    return true;
  }

  // The plain mean of one block, read straight from the source (wholly transparent blocks).
  std::uint32_t PlainBlockMean(i64 y0, i64 rows, i64 x0, i64 x1) const {
    std::uint64_t sums[3] = {};
    for (i64 y = y0; y < y0 + rows; ++y) {
      const BYTE* p = BytesOf(source_.Row(y)) + x0 * kPlainLanes;
      for (i64 x = x0; x < x1; ++x, p += kPlainLanes)
        for (int c = 0; c < 3; ++c) sums[c] += p[c];
    }
    return PlainMean(sums, static_cast<std::uint64_t>(rows * (x1 - x0)));
  }

  const View& source_;
  const PixelView& target_;
  const ResampleMapping& m_;
  AxisSpans cols_, rows_;
  i64 xBegin_, xEnd_;  // the source columns the placed pixels read
};

template <typename View>
void Resample(const View& source, PixelRect sourceRect, const PixelView& target,
              PixelRect placeRect, std::uint32_t fill) {
  const ResampleMapping m = MappingFor(sourceRect, source.width, source.height, placeRect, target);
  FillAroundPlaced(target, m, fill);
  if (m.colBegin == m.colEnd || m.rowBegin == m.rowEnd) return;
  BoxResampler<View> resampler(source, m, target);
  if (resampler.CopiesWhole()) {
    resampler.CopyRows();
    return;
  }
  // The plain pass notes the alpha of what it averages; on the first row that shows real
  // alpha the picture is resampled once more, weighted. Opaque pictures pay one compare
  // per averaged pixel; pictures with alpha usually show it in their first rows.
  if (!resampler.template AverageRows<false>()) {
    if constexpr (std::is_same_v<View, ConstPixelView>) resampler.template AverageRows<true>();
  }
}

}  // namespace

void ResampleInto(const ConstPixelView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill) {
  Resample(source, sourceRect, target, placeRect, fill);
}

void ResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill) {
  Resample(source, sourceRect, target, placeRect, fill);
}
