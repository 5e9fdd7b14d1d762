#include "image/codec/RgbRows.h"

#include <algorithm>

#include "image/codec/PictureMemory.h"

FIBITMAP* PictureFromRgbRows(const std::uint8_t* rows, std::size_t stride, int width, int height,
                             int channels) {
  if (!rows || (channels != 3 && channels != 4)) return nullptr;
  FIBITMAP* picture = AllocatePicture(width, height, 8 * channels);
  if (!picture) return nullptr;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = rows + static_cast<std::size_t>(y) * stride;
    BYTE* out = FreeImage_GetScanLine(picture, height - 1 - y);
    for (int x = 0; x < width; ++x, in += channels, out += channels) {
      out[FI_RGBA_RED] = in[0];
      out[FI_RGBA_GREEN] = in[1];
      out[FI_RGBA_BLUE] = in[2];
      if (channels == 4) out[FI_RGBA_ALPHA] = in[3];
    }
  }
  return picture;
}

int RgbChannelsOf(FIBITMAP* picture) {
  if (!IsStandardBitmap(picture)) return 0;
  switch (FreeImage_GetBPP(picture)) {
    case 8: return FreeImage_GetColorType(picture) == FIC_MINISBLACK ? 1 : 0;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

void CopyToRgbRows(FIBITMAP* picture, std::uint8_t* rows, std::size_t stride) {
  const int channels = RgbChannelsOf(picture);
  if (channels == 0 || !rows) return;
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  for (int y = 0; y < height; ++y) {
    const BYTE* in = FreeImage_GetScanLine(picture, height - 1 - y);
    std::uint8_t* out = rows + static_cast<std::size_t>(y) * stride;
    if (channels == 1) {
      std::copy(in, in + width, out);
      continue;
    }
    for (int x = 0; x < width; ++x, in += channels, out += channels) {
      out[0] = in[FI_RGBA_RED];
      out[1] = in[FI_RGBA_GREEN];
      out[2] = in[FI_RGBA_BLUE];
      if (channels == 4) out[3] = in[FI_RGBA_ALPHA];
    }
  }
}
