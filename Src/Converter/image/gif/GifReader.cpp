#include "image/gif/GifReader.h"

#include <cstdint>
#include <new>
#include <vector>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifPicture.h"
#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "platform/FileRead.h"

namespace {

// No GIF the program can hold a frame of comes near this size.
constexpr std::size_t kMaxGifFileBytes = static_cast<std::size_t>(kMaxPictureBytes);

}  // namespace

int CountGifFrames(const std::string& path) {
  try {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxGifFileBytes, bytes)) return 0;
    return GifFrameCount(bytes.data(), bytes.size(), kMaxPicturePixels);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

HRESULT LoadGifFrame(const std::string& path, int index, FIBITMAP** picture) {
  *picture = nullptr;
  try {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxGifFileBytes, bytes)) return E_IMG_LOAD;
    GifRaster raster;
    if (!DecodeGifFrame(bytes.data(), bytes.size(), index, kMaxPicturePixels, raster))
      return E_IMG_LOAD;
    bytes =
        std::vector<std::uint8_t>();  // the file is no longer needed: free it before the picture
    *picture = GifRasterToPicture(raster);
  } catch (const std::bad_alloc&) {
    return E_IMG_LOAD;
  }
  return *picture ? S_OK : E_IMG_LOAD;
}
