#include "ui/toolkit/ImageDC.h"

#include <wx/image.h>

#include <FreeImage.h>

#include <cstdint>

#include "image/codec/FreeImageCall.h"

ImageDC::ImageDC(const wxBitmap& bitmap) : bitmap_(bitmap) { dc_.SelectObject(bitmap_); }

ImageDC::~ImageDC() { dc_.SelectObject(wxNullBitmap); }

namespace {

// The picture's colours as a wx image (rows top-down), or an invalid image.
wxImage ImageOf(FIBITMAP* picture) {
  FIBITMAP* pixels32 =
      CallFreeImage<FIBITMAP*>(nullptr, [&] { return FreeImage_ConvertTo32Bits(picture); });
  if (!pixels32) return wxImage();
  const int width = static_cast<int>(FreeImage_GetWidth(pixels32));
  const int height = static_cast<int>(FreeImage_GetHeight(pixels32));
  wxImage image(width, height, false);
  if (image.IsOk()) {
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < height; ++y) {
      // FreeImage keeps the bottom row first.
      const auto* row =
          reinterpret_cast<const std::uint32_t*>(FreeImage_GetScanLine(pixels32, height - 1 - y));
      unsigned char* out = rgb + static_cast<std::size_t>(y) * width * 3;
      for (int x = 0; x < width; ++x) {
        const std::uint32_t p = row[x];
        out[3 * x] = static_cast<unsigned char>(p >> 16);
        out[3 * x + 1] = static_cast<unsigned char>(p >> 8);
        out[3 * x + 2] = static_cast<unsigned char>(p);
      }
    }
  }
  FreeImage_Unload(pixels32);
  return image;
}

}  // namespace

HRESULT GetDC(const ImageBuffer& image, std::unique_ptr<ImageDC>* out) {
  if (!out) return E_INVALIDARG;
  out->reset();
  if (!image.Picture()) return E_FAIL;
  const wxImage copy = ImageOf(image.Picture());
  if (!copy.IsOk()) return E_FAIL;
  const wxBitmap bitmap(copy, 24);
  if (!bitmap.IsOk()) return E_FAIL;
  *out = std::make_unique<ImageDC>(bitmap);
  return (*out)->DC().IsOk() ? S_OK : (out->reset(), E_FAIL);
}
