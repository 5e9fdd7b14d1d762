#include "settings/ConversionSettings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/ImageBuffer.h"
#include "settings/ResizeOption.h"

namespace {

void ExpectImageDefaults(const ConversionSettings& s) {
  EXPECT_EQ(s.resizeOption, FixedCrop);
  EXPECT_TRUE(s.sameForPortrait);
  EXPECT_EQ(s.width, 150);
  EXPECT_EQ(s.height, 100);
  EXPECT_EQ(s.portraitWidth, 100);
  EXPECT_EQ(s.portraitHeight, 150);
  EXPECT_EQ(s.ratio, 0.5);
  EXPECT_EQ(s.cropLeftRatio, 0.5);
  EXPECT_EQ(s.cropTopRatio, 0.5);
  EXPECT_EQ(s.rotateDegree, 0);
  EXPECT_EQ(s.bpp, 24);
  EXPECT_FALSE(s.greyScale);
  EXPECT_EQ(s.paddingColor, 0xFFFFFFu);
  EXPECT_FALSE(s.addPadding);
  EXPECT_EQ(s.paddingVert, 4);
  EXPECT_EQ(s.paddingHorz, 4);
  EXPECT_FALSE(s.createShadow);
  EXPECT_EQ(s.shadowOpaque, 0.8);
  EXPECT_EQ(s.shadowDistance, 7);
  EXPECT_EQ(s.shadowAngle, 135);
  EXPECT_EQ(s.shadowBlur, 8);
  EXPECT_EQ(s.shadowBackColor, 0xFFFFFFu);
  EXPECT_EQ(s.shadowColor, 0u);
  EXPECT_FALSE(s.overlay);
  EXPECT_EQ(s.overlayFilePath, "");
  EXPECT_FALSE(s.overlayImage);
  EXPECT_EQ(s.overlayHAlignRatio, 0.5);
  EXPECT_EQ(s.overlayVAlignRatio, 0.5);
  EXPECT_EQ(s.overlayTransparency, 0.5);
  EXPECT_EQ(s.overlayTransparentClr, 0u);
  EXPECT_EQ(s.destFileExt, "jpg");
  EXPECT_EQ(s.filter, BoxFilter);
}

void ExpectJobDefaults(const ConversionSettings& s) {
  EXPECT_EQ(s.zeroPadding, 2);
  EXPECT_FALSE(s.override);
  EXPECT_FALSE(s.sameDir);
  EXPECT_EQ(s.jpegQualityNew, 80);
  EXPECT_FALSE(s.progressive);
  EXPECT_FALSE(s.gifDither);
  EXPECT_EQ(s.destFolder, "");
  EXPECT_EQ(s.prefix, "");
  EXPECT_EQ(s.suffix, "");
  EXPECT_EQ(s.source, "");
  EXPECT_TRUE(s.recursive);
}

void Scramble(ConversionSettings& s) {
  s.resizeOption = FixedHeight;
  s.width = s.height = 1;
  s.ratio = 9;
  s.destFileExt = "png";
  s.overlay = true;
  s.overlayImage = std::make_shared<ImageBuffer>();
  s.zeroPadding = 9;
  s.destFolder = "/d";
  s.source = "/s";
  s.recursive = false;
}

TEST(ConversionSettings, ConstructionGivesTheDefaults) {
  ConversionSettings s;
  ExpectImageDefaults(s);
  ExpectJobDefaults(s);
}

TEST(ConversionSettings, ResetsByGroup) {
  ConversionSettings s;
  Scramble(s);
  s.ResetImageOperations();
  ExpectImageDefaults(s);
  EXPECT_EQ(s.zeroPadding, 9);
  EXPECT_EQ(s.destFolder, "/d");
  s.ResetJob();
  ExpectJobDefaults(s);
  Scramble(s);
  s.Reset();
  ExpectImageDefaults(s);
  ExpectJobDefaults(s);
}

// Every field of each group, named once: a reset that forgets one fails below.
// clang-format off
#define BM_IMAGE_FIELDS(F)                                                                             \
  F(resizeOption) F(sameForPortrait) F(width) F(height) F(portraitWidth) F(portraitHeight) F(ratio)   \
  F(cropLeftRatio) F(cropTopRatio) F(rotateDegree) F(bpp) F(greyScale) F(paddingColor) F(addPadding) \
  F(paddingVert) F(paddingHorz) F(createShadow) F(shadowOpaque) F(shadowDistance) F(shadowAngle)     \
  F(shadowBlur) F(shadowBackColor) F(shadowColor) F(overlay) F(overlayFilePath) F(overlayImage)      \
  F(overlayHAlignRatio) F(overlayVAlignRatio) F(overlayTransparency) F(overlayTransparentClr)        \
  F(destFileExt) F(filter)
#define BM_JOB_FIELDS(F) \
  F(zeroPadding) F(override) F(sameDir) F(jpegQualityNew) F(progressive) F(gifDither) F(destFolder) \
  F(prefix) F(suffix) F(source) F(recursive)
// clang-format on

void Change(int& v) { v += 7; }
void Change(bool& v) { v = !v; }
void Change(double& v) { v += 0.25; }
void Change(std::uint32_t& v) { v ^= 0x123456u; }
void Change(std::string& v) { v += "x"; }
void Change(std::shared_ptr<ImageBuffer>& v) { v = std::make_shared<ImageBuffer>(); }

// Every field away from its default.
ConversionSettings AllChanged() {
  ConversionSettings s;
  // clang-format off
#define BM_CHANGE(field) Change(s.field);
  BM_IMAGE_FIELDS(BM_CHANGE)
  BM_JOB_FIELDS(BM_CHANGE)
#undef BM_CHANGE
  // clang-format on
  return s;
}

// The fields of one group that differ from the defaults, by name.
#define BM_DIFFERS(field) \
  if (!(s.field == d.field)) names += #field " ";
std::string ImageFieldsNotDefault(const ConversionSettings& s) {
  const ConversionSettings d;
  std::string names;
  BM_IMAGE_FIELDS(BM_DIFFERS)
  return names;
}
std::string JobFieldsNotDefault(const ConversionSettings& s) {
  const ConversionSettings d;
  std::string names;
  BM_JOB_FIELDS(BM_DIFFERS)
  return names;
}
#undef BM_DIFFERS

TEST(ConversionSettings, EveryFieldIsResetByItsGroup) {
  ConversionSettings s = AllChanged();
  // Each listed field really changed (a Change that left one at its default would hide it).
#define BM_COUNT(field) +1
  const std::size_t fields = 0 BM_IMAGE_FIELDS(BM_COUNT) BM_JOB_FIELDS(BM_COUNT);
#undef BM_COUNT
  const std::string changed = ImageFieldsNotDefault(s) + JobFieldsNotDefault(s);
  ASSERT_EQ(static_cast<std::size_t>(std::count(changed.begin(), changed.end(), ' ')), fields)
      << changed;
  const std::string jobChanged = JobFieldsNotDefault(s);
  s.ResetImageOperations();
  EXPECT_EQ(ImageFieldsNotDefault(s), "");
  EXPECT_EQ(JobFieldsNotDefault(s), jobChanged);  // the job group is left alone
  s.ResetJob();
  EXPECT_EQ(JobFieldsNotDefault(s), "");
  s = AllChanged();
  s.Reset();
  EXPECT_EQ(ImageFieldsNotDefault(s) + JobFieldsNotDefault(s), "");
}

TEST(ResizeOption, LettersTextsAndNeededFields) {
  struct Mode {
    int value;
    const char* letter;
    const char* text;
    bool width, height, crop, ratio, pad;
  };
  const Mode modes[] = {
      {0, "fc", "Fixed width and height, keep aspect ratio by cropping", 1, 1, 1, 0, 0},
      {1, "fp", "Fixed width and height, keep aspect ratio by padding", 1, 1, 1, 0, 1},
      {2, "m", "Maximum width and height", 1, 1, 0, 0, 0},
      {3, "w", "Fixed width, keep aspect ratio", 1, 0, 0, 0, 0},
      {4, "h", "Fixed Height, keep aspect ratio", 0, 1, 0, 0, 0},
      {5, "r", "Change by ratio", 0, 0, 0, 1, 0},
      {6, "n", "No resize", 0, 0, 0, 0, 0},
      {7, "f", "Fixed width and height", 1, 1, 0, 0, 0},
      {8, "fw", "Fixed width", 1, 0, 0, 0, 0},
      {9, "fh", "Fixed height", 0, 1, 0, 0, 0},
  };
  for (const Mode& m : modes) {
    EXPECT_EQ(ResizeOptionLetter(m.value), m.letter);
    EXPECT_EQ(ResizeOptionText(m.value), m.text);
    EXPECT_EQ(ResizeOptionFromLetter(m.letter), m.value);
    const ResizeModeUse use = ResizeModeUses(m.value);
    EXPECT_EQ(use.width, m.width) << m.value;
    EXPECT_EQ(use.height, m.height) << m.value;
    EXPECT_EQ(use.cropPosition, m.crop) << m.value;
    EXPECT_EQ(use.ratio, m.ratio) << m.value;
    EXPECT_EQ(use.paddingColor, m.pad) << m.value;
  }
  // Values read from a damaged store stay harmless.
  for (int bad : {-1, 10, 1 << 30}) {
    EXPECT_EQ(ResizeOptionText(bad), "");
    EXPECT_EQ(ResizeOptionPhrase(bad), "");
    const ResizeModeUse use = ResizeModeUses(bad);
    EXPECT_FALSE(use.width || use.height || use.cropPosition || use.ratio || use.paddingColor);
  }
  EXPECT_FALSE(ResizeOptionFromLetter("a"));
  EXPECT_FALSE(ResizeOptionFromLetter("FC"));
}

}  // namespace
