// Shared by the transformation tests: owning picture handles, running one step the way
// the image buffer does, and settings under which ApplySettings leaves the depth alone.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "image/ImageBuffer.h"
#include "image/Pixel.h"
#include "platform/Result.h"
#include "settings/ConversionSettings.h"
#include "support/TestFiles.h"

struct PictureDeleter {
  void operator()(FIBITMAP* p) const {
    if (p) FreeImage_Unload(p);
  }
};
using Picture = std::unique_ptr<FIBITMAP, PictureDeleter>;

inline int WidthOf(FIBITMAP* p) { return static_cast<int>(FreeImage_GetWidth(p)); }
inline int HeightOf(FIBITMAP* p) { return static_cast<int>(FreeImage_GetHeight(p)); }

// The pixel at (x, y) from the top-left of a 32-bit picture.
inline std::uint32_t PixelAt(FIBITMAP* p, int x, int y) {
  return PixelsOf(p)[static_cast<std::size_t>(y) * WidthOf(p) + x];
}

// What one step made: its result and the new picture (null when it worked in place).
struct StepOutcome {
  HRESULT hr;
  Picture made;
};

template <typename Step>
StepOutcome RunOneStep(Step step, FIBITMAP* picture, const ConversionSettings& s) {
  FIBITMAP* made = nullptr;
  const HRESULT hr = step(picture, s, &made);
  return {hr, Picture(made)};
}

// No resize, no effect, a 32-bit PNG destination: ApplySettings then runs exactly the
// steps a test switches on and keeps 32 bits per pixel.
inline ConversionSettings PlainSettings() {
  ConversionSettings s;
  s.resizeOption = NoResize;
  s.destFileExt = "png";
  s.bpp = 32;
  return s;
}

// An opaque grey pixel of value v in every channel.
constexpr std::uint32_t Grey(std::uint32_t v) { return kOpaque | v << 16 | v << 8 | v; }
