// The light pass over a GIF file: every block is walked as the decoding pass walks it,
// and the image descriptors are counted without decoding their data. It also notes, for
// each image, what later decoding needs to know in advance: whether the image is decoded
// at all and the disposal method in force before it.
#pragma once

#include <cstdint>
#include <vector>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifCursor.h"
#include "image/gif/GifHeader.h"

struct GifImageEntry {
  std::int8_t disposal = -1;  // -1: no graphic control extension came before the image
  bool decodable = false;
};

struct GifFileScan {
  std::vector<GifImageEntry> images;
  // The state the last blocks left; the decoding pass starts from it.
  GifControl control;
};

// Walks from the cursor (just after the global colour table) to the end. False when a
// descriptor or a local colour table is cut short, or the memory cannot be had.
bool ScanGifFile(GifCursor& in, const GifScreen& screen, GifFileScan& scan);

// The disposal method the decoding pass sees before image k: until the pass meets its
// first graphic control extension, that of the file's last one.
int DisposalBefore(const GifFileScan& scan, int k);

// The first image that the picture of frame n depends on: images before it are replaced
// by a later image decoded on its own, so their data need not be decoded. Frame n itself
// must be decodable.
int FirstImageNeeded(const GifFileScan& scan, int n);
