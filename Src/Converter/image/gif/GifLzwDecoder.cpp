#include "image/gif/GifLzwDecoder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Reads codes least significant bit first from the data sub-blocks.
class CodeReader {
 public:
  explicit CodeReader(GifCursor& in) : in_(in) {}
  // The next code of `width` bits, or -1 when the data cannot supply it.
  int Read(int width) {
    while (bitCount_ < width) {
      if (!NextByte()) return -1;
    }
    const int code = static_cast<int>(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return code;
  }
  // Moves the cursor past the image's block terminator: first past what is left of the
  // sub-block being read, so that its data bytes are not taken for counts.
  void SkipRest() {
    if (terminated_ || exhausted_) return;
    const std::uint8_t* ignored = nullptr;
    if (!in_.Bytes(static_cast<std::size_t>(blockLeft_), ignored)) {
      in_.Seek(SIZE_MAX);
      return;
    }
    in_.SkipSubBlocks();
  }

 private:
  bool NextByte() {
    if (terminated_ || exhausted_) return false;
    if (blockLeft_ == 0) {
      std::uint8_t count = 0;
      if (!in_.Byte(count)) {
        exhausted_ = true;
        return false;
      }
      if (count == 0) {
        terminated_ = true;
        return false;
      }
      blockLeft_ = count;
    }
    std::uint8_t byte = 0;
    if (!in_.Byte(byte)) {
      exhausted_ = true;
      return false;
    }
    --blockLeft_;
    bits_ |= static_cast<std::uint32_t>(byte) << bitCount_;
    bitCount_ += 8;
    return true;
  }

  GifCursor& in_;
  std::uint32_t bits_ = 0;
  int bitCount_ = 0;
  int blockLeft_ = 0;
  bool terminated_ = false;
  bool exhausted_ = false;
};

// Collects indices into one row and stores each full row in the raster, top row first or
// in interlace order; indices past the last row are dropped.
class RowWriter {
 public:
  RowWriter(GifRaster& raster, bool interlaced)
      : raster_(raster),
        interlaced_(interlaced),
        row_(static_cast<std::size_t>(raster.Width()), 0) {}

  bool Full() const { return y_ >= raster_.Height(); }

  void Put(const std::uint8_t* run, std::size_t n) {
    const std::size_t width = row_.size();
    while (n > 0 && !Full()) {
      const std::size_t take = n < width - x_ ? n : width - x_;
      std::memcpy(row_.data() + x_, run, take);
      x_ += take;
      run += take;
      n -= take;
      if (x_ == width) Commit();
    }
  }
  // Stores a partly filled last row, the rest of it index 0.
  void Finish() {
    if (x_ == 0 || Full()) return;
    std::memset(row_.data() + x_, 0, row_.size() - x_);
    Commit();
  }

 private:
  void Commit() {
    std::uint8_t* out = raster_.Row(raster_.Height() - 1 - y_);
    const std::uint8_t* in = row_.data();
    const int width = raster_.Width();
    switch (raster_.Bpp()) {
      case 8: std::memcpy(out, in, static_cast<std::size_t>(width)); break;
      case 4:
        for (int x = 0; x < width; x += 2) {
          const int low = x + 1 < width ? in[x + 1] & 0xF : 0;
          out[x >> 1] = static_cast<std::uint8_t>(((in[x] & 0xF) << 4) | low);
        }
        break;
      default:
        for (int x = 0; x < width; x += 8) {
          int byte = 0;
          for (int b = 0; b < 8 && x + b < width; ++b) byte |= (in[x + b] & 1) << (7 - b);
          out[x >> 3] = static_cast<std::uint8_t>(byte);
        }
        break;
    }
    x_ = 0;
    Advance();
  }
  // The next row: one after another, or every 8th from 0, every 8th from 4, every 4th
  // from 2, every 2nd from 1.
  void Advance() {
    if (!interlaced_) {
      ++y_;
      return;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    y_ += kStep[pass_];
    while (y_ >= raster_.Height() && pass_ < 3) {
      ++pass_;
      y_ = kStart[pass_];
    }
  }

  GifRaster& raster_;
  bool interlaced_;
  std::vector<std::uint8_t> row_;
  std::size_t x_ = 0;
  int y_ = 0;
  int pass_ = 0;
};

constexpr int kMaxCodes = 4096;
constexpr int kMaxWidth = 12;

}  // namespace

void DecodeLzwImage(GifCursor& in, int codeSize, bool interlaced, GifRaster& raster) {
  CodeReader codes(in);
  if (codeSize < 2 || codeSize > 9 || raster.Empty() || raster.Bpp() > 8) {
    codes.SkipRest();
    return;
  }
  RowWriter rows(raster, interlaced);
  const int clear = 1 << codeSize;
  const int end = clear + 1;
  const int firstFree = clear + 2;
  // Each entry is its prefix code plus one index; roots are the indices themselves.
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes> first{};
  for (int c = 0; c < clear; ++c) {
    suffix[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
    first[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
  }
  // Strings are built backwards from the end of the stack; the longest is 4096 + 1.
  std::array<std::uint8_t, kMaxCodes + 1> stack{};
  int width = codeSize + 1;
  int next = firstFree;
  int prev = -1;  // -1: the next code starts after a clear
  while (!rows.Full()) {
    int code = codes.Read(width);
    if (code < 0 || code == end) break;
    if (code == clear) {
      width = codeSize + 1;
      next = firstFree;
      prev = -1;
      continue;
    }
    if (prev < 0) {
      if (code >= firstFree) code = 0;
      const std::uint8_t index = static_cast<std::uint8_t>(code);
      rows.Put(&index, 1);
      prev = code;
      continue;
    }
    std::size_t top = stack.size();
    // A code not yet defined (or, corruptly, beyond the next free one) is the previous
    // string followed by its own first index.
    const bool defined = code < next;
    int walk = defined ? code : prev;
    if (!defined) stack[--top] = first[static_cast<std::size_t>(prev)];
    while (walk >= firstFree) {
      stack[--top] = suffix[static_cast<std::size_t>(walk)];
      walk = prefix[static_cast<std::size_t>(walk)];
    }
    stack[--top] = static_cast<std::uint8_t>(walk);
    const std::uint8_t head = stack[top];
    rows.Put(stack.data() + top, stack.size() - top);
    if (next < kMaxCodes) {
      prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(prev);
      suffix[static_cast<std::size_t>(next)] = head;
      first[static_cast<std::size_t>(next)] = first[static_cast<std::size_t>(prev)];
      prev = defined ? code : next;
      ++next;
      if (next == (1 << width) && width < kMaxWidth) ++width;
    } else {
      prev = defined ? code : prev;
    }
  }
  rows.Finish();
  codes.SkipRest();
}
