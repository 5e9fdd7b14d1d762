// The two multiply-and-add loops of a separable filter over pixels of four channels: down
// (each output row a weighted sum of whole input rows of bytes, as floats) and across a
// row of floats (each output pixel a weighted sum of a run of input pixels). On x86-64 each
// has a build for plain SSE2 and one for processors with AVX2 and FMA, picked at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/resample/FilterTaps.h"

// The taps across, laid out for the loop: each pair of taps as eight floats (the first
// tap's weight four times, then the second's), an odd last tap paired with weight 0.
struct PairedTaps {
  std::vector<std::int64_t> first;  // first input pixel of each output pixel, from `origin`
  std::vector<int> pairs;           // pairs of taps of each output pixel
  std::vector<float> weights;       // 8 floats per pair, `stride` pairs per output pixel
  int stride = 0;
};

// The taps with their input pixels counted from `origin`.
PairedTaps PairTaps(const FilterTaps& taps, std::int64_t origin);

// out[k] = sum of the weighted input pixels of output pixel k, 4 floats per output pixel;
// input pixels are `stride` (3 or 4) floats apart and read as 4 floats (a fourth of a
// 3-float pixel is the next pixel's first and means nothing). `in` must hold 8 floats past
// the last pixel any tap reads (the partner of an odd last tap has weight 0).
void FilterAcross(const float* in, int stride, const PairedTaps& taps, float* out);

// out[i] = sum over t < n of weights[t] x rows[t][i], for `count` bytes of each row.
void FilterDown(const std::uint8_t* const* rows, const float* weights, int n, std::size_t count,
                float* out);
