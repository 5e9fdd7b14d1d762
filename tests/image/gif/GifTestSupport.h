// Helpers for the GIF writer tests: a plain dictionary LZW that gives the code sequence a
// GIF encoder must send, a packer of codes into bits and sub-blocks, rasters made from
// index lists, and two independent decoders (Pillow and giflib) that judge our files.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/gif/GifRaster.h"

// One code as the encoder writes it: value and width in bits.
struct LzwCode {
  int code;
  int width;
  bool operator==(const LzwCode&) const = default;
};

// The codes of `indices` compressed with a std::map dictionary: clear code first, a clear
// code whenever the 4096-entry table is full, the end code last. Widths follow the
// format: a code is one bit wider once the previous one was written with every code of
// its width in use.
std::vector<LzwCode> ReferenceLzw(const std::vector<std::uint8_t>& indices, int codeSize);
// Codes packed least significant bit first into bytes, the last byte padded with zeros.
std::string PackCodes(const std::vector<LzwCode>& codes);
// Bytes cut into sub-blocks of 254 (the last one shorter), then the 0x00 terminator.
std::string SubBlocks(const std::string& bytes);
// The LZW data of a GIF file written by EncodeGif: everything after the minimum code
// size byte, up to and including the block terminator.
std::string LzwSection(const std::string& gif, int bpp);

// Indices in picture order (top row first) and a palette of 0x00RRGGBB colours.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
  std::vector<std::uint32_t> palette;
  // The colour of every pixel, top row first.
  std::vector<std::uint32_t> Colours() const;
};

// A raster of `bpp` bits holding `picture`; row padding and unused bits get `padding`.
GifRaster RasterOf(const IndexedPicture& picture, int bpp, std::uint8_t padding = 0);
// A FreeImage picture of `bpp` bits holding `picture` (palette of 2^bpp entries).
FIBITMAP* BitmapOf(const IndexedPicture& picture, int bpp);
// A picture of the given size with random indices in [low, high] and a random palette.
IndexedPicture RandomPicture(int width, int height, int bpp, unsigned seed, int low = 0,
                             int high = -1);
// A photo-like picture: gradient plus noise, reduced to 256 colours by Wu's quantiser.
IndexedPicture PhotoLikePicture(int width, int height);
// The picture held by an 8-bit or lower FreeImage bitmap.
IndexedPicture PictureOfBitmap(FIBITMAP* bitmap);

// A decode by an outside program. `skipped` holds the reason when the tool is missing.
struct OutsideDecode {
  std::string skipped;
  std::string error;
  int width = 0;
  int height = 0;
  bool hasIndices = false;
  std::vector<std::uint8_t> indices;
  std::vector<std::uint32_t> colours;
};
OutsideDecode DecodeWithPillow(const std::string& gifPath);
OutsideDecode DecodeWithGiflib(const std::string& gifPath);

// Checks with both decoders that `gifPath` holds `expected`: size, indices and colours.
// Returns the skip reason of a missing tool (empty when both ran).
std::string ExpectDecodersSee(const std::string& gifPath, const IndexedPicture& expected);
