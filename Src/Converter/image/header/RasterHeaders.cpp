// Headers whose size fields stand at fixed places or in a short walk of chunks.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "image/header/FormatHeaders.h"

namespace {

std::optional<DeclaredPicture> Declared(const HeaderReader& in, std::int64_t width,
                                        std::int64_t height, int bpp) {
  if (!in.ok()) return std::nullopt;
  return DeclaredPicture{width, height, bpp};
}

// Chunked formats are walked for at most this many chunks before the one that matters.
constexpr int kMaxChunks = 4096;

}  // namespace

// SGI: magic 474, bytes per channel, dimension, then x, y and channel count (16 bits each).
std::optional<DeclaredPicture> ReadSgiHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  if (in.U16(0) != 474) return std::nullopt;
  const int bytesPerChannel = static_cast<int>(in.U8(3));
  const std::int64_t channels = in.U16(10);
  // The channel count counts: the loader keeps a table of two offsets per row and channel.
  const std::int64_t bpp = std::max<std::int64_t>(1, channels) * 8 * std::max(1, bytesPerChannel);
  return Declared(in, in.U16(6), in.U16(8), static_cast<int>(std::min<std::int64_t>(bpp, 1 << 24)));
}

// PSD and PSB: "8BPS", version, six reserved bytes, channels, height, width, depth.
std::optional<DeclaredPicture> ReadPsdHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  if (!in.Matches(0, "8BPS")) return std::nullopt;
  // Clamped far above any real file (56 channels of 32 bits), so the product fits an int.
  const std::int64_t channels = std::clamp<std::int64_t>(in.U16(12), 1, 1 << 12);
  const std::int64_t depth = std::clamp<std::int64_t>(in.U16(22), 1, 1 << 12);
  return Declared(in, in.U32(18), in.U32(14), static_cast<int>(channels * depth));
}

// DDS: "DDS ", the header's size and flags, then height and width (little-endian).
std::optional<DeclaredPicture> ReadDdsHeader(ByteSource& bytes) {
  HeaderReader in(bytes, false);
  if (!in.Matches(0, "DDS ")) return std::nullopt;
  return Declared(in, in.U32(16), in.U32(12), 32);
}

// WBMP: type 0, a fixed header byte, then width and height as multi-byte integers of seven
// bits a byte, high bit set on every byte but the last.
std::optional<DeclaredPicture> ReadWbmpHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  std::uint64_t at = 0;
  const auto multiByte = [&]() -> std::int64_t {
    std::int64_t value = 0;
    for (int i = 0; i < 5; ++i) {  // five bytes already exceed 32 bits
      const std::uint32_t b = in.U8(at++);
      value = value << 7 | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    return -1;
  };
  if (multiByte() != 0) return std::nullopt;
  ++at;  // the fixed header byte
  const std::int64_t width = multiByte(), height = multiByte();
  if (width < 0 || height < 0) return std::nullopt;
  return Declared(in, width, height, 1);
}

// IFF: "FORM", its length, "ILBM" or "PBM ", then chunks; BMHD holds width, height and,
// at byte 8, the number of bit planes.
std::optional<DeclaredPicture> ReadIffHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  if (!in.Matches(0, "FORM") || !(in.Matches(8, "ILBM") || in.Matches(8, "PBM ")))
    return std::nullopt;
  std::uint64_t at = 12;
  for (int i = 0; i < kMaxChunks && in.ok(); ++i) {
    const std::uint64_t length = in.U32(at + 4);
    if (in.Matches(at, "BMHD")) {
      const int planes = static_cast<int>(in.U8(at + 16));
      return Declared(in, in.U16(at + 8), in.U16(at + 10), planes <= 8 ? 8 : 32);
    }
    at += 8 + length + (length & 1);
  }
  return std::nullopt;
}

// MNG: the signature, then PNG-style chunks (length, type, data, CRC). The first IHDR
// (an embedded PNG) or JHDR (an embedded JNG) is the picture FreeImage loads; MHDR's
// frame size is not what it allocates.
std::optional<DeclaredPicture> ReadMngHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  if (!in.Matches(0, "\x8aMNG\r\n\x1a\n")) return std::nullopt;
  std::uint64_t at = 8;
  for (int i = 0; i < kMaxChunks && in.ok(); ++i) {
    const std::uint64_t length = in.U32(at);
    if (in.Matches(at + 4, "IHDR") || in.Matches(at + 4, "JHDR")) {
      const std::int64_t width = in.U32(at + 8), height = in.U32(at + 12);
      const int depth = static_cast<int>(in.U8(at + 16));
      // Up to four channels of up to 16 bits: enough for every colour type.
      return Declared(in, width, height, std::max(8, std::min(depth, 16) * 4));
    }
    at += 12 + length;
  }
  return std::nullopt;
}

// XBM: C text, "#define <name>_width <n>" and "#define <name>_height <n>" near the start.
std::optional<DeclaredPicture> ReadXbmHeader(ByteSource& bytes) {
  char text[4096] = {};
  const std::size_t n =
      static_cast<std::size_t>(std::min<std::uint64_t>(bytes.Size(), sizeof text));
  if (!bytes.Read(0, text, n)) return std::nullopt;
  const std::string_view all(text, n);
  // The decimal number after the first "_<what> " of a #define line; -1 when there is none.
  const auto value = [&](std::string_view what) -> std::int64_t {
    for (std::size_t at = all.find("#define"); at != std::string_view::npos;
         at = all.find("#define", at + 1)) {
      const std::size_t end = all.find('\n', at);
      const std::string_view line = all.substr(at, end == std::string_view::npos ? end : end - at);
      const std::size_t name = line.find(what);
      if (name == std::string_view::npos) continue;
      std::size_t i = name + what.size();
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      std::int64_t v = -1;
      for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && v < (std::int64_t{1} << 40);
           ++i)
        v = (v < 0 ? 0 : v * 10) + (line[i] - '0');
      return v;
    }
    return -1;
  };
  const std::int64_t width = value("_width"), height = value("_height");
  if (width < 0 || height < 0) return std::nullopt;
  return DeclaredPicture{width, height, 1};
}
