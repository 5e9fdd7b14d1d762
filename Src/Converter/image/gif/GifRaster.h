// The palettised raster the GIF reader fills and the GIF writer encodes from: rows
// stored bottom-up, each padded to a multiple of 4 bytes, indices of 1, 4 or 8 bits
// (packed most significant bits first) or 24-bit blue-green-red pixels, and a palette
// that always has room for 256 entries so that it can grow without reallocation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class GifRaster {
 public:
  // Makes a cleared raster; the depth is rounded up to 1, 4, 8 or 24 bits and the palette
  // gets 2, 16 or 256 entries (none at 24 bits). False when the size is zero, over
  // maxPixels, or memory cannot be had; the raster is then empty.
  bool Create(std::int64_t width, std::int64_t height, int bpp, std::int64_t maxPixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Bpp() const { return bpp_; }
  std::size_t Stride() const { return stride_; }
  bool Empty() const { return bits_.empty(); }

  // Row r counted from the bottom row, as stored.
  std::uint8_t* Row(int r) { return bits_.data() + static_cast<std::size_t>(r) * stride_; }
  const std::uint8_t* Row(int r) const {
    return bits_.data() + static_cast<std::size_t>(r) * stride_;
  }
  // The palette index at x of a stored row (1, 4 or 8 bits).
  int IndexAt(const std::uint8_t* row, int x) const;
  // The colour of pixel (x, r from the bottom) as 0x00RRGGBB.
  std::uint32_t ColourAt(int x, int r) const;

  // Palette entries as 0xAARRGGBB (blue in the low byte, as stored in a BMP).
  std::array<std::uint32_t, 256> palette{};
  int paletteSize = 0;

  // Properties carried from or into the file; the writer's pictures leave them as they are.
  int left = 0;
  int top = 0;
  int delay = 0;
  int transparentIndex = -1;
  int disposal = 0;
  int loopCount = 0;
  std::string comment;
  int dpiX = 0;
  int dpiY = 0;

 private:
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> bits_;
};

// Bytes of one stored row of a raster `width` pixels wide at `bpp` bits, padded to 4 bytes.
constexpr std::size_t RasterStride(std::int64_t width, int bpp) {
  return static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
}

// Writes palette index `index` at x of a stored row of `bpp` bits (1 and 4 bits packed most
// significant first), leaving the row's other pixels as they are.
void PutPackedIndex(std::uint8_t* row, int x, int bpp, int index);
