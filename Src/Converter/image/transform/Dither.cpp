#include "image/transform/Dither.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/codec/PictureMemory.h"

namespace {

struct Colour {
  int blue, green, red;
};

// The nearest used palette entry of each colour, found once per cell of 6 bits a channel
// (from the cell's centre) and then remembered: the error diffusion makes up for the
// small difference the cell makes.
class NearestEntry {
 public:
  explicit NearestEntry(std::vector<std::pair<Colour, BYTE>> entries)
      : entries_(std::move(entries)), cache_(std::size_t{1} << 18, -1) {}

  BYTE operator()(int blue, int green, int red) {
    const std::size_t cell = static_cast<std::size_t>(red >> 2) << 12 |
                             static_cast<std::size_t>(green >> 2) << 6 |
                             static_cast<std::size_t>(blue >> 2);
    std::int16_t& known = cache_[cell];
    if (known < 0) known = Search((blue & ~3) + 2, (green & ~3) + 2, (red & ~3) + 2);
    return static_cast<BYTE>(known);
  }

 private:
  std::int16_t Search(int blue, int green, int red) const {
    int best = 0, bestDistance = 1 << 30;
    for (const auto& [c, index] : entries_) {
      const int db = c.blue - blue, dg = c.green - green, dr = c.red - red;
      const int d = db * db + dg * dg + dr * dr;
      if (d < bestDistance) {
        bestDistance = d;
        best = index;
      }
    }
    return static_cast<std::int16_t>(best);
  }

  std::vector<std::pair<Colour, BYTE>> entries_;
  std::vector<std::int16_t> cache_;
};

// The palette entries the quantised picture uses.
std::vector<std::pair<Colour, BYTE>> UsedEntries(FIBITMAP* paletted) {
  std::array<bool, 256> used{};
  const int w = static_cast<int>(FreeImage_GetWidth(paletted));
  const int h = static_cast<int>(FreeImage_GetHeight(paletted));
  for (int y = 0; y < h; ++y) {
    const BYTE* row = FreeImage_GetScanLine(paletted, y);
    for (int x = 0; x < w; ++x) used[row[x]] = true;
  }
  const RGBQUAD* palette = FreeImage_GetPalette(paletted);
  const int size = static_cast<int>(FreeImage_GetColorsUsed(paletted));
  std::vector<std::pair<Colour, BYTE>> entries;
  for (int i = 0; i < size; ++i)
    if (used[i])
      entries.push_back(
          {{palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed}, static_cast<BYTE>(i)});
  return entries;
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

}  // namespace

FIBITMAP* DitherOntoPalette(FIBITMAP* picture, FIBITMAP* paletted) {
  if (!picture || !paletted || FreeImage_GetBPP(picture) != 24 || FreeImage_GetBPP(paletted) != 8)
    return nullptr;
  const int w = static_cast<int>(FreeImage_GetWidth(picture));
  const int h = static_cast<int>(FreeImage_GetHeight(picture));
  if (w != static_cast<int>(FreeImage_GetWidth(paletted)) ||
      h != static_cast<int>(FreeImage_GetHeight(paletted)))
    return nullptr;
  FIBITMAP* out = AllocatePicture(w, h, 8);
  if (!out) return nullptr;
  std::memcpy(FreeImage_GetPalette(out), FreeImage_GetPalette(paletted), 256 * sizeof(RGBQUAD));
  NearestEntry nearest(UsedEntries(paletted));
  const RGBQUAD* palette = FreeImage_GetPalette(out);
  // Errors in sixteenths (rounded back with an arithmetic shift, so negative ones too): this
  // row's, carried along, and the next row's, with a column of margin on each side.
  std::vector<Colour> here(static_cast<std::size_t>(w) + 2), below(here.size());
  for (int y = 0; y < h; ++y) {
    // Top-down order: FreeImage keeps the top row last.
    const BYTE* in = FreeImage_GetScanLine(picture, h - 1 - y);
    BYTE* indices = FreeImage_GetScanLine(out, h - 1 - y);
    std::swap(here, below);
    std::fill(below.begin(), below.end(), Colour{0, 0, 0});
    const bool rightward = y % 2 == 0;
    const int step = rightward ? 1 : -1;
    for (int i = 0; i < w; ++i) {
      const int x = rightward ? i : w - 1 - i;
      const auto e = static_cast<std::size_t>(x + 1);  // x's slot in the error rows
      const BYTE* p = in + 3 * x;
      const int blue = Clamp(p[FI_RGBA_BLUE] + ((here[e].blue + 8) >> 4));
      const int green = Clamp(p[FI_RGBA_GREEN] + ((here[e].green + 8) >> 4));
      const int red = Clamp(p[FI_RGBA_RED] + ((here[e].red + 8) >> 4));
      const BYTE index = nearest(blue, green, red);
      indices[x] = index;
      const Colour error{blue - palette[index].rgbBlue, green - palette[index].rgbGreen,
                         red - palette[index].rgbRed};
      const auto spread = [](Colour& to, const Colour& err, int weight) {
        to.blue += err.blue * weight;
        to.green += err.green * weight;
        to.red += err.red * weight;
      };
      spread(here[e + step], error, 7);
      spread(below[e - step], error, 3);
      spread(below[e], error, 5);
      spread(below[e + step], error, 1);
    }
  }
  return out;
}
