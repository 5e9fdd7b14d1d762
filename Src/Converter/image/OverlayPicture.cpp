#include "image/OverlayPicture.h"

#include "image/codec/ImageType.h"
#include "image/PixelView.h"

HRESULT LoadOverlayPicture(ImageBuffer& overlay, const std::string& path) {
  const HRESULT hr = overlay.Load(path, 0);
  if (Failed(hr)) return hr;
  overlay.ConvertToBitDepth(32);
  if (GetImageType(path) != ImageTypeOwnGif || !IsPicture32(overlay.Picture())) return hr;
  const PixelView logo = ViewOf(overlay.Picture());
  for (int y = 0; y < logo.height; ++y) {
    std::uint32_t* row = logo.Row(y);
    for (int x = 0; x < logo.width; ++x) row[x] &= 0x00FFFFFFu;
  }
  return hr;
}
