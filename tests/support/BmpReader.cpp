#include "support/BmpReader.h"

#include <cmath>
#include <cstring>

namespace {

std::uint32_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The fields of the info header that the raster needs.
struct BmpInfo {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  int bpp = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;  // palette entries in the file
  int entryBytes = 4;
  std::int32_t ppmX = 0;
  std::int32_t ppmY = 0;
};

bool ReadInfo(const std::uint8_t* p, std::size_t available, std::uint32_t headerSize,
              BmpInfo& info) {
  if (headerSize > available) return false;
  if (headerSize == 12) {
    info.width = Get16(p + 4);
    info.height = Get16(p + 6);
    info.bpp = static_cast<int>(Get16(p + 10));
    info.entryBytes = 3;
    info.colours = info.bpp <= 8 ? 1u << info.bpp : 0;
    return true;
  }
  if (headerSize != 40 && headerSize != 64) return false;
  info.width = static_cast<std::int32_t>(Get32(p + 4));
  info.height = static_cast<std::int32_t>(Get32(p + 8));
  info.bpp = static_cast<int>(Get16(p + 14));
  info.compression = Get32(p + 16);
  info.ppmX = static_cast<std::int32_t>(Get32(p + 24));
  info.ppmY = static_cast<std::int32_t>(Get32(p + 28));
  info.colours = Get32(p + 32);
  info.entryBytes = headerSize == 40 ? 4 : 3;
  if (info.colours == 0 && info.bpp <= 8) info.colours = 1u << info.bpp;
  return true;
}

int DotsPerInch(std::int32_t perMetre) {
  return static_cast<int>(std::floor(static_cast<double>(perMetre) * 0.0254 + 0.5));
}

}  // namespace

bool ReadBmp(const std::uint8_t* data, std::size_t size, GifRaster& raster,
             std::int64_t maxPixels) {
  raster = GifRaster();
  if (!data) return false;
  // Without the "BM" signature the info header is taken to start the file.
  const bool fileHeader = size >= 14 && Get16(data) == 19778;
  const std::size_t infoStart = fileHeader ? 14 : 0;
  if (size < infoStart + 4) return false;
  const std::uint32_t headerSize = Get32(data + infoStart);
  BmpInfo info;
  if (!ReadInfo(data + infoStart, size - infoStart, headerSize, info)) return false;
  if (info.bpp != 1 && info.bpp != 4 && info.bpp != 8 && info.bpp != 24) return false;
  if (info.compression != 0) return false;
  if (info.bpp <= 8 && info.colours > (1u << info.bpp)) return false;
  if (info.colours > 256) return false;

  const std::size_t paletteStart = infoStart + headerSize;
  const std::size_t paletteBytes =
      static_cast<std::size_t>(info.colours) * static_cast<std::size_t>(info.entryBytes);
  if (paletteBytes > size - paletteStart) return false;
  const std::size_t rowsStart = fileHeader ? Get32(data + 10) : paletteStart + paletteBytes;
  if (rowsStart > size) return false;

  const bool topDown = info.height < 0;
  const std::int64_t height = topDown ? -info.height : info.height;
  if (!raster.Create(info.width, height, info.bpp, maxPixels) || raster.Bpp() != info.bpp) {
    raster = GifRaster();
    return false;
  }
  const std::size_t stride = raster.Stride();
  if (stride * static_cast<std::size_t>(height) > size - rowsStart) {
    raster = GifRaster();
    return false;
  }
  for (std::uint32_t i = 0; i < info.colours && info.bpp <= 8; ++i) {
    const std::uint8_t* e = data + paletteStart + static_cast<std::size_t>(i) * info.entryBytes;
    const std::uint32_t fourth = info.entryBytes == 4 ? e[3] : 0u;
    raster.palette[i] = static_cast<std::uint32_t>(e[0]) | (static_cast<std::uint32_t>(e[1]) << 8) |
                        (static_cast<std::uint32_t>(e[2]) << 16) | (fourth << 24);
  }
  for (int i = 0; i < raster.Height(); ++i) {
    const int r = topDown ? raster.Height() - 1 - i : i;
    std::memcpy(raster.Row(r), data + rowsStart + static_cast<std::size_t>(i) * stride, stride);
  }
  raster.dpiX = DotsPerInch(info.ppmX);
  raster.dpiY = DotsPerInch(info.ppmY);
  return true;
}
