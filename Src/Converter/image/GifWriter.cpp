#include "image/GifWriter.h"

HRESULT WriteGif(const std::string& /*path*/, FIBITMAP* /*picture*/) {
  return E_FAIL;  // not built yet
}
