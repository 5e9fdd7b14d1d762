// libFuzzer target for our own header readers: any bytes as a file of every type that has
// one, and as a TIFF whose first pages are read. A reader may find no size, but never
// reads outside the bytes (the sanitizers watch) and never reports a negative size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "image/header/DeclaredPicture.h"
#include "image/header/TiffChain.h"

namespace {

void Check(const std::optional<DeclaredPicture>& picture) {
  if (picture && (picture->width < 0 || picture->height < 0 || picture->bpp < 0)) {
    std::fprintf(stderr, "a negative size or depth\n");
    std::abort();
  }
}

constexpr FREE_IMAGE_FORMAT kTypes[] = {FIF_SGI, FIF_PSD, FIF_DDS,  FIF_WBMP, FIF_IFF,
                                        FIF_MNG, FIF_XBM, FIF_PICT, FIF_J2K,  FIF_JP2};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryBytes bytes(data, size);
  for (FREE_IMAGE_FORMAT type : kTypes) Check(ReadDeclaredPicture(type, bytes, 0));
  TiffChain chain;
  if (!chain.Start(bytes)) return 0;
  // Later pages first, then earlier ones: the remembered chain must serve both.
  for (int page : {3, 0, 1, 2, 4, 64}) Check(chain.PageHeader(page));
  return 0;
}
