#include "image/resample/FilterTaps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kLobes = 3.0;

double Sinc(double t) {
  if (t == 0.0) return 1.0;
  t *= std::numbers::pi;
  return std::sin(t) / t;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && a < 0); }

double Lanczos3(double t) { return std::abs(t) < kLobes ? Sinc(t) * Sinc(t / kLobes) : 0.0; }

}  // namespace

FilterTaps LanczosTaps(std::int64_t inputs, double factor, std::int64_t outBegin,
                       std::int64_t outEnd) {
  using i64 = std::int64_t;
  FilterTaps taps;
  const double scale = std::max(1.0, factor);
  const double support = kLobes * scale;
  taps.stride = static_cast<int>(std::ceil(support)) * 2 + 1;
  const auto wanted = static_cast<std::size_t>(outEnd - outBegin);
  taps.first.resize(wanted);
  taps.count.resize(wanted);
  taps.weights.assign(wanted * static_cast<std::size_t>(taps.stride), 0.0f);
  std::vector<double> w(static_cast<std::size_t>(taps.stride));
  for (i64 p = outBegin; p < outEnd; ++p) {
    const auto k = static_cast<std::size_t>(p - outBegin);
    const double centre = (static_cast<double>(p) + 0.5) * factor;
    // The inputs whose centres lie within the support, cut to the axis.
    const i64 x0 = std::max<i64>(0, static_cast<i64>(std::floor(centre - support + 0.5)));
    const i64 x1 = std::min<i64>(inputs, static_cast<i64>(std::floor(centre + support + 0.5)));
    const int n = static_cast<int>(std::clamp<i64>(x1 - x0, 0, taps.stride));
    double sum = 0.0;
    for (int t = 0; t < n; ++t) {
      w[t] = Lanczos3((static_cast<double>(x0 + t) + 0.5 - centre) / scale);
      sum += w[t];
    }
    taps.first[k] = x0;
    taps.count[k] = n;
    float* out = taps.weights.data() + k * static_cast<std::size_t>(taps.stride);
    for (int t = 0; t < n; ++t) out[t] = static_cast<float>(sum != 0.0 ? w[t] / sum : 0.0);
  }
  return taps;
}

Taps<std::uint32_t> TriangleShrinkTaps(std::int64_t inputs, std::int64_t shrink,
                                       std::int64_t outBegin, std::int64_t outEnd) {
  using i64 = std::int64_t;
  Taps<std::uint32_t> taps;
  taps.stride = static_cast<int>(shrink == 1 ? 1 : 2 * shrink);
  const auto wanted = static_cast<std::size_t>(outEnd - outBegin);
  taps.first.resize(wanted);
  taps.count.resize(wanted);
  taps.weights.assign(wanted * static_cast<std::size_t>(taps.stride), 0);
  for (i64 m = outBegin; m < outEnd; ++m) {
    const auto k = static_cast<std::size_t>(m - outBegin);
    auto* out = taps.weights.data() + k * static_cast<std::size_t>(taps.stride);
    if (shrink == 1) {
      taps.first[k] = std::min(m, inputs - 1);
      taps.count[k] = 1;
      out[0] = 1;
      continue;
    }
    // Twice the triangle's height over x: 2 shrink - |2x + 1 - (2m + 1) shrink|.
    // The weight is positive for centre2 - 2 shrink < 2x + 1 < centre2 + 2 shrink.
    const i64 centre2 = (2 * m + 1) * shrink;
    const i64 x0 = FloorDiv(centre2 - 2 * shrink - 1, 2) + 1;
    const i64 x1 = FloorDiv(centre2 + 2 * shrink - 2, 2);
    const i64 first = std::clamp<i64>(x0, 0, inputs - 1);
    const i64 last = std::clamp<i64>(x1, 0, inputs - 1);
    taps.first[k] = first;
    taps.count[k] = static_cast<int>(last - first + 1);
    for (i64 x = x0; x <= x1; ++x) {
      const i64 w = 2 * shrink - std::abs(2 * x + 1 - centre2);
      if (w > 0) out[std::clamp<i64>(x, 0, inputs - 1) - first] += static_cast<std::uint32_t>(w);
    }
  }
  return taps;
}
