// Decoding of the frames of a GIF file held in memory: the header, the light counting
// pass, then the blocks again with the images a frame needs decoded and composed. Every
// raster, the screen-sized one included, must stay within maxPixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifComposer.h"
#include "image/gif/GifCursor.h"
#include "image/gif/GifFileScan.h"
#include "image/gif/GifHeader.h"
#include "image/gif/GifRaster.h"

// The frames of one file, decoded in any order. The decoder keeps the picture it composed
// for the last frame asked for, with its place in the file, so that asking for a later
// frame continues from there instead of composing from the first image again: frames
// asked for in order cost one image each. An earlier frame starts again from the top.
// Every answer is the picture a fresh decode of that frame gives.
class GifFrameDecoder {
 public:
  // `data` must outlive the decoder.
  GifFrameDecoder(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels)
      : in_(data, size), maxPixels_(maxPixels) {}
  GifFrameDecoder(const GifFrameDecoder&) = delete;
  GifFrameDecoder& operator=(const GifFrameDecoder&) = delete;

  // The picture of frame `frame` (from 0), valid until the next call; nullptr when the
  // file does not start with "GIF8", a header, descriptor or colour table is cut short,
  // the frame is not below the number of frames, the frame's image lies outside the
  // screen or has no pixels, or a raster it needs is over the budget.
  const GifRaster* Decode(int frame);
  // The number of image descriptors once the header and the counting pass were read,
  // else 0.
  int FrameCount() const { return scanned_ ? static_cast<int>(scan_.images.size()) : 0; }

 private:
  bool ReadHeaderAndScan();
  // Back to the first image, with nothing composed.
  void Restart();
  bool ComposeUpTo(int last, int first);

  GifCursor in_;
  std::int64_t maxPixels_;
  bool scanned_ = false;
  bool failedHeader_ = false;
  GifScreen screen_;
  GifFileScan scan_;
  std::size_t firstBlock_ = 0;  // just after the global colour table
  bool onScreen_ = false;       // whether the images are painted onto a screen raster
  // The composition so far: images [0, next_) were read, the cursor stands after them.
  GifControl control_;
  std::optional<GifComposer> composer_;
  int next_ = 0;
  const GifRaster* result_ = nullptr;  // the picture of frame next_ - 1, when composed
};

// Decodes frame `frame` (from 0) of the file in data[0, size) into `out`; false in the
// cases GifFrameDecoder::Decode lists. *frameCount (when given) receives the number of
// image descriptors once the counting pass has run, else 0.
bool DecodeGifFrame(const std::uint8_t* data, std::size_t size, int frame, std::int64_t maxPixels,
                    GifRaster& out, int* frameCount = nullptr);

// The number of frames when frame 0 of the file decodes, else 0; decided without decoding
// any image data.
int GifFrameCount(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels);
