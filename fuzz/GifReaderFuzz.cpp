// libFuzzer target for the GIF reader: any bytes through the frame count and the decode of
// the first, a middle and the last frame, and the first frame into a 32-bit picture. The
// count must say 0 exactly when frame 0 fails, every raster must be as large as it says
// and within the budget, and one decoder asked for the frames in order (it continues from
// the picture it kept) must give each frame's fresh decode byte for byte.
#include <FreeImage.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifPicture.h"
#include "image/gif/GifRaster.h"

namespace {

constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 18;  // keeps each run small

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void CheckRaster(const GifRaster& raster) {
  if (raster.Width() < 1 || raster.Height() < 1 ||
      static_cast<std::int64_t>(raster.Width()) * raster.Height() > kFuzzMaxPixels)
    Fail("decoded a raster outside the budget");
  // Touch the first and last byte of every row: the sanitizer catches a short buffer.
  volatile std::uint8_t sink = 0;
  for (int r = 0; r < raster.Height(); ++r)
    sink = sink ^ raster.Row(r)[0] ^ raster.Row(r)[raster.Stride() - 1];
  (void)sink;
}

bool SameRaster(const GifRaster& a, const GifRaster& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bpp() != b.Bpp() ||
      a.palette != b.palette || a.transparentIndex != b.transparentIndex)
    return false;
  for (int r = 0; r < a.Height(); ++r)
    for (std::size_t i = 0; i < a.Stride(); ++i)
      if (a.Row(r)[i] != b.Row(r)[i]) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int count = GifFrameCount(data, size, kFuzzMaxPixels);
  GifRaster first;
  int found = -1;
  const bool decoded = DecodeGifFrame(data, size, 0, kFuzzMaxPixels, first, &found);
  if (decoded != (count > 0)) Fail("the frame count disagrees with the decode of frame 0");
  if (!decoded) return 0;
  if (found != count) Fail("the decode found another number of frames");
  CheckRaster(first);
  FIBITMAP* picture = GifRasterToPicture(first);
  if (!picture) Fail("no picture for a decoded frame");
  FreeImage_Unload(picture);
  for (int k : {count / 2, count - 1}) {
    GifRaster raster;
    if (k > 0 && DecodeGifFrame(data, size, k, kFuzzMaxPixels, raster)) CheckRaster(raster);
  }
  GifFrameDecoder kept(data, size, kFuzzMaxPixels);
  for (int k = 0; k < count && k < 16; ++k) {
    GifRaster fresh;
    const bool decodes = DecodeGifFrame(data, size, k, kFuzzMaxPixels, fresh);
    const GifRaster* continued = kept.Decode(k);
    if (decodes != (continued != nullptr)) Fail("the kept decoder disagrees on a frame's failure");
    if (decodes && !SameRaster(fresh, *continued)) Fail("the kept decoder composed another frame");
  }
  return 0;
}
