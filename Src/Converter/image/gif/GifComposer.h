// How the decoded images of a GIF file make the picture of one frame. A file without a
// global colour table whose first image is smaller than the screen both ways is painted,
// image by image and colour by colour, onto a black 24-bit raster of the screen's size.
// Otherwise an image that comes after the first with disposal method 1 paints its
// non-transparent indices over the picture so far, at its offset and clipped to that
// picture; any other image becomes the picture on its own, at its own size.
#pragma once

#include <cstdint>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifHeader.h"
#include "image/gif/GifRaster.h"

// Whether the images of the file are painted onto a raster of the screen's size.
bool GifUsesScreenRaster(const GifScreen& screen, const GifImageDescriptor& first);

class GifComposer {
 public:
  GifComposer(const GifScreen& screen, std::int64_t maxPixels)
      : screen_(screen), maxPixels_(maxPixels) {}

  // Sets up the composition from the file's first image descriptor; false when the screen
  // raster it needs is over the budget or the memory cannot be had.
  bool Start(const GifImageDescriptor& first);
  bool OnScreen() const { return onScreen_; }

  // Adds image k, decoded with `disposal` the method in force before it.
  void Add(GifRaster&& image, int k, int disposal);

  // The picture so far, given the properties of the control state at the end; nullptr
  // when there is none. It stays the composer's: later images go on painting over it.
  const GifRaster* Result(const GifControl& control);

 private:
  void PaintIndices(const GifRaster& image);
  void PaintColours(const GifRaster& image);

  const GifScreen& screen_;
  std::int64_t maxPixels_;
  bool onScreen_ = false;
  GifRaster picture_;
};
