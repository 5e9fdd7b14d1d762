#include "job/ItemTimeLimit.h"

std::int64_t ItemTimeLimitMs(int seconds, std::uint64_t fileBytes, std::int64_t pixels) {
  if (seconds <= 0) return -1;
  constexpr double kBytesPerBase = 32.0 * 1024 * 1024;
  constexpr double kPixelsPerBase = 16e6;
  const double bases = 1.0 + static_cast<double>(fileBytes) / kBytesPerBase +
                       static_cast<double>(pixels > 0 ? pixels : 0) / kPixelsPerBase;
  return static_cast<std::int64_t>(seconds * 1000.0 * bases);
}
