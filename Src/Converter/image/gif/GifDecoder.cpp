#include "image/gif/GifDecoder.h"

#include <utility>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifComposer.h"
#include "image/gif/GifCursor.h"
#include "image/gif/GifFileScan.h"
#include "image/gif/GifHeader.h"
#include "image/gif/GifImageDecoder.h"

namespace {

// The header and the counting pass; the cursor is left just after the global table.
bool ReadHeaderAndScan(GifCursor& in, GifScreen& screen, GifFileScan& scan) {
  if (!ReadGifHeader(in, screen)) return false;
  const std::size_t start = in.Position();
  if (!ScanGifFile(in, screen, scan)) return false;
  in.Seek(start);
  return true;
}

const GifColourTable* TableFor(const GifImageDescriptor& image, const GifScreen& screen) {
  if (image.hasLocalTable) return &image.localTable;
  return screen.hasGlobalTable ? &screen.globalTable : nullptr;
}

}  // namespace

bool DecodeGifFrame(const std::uint8_t* data, std::size_t size, int frame, std::int64_t maxPixels,
                    GifRaster& out, int* frameCount) {
  if (frameCount) *frameCount = 0;
  GifCursor in(data, size);
  GifScreen screen;
  GifFileScan scan;
  if (!ReadHeaderAndScan(in, screen, scan)) return false;
  const int count = static_cast<int>(scan.images.size());
  if (frameCount) *frameCount = count;
  if (frame < 0 || frame >= count) return false;

  GifControl control = scan.control;
  GifBlockReader blocks(in, control);
  GifComposer composer(screen, maxPixels);
  int last = frame;
  int first = 0;
  for (int k = 0; k <= last; ++k) {
    GifImageDescriptor image;
    // The counting pass walked the same blocks, so every image it counted is met again.
    if (blocks.Next(image) != GifBlock::Image) return false;
    if (k == 0) {
      if (!composer.Start(image)) return false;
      if (composer.OnScreen()) {
        last = count - 1;
      } else {
        if (!scan.images[static_cast<std::size_t>(frame)].decodable) return false;
        first = FirstImageNeeded(scan, frame);
      }
    }
    if (k < first || !GifImageDecodable(image, screen)) {
      SkipGifImageData(in);
      continue;
    }
    GifRaster raster;
    if (!DecodeGifImage(in, image, TableFor(image, screen), control.transparentIndex, maxPixels,
                        raster))
      return false;
    composer.Add(std::move(raster), k, control.disposal);
  }
  return composer.Finish(control, out);
}

int GifFrameCount(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels) {
  GifCursor in(data, size);
  GifScreen screen;
  GifFileScan scan;
  if (!ReadHeaderAndScan(in, screen, scan) || scan.images.empty()) return 0;
  GifControl control;
  GifBlockReader blocks(in, control);
  GifImageDescriptor first;
  if (blocks.Next(first) != GifBlock::Image) return 0;
  // Frame 0 is the screen-sized picture, or the first image on its own.
  const bool decodes =
      GifUsesScreenRaster(screen, first)
          ? std::int64_t{screen.width} * screen.height <= maxPixels
          : scan.images[0].decodable && std::int64_t{first.width} * first.height <= maxPixels;
  return decodes ? static_cast<int>(scan.images.size()) : 0;
}
