// Blend weights kept to 0..1. Validation admits only such fractions, but a step may meet
// any double; outside 0..1 (or NaN) the per-channel mix would leave 0..255 and its
// conversion to a byte would be undefined.
#pragma once

// w itself when 0 <= w <= 1; the nearer end otherwise; 0 for NaN.
inline double BlendWeight(double w) {
  if (w >= 0.0 && w <= 1.0) return w;
  return w > 1.0 ? 1.0 : 0.0;
}
