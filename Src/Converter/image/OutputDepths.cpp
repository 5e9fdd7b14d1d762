#include "image/OutputDepths.h"

#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <string>

#include "image/codec/ImageType.h"

namespace {

constexpr DepthChoice kOneBit{1, "1-bit"};
constexpr DepthChoice kGrey{8, "8-bit Gray Scale"};
constexpr DepthChoice kPalette{8, "8-bit Palletised"};
constexpr DepthChoice kHighColour{16, "16-bit High Color"};
constexpr DepthChoice kTrueColour{24, "24-bit True Color"};
constexpr DepthChoice kTrueColourAlpha{32, "32-bit True Color"};

// PNG and TIFF have no 16-bit layout FreeImage writes; TGA none of 1 bit. The GIF's 8 bits
// come first: a type without the asked depth or 24 bits selects its first entry.
constexpr std::array kJpeg{kGrey, kTrueColour};
constexpr std::array kGif{kPalette, kOneBit};
constexpr std::array kBmp{kOneBit, kPalette, kHighColour, kTrueColour, kTrueColourAlpha};
constexpr std::array kTiffPng{kOneBit, kPalette, kTrueColour, kTrueColourAlpha};
constexpr std::array kTga{kPalette, kHighColour, kTrueColour, kTrueColourAlpha};

constexpr int kDepths[] = {1, 8, 16, 24, 32};

int TypeOf(std::string_view extension) { return GetImageType("abc." + std::string(extension)); }

}  // namespace

std::span<const DepthChoice> DepthChoicesFor(std::string_view extension) {
  switch (TypeOf(extension)) {
    case FIF_JPEG: return kJpeg;
    case ImageTypeOwnGif: return kGif;
    case FIF_BMP: return kBmp;
    case FIF_TIFF:
    case FIF_PNG: return kTiffPng;
    case FIF_TARGA: return kTga;
    default: return {};
  }
}

int WrittenDepth(std::string_view extension, int bpp) {
  switch (TypeOf(extension)) {
    case FIF_JPEG: return bpp == 8 ? 8 : 24;
    case ImageTypeOwnGif: return bpp == 1 ? 1 : 8;
    default: return bpp;
  }
}

std::vector<int> DepthsHeld(std::string_view extension) {
  std::vector<int> held;
  const auto choices = DepthChoicesFor(extension);
  const int type = TypeOf(extension);
  for (int bpp : kDepths) {
    const bool holds =
        choices.empty()
            ? type >= 0 && type != ImageTypeOwnGif &&
                  FreeImage_FIFSupportsWriting(static_cast<FREE_IMAGE_FORMAT>(type)) &&
                  FreeImage_FIFSupportsExportBPP(static_cast<FREE_IMAGE_FORMAT>(type), bpp)
            : std::any_of(choices.begin(), choices.end(),
                          [bpp](const DepthChoice& c) { return c.bpp == bpp; });
    if (holds) held.push_back(bpp);
  }
  return held;
}

bool HoldsDepth(std::string_view extension, int bpp) {
  const std::vector<int> held = DepthsHeld(extension);
  return std::find(held.begin(), held.end(), WrittenDepth(extension, bpp)) != held.end();
}
