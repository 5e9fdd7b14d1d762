// Truncation toward zero of a double into a 64-bit integer that cannot overflow: the
// geometry steps multiply sizes by user fractions, and an absurd or non-finite value must
// give an absurd but defined size (refused later by the size check), never undefined
// behaviour.
#pragma once

#include <cmath>
#include <cstdint>

// Far beyond any allowed picture side, yet small enough that sums of a few stay exact.
constexpr std::int64_t kTruncateLimit = std::int64_t{1} << 53;

// trunc(v), clamped to +-kTruncateLimit; NaN gives `ifNaN`.
inline std::int64_t TruncToInt64(double v, std::int64_t ifNaN = 0) {
  if (std::isnan(v)) return ifNaN;
  if (v >= static_cast<double>(kTruncateLimit)) return kTruncateLimit;
  if (v <= -static_cast<double>(kTruncateLimit)) return -kTruncateLimit;
  return static_cast<std::int64_t>(v);
}
