#include "image/codec/StandardBitmap.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "image/codec/FreeImageCall.h"
#include "image/codec/PictureMemory.h"

namespace {

// A float sample of nominal range 0..1 as a byte; NaN and negatives give 0.
BYTE FloatToByte(float v) {
  if (!(v > 0.0f)) return 0;
  return v >= 1.0f ? 255 : static_cast<BYTE>(v * 255.0f + 0.5f);
}

// Float grey (1 sample), colour (3) or colour with alpha (4) as a 24- or 32-bit bitmap.
// FreeImage converts none of these itself.
FIBITMAP* FromFloatSamples(FIBITMAP* picture, int samples) {
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  const int bytes = samples == 4 ? 4 : 3;
  FIBITMAP* out = AllocatePicture(width, height, 8 * bytes);
  if (!out) return nullptr;
  for (int y = 0; y < height; ++y) {
    const float* in = reinterpret_cast<const float*>(FreeImage_GetScanLine(picture, y));
    BYTE* px = FreeImage_GetScanLine(out, y);
    for (int x = 0; x < width; ++x, in += samples, px += bytes) {
      // Float colour is stored red, green, blue(, alpha); bitmaps blue, green, red(, alpha).
      px[FI_RGBA_RED] = FloatToByte(in[0]);
      px[FI_RGBA_GREEN] = FloatToByte(in[samples == 1 ? 0 : 1]);
      px[FI_RGBA_BLUE] = FloatToByte(in[samples == 1 ? 0 : 2]);
      if (bytes == 4) px[FI_RGBA_ALPHA] = FloatToByte(in[3]);
    }
  }
  return out;
}

// IEEE half float (1 sign, 5 exponent and 10 fraction bits) as a float.
float HalfToFloat(std::uint16_t half) {
  const int exponent = (half >> 10) & 0x1F;
  const int fraction = half & 0x3FF;
  float magnitude = 0;
  if (exponent == 0) {
    magnitude = std::ldexp(static_cast<float>(fraction), -24);  // subnormal: f x 2^-24
  } else if (exponent == 31) {
    magnitude = fraction ? NAN : INFINITY;
  } else {
    magnitude = std::ldexp(static_cast<float>(fraction + 1024), exponent - 25);  // 1.f x 2^(e-15)
  }
  return half & 0x8000 ? -magnitude : magnitude;
}

// The byte of every half float, so that the pixel loop only looks values up.
const std::array<BYTE, 65536>& HalfToByte() {
  static const std::array<BYTE, 65536> table = [] {
    std::array<BYTE, 65536> bytes{};
    for (std::size_t h = 0; h < bytes.size(); ++h)
      bytes[h] = FloatToByte(HalfToFloat(static_cast<std::uint16_t>(h)));
    return bytes;
  }();
  return table;
}

// Grey (1 sample), grey and alpha (2), RGB (3) or RGBA (4) half floats as a 24- or 32-bit
// bitmap.
FIBITMAP* FromHalfSamples(FIBITMAP* picture, int samples) {
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  const bool alpha = samples == 2 || samples == 4;
  const int bytes = alpha ? 4 : 3;
  FIBITMAP* out = AllocatePicture(width, height, 8 * bytes);
  if (!out) return nullptr;
  const std::array<BYTE, 65536>& toByte = HalfToByte();
  const int green = samples >= 3 ? 1 : 0, blue = samples >= 3 ? 2 : 0;
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const std::uint16_t*>(FreeImage_GetScanLine(picture, y));
    BYTE* px = FreeImage_GetScanLine(out, y);
    for (int x = 0; x < width; ++x, in += samples, px += bytes) {
      px[FI_RGBA_RED] = toByte[in[0]];
      px[FI_RGBA_GREEN] = toByte[in[green]];
      px[FI_RGBA_BLUE] = toByte[in[blue]];
      if (alpha) px[FI_RGBA_ALPHA] = toByte[in[samples - 1]];
    }
  }
  return out;
}

FIBITMAP* Convert(FIBITMAP* picture, FREE_IMAGE_TYPE type) {
  return CallFreeImage<FIBITMAP*>(nullptr, [&]() -> FIBITMAP* {
    switch (type) {
      // 16-bit grey: the high byte of each sample, as an 8-bit grey picture.
      case FIT_UINT16: return FreeImage_ConvertTo8Bits(picture);
      // 16-bit colour: the high byte of each channel, alpha kept.
      case FIT_RGB16: return FreeImage_ConvertTo24Bits(picture);
      case FIT_RGBA16: return FreeImage_ConvertTo32Bits(picture);
      case FIT_FLOAT: return FromFloatSamples(picture, 1);
      case FIT_RGBF: return FromFloatSamples(picture, 3);
      case FIT_RGBAF: return FromFloatSamples(picture, 4);
      // Integer and double samples have no nominal range: stretched by their own extremes.
      default: return FreeImage_ConvertToStandardType(picture, TRUE);
    }
  });
}

}  // namespace

FIBITMAP* ToStandardBitmap(FIBITMAP* picture) {
  if (!picture || IsStandardBitmap(picture)) return picture;
  FIBITMAP* standard = Convert(picture, FreeImage_GetImageType(picture));
  if (standard && !IsStandardBitmap(standard)) {
    FreeImage_Unload(standard);
    return nullptr;
  }
  return standard;
}

FIBITMAP* FromHalfFloatPage(FIBITMAP* page) {
  if (!page) return nullptr;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(page);
  if (type == FIT_RGBF || type == FIT_RGBAF) return ToStandardBitmap(page);
  const unsigned bpp = FreeImage_GetBPP(page);
  if (bpp % 16 != 0 || bpp < 16 || bpp > 64) return nullptr;
  return CallFreeImage<FIBITMAP*>(
      nullptr, [&] { return FromHalfSamples(page, static_cast<int>(bpp / 16)); });
}
