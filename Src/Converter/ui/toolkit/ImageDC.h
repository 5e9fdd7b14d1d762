// ImageDC: a drawing context holding a copy of an ImageBuffer's picture, for the windowed
// program's controls that draw pictures. The copy is a wx bitmap selected into a memory
// DC; the picture itself is left as it is. The engine never sees wx: this lives here.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <memory>

#include "image/ImageBuffer.h"
#include "platform/Result.h"

class ImageDC {
 public:
  explicit ImageDC(const wxBitmap& bitmap);
  ~ImageDC();
  ImageDC(const ImageDC&) = delete;
  ImageDC& operator=(const ImageDC&) = delete;

  wxMemoryDC& DC() { return dc_; }
  const wxBitmap& Bitmap() const { return bitmap_; }

 private:
  wxBitmap bitmap_;
  wxMemoryDC dc_;
};

// Makes *out a drawing context over a copy of the picture (its colours, any depth):
// S_OK; E_INVALIDARG without `out`; E_FAIL without a picture or when no bitmap could be
// made, leaving *out empty.
HRESULT GetDC(const ImageBuffer& image, std::unique_ptr<ImageDC>* out);
