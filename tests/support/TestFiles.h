// Helpers shared by the engine tests: small synthetic pictures, with the temporary
// folders, file reads and program runs of every test.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestFolder.h"

// A 32-bit picture whose pixels (top-down rows, 0xAARRGGBB) are given.
FIBITMAP* MakePicture32(int width, int height, const std::vector<std::uint32_t>& pixels);
// A 32-bit picture filled by f(x, y).
template <typename F>
FIBITMAP* MakePicture32(int width, int height, F f) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = f(x, y);
  return MakePicture32(width, height, pixels);
}
// The pixels of a 32-bit picture, top-down rows.
std::vector<std::uint32_t> PixelsOf(FIBITMAP* picture);
// Writes a picture through FreeImage by the file's extension.
bool SavePicture(FIBITMAP* picture, const std::string& path, int flags = 0);
