#include "support/TestFiles.h"

#include <cstring>

#include "image/codec/PictureMemory.h"

FIBITMAP* MakePicture32(int width, int height, const std::vector<std::uint32_t>& pixels) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, 32, 0, 0, 0);
  for (int y = 0; y < height; ++y)
    std::memcpy(PixelRow(picture, y), pixels.data() + static_cast<std::size_t>(y) * width,
                static_cast<std::size_t>(width) * 4);
  return picture;
}

std::vector<std::uint32_t> PixelsOf(FIBITMAP* picture) {
  const int w = static_cast<int>(FreeImage_GetWidth(picture));
  const int h = static_cast<int>(FreeImage_GetHeight(picture));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w, PixelRow(picture, y),
                static_cast<std::size_t>(w) * 4);
  return pixels;
}

bool SavePicture(FIBITMAP* picture, const std::string& path, int flags) {
  return FreeImage_Save(FreeImage_GetFIFFromFilename(path.c_str()), picture, path.c_str(), flags);
}
