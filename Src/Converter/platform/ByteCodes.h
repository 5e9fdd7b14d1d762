// The two byte-level codings every layer meets: little-endian integers (the store's
// dwords and binary values, BMP and GIF headers) and hexadecimal digits (colours typed by
// the user, the store file's hex lists). Header-only, so hot readers inline them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline std::uint16_t ReadLE16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLE32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void WriteLE32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Appends the low 16 or 32 bits of `v`, low byte first, to a byte or char container.
template <class Bytes>
void AppendLE16(Bytes& out, std::uint32_t v) {
  using Byte = typename Bytes::value_type;
  out.push_back(static_cast<Byte>(v & 0xFFu));
  out.push_back(static_cast<Byte>((v >> 8) & 0xFFu));
}

template <class Bytes>
void AppendLE32(Bytes& out, std::uint32_t v) {
  AppendLE16(out, v);
  AppendLE16(out, v >> 16);
}

// The value of one hexadecimal digit of either case, or -1.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The number written by the leading hex digits of `text`, reading stops at the first other
// character; an empty or non-hex text is 0 and more than 8 digits keep the last 32 bits.
inline std::uint32_t LeadingHexValue(std::string_view text) {
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}
