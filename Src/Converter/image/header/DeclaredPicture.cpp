#include "image/header/DeclaredPicture.h"

#include "image/codec/FreeImageCall.h"
#include "image/codec/PictureMemory.h"
#include "image/header/FormatHeaders.h"
#include "image/header/TiffChain.h"

namespace {

using Reader = std::optional<DeclaredPicture> (*)(ByteSource&);

// The formats judged by our own readers. KOALA (always 320 x 200) and PCD (a fixed size
// per resolution) need none; TIFF has its own path because pages count.
struct OwnReader {
  FREE_IMAGE_FORMAT type;
  Reader read;
};
constexpr OwnReader kReaders[] = {
    {FIF_SGI, ReadSgiHeader},   {FIF_PSD, ReadPsdHeader},   {FIF_DDS, ReadDdsHeader},
    {FIF_WBMP, ReadWbmpHeader}, {FIF_IFF, ReadIffHeader},   {FIF_MNG, ReadMngHeader},
    {FIF_XBM, ReadXbmHeader},   {FIF_PICT, ReadPictHeader}, {FIF_J2K, ReadJ2kHeader},
    {FIF_JP2, ReadJp2Header},
};

Reader ReaderFor(int type) {
  for (const OwnReader& r : kReaders)
    if (r.type == type) return r.read;
  return nullptr;
}

// FreeImage's header-only load, for the formats that have one.
std::optional<DeclaredPicture> FreeImageHeader(FREE_IMAGE_FORMAT fif, const std::string& path) {
  if (!FreeImage_FIFSupportsNoPixels(fif)) return std::nullopt;
  FIBITMAP* header = CallFreeImage<FIBITMAP*>(
      nullptr, [&] { return FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS); });
  if (!header) return std::nullopt;
  const DeclaredPicture picture{FreeImage_GetWidth(header), FreeImage_GetHeight(header),
                                static_cast<int>(FreeImage_GetBPP(header))};
  FreeImage_Unload(header);
  return picture;
}

}  // namespace

bool HasOwnHeaderReader(int type) { return type == FIF_TIFF || ReaderFor(type) != nullptr; }

std::optional<DeclaredPicture> ReadDeclaredPicture(int type, ByteSource& bytes, int page) {
  if (type == FIF_TIFF) {
    TiffChain chain;
    return chain.Start(bytes) ? chain.PageHeader(page) : std::nullopt;
  }
  const Reader read = ReaderFor(type);
  return read ? read(bytes) : std::nullopt;
}

bool DeclaredPictureAllowed(int type, const DeclaredPicture& picture) {
  return PeakBytesFor(type, picture.width, picture.height, picture.bpp) <= kMaxPictureBytes;
}

bool DeclaredSizeAllowed(FREE_IMAGE_FORMAT fif, const std::string& path, int page) {
  if (fif == FIF_UNKNOWN) return true;
  std::optional<DeclaredPicture> declared;
  if (HasOwnHeaderReader(fif)) {
    FileBytes bytes(path);
    if (bytes.ok()) declared = ReadDeclaredPicture(fif, bytes, page);
  } else {
    declared = FreeImageHeader(fif, path);
  }
  return !declared || DeclaredPictureAllowed(fif, *declared);
}
