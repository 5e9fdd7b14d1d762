// Patching the header fields of real files inside a test, to make them lie: integers in
// either byte order written in place, and the CRC-32 that PNG chunks carry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline void PutBig16(std::string& bytes, std::size_t at, unsigned v) {
  bytes[at] = static_cast<char>(v >> 8);
  bytes[at + 1] = static_cast<char>(v);
}

inline void PutBig32(std::string& bytes, std::size_t at, std::uint32_t v) {
  PutBig16(bytes, at, v >> 16);
  PutBig16(bytes, at + 2, v & 0xFFFF);
}

inline void PutLittle32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

// The CRC-32 (polynomial 0xEDB88320) of n bytes, as PNG and zip compute it.
inline std::uint32_t Crc32(const char* data, std::size_t n) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= static_cast<unsigned char>(data[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}
