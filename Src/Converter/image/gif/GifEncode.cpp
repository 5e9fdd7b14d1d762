#include "image/gif/GifEncode.h"

#include <cstdint>
#include <vector>

#include "image/gif/GifLzwEncoder.h"
#include "platform/ByteCodes.h"

namespace {

void Put16(std::string& out, int value) { AppendLE16(out, static_cast<std::uint32_t>(value)); }

void PutHeader(const GifRaster& raster, std::string& out) {
  const int bpp = raster.Bpp();
  out += "GIF89a";
  Put16(out, raster.Width());
  Put16(out, raster.Height());
  // Global table flag, colour resolution (bpp + 7) & 7, table size bpp - 1: 0x80 for 1 bit,
  // 0xE3 for 4 bits, 0xE7 for 8 bits.
  out.push_back(static_cast<char>(((((bpp + 7) * 32) | (bpp - 1)) & 0xFF) | 0x80));
  out.push_back(0);  // background colour index
  out.push_back(0);  // pixel aspect ratio
  for (int i = 0; i < (1 << bpp); ++i) {
    const std::uint32_t entry = raster.palette[static_cast<std::size_t>(i)];
    out.push_back(static_cast<char>((entry >> 16) & 0xFF));
    out.push_back(static_cast<char>((entry >> 8) & 0xFF));
    out.push_back(static_cast<char>(entry & 0xFF));
  }
}

void PutControlAndDescriptor(const GifRaster& raster, std::string& out) {
  out += "\x21\xF9\x04";
  out.push_back(
      static_cast<char>(((raster.disposal & 7) * 4) | (raster.transparentIndex != -1 ? 1 : 0)));
  Put16(out, raster.delay);
  out.push_back(static_cast<char>(raster.transparentIndex & 0xFF));
  out.push_back(0);
  out.push_back(0x2C);
  Put16(out, raster.left);
  Put16(out, raster.top);
  Put16(out, raster.Width());
  Put16(out, raster.Height());
  out.push_back(0);  // no local table, not interlaced
}

// Feeds the indices top row first, unpacking 1- and 4-bit rows into one byte per pixel.
void PutPixels(const GifRaster& raster, int codeSize, std::string& out) {
  GifLzwEncoder encoder(codeSize, out);
  const int width = raster.Width();
  std::vector<std::uint8_t> unpacked(raster.Bpp() == 8 ? 0 : static_cast<std::size_t>(width));
  for (int y = 0; y < raster.Height(); ++y) {
    const std::uint8_t* row = raster.Row(raster.Height() - 1 - y);
    if (raster.Bpp() == 8) {
      encoder.AddPixels(row, static_cast<std::size_t>(width));
      continue;
    }
    for (int x = 0; x < width; ++x)
      unpacked[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(raster.IndexAt(row, x));
    encoder.AddPixels(unpacked.data(), unpacked.size());
  }
  encoder.Finish();
}

void PutComment(const std::string& comment, std::string& out) {
  if (comment.empty()) return;
  out += "\x21\xFE";
  const std::size_t length = comment.size() < 255 ? comment.size() : 255;
  out.push_back(static_cast<char>(length));
  out.append(comment, 0, length);
  out.push_back(0);
}

}  // namespace

bool EncodeGif(const GifRaster& raster, std::string& out) {
  if (raster.Empty() || raster.Bpp() > 8) return false;
  if (raster.Width() > 0xFFFF || raster.Height() > 0xFFFF) return false;
  PutHeader(raster, out);
  PutControlAndDescriptor(raster, out);
  const int codeSize = raster.Bpp() == 1 ? 2 : raster.Bpp();
  out.push_back(static_cast<char>(codeSize));
  PutPixels(raster, codeSize, out);
  out.push_back(0);  // block terminator
  PutComment(raster.comment, out);
  out.push_back(0x3B);
  return true;
}
