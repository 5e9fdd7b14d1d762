// Column sums of a band of rows, the first half of every block average and of the
// Lanczos resample's pre-shrink: for each source column of the band, the (weighted) sum
// over the band's rows of each lane of its pixels. The plain
// lanes are a pixel's bytes as stored, so a band is summed as byte strings; sources with
// real alpha sum four lanes per pixel: the colours weighted by alpha, and the alpha.
// Rows are walked a chunk of columns at a time, so the chunk's sums stay in registers
// while the rows go by. The caller picks lanes wide enough for the band: 16 bits hold 257
// rows of plain bytes, 32 bits 66,051 rows of weighted colours.
#pragma once

#include <FreeImage.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "image/PixelView.h"

constexpr int kWeightedLanes = 4;

template <typename View>
constexpr int kBytesPerPixel = std::is_same_v<View, RgbView> ? 3 : 4;

inline const BYTE* BytesOf(const std::uint32_t* row) { return reinterpret_cast<const BYTE*>(row); }
inline const BYTE* BytesOf(const BYTE* row) { return row; }
inline std::ptrdiff_t ByteStride(const ConstPixelView& v) { return v.stride * 4; }
inline std::ptrdiff_t ByteStride(const RgbView& v) { return v.stride; }

// Sums `rows` byte strings of `count` bytes, `stride` bytes apart, byte by byte into lanes.
template <typename Acc>
void SumBand(const BYTE* first, std::ptrdiff_t stride, std::int64_t rows, std::int64_t count,
             Acc* lanes) {
  constexpr std::int64_t kChunk = 32;
  std::int64_t i = 0;
  for (; i + kChunk <= count; i += kChunk) {
    Acc acc[kChunk] = {};
    const BYTE* p = first + i;
    for (std::int64_t y = 0; y < rows; ++y, p += stride)
      for (std::int64_t t = 0; t < kChunk; ++t) acc[t] += p[t];
    std::copy(acc, acc + kChunk, lanes + i);
  }
  for (; i < count; ++i) {
    Acc acc = 0;
    const BYTE* p = first + i;
    for (std::int64_t y = 0; y < rows; ++y, p += stride) acc += *p;
    lanes[i] = acc;
  }
}

// The same for `count` 32-bit pixels into four lanes each: blue, green and red weighted by
// the pixel's alpha, and the alpha; `stride` counts pixels.
template <typename Acc>
void SumWeightedBand(const std::uint32_t* first, std::ptrdiff_t stride, std::int64_t rows,
                     std::int64_t count, Acc* lanes) {
  constexpr std::int64_t kChunk = 8;
  for (std::int64_t x = 0; x < count; x += kChunk) {
    const std::int64_t n = std::min(kChunk, count - x);
    Acc acc[kChunk * kWeightedLanes] = {};
    const std::uint32_t* p = first + x;
    for (std::int64_t y = 0; y < rows; ++y, p += stride) {
      for (std::int64_t t = 0; t < n; ++t) {
        const std::uint32_t px = p[t];
        const Acc a = px >> 24;
        acc[4 * t] += (px & 0xFFu) * a;
        acc[4 * t + 1] += ((px >> 8) & 0xFFu) * a;
        acc[4 * t + 2] += ((px >> 16) & 0xFFu) * a;
        acc[4 * t + 3] += a;
      }
    }
    std::copy(acc, acc + n * kWeightedLanes, lanes + x * kWeightedLanes);
  }
}

// Weighted sums of rows given by pointers, for the triangle pre-shrink of the Lanczos
// resample: lanes[i] = sum over t of weights[t] x rows[t][i] for `count` bytes.
template <typename Acc>
void SumWeightedRows(const BYTE* const* rows, const std::uint32_t* weights, int n,
                     std::int64_t count, Acc* lanes) {
  constexpr std::int64_t kChunk = 32;
  for (std::int64_t i = 0; i < count; i += kChunk) {
    const std::int64_t m = std::min(kChunk, count - i);
    Acc acc[kChunk] = {};
    for (int t = 0; t < n; ++t) {
      const BYTE* p = rows[t] + i;
      const Acc w = weights[t];
      for (std::int64_t k = 0; k < m; ++k) acc[k] += w * p[k];
    }
    std::copy(acc, acc + m, lanes + i);
  }
}

// The same for `count` 32-bit pixels into four lanes each: blue, green and red
// premultiplied by the pixel's alpha, and the alpha.
template <typename Acc>
void SumWeightedPremultipliedRows(const std::uint32_t* const* rows, const std::uint32_t* weights,
                                  int n, std::int64_t count, Acc* lanes) {
  constexpr std::int64_t kChunk = 8;
  for (std::int64_t x = 0; x < count; x += kChunk) {
    const std::int64_t m = std::min(kChunk, count - x);
    Acc acc[kChunk * kWeightedLanes] = {};
    for (int t = 0; t < n; ++t) {
      const std::uint32_t* p = rows[t] + x;
      const Acc w = weights[t];
      for (std::int64_t k = 0; k < m; ++k) {
        const std::uint32_t px = p[k];
        const Acc wa = w * (px >> 24);
        acc[4 * k] += (px & 0xFFu) * wa;
        acc[4 * k + 1] += ((px >> 8) & 0xFFu) * wa;
        acc[4 * k + 2] += ((px >> 16) & 0xFFu) * wa;
        acc[4 * k + 3] += wa;
      }
    }
    std::copy(acc, acc + m * kWeightedLanes, lanes + x * kWeightedLanes);
  }
}
