#include "image/transform/BitDepth.h"

#include <cstring>
#include <memory>

#include "image/codec/FreeImageCall.h"
#include "image/codec/PictureMemory.h"
#include "image/transform/Dither.h"

namespace {

struct Unload {
  void operator()(FIBITMAP* picture) const { FreeImage_Unload(picture); }
};
// An intermediate picture of a conversion, released when it goes out of scope.
using HeldPicture = std::unique_ptr<FIBITMAP, Unload>;

// Runs a FreeImage conversion into *result: S_OK with a picture, else E_FAIL (it returned
// nothing or threw).
template <typename Convert>
HRESULT Converted(Convert convert, FIBITMAP** result) {
  *result = CallFreeImage<FIBITMAP*>(nullptr, convert);
  return *result ? S_OK : E_FAIL;
}

// `picture` at 24 bits: itself, or a converted copy that `held` keeps; null on failure.
FIBITMAP* At24Bits(FIBITMAP* picture, HeldPicture& held) {
  if (FreeImage_GetBPP(picture) == 24) return picture;
  FIBITMAP* made = nullptr;
  Converted([&] { return FreeImage_ConvertTo24Bits(picture); }, &made);
  held.reset(made);
  return made;
}

int BitCount(unsigned mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

// 16, 24 and 32 bits to an 8-bit palette of up to 256 colours with Wu's quantiser.
HRESULT Quantised(FIBITMAP* picture, FIBITMAP** result) {
  HeldPicture held;
  FIBITMAP* rgb = At24Bits(picture, held);
  if (!rgb) return E_FAIL;
  return Converted([&] { return FreeImage_ColorQuantize(rgb, FIQ_WUQUANT); }, result);
}

// Dark pixels (channel average below 127) become bit 1, drawn black by the palette.
HRESULT Monochrome(FIBITMAP* picture, FIBITMAP** result) {
  HeldPicture held;
  FIBITMAP* rgb = At24Bits(picture, held);
  if (!rgb) return E_FAIL;
  const int w = static_cast<int>(FreeImage_GetWidth(rgb));
  const int h = static_cast<int>(FreeImage_GetHeight(rgb));
  FIBITMAP* mono = AllocatePicture(w, h, 1);
  if (!mono) return E_OUTOFMEMORY;
  RGBQUAD* palette = FreeImage_GetPalette(mono);
  palette[0] = RGBQUAD{255, 255, 255, 0};
  palette[1] = RGBQUAD{0, 0, 0, 0};
  for (int y = 0; y < h; ++y) {
    const BYTE* in = FreeImage_GetScanLine(rgb, y);
    BYTE* out = FreeImage_GetScanLine(mono, y);
    std::memset(out, 0, FreeImage_GetPitch(mono));
    for (int x = 0; x < w; ++x, in += 3) {
      const int v = (in[FI_RGBA_RED] + in[FI_RGBA_GREEN] + in[FI_RGBA_BLUE]) / 3;
      if (v < 127) out[x >> 3] |= static_cast<BYTE>(0x80u >> (x & 7));
    }
  }
  *result = mono;
  return S_OK;
}

}  // namespace

HRESULT ConvertBitDepth(FIBITMAP* picture, int bpp, FIBITMAP** result) {
  *result = nullptr;
  const unsigned current = FreeImage_GetBPP(picture);
  switch (bpp) {
    case 1: return current == 1 ? S_OK : Monochrome(picture, result);
    case 8:
      if (current == 8) return S_OK;
      if (current == 1 || current == 4)
        return Converted([&] { return FreeImage_ConvertTo8Bits(picture); }, result);
      return Quantised(picture, result);
    case 16:
      if (current == 16 && BitCount(FreeImage_GetGreenMask(picture)) == 5) return S_OK;
      return Converted([&] { return FreeImage_ConvertTo16Bits555(picture); }, result);
    case 24:
      if (current == 24) return S_OK;
      return Converted([&] { return FreeImage_ConvertTo24Bits(picture); }, result);
    case 32:
      if (current == 32) return S_OK;
      return Converted([&] { return FreeImage_ConvertTo32Bits(picture); }, result);
    default: return E_INVALIDARG;
  }
}

HRESULT ConvertToGrey8(FIBITMAP* picture, FIBITMAP** result) {
  *result = nullptr;
  const unsigned current = FreeImage_GetBPP(picture);
  if (current == 8 && FreeImage_GetColorType(picture) == FIC_MINISBLACK) return S_OK;
  HeldPicture held;
  FIBITMAP* source = picture;
  if (current <= 8) {
    // Palette colours are turned grey by their colour, not by their index: through 32 bits.
    FIBITMAP* deep = nullptr;
    if (Failed(Converted([&] { return FreeImage_ConvertTo32Bits(picture); }, &deep))) return E_FAIL;
    held.reset(deep);
    source = deep;
  }
  return Converted([&] { return FreeImage_ConvertTo8Bits(source); }, result);
}

HRESULT ConvertToDitheredPalette(FIBITMAP* picture, FIBITMAP** result) {
  *result = nullptr;
  HeldPicture held;
  FIBITMAP* rgb = At24Bits(picture, held);
  if (!rgb) return E_FAIL;
  FIBITMAP* quantised = nullptr;
  const HRESULT hr =
      Converted([&] { return FreeImage_ColorQuantize(rgb, FIQ_WUQUANT); }, &quantised);
  if (Failed(hr)) return hr;
  const HeldPicture palette(quantised);
  *result = DitherOntoPalette(rgb, quantised);
  return *result ? S_OK : E_OUTOFMEMORY;
}
