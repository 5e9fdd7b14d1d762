#include "image/codec/StandardBitmap.h"

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
