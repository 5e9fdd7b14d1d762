// Pixel values of 32-bit pictures, read as 0xAARRGGBB (AA is the fourth byte), and the
// two colour helpers the transformation steps share.
#pragma once

#include <cstdint>

// The fourth byte of every pixel the program makes: opaque, so that 32-bit outputs of
// formats with alpha (PNG, TIFF, TGA) are visible.
constexpr std::uint32_t kOpaque = 0xFF000000u;

// A COLORREF 0x00BBGGRR as the pixel 0x00RRGGBB (fourth byte 0).
constexpr std::uint32_t ToPixel(std::uint32_t colorref) {
  return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

// Per channel trunc((1 - w) * b + w * a); the fourth byte of the result is 0.
inline std::uint32_t BlendColor(std::uint32_t a, std::uint32_t b, double w) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double ca = (a >> shift) & 0xFFu;
    const double cb = (b >> shift) & 0xFFu;
    out |= static_cast<std::uint32_t>((1.0 - w) * cb + w * ca) << shift;
  }
  return out;
}
