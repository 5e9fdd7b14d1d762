// Variable-length-code LZW compression of GIF pixel indices, fed row by row, written as
// data sub-blocks of 254 bytes (the last one shorter) into a byte string. The code table
// is found through an open-addressed hash of 5003 entries; when it holds 4096 codes a
// clear code is sent and the table starts again. The 0x00 block terminator is the
// caller's.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class GifLzwEncoder {
 public:
  // codeSize is the minimum code size byte of the image (2 to 8).
  GifLzwEncoder(int codeSize, std::string& out);
  // Adds `count` indices, each below 2^codeSize.
  void AddPixels(const std::uint8_t* indices, std::size_t count);
  // Sends the last string and the end code, and flushes the bits and the packet.
  void Finish();

 private:
  static constexpr int kHashSize = 5003;
  static constexpr int kMaxBits = 12;
  static constexpr int kMaxCodes = 1 << kMaxBits;

  void ClearHash();
  void Output(int code);
  void PutByte(std::uint8_t byte);
  void FlushPacket();

  std::string& out_;
  int initBits_;
  int codeBits_;
  int maxCode_;
  int clearCode_;
  int endCode_;
  int nextCode_;
  bool clearPending_ = false;
  bool started_ = false;
  int ent_ = 0;
  std::uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
  std::array<std::int32_t, kHashSize> hashKeys_;
  std::array<std::uint16_t, kHashSize> hashCodes_{};
  std::array<std::uint8_t, 256> packet_{};
  int packetCount_ = 0;
};
