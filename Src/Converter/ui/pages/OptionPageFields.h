// The option pages' own copies of their ConversionSettings fields, in the units the
// pages show: percentages for fractions, a list index for the rotation. Taken from the
// settings when a page is built and written back when it commits. Also the table of the
// bit depths each file type offers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ConversionSettings.h"

// The resize and file page's copy. Percent fields are real numbers.
struct ResizePageFields {
  std::string destFolder;
  int resizeOption = 0;
  bool sameForPortrait = true;
  int width = 0, height = 0, portraitWidth = 0, portraitHeight = 0;
  double cropLeftPercent = 0, cropTopPercent = 0, ratioPercent = 0;
  int rotateIndex = 0;  // quarter turns clockwise, 0..3
  COLORREF paddingColor = 0;
  std::string destFileExt;
  int bpp = 24;
  int jpegQualityNew = 80;
  std::string prefix, suffix;
  int zeroPadding = 0;
  bool override = false;
  bool sameDir = false;
  bool addPadding = false;
  int paddingHorz = 0, paddingVert = 0;
  bool greyScale = false;
  int filter = BoxFilter;  // the resize step's ResampleFilter
  bool progressive = false;
  bool gifDither = false;

  static ResizePageFields From(const ConversionSettings& settings);
  void WriteTo(ConversionSettings& settings) const;
};

// The shadow and overlay page's copy. Percent fields are whole numbers.
struct ShadowPageFields {
  bool createShadow = false;
  int shadowOpaquePercent = 0;
  int shadowAngle = 0, shadowDistance = 0, shadowBlur = 0;
  COLORREF shadowColor = 0, shadowBackColor = 0;
  bool overlay = false;
  std::string overlayFilePath;
  int hAlignPercent = 0, vAlignPercent = 0, transparencyPercent = 0;
  std::string transparentClrText;

  static ShadowPageFields From(const ConversionSettings& settings);
  void WriteTo(ConversionSettings& settings) const;
};

// A fraction as the nearest whole percent (so 0.29 shows 29, not 28); out-of-range
// values saturate at the int range.
int FractionToPercent(double fraction);
// Upper-case hexadecimal without prefix or leading zeros; zero is "0".
std::string HexText(std::uint32_t value);
// The longest transparent-colour text: eight digits, AARRGGBB.
constexpr std::size_t kMaxHexDigits = 8;

struct BitDepthEntry {
  std::string_view text;
  int bpp;
};
// The File Type list: jpg, gif, bmp, tif, png and tga, then every other type this build
// writes (webp, avif, jxl, ...), then the first six in capitals.
const std::vector<std::string>& FileTypeChoices();
// The bit depths a file type offers, compared without regard to case: the six first types'
// own lists, the depths this build writes the others at; empty for a type it does not write.
const std::vector<BitDepthEntry>& BitDepthsFor(std::string_view fileType);
// Whether the type's encoder takes the quality box's value (jpg, webp, avif, jxl).
bool QualityAppliesTo(std::string_view fileType);
// The entry to select for `bpp`: the one with that value, else the 24-bit one, else the
// first; -1 for an empty list.
int BitDepthIndexFor(const std::vector<BitDepthEntry>& entries, int bpp);
