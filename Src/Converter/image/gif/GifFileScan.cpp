#include "image/gif/GifFileScan.h"

#include <new>

#include "image/gif/GifImageDecoder.h"

bool ScanGifFile(GifCursor& in, const GifScreen& screen, GifFileScan& scan) {
  scan = GifFileScan();
  GifBlockReader blocks(in, scan.control);
  GifImageDescriptor image;
  try {
    for (;;) {
      const GifBlock block = blocks.Next(image);
      if (block == GifBlock::End) return true;
      if (block == GifBlock::Broken) return false;
      GifImageEntry entry;
      if (scan.control.controlSeen)
        entry.disposal = static_cast<std::int8_t>(scan.control.disposal);
      entry.decodable = GifImageDecodable(image, screen);
      scan.images.push_back(entry);
      SkipGifImageData(in);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
}

int DisposalBefore(const GifFileScan& scan, int k) {
  const int disposal = scan.images[static_cast<std::size_t>(k)].disposal;
  return disposal >= 0 ? disposal : scan.control.disposal;
}

int FirstImageNeeded(const GifFileScan& scan, int n) {
  // An image decoded without disposal 1 becomes the picture on its own; one that is not
  // decoded leaves the picture as it was, and one with disposal 1 paints over it.
  int k = n;
  while (k > 0 &&
         !(scan.images[static_cast<std::size_t>(k)].decodable && DisposalBefore(scan, k) != 1))
    --k;
  return k;
}
