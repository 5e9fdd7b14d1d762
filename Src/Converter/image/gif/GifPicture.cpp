#include "image/gif/GifPicture.h"

#include <array>
#include <cstdint>

#include "image/Pixel.h"
#include "image/codec/PictureMemory.h"

namespace {

void CopyIndexedRow(const GifRaster& raster, const std::array<std::uint32_t, 256>& colours,
                    const std::uint8_t* in, std::uint32_t* out) {
  const int width = raster.Width();
  switch (raster.Bpp()) {
    case 8:
      for (int x = 0; x < width; ++x) out[x] = colours[in[x]];
      break;
    case 4:
      for (int x = 0; x < width; ++x) out[x] = colours[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
      break;
    default:
      for (int x = 0; x < width; ++x) out[x] = colours[(in[x >> 3] >> (7 - (x & 7))) & 1];
      break;
  }
}

void CopyColourRow(int width, const std::uint8_t* in, std::uint32_t* out) {
  for (int x = 0; x < width; ++x, in += 3)
    out[x] = kOpaque | static_cast<std::uint32_t>(in[2]) << 16 |
             static_cast<std::uint32_t>(in[1]) << 8 | in[0];
}

}  // namespace

FIBITMAP* GifRasterToPicture(const GifRaster& raster) {
  if (raster.Empty()) return nullptr;
  FIBITMAP* picture = AllocatePicture(raster.Width(), raster.Height(), 32);
  if (!picture) return nullptr;
  std::array<std::uint32_t, 256> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i)
    colours[i] = (raster.palette[i] & 0x00FFFFFFu) | kOpaque;
  for (int r = 0; r < raster.Height(); ++r) {
    auto* out = reinterpret_cast<std::uint32_t*>(FreeImage_GetScanLine(picture, r));
    if (raster.Bpp() == 24)
      CopyColourRow(raster.Width(), raster.Row(r), out);
    else
      CopyIndexedRow(raster, colours, raster.Row(r), out);
  }
  return picture;
}
