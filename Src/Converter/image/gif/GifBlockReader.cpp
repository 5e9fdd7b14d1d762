#include "image/gif/GifBlockReader.h"

namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::uint8_t kComment = 0xFE;
constexpr std::uint8_t kApplication = 0xFF;

// One data sub-block: its count byte and that many bytes. A count of 0 is the terminator.
bool ReadSubBlock(GifCursor& in, std::uint8_t& count, const std::uint8_t*& bytes) {
  return in.Byte(count) && in.Bytes(count, bytes);
}

}  // namespace

GifBlock GifBlockReader::Next(GifImageDescriptor& image) {
  std::uint8_t byte = 0;
  while (in_.Byte(byte)) {
    if (byte == kTrailer) return GifBlock::End;
    if (byte == kExtension) {
      if (!ReadExtension()) return GifBlock::End;
    } else if (byte == kImage) {
      return ReadDescriptor(image) ? GifBlock::Image : GifBlock::Broken;
    }
  }
  return GifBlock::End;
}

bool GifBlockReader::ReadExtension() {
  std::uint8_t label = 0;
  if (!in_.Byte(label)) return false;
  Part part = Part::Open;
  if (label == kGraphicControl)
    part = ReadGraphicControl();
  else if (label == kComment)
    part = ReadComment();
  else if (label == kApplication)
    part = ReadApplication();
  if (part == Part::Short) return false;
  return part == Part::Closed || in_.SkipSubBlocks();
}

// The block size byte and four bytes: packed (disposal in bits 2-4, transparency in bit
// 0), delay, transparent index. A size byte other than 4 leaves the state alone.
GifBlockReader::Part GifBlockReader::ReadGraphicControl() {
  std::uint8_t size = 0;
  const std::uint8_t* body = nullptr;
  if (!in_.Byte(size) || !in_.Bytes(4, body)) return Part::Short;
  if (size != 4) return Part::Open;
  if (body[0] & 1) control_.transparentIndex = body[3];
  control_.delay = Get16(body + 1);
  control_.disposal = (body[0] >> 2) & 7;
  control_.controlSeen = true;
  return Part::Open;
}

// The text of the first sub-block.
GifBlockReader::Part GifBlockReader::ReadComment() {
  std::uint8_t count = 0;
  const std::uint8_t* text = nullptr;
  if (!ReadSubBlock(in_, count, text)) return Part::Short;
  control_.comment.assign(reinterpret_cast<const char*>(text), count);
  return count == 0 ? Part::Closed : Part::Open;
}

// An 11-byte identifier block, then a data block whose bytes 1-2 are the loop count.
GifBlockReader::Part GifBlockReader::ReadApplication() {
  std::uint8_t count = 0;
  const std::uint8_t* bytes = nullptr;
  if (!ReadSubBlock(in_, count, bytes)) return Part::Short;
  if (count != 11) return count == 0 ? Part::Closed : Part::Open;
  if (!ReadSubBlock(in_, count, bytes)) return Part::Short;
  if (count > 2) control_.loopCount = Get16(bytes + 1);
  return count == 0 ? Part::Closed : Part::Open;
}

bool GifBlockReader::ReadDescriptor(GifImageDescriptor& image) {
  image = GifImageDescriptor();
  const std::uint8_t* d = nullptr;
  if (!in_.Bytes(9, d)) return false;
  image.left = Get16(d);
  image.top = Get16(d + 2);
  image.width = Get16(d + 4);
  image.height = Get16(d + 6);
  image.interlaced = (d[8] & 0x40) != 0;
  image.hasLocalTable = (d[8] & 0x80) != 0;
  return !image.hasLocalTable || ReadColourTable(in_, d[8] & 7, image.localTable);
}

void SkipGifImageData(GifCursor& in) {
  std::uint8_t codeSize = 0;
  if (in.Byte(codeSize)) in.SkipSubBlocks();
}
