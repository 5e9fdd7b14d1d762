// libFuzzer target for the decoders beside FreeImage: any bytes as a HEIC, AVIF or JPEG XL
// file (the first byte picks which) through the page count and the load of the first page
// as ImageBuffer runs them. A load that succeeds must hold a picture of its reported size
// whose every row can be read.
#include <FreeImage.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/ImageBuffer.h"
#include "image/codec/FreeImageCall.h"
#include "image/codec/ImageType.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = (StartFreeImage(), true);
  (void)started;
  if (size < 1) return 0;
  static const char* const kExtensions[] = {".heic", ".avif", ".jxl"};
  const std::string path = "/tmp/bm-fuzz-" + std::to_string(getpid()) + kExtensions[data[0] % 3];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);
  GetPageCount(path);
  ImageBuffer image;
  if (Succeeded(image.Load(path, 0))) {
    volatile std::uint8_t sink = 0;
    const unsigned pitch = FreeImage_GetLine(image.Picture());
    for (int y = 0; y < image.Height(); ++y) {
      const BYTE* row = FreeImage_GetScanLine(image.Picture(), y);
      sink = sink ^ row[0] ^ row[pitch - 1];
    }
    (void)sink;
  }
  std::remove(path.c_str());
  return 0;
}
