// Shared by the GIF reader's tests: decoding a file held in a string and reading a raster
// back as top-down rows of indices or colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifRaster.h"
#include "image/codec/PictureMemory.h"

inline const std::uint8_t* BytesOf(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

inline bool DecodeGif(const std::string& gif, int frame, GifRaster& out, int* count = nullptr,
                      std::int64_t maxPixels = kMaxPicturePixels) {
  return DecodeGifFrame(BytesOf(gif), gif.size(), frame, maxPixels, out, count);
}
inline int FrameCountOf(const std::string& gif, std::int64_t maxPixels = kMaxPicturePixels) {
  return GifFrameCount(BytesOf(gif), gif.size(), maxPixels);
}

// Palette indices, top-down rows.
inline std::vector<std::uint8_t> IndicesOf(const GifRaster& r) {
  std::vector<std::uint8_t> out;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      out.push_back(static_cast<std::uint8_t>(r.IndexAt(r.Row(r.Height() - 1 - y), x)));
  return out;
}
// Colours 0x00RRGGBB, top-down rows.
inline std::vector<std::uint32_t> ColoursOf(const GifRaster& r) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) out.push_back(r.ColourAt(x, r.Height() - 1 - y));
  return out;
}
// A width x height picture of indices f(x, y), top-down.
template <typename F>
std::vector<std::uint8_t> IndexPicture(int width, int height, F f) {
  std::vector<std::uint8_t> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.push_back(static_cast<std::uint8_t>(f(x, y)));
  return out;
}
