#include "ui/pages/OptionPageFields.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>

#include "image/codec/OutputTypes.h"
#include "platform/ByteCodes.h"

namespace {

constexpr int kQuarter = 90;

std::string Lower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

ResizePageFields ResizePageFields::From(const ConversionSettings& s) {
  ResizePageFields f;
  f.destFolder = s.destFolder;
  f.resizeOption = s.resizeOption;
  f.sameForPortrait = s.sameForPortrait;
  f.width = s.width;
  f.height = s.height;
  f.portraitWidth = s.portraitWidth;
  f.portraitHeight = s.portraitHeight;
  f.cropLeftPercent = s.cropLeftRatio * 100;
  f.cropTopPercent = s.cropTopRatio * 100;
  f.ratioPercent = s.ratio * 100;
  // Integer division; a stored angle that is no quarter turn of 0..270 shows as 0.
  const int turns = s.rotateDegree / kQuarter;
  f.rotateIndex = turns >= 0 && turns <= 3 ? turns : 0;
  f.paddingColor = s.paddingColor;
  f.destFileExt = s.destFileExt;
  f.bpp = s.bpp;
  f.jpegQualityNew = s.jpegQualityNew;
  f.prefix = s.prefix;
  f.suffix = s.suffix;
  f.zeroPadding = s.zeroPadding;
  f.override = s.override;
  f.sameDir = s.sameDir;
  f.addPadding = s.addPadding;
  f.paddingHorz = s.paddingHorz;
  f.paddingVert = s.paddingVert;
  f.greyScale = s.greyScale;
  // A stored filter the page does not know shows as the box, which it means.
  f.filter = s.filter == LanczosFilter ? LanczosFilter : BoxFilter;
  f.progressive = s.progressive;
  f.gifDither = s.gifDither;
  return f;
}

void ResizePageFields::WriteTo(ConversionSettings& s) const {
  s.destFolder = destFolder;
  s.resizeOption = resizeOption;
  s.sameForPortrait = sameForPortrait;
  s.width = width;
  s.height = height;
  s.portraitWidth = portraitWidth;
  s.portraitHeight = portraitHeight;
  s.cropLeftRatio = cropLeftPercent * 0.01;
  s.cropTopRatio = cropTopPercent * 0.01;
  s.ratio = ratioPercent * 0.01;
  s.rotateDegree = rotateIndex * kQuarter;
  s.paddingColor = paddingColor;
  s.destFileExt = destFileExt;
  s.bpp = bpp;
  s.jpegQualityNew = jpegQualityNew;
  s.prefix = prefix;
  s.suffix = suffix;
  s.zeroPadding = zeroPadding;
  s.override = override;
  s.sameDir = sameDir;
  s.addPadding = addPadding;
  s.paddingHorz = paddingHorz;
  s.paddingVert = paddingVert;
  s.greyScale = greyScale;
  s.filter = filter;
  s.progressive = progressive;
  s.gifDither = gifDither;
}

ShadowPageFields ShadowPageFields::From(const ConversionSettings& s) {
  ShadowPageFields f;
  f.createShadow = s.createShadow;
  f.shadowOpaquePercent = FractionToPercent(s.shadowOpaque);
  f.shadowAngle = s.shadowAngle;
  f.shadowDistance = s.shadowDistance;
  f.shadowBlur = s.shadowBlur;
  f.shadowColor = s.shadowColor;
  f.shadowBackColor = s.shadowBackColor;
  f.overlay = s.overlay;
  f.overlayFilePath = s.overlayFilePath;
  f.hAlignPercent = FractionToPercent(s.overlayHAlignRatio);
  f.vAlignPercent = FractionToPercent(s.overlayVAlignRatio);
  f.transparencyPercent = FractionToPercent(s.overlayTransparency);
  f.transparentClrText = HexText(s.overlayTransparentClr);
  return f;
}

void ShadowPageFields::WriteTo(ConversionSettings& s) const {
  s.createShadow = createShadow;
  s.shadowOpaque = shadowOpaquePercent * 0.01;
  s.shadowAngle = shadowAngle;
  s.shadowDistance = shadowDistance;
  s.shadowBlur = shadowBlur;
  s.shadowColor = shadowColor;
  s.shadowBackColor = shadowBackColor;
  s.overlay = overlay;
  s.overlayFilePath = overlayFilePath;
  s.overlayHAlignRatio = hAlignPercent * 0.01;
  s.overlayVAlignRatio = vAlignPercent * 0.01;
  s.overlayTransparency = transparencyPercent * 0.01;
  s.overlayTransparentClr = LeadingHexValue(transparentClrText);
}

int FractionToPercent(double fraction) {
  const double percent = fraction * 100;
  if (std::isnan(percent)) return 0;
  return static_cast<int>(std::lround(std::clamp(percent, double{INT_MIN}, double{INT_MAX})));
}

std::string HexText(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
  return text;
}

namespace {

const char* const kFirstTypes[] = {"jpg", "gif", "bmp", "tif", "png", "tga"};

bool IsFirstType(const std::string& type) {
  return std::find(std::begin(kFirstTypes), std::end(kFirstTypes), type) != std::end(kFirstTypes);
}

// The entry of one depth as the lists name it; 8 bits is grey or a palette by the type.
BitDepthEntry EntryFor(int bpp, bool greyEight) {
  switch (bpp) {
    case 1: return {"1-bit", 1};
    case 8: return {greyEight ? "8-bit Gray Scale" : "8-bit Palletised", 8};
    case 16: return {"16-bit High Color", 16};
    case 32: return {"32-bit True Color", 32};
    default: return {"24-bit True Color", 24};
  }
}

// The depths of every type beyond the first six, as this build writes them.
const std::map<std::string, std::vector<BitDepthEntry>>& OtherTypeDepths() {
  static const std::map<std::string, std::vector<BitDepthEntry>> others = [] {
    std::map<std::string, std::vector<BitDepthEntry>> made;
    for (const OutputType& type : WritableOutputTypes()) {
      if (IsFirstType(type.extension)) continue;
      std::vector<BitDepthEntry>& entries = made[type.extension];
      for (int bpp : type.depths)
        entries.push_back(EntryFor(bpp, OutputDepthFor(type.extension, bpp).grey));
    }
    return made;
  }();
  return others;
}

}  // namespace

const std::vector<std::string>& FileTypeChoices() {
  static const std::vector<std::string> choices = [] {
    std::vector<std::string> made(std::begin(kFirstTypes), std::end(kFirstTypes));
    for (const OutputType& type : WritableOutputTypes())
      if (!IsFirstType(type.extension)) made.push_back(type.extension);
    for (const char* first : kFirstTypes) {
      std::string upper = first;
      std::transform(upper.begin(), upper.end(), upper.begin(),
                     [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
      made.push_back(upper);
    }
    return made;
  }();
  return choices;
}

const std::vector<BitDepthEntry>& BitDepthsFor(std::string_view fileType) {
  static const std::vector<BitDepthEntry> none;
  static const std::vector<BitDepthEntry> jpg = {{"8-bit Gray Scale", 8},
                                                 {"24-bit True Color", 24}};
  static const std::vector<BitDepthEntry> gif = {{"8-bit Palletised", 8}};
  static const std::vector<BitDepthEntry> bmp = {{"1-bit", 1},
                                                 {"8-bit Palletised", 8},
                                                 {"16-bit High Color", 16},
                                                 {"24-bit True Color", 24},
                                                 {"32-bit True Color", 32}};
  static const std::vector<BitDepthEntry> tifPng = {
      {"1-bit", 1}, {"8-bit Palletised", 8}, {"24-bit True Color", 24}, {"32-bit True Color", 32}};
  static const std::vector<BitDepthEntry> tga = {
      {"16-bit High Color", 16}, {"24-bit True Color", 24}, {"32-bit True Color", 32}};
  const std::string type = Lower(fileType);
  if (type == "jpg") return jpg;
  if (type == "gif") return gif;
  if (type == "bmp") return bmp;
  if (type == "tif" || type == "png") return tifPng;
  if (type == "tga") return tga;
  const auto other = OtherTypeDepths().find(type);
  return other != OtherTypeDepths().end() ? other->second : none;
}

bool QualityAppliesTo(std::string_view fileType) { return TakesQuality(std::string(fileType)); }

int BitDepthIndexFor(const std::vector<BitDepthEntry>& entries, int bpp) {
  for (int want : {bpp, 24}) {
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i].bpp == want) return static_cast<int>(i);
  }
  return entries.empty() ? -1 : 0;
}
