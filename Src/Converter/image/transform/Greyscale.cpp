#include "image/transform/Greyscale.h"

#include "image/ImageResult.h"
#include "image/PixelView.h"

HRESULT ConvertToGrey(FIBITMAP* picture, const ConversionSettings& /*settings*/,
                      FIBITMAP** result) {
  *result = nullptr;
  if (!IsPicture32(picture)) return E_IMG_NOT_32BIT;
  const PixelView view = ViewOf(picture);
  for (int y = 0; y < view.height; ++y) {
    std::uint32_t* row = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t v = ((p & 0xFFu) + ((p >> 8) & 0xFFu) + ((p >> 16) & 0xFFu)) / 3;
      row[x] = (p & 0xFF000000u) | v << 16 | v << 8 | v;
    }
  }
  return S_OK;
}
