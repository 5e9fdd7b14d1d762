// The strength of the drop shadow's soft edge: it falls off linearly over the blur width
// along each axis, and the two axes multiply in the corners.
#pragma once

#include <cstdint>

// Factor 0..1 for a pixel ex columns and ey rows outside the shadow's core (the first
// pixel outside counts 1, 0 means inside along that axis): 0 when blur < 0.1 or either
// distance reaches the blur, else (1 - ex / blur) x (1 - ey / blur) over the non-zero
// distances.
inline double ShadowFalloff(std::int64_t ex, std::int64_t ey, double blur) {
  if (blur < 0.1 || static_cast<double>(ex) >= blur || static_cast<double>(ey) >= blur) return 0.0;
  const double fx = ex > 0 ? 1.0 - static_cast<double>(ex) / blur : 1.0;
  const double fy = ey > 0 ? 1.0 - static_cast<double>(ey) / blur : 1.0;
  return fx * fy;
}
