#include "image/gif/GifRaster.h"

#include <new>

namespace {

int RoundDepth(int bpp) {
  if (bpp <= 1) return 1;
  if (bpp <= 4) return 4;
  if (bpp <= 8) return 8;
  return 24;
}

}  // namespace

bool GifRaster::Create(std::int64_t width, std::int64_t height, int bpp, std::int64_t maxPixels) {
  *this = GifRaster();
  // Sides are at most 16 bits wide in GIF and 31 bits in BMP: the product fits 64 bits.
  if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return false;
  if (width * height > maxPixels) return false;
  const int depth = RoundDepth(bpp);
  const std::size_t stride = RasterStride(width, depth);
  try {
    bits_.assign(stride * static_cast<std::size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    bits_.clear();
    return false;
  }
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  bpp_ = depth;
  stride_ = stride;
  paletteSize = depth == 24 ? 0 : 1 << depth;
  return true;
}

int GifRaster::IndexAt(const std::uint8_t* row, int x) const {
  switch (bpp_) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default: return row[x];
  }
}

std::uint32_t GifRaster::ColourAt(int x, int r) const {
  const std::uint8_t* row = Row(r);
  if (bpp_ == 24) {
    const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
  }
  return palette[static_cast<std::size_t>(IndexAt(row, x))] & 0x00FFFFFFu;
}

void PutPackedIndex(std::uint8_t* row, int x, int bpp, int index) {
  switch (bpp) {
    case 1: {
      const int shift = 7 - (x & 7);
      row[x >> 3] =
          static_cast<std::uint8_t>((row[x >> 3] & ~(1 << shift)) | ((index & 1) << shift));
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] =
          static_cast<std::uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((index & 0xF) << shift));
      break;
    }
    default: row[x] = static_cast<std::uint8_t>(index); break;
  }
}
