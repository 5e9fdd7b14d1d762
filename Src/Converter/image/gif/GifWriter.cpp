#include "image/gif/GifWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "image/codec/BitmapRaster.h"
#include "image/gif/GifEncode.h"
#include "platform/FileWrite.h"

namespace {

// Writes the whole file, checking every write and the close; removes it on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  const bool closed = close(fd) == 0;
  if (written && closed) return true;
  unlink(path.c_str());
  return false;
}

}  // namespace

HRESULT WriteGif(const std::string& path, FIBITMAP* picture) {
  try {
    GifRaster raster;
    if (!RasterFromBitmap(picture, raster)) return E_FAIL;
    std::string bytes;
    if (!EncodeGif(raster, bytes)) return E_FAIL;
    return WriteFileBytes(path, bytes) ? S_OK : E_FAIL;
  } catch (const std::bad_alloc&) {
    return E_FAIL;
  }
}
