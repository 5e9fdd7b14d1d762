// libFuzzer target for the HEIF page counter: any bytes through the box walk. Besides the
// sanitizers it aborts when the count is impossible for the file's size, and when libheif
// reads the same bytes and finds another number of top-level images: the counter must agree
// with the decoder that loads the pages.
#include <libheif/heif.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "image/heif/HeifPageCount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int pages = CountHeifPages(data, size);
  if (pages < -1 || (pages > 0 && static_cast<std::size_t>(pages) > size)) {
    std::fprintf(stderr, "impossible page count %d for %zu bytes\n", pages, size);
    std::abort();
  }
  heif_context* context = heif_context_alloc();
  if (heif_context_read_from_memory_without_copy(context, data, size, nullptr).code ==
      heif_error_Ok) {
    const int images = heif_context_get_number_of_top_level_images(context);
    if (images != pages) {
      std::fprintf(stderr, "counted %d pages, libheif %d top-level images\n", pages, images);
      std::abort();
    }
  }
  heif_context_free(context);
  return 0;
}
