// The weights of a separable resampling filter along one axis: for each output pixel, the
// run of input pixels it reads and one weight for each, computed once per resample so the
// pixel loops only multiply and add.
#pragma once

#include <cstdint>
#include <vector>

template <typename Weight>
struct Taps {
  // Output pixel k (counted from the first one wanted) reads inputs first[k] to
  // first[k] + count[k] - 1 with weights weights[k * stride ...].
  std::vector<std::int64_t> first;
  std::vector<int> count;
  std::vector<Weight> weights;
  int stride = 0;  // the most taps any output pixel has

  const Weight* WeightsOf(std::size_t k) const {
    return weights.data() + k * static_cast<std::size_t>(stride);
  }
};

// Float weights that sum to 1.
using FilterTaps = Taps<float>;

// Lanczos-3 taps over `inputs` input pixels, `factor` of them to each output pixel, for the
// output pixels [outBegin, outEnd). Output pixel p is centred on input position
// c = (p + 0.5) x factor; input pixel x weighs L((x + 0.5 - c) / s), with
// L(t) = sinc(t) sinc(t / 3) for |t| < 3 and s = max(1, factor), so a reduction widens the
// filter to cover its share of the input. Taps past either end of the input are dropped
// and the rest normalised.
FilterTaps LanczosTaps(std::int64_t inputs, double factor, std::int64_t outBegin,
                       std::int64_t outEnd);

// Integer taps that shrink `inputs` pixels by the whole factor `shrink` for the output
// pixels [outBegin, outEnd): output pixel m weighs input x by the triangle
// 2 x shrink - |2x + 1 - (2m + 1) x shrink| (where positive), centred on the block of
// `shrink` inputs at m x shrink and twice as wide, which keeps the stripes a plain block
// average would fold into the picture out of it. Inputs past either end count as the end
// pixel, so every output pixel's weights sum to 2 x shrink^2. A shrink of 1 is one tap of 1.
Taps<std::uint32_t> TriangleShrinkTaps(std::int64_t inputs, std::int64_t shrink,
                                       std::int64_t outBegin, std::int64_t outEnd);
