#include "image/Shadow.h"

HRESULT AddShadow(FIBITMAP* /*picture*/, const ConversionSettings& /*settings*/, FIBITMAP** result) {
  *result = nullptr;  // not built yet: the picture passes unchanged
  return S_OK;
}
