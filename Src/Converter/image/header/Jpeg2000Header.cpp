// JPEG 2000: a bare codestream (J2K) starts with SOC and SIZ; a JP2 file wraps it in
// boxes, the codestream in the "jp2c" box. The decoder keeps every sample of every
// component as a 32-bit integer, so the component count matters as much as the size.
#include <algorithm>

#include "image/header/FormatHeaders.h"

namespace {

constexpr int kMaxBoxes = 1024;

// SIZ after SOC at `at`: Xsiz, Ysiz, XOsiz, YOsiz (32 bits each) from byte 8, the
// component count Csiz at byte 40. The picture is the part of the grid past the offsets.
std::optional<DeclaredPicture> ReadCodestream(HeaderReader& in, std::uint64_t at) {
  if (in.U16(at) != 0xFF4F || in.U16(at + 2) != 0xFF51) return std::nullopt;
  const std::int64_t xEnd = in.U32(at + 8), yEnd = in.U32(at + 12);
  const std::int64_t xStart = in.U32(at + 16), yStart = in.U32(at + 20);
  const std::int64_t components = std::max<std::uint32_t>(1, in.U16(at + 40));
  if (!in.ok() || xEnd <= xStart || yEnd <= yStart) return std::nullopt;
  return DeclaredPicture{xEnd - xStart, yEnd - yStart,
                         static_cast<int>(std::min<std::int64_t>(components, 16384) * 8)};
}

}  // namespace

std::optional<DeclaredPicture> ReadJ2kHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  return ReadCodestream(in, 0);
}

// Boxes: a 32-bit length (1: a 64-bit length follows the type; 0: up to the end), the
// type, the contents.
std::optional<DeclaredPicture> ReadJp2Header(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  if (!in.Matches(4, "jP  ")) return std::nullopt;
  std::uint64_t at = 0;
  for (int i = 0; i < kMaxBoxes && in.ok() && at < in.Size(); ++i) {
    std::uint64_t length = in.U32(at), header = 8;
    if (length == 1) {
      length = in.Uint(at + 8, 8);
      header = 16;
    }
    if (in.Matches(at + 4, "jp2c")) return ReadCodestream(in, at + header);
    if (length < header) return std::nullopt;  // 0 (to the end) or a length that lies
    at += length;
  }
  return std::nullopt;
}
