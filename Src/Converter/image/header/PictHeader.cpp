// PICT: a 512-byte preamble, the picture's size and frame, then drawing opcodes. The
// frame is not what a decoder allocates: the first bitmap or pixel map opcode's bounds
// are. The opcodes before it are walked by their documented data lengths; an opcode
// whose length cannot be told without decoding it (pixel patterns, compressed QuickTime
// data) ends the walk without an answer.
#include <algorithm>

#include "image/header/FormatHeaders.h"

namespace {

constexpr std::uint64_t kPreamble = 512;
constexpr int kMaxOpcodes = 65536;

// The data length of an opcode that is neither a bitmap nor the end, or -1 when it cannot
// be told from the opcode and the bytes at `at` alone.
std::int64_t OpcodeDataLength(HeaderReader& in, std::uint32_t op, std::uint64_t at) {
  static constexpr std::int8_t kFixed[0x30] = {
      0, -2, 8,  2,  1,  2,  4,  4,  2,  8,  8,  4,  4,  2,  4,  4,    // 0x00-0x0F (0x01: region)
      8, 2,  -1, -1, -1, 2,  2,  0,  0,  0,  6,  6,  0,  6,  0,  6,    // 0x10-0x1F
      8, 4,  6,  2,  -3, -3, -3, -3, -4, -5, -5, -6, -3, -3, -3, -3};  // 0x20-0x2F
  if (op < 0x30) {
    switch (kFixed[op]) {
      case -1: return -1;
      case -2: return in.U16(at);                                    // region: its own size first
      case -3: return 2 + static_cast<std::int64_t>(in.U16(at));     // length word + data
      case -4: return 5 + static_cast<std::int64_t>(in.U8(at + 4));  // point + text
      case -5: return 2 + static_cast<std::int64_t>(in.U8(at + 1));  // offset + text
      case -6: return 3 + static_cast<std::int64_t>(in.U8(at + 2));  // offsets + text
      default: return kFixed[op];
    }
  }
  if (op < 0x80) {  // rectangles, rounded ones, ovals, arcs, polygons (the last by size)
    const std::uint32_t shape = op >> 4;
    const bool same = (op & 0x8) != 0;  // the same shape as the last: no coordinates
    if (shape == 0x7) return same ? 0 : in.U16(at);
    if (shape == 0x6) return same ? 4 : 12;  // arcs carry two angles
    return same ? 0 : 8;
  }
  if (op < 0x90) return op & 0x8 ? 0 : in.U16(at);                       // regions
  if (op < 0xA0) return 2 + static_cast<std::int64_t>(in.U16(at));       // reserved
  if (op == 0xA0) return 2;                                              // short comment
  if (op == 0xA1) return 4 + static_cast<std::int64_t>(in.U16(at + 2));  // long comment
  if (op < 0xB0) return 2 + static_cast<std::int64_t>(in.U16(at));
  if (op < 0xD0) return 0;
  if (op < 0xFF) return 4 + static_cast<std::int64_t>(in.U32(at));
  if (op < 0x8000) return (op >> 8) * 2;  // 0x0100-0x7FFF: two bytes per high byte
  if (op < 0x8100) return 0;
  return -1;  // 0x8100 and above: long data, among them compressed QuickTime pictures
}

bool IsBitmapOpcode(std::uint32_t op) {
  return op == 0x90 || op == 0x91 || op == 0x98 || op == 0x99 || op == 0x9A || op == 0x9B;
}

// The bounds and depth of a bitmap or pixel map opcode's image.
std::optional<DeclaredPicture> BitmapAt(HeaderReader& in, std::uint32_t op, std::uint64_t at) {
  if (op == 0x9A || op == 0x9B) at += 4;  // direct bits start with a base address
  const std::uint32_t rowBytes = in.U16(at);
  const auto coordinate = [&](std::uint64_t o) {
    return static_cast<std::int64_t>(static_cast<std::int16_t>(in.U16(o)));
  };
  const std::int64_t top = coordinate(at + 2), left = coordinate(at + 4);
  const std::int64_t bottom = coordinate(at + 6), right = coordinate(at + 8);
  const bool pixelMap = (rowBytes & 0x8000) != 0 || op == 0x9A || op == 0x9B;
  const int bpp = pixelMap ? static_cast<int>(std::max<std::uint32_t>(1, in.U16(at + 28))) : 1;
  if (!in.ok() || right <= left || bottom <= top) return std::nullopt;
  return DeclaredPicture{right - left, bottom - top, std::min(bpp, 32)};
}

}  // namespace

std::optional<DeclaredPicture> ReadPictHeader(ByteSource& bytes) {
  HeaderReader in(bytes, true);
  std::uint64_t at = kPreamble + 10;  // past the size word and the frame
  // Version 2 starts 0011 02FF and has two-byte opcodes on even offsets; version 1 starts
  // 11 01 and has one-byte opcodes.
  const bool version2 = in.U32(at) == 0x001102FF;
  if (!version2 && in.U16(at) != 0x1101) return std::nullopt;
  at += version2 ? 4 : 2;
  for (int i = 0; i < kMaxOpcodes && in.ok(); ++i) {
    if (version2) at += at & 1;
    const std::uint32_t op = version2 ? in.U16(at) : in.U8(at);
    at += version2 ? 2 : 1;
    if (op == 0xFF) return std::nullopt;  // the end: no picture data
    if (IsBitmapOpcode(op)) return BitmapAt(in, op, at);
    const std::int64_t length = OpcodeDataLength(in, op, at);
    if (length < 0 || !in.ok()) return std::nullopt;
    at += static_cast<std::uint64_t>(length);
    if (at > in.Size()) return std::nullopt;
  }
  return std::nullopt;
}
