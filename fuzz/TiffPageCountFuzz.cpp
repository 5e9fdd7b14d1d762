// libFuzzer target for the TIFF page counter: any bytes through the directory walk. Besides
// the sanitizers it aborts when the count leaves 0..kMaxTiffPages or when a file of n bytes
// claims more directories than it has bytes (each starts at an offset of its own).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "image/header/TiffPageCount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int pages = CountTiffPages(data, size);
  if (pages < 0 || pages > kMaxTiffPages || static_cast<std::size_t>(pages) > size) {
    std::fprintf(stderr, "impossible page count %d for %zu bytes\n", pages, size);
    std::abort();
  }
  return 0;
}
