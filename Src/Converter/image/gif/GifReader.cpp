#include "image/gif/GifReader.h"

#include <new>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifPicture.h"
#include "image/ImageResult.h"
#include "image/codec/ImageType.h"
#include "image/codec/PictureMemory.h"
#include "platform/FileRead.h"
#include "platform/FreedMemory.h"

namespace {

// No GIF the program can hold a frame of comes near this size.
constexpr std::size_t kMaxGifFileBytes = static_cast<std::size_t>(kMaxPictureBytes);

}  // namespace

std::int64_t GifPixelBudget() {
  // Priced as the largest raster: 24 bits a pixel, the screen-sized one.
  return kMaxPictureBytes / PeakBytesFor(ImageTypeOwnGif, 1, 1, 24);
}

int CountGifFrames(const std::string& path) {
  try {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxGifFileBytes, bytes)) return 0;
    return GifFrameCount(bytes.data(), bytes.size(), GifPixelBudget());
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

HRESULT LoadGifFrame(const std::string& path, int index, FIBITMAP** picture) {
  GifFrameReader reader;
  return reader.Load(path, index, picture);
}

GifFrameReader::GifFrameReader() = default;
GifFrameReader::~GifFrameReader() = default;

void GifFrameReader::Close() {
  const bool held = decoder_ || !bytes_.empty();
  decoder_.reset();
  bytes_ = std::vector<std::uint8_t>();
  path_.clear();
  version_.reset();
  if (held) ReturnFreedMemory();
}

bool GifFrameReader::Open(const std::string& path) {
  const std::optional<FileVersion> version = FileVersionOf(path);
  if (decoder_ && version && path == path_ && version == version_) return true;
  Close();
  // The version is taken before the read: a change during the read shows at the next load.
  if (!version || !ReadWholeFile(path, kMaxGifFileBytes, bytes_)) return false;
  decoder_ = std::make_unique<GifFrameDecoder>(bytes_.data(), bytes_.size(), GifPixelBudget());
  path_ = path;
  version_ = version;
  return true;
}

HRESULT GifFrameReader::Load(const std::string& path, int index, FIBITMAP** picture) {
  *picture = nullptr;
  try {
    if (!Open(path)) return E_IMG_LOAD;
    const GifRaster* raster = decoder_->Decode(index);
    if (!raster) return E_IMG_LOAD;
    // After the last frame nothing is worth keeping: the file's bytes go before the picture
    // is made (the decoder reads them only while it decodes), the canvas after.
    const bool last = index + 1 >= decoder_->FrameCount();
    if (last) {
      bytes_ = std::vector<std::uint8_t>();
      ReturnFreedMemory();
    }
    *picture = GifRasterToPicture(*raster);
    if (last) Close();
  } catch (const std::bad_alloc&) {
    Close();
    return E_IMG_LOAD;
  }
  return *picture ? S_OK : E_IMG_LOAD;
}
