// A bounded read position over the bytes of a GIF file in memory. Every read checks the
// bytes left, so a truncated or hostile file can end a read early but never overrun.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/ByteCodes.h"

class GifCursor {
 public:
  GifCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Position() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos < size_ ? pos : size_; }
  bool AtEnd() const { return pos_ >= size_; }

  bool Byte(std::uint8_t& out) {
    if (pos_ >= size_) return false;
    out = data_[pos_++];
    return true;
  }
  // Points `out` at the next n bytes and moves past them; false when fewer are left.
  bool Bytes(std::size_t n, const std::uint8_t*& out) {
    if (n > size_ - pos_) return false;
    out = data_ + pos_;
    pos_ += n;
    return true;
  }
  // Skips data sub-blocks up to and including the 0x00 terminator; false when the data
  // ends first.
  bool SkipSubBlocks() {
    for (;;) {
      std::uint8_t count = 0;
      if (!Byte(count)) return false;
      if (count == 0) return true;
      const std::uint8_t* ignored = nullptr;
      if (!Bytes(count, ignored)) {
        pos_ = size_;
        return false;
      }
    }
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

inline int Get16(const std::uint8_t* p) { return ReadLE16(p); }
