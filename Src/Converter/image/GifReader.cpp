#include "image/GifReader.h"

#include "image/ImageResult.h"

int CountGifFrames(const std::string& /*path*/) { return 0; }  // not built yet

HRESULT LoadGifFrame(const std::string& /*path*/, int /*index*/, FIBITMAP** picture) {
  *picture = nullptr;
  return E_IMG_LOAD;  // not built yet
}
