#include "image/gif/GifLzwEncoder.h"

GifLzwEncoder::GifLzwEncoder(int codeSize, std::string& out)
    : out_(out),
      initBits_(codeSize + 1),
      codeBits_(codeSize + 1),
      maxCode_((1 << (codeSize + 1)) - 1),
      clearCode_(1 << codeSize),
      endCode_((1 << codeSize) + 1),
      nextCode_((1 << codeSize) + 2) {
  hashKeys_.fill(-1);
}

void GifLzwEncoder::ClearHash() { hashKeys_.fill(-1); }

void GifLzwEncoder::AddPixels(const std::uint8_t* indices, std::size_t count) {
  std::size_t k = 0;
  if (!started_ && count > 0) {
    started_ = true;
    ent_ = indices[k++];
    ClearHash();
    Output(clearCode_);
  }
  int ent = ent_;
  for (; k < count; ++k) {
    const int c = indices[k];
    const std::int32_t fcode = (static_cast<std::int32_t>(c) << kMaxBits) + ent;
    // Hash shift 4: 8 minus the number of doublings that take 5003 to at least 65535.
    int i = (c << 4) ^ ent;
    if (hashKeys_[i] == fcode) {
      ent = hashCodes_[i];
      continue;
    }
    if (hashKeys_[i] >= 0) {
      const int disp = i == 0 ? 1 : kHashSize - i;
      bool found = false;
      do {
        i -= disp;
        if (i < 0) i += kHashSize;
        if (hashKeys_[i] == fcode) {
          found = true;
          break;
        }
        // A key of 0 (pixel 0 after string 0) ends the probe like an empty slot.
      } while (hashKeys_[i] > 0);
      if (found) {
        ent = hashCodes_[i];
        continue;
      }
    }
    Output(ent);
    if (nextCode_ < kMaxCodes) {
      hashCodes_[i] = static_cast<std::uint16_t>(nextCode_++);
      hashKeys_[i] = fcode;
    } else {
      ClearHash();
      nextCode_ = clearCode_ + 2;
      clearPending_ = true;
      Output(clearCode_);
    }
    ent = c;
  }
  ent_ = ent;
}

void GifLzwEncoder::Finish() {
  if (started_) Output(ent_);
  Output(endCode_);
}

void GifLzwEncoder::Output(int code) {
  bitBuffer_ &= (std::uint32_t{1} << bitCount_) - 1;
  bitBuffer_ = bitCount_ > 0 ? bitBuffer_ | (static_cast<std::uint32_t>(code) << bitCount_)
                             : static_cast<std::uint32_t>(code);
  bitCount_ += codeBits_;
  while (bitCount_ >= 8) {
    PutByte(static_cast<std::uint8_t>(bitBuffer_ & 0xFF));
    bitBuffer_ >>= 8;
    bitCount_ -= 8;
  }
  // The width grows once the code table has used every code of the current width.
  if (nextCode_ > maxCode_ || clearPending_) {
    if (clearPending_) {
      codeBits_ = initBits_;
      maxCode_ = (1 << codeBits_) - 1;
      clearPending_ = false;
    } else {
      ++codeBits_;
      maxCode_ = codeBits_ == kMaxBits ? kMaxCodes : (1 << codeBits_) - 1;
    }
  }
  if (code == endCode_) {
    while (bitCount_ > 0) {
      PutByte(static_cast<std::uint8_t>(bitBuffer_ & 0xFF));
      bitBuffer_ >>= 8;
      bitCount_ -= 8;
    }
    FlushPacket();
  }
}

void GifLzwEncoder::PutByte(std::uint8_t byte) {
  packet_[static_cast<std::size_t>(packetCount_++)] = byte;
  if (packetCount_ >= 254) FlushPacket();
}

void GifLzwEncoder::FlushPacket() {
  if (packetCount_ == 0) return;
  out_.push_back(static_cast<char>(packetCount_));
  out_.append(reinterpret_cast<const char*>(packet_.data()),
              static_cast<std::size_t>(packetCount_));
  packetCount_ = 0;
}
