// The pages' copies of their settings fields without a window: percentages and quarter
// turns as the pages show them, the transparent colour's text, and the bit depth selected
// for each file type.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "image/codec/OutputTypes.h"
#include "settings/ValidateSettings.h"
#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageFields.h"

namespace {

// Every whole percentage survives any number of starts on both pages' percent fields.
TEST(OptionPagePercent, EveryWholePercentSurvivesTheStoredFraction) {
  for (int percent = 0; percent <= 100; ++percent) {
    double fraction = percent * 0.01;
    for (int start = 0; start < 5; ++start) fraction = FractionToPercent(fraction) * 0.01;
    EXPECT_EQ(FractionToPercent(fraction), percent);
    EXPECT_EQ(FormatReal(percent * 0.01 * 100), FormatWhole(percent)) << percent;
  }
  // Values from a damaged store saturate or read as 0 instead of overflowing.
  EXPECT_EQ(FractionToPercent(0.29), 29);
  EXPECT_EQ(FractionToPercent(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(FractionToPercent(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(FractionToPercent(std::nan("")), 0);
}

TEST(OptionPageFields, RotationShowsQuarterTurnsAndStoresDegrees) {
  const struct {
    int stored, index, written;
  } cases[] = {{0, 0, 0},    {90, 1, 90}, {180, 2, 180}, {270, 3, 270},
               {135, 1, 90}, {45, 0, 0},  {360, 0, 0},   {-90, 0, 0}};
  for (const auto& c : cases) {
    ConversionSettings s;
    s.rotateDegree = c.stored;
    const ResizePageFields fields = ResizePageFields::From(s);
    EXPECT_EQ(fields.rotateIndex, c.index) << c.stored;
    fields.WriteTo(s);
    EXPECT_EQ(s.rotateDegree, c.written) << c.stored;
  }
}

TEST(OptionPageFields, TransparentColourIsUpperCaseHexAndReadsBackItsLeadingDigits) {
  const struct {
    std::uint32_t stored;
    const char* shown;
  } shownCases[] = {{0, "0"}, {0xFF00FFu, "FF00FF"}, {0xFFFFFFFFu, "FFFFFFFF"}, {0xABCu, "ABC"}};
  for (const auto& c : shownCases) {
    ConversionSettings s;
    s.overlayTransparentClr = c.stored;
    EXPECT_EQ(ShadowPageFields::From(s).transparentClrText, c.shown);
  }
  const struct {
    const char* typed;
    std::uint32_t stored;
  } typedCases[] = {{"ff00ff", 0xFF00FFu}, {"12zz", 0x12u}, {"", 0}, {"x1", 0}};
  for (const auto& c : typedCases) {
    ShadowPageFields fields;
    fields.transparentClrText = c.typed;
    ConversionSettings s;
    fields.WriteTo(s);
    EXPECT_EQ(s.overlayTransparentClr, c.stored) << c.typed;
  }
}

TEST(OptionPageFields, BitDepthsByFileTypeAndTheOneSelected) {
  const auto values = [](std::string_view type) {
    std::vector<int> bpps;
    for (const BitDepthEntry& entry : BitDepthsFor(type)) bpps.push_back(entry.bpp);
    return bpps;
  };
  // The type is matched without regard to case; a type beyond the first six offers the depths
  // this build writes it at; an unknown type offers nothing.
  EXPECT_EQ(values("GIF"), (std::vector<int>{8}));
  EXPECT_EQ(values("Tif"), values("png"));
  EXPECT_EQ(values("WEBP"), (std::vector<int>{24, 32}));
  EXPECT_EQ(values("xyz"), std::vector<int>{});

  const struct {
    const char* type;
    int bpp, index;
  } selected[] = {{"tif", 32, 3}, {"jpg", 16, 1}, {"gif", 24, 0}, {"tga", 1, 1}, {"xyz", 24, -1}};
  for (const auto& c : selected)
    EXPECT_EQ(BitDepthIndexFor(BitDepthsFor(c.type), c.bpp), c.index) << c.type << " " << c.bpp;
}

// The page and the command line agree: every depth the page offers for a type passes
// validation (the command line's check), and a type beyond the first six offers every depth
// it is written at.
TEST(OptionPageFields, EveryOfferedDepthIsOneTheCommandLineTakes) {
  for (const std::string& type : FileTypeChoices()) {
    const std::vector<BitDepthEntry>& offered = BitDepthsFor(type);
    ASSERT_FALSE(offered.empty()) << type;
    for (const BitDepthEntry& entry : offered) {
      ConversionSettings s;
      s.destFolder = "/out";
      s.destFileExt = type;
      s.bpp = entry.bpp;
      EXPECT_EQ(ValidateSettings(s).message, "") << type << " " << entry.text;
    }
  }
  std::vector<int> jxl;
  for (const BitDepthEntry& entry : BitDepthsFor("jxl")) jxl.push_back(entry.bpp);
  EXPECT_EQ(jxl, WrittenDepths("jxl"));
}

}  // namespace
