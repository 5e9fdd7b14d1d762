#include "image/transform/ShadowLayout.h"

#include <cmath>

#include "image/transform/SafeTruncate.h"

namespace {
// pi / 180 with pi taken to ten decimals, 3.1415926535.
constexpr double kRadiansPerDegree = 0.017453292519444445;
}  // namespace

ShadowLayout ComputeShadowLayout(const ConversionSettings& s, int width, int height) {
  ShadowLayout l;
  const double theta = s.shadowAngle * kRadiansPerDegree;
  const double d = s.shadowDistance;
  l.dx = TruncToInt64(-d * std::cos(theta));
  l.dy = TruncToInt64(d * std::sin(theta));
  const std::int64_t blur = s.shadowBlur;
  l.picture = {0, 0, width, height};
  l.core = Inflate(Offset(l.picture, l.dx, l.dy), -(3 * blur / 4));
  l.outer = Inflate(l.core, blur);
  l.canvas = Inflate(Union(l.outer, l.picture), 2);
  return l;
}
