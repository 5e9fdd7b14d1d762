#include "image/gif/GifDecoder.h"

#include <algorithm>
#include <utility>

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

// The first image descriptor of the file, read without moving the cursor.
bool PeekFirstImage(GifCursor in, GifControl control, GifImageDescriptor& first) {
  GifBlockReader blocks(in, control);
  return blocks.Next(first) == GifBlock::Image;
}

}  // namespace

bool GifFrameDecoder::ReadHeaderAndScan() {
  if (scanned_ || failedHeader_) return scanned_;
  GifImageDescriptor first;
  scanned_ = ::ReadHeaderAndScan(in_, screen_, scan_) && !scan_.images.empty() &&
             PeekFirstImage(in_, scan_.control, first);
  if (!scanned_) {
    failedHeader_ = true;
    return false;
  }
  firstBlock_ = in_.Position();
  onScreen_ = GifUsesScreenRaster(screen_, first);
  Restart();
  return true;
}

void GifFrameDecoder::Restart() {
  in_.Seek(firstBlock_);
  control_ = scan_.control;  // the decoding pass starts from the state the scan ended in
  composer_.emplace(screen_, maxPixels_);
  next_ = 0;
  result_ = nullptr;
}

const GifRaster* GifFrameDecoder::Decode(int frame) {
  if (!ReadHeaderAndScan()) return nullptr;
  const int count = FrameCount();
  if (frame < 0 || frame >= count) return nullptr;
  // A screen raster holds every image of the file, whichever frame is asked for.
  const int last = onScreen_ ? count - 1 : frame;
  if (result_ && next_ - 1 == last) return result_;
  int first = 0;
  if (!onScreen_) {
    if (!scan_.images[static_cast<std::size_t>(frame)].decodable) return nullptr;
    // Images before `first` are replaced by it, so they need no decoding.
    first = FirstImageNeeded(scan_, frame);
  }
  if (next_ > last) Restart();
  first = std::max(first, next_);
  if (!ComposeUpTo(last, first)) {
    Restart();
    return nullptr;
  }
  result_ = composer_->Result(control_);
  return result_;
}

// Reads images next_ to last; images before `first` are skipped without decoding.
bool GifFrameDecoder::ComposeUpTo(int last, int first) {
  GifBlockReader blocks(in_, control_);
  for (; next_ <= last; ++next_) {
    const int k = next_;
    GifImageDescriptor image;
    // The counting pass walked the same blocks, so every image it counted is met again.
    if (blocks.Next(image) != GifBlock::Image) return false;
    if (k == 0 && !composer_->Start(image)) return false;
    if (k < first || !GifImageDecodable(image, screen_)) {
      SkipGifImageData(in_);
      continue;
    }
    GifRaster raster;
    if (!DecodeGifImage(in_, image, TableFor(image, screen_), control_.transparentIndex, maxPixels_,
                        raster))
      return false;
    composer_->Add(std::move(raster), k, control_.disposal);
  }
  return true;
}

bool DecodeGifFrame(const std::uint8_t* data, std::size_t size, int frame, std::int64_t maxPixels,
                    GifRaster& out, int* frameCount) {
  GifFrameDecoder decoder(data, size, maxPixels);
  const GifRaster* picture = decoder.Decode(frame);
  if (frameCount) *frameCount = decoder.FrameCount();
  if (!picture) return false;
  out = *picture;
  return true;
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
