// ImageBuffer's bit-depth conversions: 1, 8, 16, 24 and 32 bits per pixel, and the
// 8-bit grey picture of JPEG destinations.
#include <cstring>

#include "image/codec/FreeImageCall.h"
#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"

namespace {

// Runs a FreeImage conversion; nullptr when it returns nothing or throws.
template <typename Convert>
FIBITMAP* Converted(Convert convert) {
  return CallFreeImage<FIBITMAP*>(nullptr, convert);
}

int BitCount(unsigned mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

}  // namespace

HRESULT ImageBuffer::ConvertToBitDepth(int bpp) {
  if (!Picture()) return E_IMG_NOT_LOADED;
  FIBITMAP* pic = Picture();
  const int current = Bpp();
  FIBITMAP* next = nullptr;
  switch (bpp) {
    case 1: return current == 1 ? S_OK : ToMonochrome();
    case 8:
      if (current == 8) return S_OK;
      if (current == 1 || current == 4) {
        next = Converted([&] { return FreeImage_ConvertTo8Bits(pic); });
        break;
      }
      return ConvertDeeper(8);
    case 16:
      if (current == 16 && BitCount(FreeImage_GetGreenMask(pic)) == 5) return S_OK;
      next = Converted([&] { return FreeImage_ConvertTo16Bits555(pic); });
      break;
    case 24:
      if (current == 24) return S_OK;
      next = Converted([&] { return FreeImage_ConvertTo24Bits(pic); });
      break;
    case 32:
      if (current == 32) return S_OK;
      next = Converted([&] { return FreeImage_ConvertTo32Bits(pic); });
      break;
    default: return E_INVALIDARG;
  }
  if (!next) return E_FAIL;
  ReplacePicture(next);
  return S_OK;
}

// 16, 24 and 32 bits to an 8-bit palette of up to 256 colours with Wu's quantiser.
HRESULT ImageBuffer::ConvertDeeper(int /*bpp*/) {
  HRESULT hr = ConvertToBitDepth(24);
  if (Failed(hr)) return hr;
  FIBITMAP* pic = Picture();
  FIBITMAP* next = Converted([&] { return FreeImage_ColorQuantize(pic, FIQ_WUQUANT); });
  if (!next) return E_FAIL;
  ReplacePicture(next);
  return S_OK;
}

// Dark pixels (channel average below 127) become bit 1, drawn black by the palette.
HRESULT ImageBuffer::ToMonochrome() {
  HRESULT hr = ConvertToBitDepth(24);
  if (Failed(hr)) return hr;
  FIBITMAP* pic = Picture();
  const int w = Width(), h = Height();
  FIBITMAP* mono = AllocatePicture(w, h, 1);
  if (!mono) return E_OUTOFMEMORY;
  RGBQUAD* palette = FreeImage_GetPalette(mono);
  palette[0] = RGBQUAD{255, 255, 255, 0};
  palette[1] = RGBQUAD{0, 0, 0, 0};
  for (int y = 0; y < h; ++y) {
    const BYTE* in = FreeImage_GetScanLine(pic, y);
    BYTE* out = FreeImage_GetScanLine(mono, y);
    std::memset(out, 0, FreeImage_GetPitch(mono));
    for (int x = 0; x < w; ++x, in += 3) {
      const int v = (in[FI_RGBA_RED] + in[FI_RGBA_GREEN] + in[FI_RGBA_BLUE]) / 3;
      if (v < 127) out[x >> 3] |= static_cast<BYTE>(0x80u >> (x & 7));
    }
  }
  ReplacePicture(mono);
  return S_OK;
}

HRESULT ImageBuffer::ToGrey8() {
  if (!Picture()) return E_IMG_NOT_LOADED;
  if (Bpp() == 8 && FreeImage_GetColorType(Picture()) == FIC_MINISBLACK) return S_OK;
  if (Bpp() <= 8) {
    // Palette colours are turned grey by their colour, not by their index.
    HRESULT hr = ConvertToBitDepth(32);
    if (Failed(hr)) return hr;
  }
  FIBITMAP* pic = Picture();
  FIBITMAP* grey = Converted([&] { return FreeImage_ConvertTo8Bits(pic); });
  if (!grey) return E_FAIL;
  ReplacePicture(grey);
  return S_OK;
}
