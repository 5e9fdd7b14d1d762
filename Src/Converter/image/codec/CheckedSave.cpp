#include "image/codec/CheckedSave.h"

#include <cstdio>

#include "image/codec/FreeImageCall.h"

namespace {

// The stream and whether any write fell short.
struct CheckedStream {
  std::FILE* file = nullptr;
  bool writeFailed = false;
};

unsigned DLL_CALLCONV ReadBytes(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  return static_cast<unsigned>(
      std::fread(buffer, size, count, static_cast<CheckedStream*>(handle)->file));
}

unsigned DLL_CALLCONV WriteBytes(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  auto* stream = static_cast<CheckedStream*>(handle);
  const std::size_t written = std::fwrite(buffer, size, count, stream->file);
  if (written != count) stream->writeFailed = true;
  return static_cast<unsigned>(written);
}

int DLL_CALLCONV SeekTo(fi_handle handle, long offset, int origin) {
  return std::fseek(static_cast<CheckedStream*>(handle)->file, offset, origin);
}

long DLL_CALLCONV TellPosition(fi_handle handle) {
  return std::ftell(static_cast<CheckedStream*>(handle)->file);
}

}  // namespace

bool SaveCheckedToFile(FREE_IMAGE_FORMAT fif, FIBITMAP* picture, const std::string& path,
                       int flags) {
  CheckedStream stream;
  // Read access too: some writers (TIFF) read back what they wrote.
  stream.file = std::fopen(path.c_str(), "w+b");
  if (!stream.file) return false;
  FreeImageIO io{ReadBytes, WriteBytes, SeekTo, TellPosition};
  const BOOL encoded = CallFreeImage<BOOL>(FALSE, [&] {
    return FreeImage_SaveToHandle(fif, picture, &io, static_cast<fi_handle>(&stream), flags);
  });
  const bool flushed = std::fflush(stream.file) == 0 && !std::ferror(stream.file);
  const bool closed = std::fclose(stream.file) == 0;
  return encoded && !stream.writeFailed && flushed && closed;
}

bool WriteFileChecked(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}
