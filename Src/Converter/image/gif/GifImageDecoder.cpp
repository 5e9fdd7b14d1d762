#include "image/gif/GifImageDecoder.h"

#include "image/gif/GifLzwDecoder.h"

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFFu;

void FillPalette(GifRaster& raster, const GifColourTable* table, int transparentIndex) {
  const int entries = table ? table->size : 0;
  // Entries the table does not have stay 0, and the raster keeps the palette size of its
  // depth unless the palette grows.
  for (int i = 0; i < entries; ++i)
    raster.palette[static_cast<std::size_t>(i)] = table->entries[static_cast<std::size_t>(i)];
  if (transparentIndex >= 0 && entries < 256) {
    for (int i = entries; i < 256; ++i) raster.palette[static_cast<std::size_t>(i)] = kWhite;
    raster.paletteSize = 256;
  }
}

}  // namespace

bool GifImageDecodable(const GifImageDescriptor& image, const GifScreen& screen) {
  return image.width > 0 && image.height > 0 && image.left + image.width <= screen.width &&
         image.top + image.height <= screen.height;
}

int GifImageDepth(int entries) {
  if (entries <= 2 && entries > 0) return 1;
  return entries <= 16 ? 4 : 8;
}

bool DecodeGifImage(GifCursor& in, const GifImageDescriptor& image, const GifColourTable* table,
                    int transparentIndex, std::int64_t maxPixels, GifRaster& raster) {
  const int entries = table ? table->size : 0;
  if (!raster.Create(image.width, image.height, GifImageDepth(entries), maxPixels)) return false;
  FillPalette(raster, table, transparentIndex);
  raster.left = image.left;
  raster.top = image.top;
  raster.transparentIndex = transparentIndex;
  std::uint8_t codeSize = 0;
  if (in.Byte(codeSize)) DecodeLzwImage(in, codeSize, image.interlaced, raster);
  return true;
}
