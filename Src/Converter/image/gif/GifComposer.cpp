#include "image/gif/GifComposer.h"

#include <algorithm>
#include <utility>

namespace {

// The part of an image at (left, top) that falls inside a target of width x height:
// columns [0, w) and rows [0, h) of the image, counted from its top-left.
struct Overlap {
  int w = 0;
  int h = 0;
};

Overlap Clip(const GifRaster& image, int left, int top, int width, int height) {
  Overlap o;
  o.w = std::max(0, std::min(image.Width(), width - left));
  o.h = std::max(0, std::min(image.Height(), height - top));
  return o;
}

}  // namespace

bool GifUsesScreenRaster(const GifScreen& screen, const GifImageDescriptor& first) {
  return !screen.hasGlobalTable && first.width < screen.width && first.height < screen.height;
}

bool GifComposer::Start(const GifImageDescriptor& first) {
  onScreen_ = GifUsesScreenRaster(screen_, first);
  return !onScreen_ || picture_.Create(screen_.width, screen_.height, 24, maxPixels_);
}

void GifComposer::Add(GifRaster&& image, int k, int disposal) {
  if (onScreen_) {
    PaintColours(image);
  } else if (k > 0 && disposal == 1 && !picture_.Empty()) {
    PaintIndices(image);
  } else {
    picture_ = std::move(image);
  }
}

// Rows are stored bottom-up in both rasters: image row y from the top is stored row
// height - 1 - y, and lands on the picture's row top + y from its top.
void GifComposer::PaintIndices(const GifRaster& image) {
  const Overlap o = Clip(image, image.left, image.top, picture_.Width(), picture_.Height());
  const int transparent = image.transparentIndex;
  const int bpp = picture_.Bpp();
  const int mask = (1 << bpp) - 1;
  for (int y = 0; y < o.h; ++y) {
    const std::uint8_t* in = image.Row(image.Height() - 1 - y);
    std::uint8_t* out = picture_.Row(picture_.Height() - 1 - (image.top + y));
    for (int x = 0; x < o.w; ++x) {
      const int index = image.IndexAt(in, x);
      if (index != transparent) PutPackedIndex(out, image.left + x, bpp, index & mask);
    }
  }
}

void GifComposer::PaintColours(const GifRaster& image) {
  const Overlap o = Clip(image, image.left, image.top, picture_.Width(), picture_.Height());
  for (int y = 0; y < o.h; ++y) {
    const std::uint8_t* in = image.Row(image.Height() - 1 - y);
    std::uint8_t* out = picture_.Row(picture_.Height() - 1 - (image.top + y)) +
                        static_cast<std::size_t>(image.left) * 3;
    for (int x = 0; x < o.w; ++x, out += 3) {
      const std::uint32_t colour = image.palette[static_cast<std::size_t>(image.IndexAt(in, x))];
      out[0] = static_cast<std::uint8_t>(colour);
      out[1] = static_cast<std::uint8_t>(colour >> 8);
      out[2] = static_cast<std::uint8_t>(colour >> 16);
    }
  }
}

const GifRaster* GifComposer::Result(const GifControl& control) {
  if (picture_.Empty()) return nullptr;
  // A screen picture has no indices of its own: when a transparent index was set, it
  // answers index 0.
  if (onScreen_ && control.transparentIndex >= 0) picture_.transparentIndex = 0;
  picture_.delay = control.delay;
  picture_.disposal = control.disposal;
  picture_.loopCount = control.loopCount;
  picture_.comment = control.comment;
  return &picture_;
}
