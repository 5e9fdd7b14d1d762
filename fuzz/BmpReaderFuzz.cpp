// libFuzzer target for the intermediate BMP reader: any bytes through ReadBmp. A raster
// it accepts must be as large as it says, with every row addressable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/BmpReader.h"
#include "image/gif/GifRaster.h"

namespace {
constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 22;  // keeps each run small
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  GifRaster raster;
  if (!ReadBmp(data, size, raster, kFuzzMaxPixels)) return 0;
  if (raster.Width() < 1 || raster.Height() < 1 ||
      static_cast<std::int64_t>(raster.Width()) * raster.Height() > kFuzzMaxPixels) {
    std::fprintf(stderr, "accepted a raster outside the budget\n");
    std::abort();
  }
  // Touch the first and last byte of every row: the sanitizer catches a short buffer.
  volatile std::uint8_t sink = 0;
  for (int r = 0; r < raster.Height(); ++r)
    sink = sink ^ raster.Row(r)[0] ^ raster.Row(r)[raster.Stride() - 1];
  (void)sink;
  return 0;
}
