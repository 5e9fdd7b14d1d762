#include "image/codec/BmpHeaderRewrite.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "image/codec/FreeImageCall.h"
#include "image/codec/LoadWatch.h"
#include "image/codec/PictureMemory.h"
#include "platform/ByteCodes.h"

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kClassicInfo = 40;
constexpr std::uint32_t kBitFields = 3, kAlphaBitFields = 6;

const std::uint8_t* At(const std::string& b, std::size_t at) {
  return reinterpret_cast<const std::uint8_t*>(b.data()) + at;
}
std::uint32_t U32(const std::string& b, std::size_t at) { return ReadLE32(At(b, at)); }
std::uint16_t U16(const std::string& b, std::size_t at) { return ReadLE16(At(b, at)); }
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  WriteLE32(reinterpret_cast<std::uint8_t*>(b.data()) + at, v);
}

bool LargerInfoHeader(std::uint32_t size) {
  return size == 52 || size == 56 || size == 108 || size == 124;
}

// Whether a 32-bit file leaves the fourth byte of its pixels unused: no compression, or
// bit-field masks without an alpha mask (a classic header holds none). Such bytes are
// often 0 and mean nothing.
bool FourthByteUnused(const std::string& b) {
  if (b.size() < kFileHeader + kClassicInfo || U32(b, 14) < kClassicInfo || U16(b, 28) != 32)
    return false;
  const std::uint32_t compression = U32(b, 30);
  if (compression == 0) return true;
  if (compression == kAlphaBitFields) return false;
  return compression == kBitFields && (U32(b, 14) < 56 || U32(b, 66) == 0);
}

void MakeOpaque(FIBITMAP* picture) {
  const unsigned width = FreeImage_GetWidth(picture), height = FreeImage_GetHeight(picture);
  for (unsigned y = 0; y < height; ++y) {
    BYTE* px = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x) px[4 * x + FI_RGBA_ALPHA] = 0xFF;
  }
}

FIBITMAP* DecodeBmp(std::string& bytes) { return LoadWatchingReadsFromMemory(FIF_BMP, bytes); }

}  // namespace

bool RewriteBmpHeader(const std::string& b, std::string* out) {
  if (b.size() < kFileHeader + 56 || b[0] != 'B' || b[1] != 'M') return false;
  const std::uint32_t infoSize = U32(b, 14);
  if (!LargerInfoHeader(infoSize) || b.size() < kFileHeader + infoSize) return false;
  const std::int64_t width = static_cast<std::int32_t>(U32(b, 18));
  const std::int64_t height = std::llabs(static_cast<std::int32_t>(U32(b, 22)));
  if (!PictureSizeAllowed(width, height)) return false;
  const std::uint16_t bpp = U16(b, 28);
  std::uint32_t compression = U32(b, 30);
  const std::uint32_t pixelOffset = U32(b, 10);
  if (pixelOffset < kFileHeader + infoSize || pixelOffset > b.size()) return false;
  // Bit-field masks follow a classic header as three values (red, green, blue); the larger
  // headers hold them, and the alpha mask, inside.
  std::string masks;
  const bool bitFields = compression == kBitFields || compression == kAlphaBitFields;
  if (bitFields) {
    masks = b.substr(54, 12);
    compression = kBitFields;
  }
  std::string palette;
  if (bpp <= 8) {
    const std::uint32_t declared = U32(b, 46);
    const std::size_t entries = declared && declared < (1u << bpp) ? declared : (1u << bpp);
    const std::size_t start = kFileHeader + infoSize;
    palette = b.substr(start, std::min<std::size_t>(4 * entries, pixelOffset - start));
  }
  const std::string pixels = b.substr(pixelOffset);

  std::string info = b.substr(kFileHeader, kClassicInfo);
  Put32(info, 0, kClassicInfo);
  Put32(info, 16, compression);
  std::string file = b.substr(0, kFileHeader);
  const std::size_t newOffset = kFileHeader + kClassicInfo + masks.size() + palette.size();
  Put32(file, 2, static_cast<std::uint32_t>(newOffset + pixels.size()));
  Put32(file, 10, static_cast<std::uint32_t>(newOffset));
  *out = file + info + masks + palette + pixels;
  return true;
}

FIBITMAP* LoadBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string classic;
  const bool rewritten = RewriteBmpHeader(bytes, &classic);
  FIBITMAP* picture = DecodeBmp(rewritten ? classic : bytes);
  if (picture && FreeImage_GetBPP(picture) == 32 && FourthByteUnused(bytes)) MakeOpaque(picture);
  return picture;
}
