#include "settings/ValidateSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "image/ImageBuffer.h"
#include "support/TestFiles.h"

namespace {

ConversionSettings Valid() {
  ConversionSettings s;
  s.destFolder = "/tmp/out";
  return s;
}

struct Case {
  const char* name;
  std::function<void(ConversionSettings&)> change;
  HRESULT code;
  const char* message;
  SettingsPage page;
  SettingsField field;
};

constexpr auto kResize = SettingsPage::ResizeAndFile;
constexpr auto kShadow = SettingsPage::ShadowAndOverlay;
constexpr const char* kWidth = "Please choose a width larger than 0.";
constexpr const char* kHeight = "Please choose a height larger than 0.";
constexpr const char* kCrop = "Invalid cropping ratio. Valid ratio must be 0-100";

const Case kCases[] = {
    {"defaults pass", [](ConversionSettings&) {}, S_OK, "", kResize, SettingsField::None},
    {"empty dest first",
     [](ConversionSettings& s) {
       s.destFolder.clear();
       s.width = 0;
       s.destFileExt = "xyz";
     },
     E_INVALIDARG, "Please choose a destination folder.", kResize, SettingsField::destFolder},
    {"ratio 0 by ratio",
     [](ConversionSettings& s) {
       s.resizeOption = ByRatio;
       s.ratio = 0;
     },
     E_INVALIDARG, "Please choose a ratio larger than 0.", kResize, SettingsField::ratio},
    {"ratio infinite by ratio",
     [](ConversionSettings& s) {
       s.resizeOption = ByRatio;
       s.ratio = INFINITY;
     },
     E_INVALIDARG, "Please choose a ratio larger than 0.", kResize, SettingsField::ratio},
    {"ratio NaN by ratio",
     [](ConversionSettings& s) {
       s.resizeOption = ByRatio;
       s.ratio = NAN;
     },
     E_INVALIDARG, "Please choose a ratio larger than 0.", kResize, SettingsField::ratio},
    {"ratio 0 other mode", [](ConversionSettings& s) { s.ratio = 0; }, S_OK, "", kResize,
     SettingsField::None},
    {"ratio 300 percent",
     [](ConversionSettings& s) {
       s.resizeOption = ByRatio;
       s.ratio = 3.0;
     },
     S_OK, "", kResize, SettingsField::None},
    {"width 0", [](ConversionSettings& s) { s.width = 0; }, E_INVALIDARG, kWidth, kResize,
     SettingsField::width},
    {"height 0", [](ConversionSettings& s) { s.height = 0; }, E_INVALIDARG, kHeight, kResize,
     SettingsField::height},
    {"no resize with 0 x 0",
     [](ConversionSettings& s) {
       s.resizeOption = NoResize;
       s.width = 0;
       s.height = 0;
     },
     S_OK, "", kResize, SettingsField::None},
    {"portrait width 0 in fixed width",
     [](ConversionSettings& s) {
       s.resizeOption = FixedWidthKeepRatio;
       s.sameForPortrait = false;
       s.portraitWidth = 0;
     },
     E_INVALIDARG, kWidth, kResize, SettingsField::portraitWidth},
    {"portrait height 0 in fixed width",
     [](ConversionSettings& s) {
       s.resizeOption = FixedWidthKeepRatio;
       s.sameForPortrait = false;
       s.portraitHeight = 0;
     },
     S_OK, "", kResize, SettingsField::None},
    {"portrait height 0 in fixed height",
     [](ConversionSettings& s) {
       s.resizeOption = FixedHeight;
       s.sameForPortrait = false;
       s.portraitHeight = 0;
     },
     E_INVALIDARG, kHeight, kResize, SettingsField::portraitHeight},
    {"portrait 0 ignored when same",
     [](ConversionSettings& s) {
       s.portraitWidth = 0;
       s.portraitHeight = 0;
     },
     S_OK, "", kResize, SettingsField::None},
    {"crop left 1.0", [](ConversionSettings& s) { s.cropLeftRatio = 1.0; }, S_OK, "", kResize,
     SettingsField::None},
    {"crop left 1.01", [](ConversionSettings& s) { s.cropLeftRatio = 1.01; }, E_INVALIDARG, kCrop,
     kResize, SettingsField::cropLeftRatio},
    {"crop top -0.1 pad",
     [](ConversionSettings& s) {
       s.resizeOption = FixedPad;
       s.cropTopRatio = -0.1;
     },
     E_INVALIDARG, kCrop, kResize, SettingsField::cropTopRatio},
    {"crop NaN", [](ConversionSettings& s) { s.cropLeftRatio = NAN; }, E_INVALIDARG, kCrop, kResize,
     SettingsField::cropLeftRatio},
    {"crop unchecked in fixed size",
     [](ConversionSettings& s) {
       s.resizeOption = FixedSize;
       s.cropLeftRatio = 5;
     },
     S_OK, "", kResize, SettingsField::None},
    {"zero padding negative", [](ConversionSettings& s) { s.zeroPadding = -1; }, E_INVALIDARG,
     "Please choose a zero padding not negative.", kResize, SettingsField::zeroPadding},
    {"empty type", [](ConversionSettings& s) { s.destFileExt.clear(); }, E_INVALIDARG,
     "Please enter a destination file type.", kResize, SettingsField::destFileExt},
    {"type xyz", [](ConversionSettings& s) { s.destFileExt = "xyz"; }, E_INVALIDARG,
     "Destination file type is not supported.", kResize, SettingsField::destFileExt},
    {"type gif", [](ConversionSettings& s) { s.destFileExt = "gif"; }, S_OK, "", kResize,
     SettingsField::None},
    {"type GIF", [](ConversionSettings& s) { s.destFileExt = "GIF"; }, S_OK, "", kResize,
     SettingsField::None},
    {"type png", [](ConversionSettings& s) { s.destFileExt = "png"; }, S_OK, "", kResize,
     SettingsField::None},
    {"rotate 45", [](ConversionSettings& s) { s.rotateDegree = 45; }, E_INVALIDARG,
     "Invalid rotate degree. Valid values are 0, 90, 180 and 270.", kResize,
     SettingsField::rotateDegree},
    {"rotate 270", [](ConversionSettings& s) { s.rotateDegree = 270; }, S_OK, "", kResize,
     SettingsField::None},
    {"quality 0 for png",
     [](ConversionSettings& s) {
       s.destFileExt = "png";
       s.jpegQualityNew = 0;
     },
     E_INVALIDARG, "Invalid jpeg quality. Valid values are numbers from 1-100.", kResize,
     SettingsField::jpegQualityNew},
    {"quality 101", [](ConversionSettings& s) { s.jpegQualityNew = 101; }, E_INVALIDARG,
     "Invalid jpeg quality. Valid values are numbers from 1-100.", kResize,
     SettingsField::jpegQualityNew},
    {"frame off ignores -5", [](ConversionSettings& s) { s.paddingVert = -5; }, S_OK, "", kResize,
     SettingsField::None},
    {"frame horz 1001",
     [](ConversionSettings& s) {
       s.addPadding = true;
       s.paddingHorz = 1001;
       s.paddingVert = 1001;
     },
     E_INVALIDARG, "Horizontal frame thickness must be between 0 and 1000.", kResize,
     SettingsField::paddingHorz},
    {"frame vert 1001",
     [](ConversionSettings& s) {
       s.addPadding = true;
       s.paddingVert = 1001;
     },
     E_INVALIDARG, "Vertical frame thickness must be between 0 and 1000.", kResize,
     SettingsField::paddingVert},
    {"shadow off ignores opaque", [](ConversionSettings& s) { s.shadowOpaque = 2; }, S_OK, "",
     kShadow, SettingsField::None},
    {"shadow opaque 1.5",
     [](ConversionSettings& s) {
       s.createShadow = true;
       s.shadowOpaque = 1.5;
       s.shadowBlur = -1;
     },
     E_INVALIDARG, "Invalid opaque value. Valid value must be 0-100", kShadow,
     SettingsField::shadowOpaque},
    {"shadow blur 1001",
     [](ConversionSettings& s) {
       s.createShadow = true;
       s.shadowBlur = 1001;
     },
     E_INVALIDARG, "Invalid shadow blur value. Valid value must be 0-1000", kShadow,
     SettingsField::shadowBlur},
    {"overlay missing file",
     [](ConversionSettings& s) {
       s.overlay = true;
       s.overlayFilePath = "/nonexistent/o.png";
     },
     E_INVALIDARG, "Failed to load overlay image file /nonexistent/o.png", kShadow,
     SettingsField::overlayFilePath},
};

class ValidateSettingsCases : public testing::TestWithParam<Case> {};

TEST_P(ValidateSettingsCases, GivesCodeMessagePageAndField) {
  const Case& c = GetParam();
  ConversionSettings s = Valid();
  c.change(s);
  std::string message;
  SettingsPage page = SettingsPage::ShadowAndOverlay;
  SettingsField field = SettingsField::destFolder;
  EXPECT_EQ(ValidateSettings(s, message, page, field), c.code);
  EXPECT_EQ(message, c.message);
  if (c.code != S_OK) {
    EXPECT_EQ(page, c.page);
  }
  EXPECT_EQ(field, c.field);
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(All, ValidateSettingsCases, testing::ValuesIn(kCases), CaseName);

TEST(ValidateSettings, LoadsTheOverlayAs32BitsAndChecksItsPlacement) {
  TempDir dir;
  FIBITMAP* picture = FreeImage_Allocate(4, 3, 24);
  ASSERT_TRUE(SavePicture(picture, dir / "o.png"));
  FreeImage_Unload(picture);

  ConversionSettings s = Valid();
  s.overlay = true;
  s.overlayFilePath = dir / "o.png";
  ValidationResult ok = ValidateSettings(s);
  EXPECT_EQ(ok.code, S_OK);
  ASSERT_TRUE(s.overlayImage);
  EXPECT_EQ(s.overlayImage->Bpp(), 32);
  EXPECT_EQ(s.overlayImage->Width(), 4);

  const std::pair<double ConversionSettings::*, const char*> checks[] = {
      {&ConversionSettings::overlayHAlignRatio,
       "Invalid overlay horizontal align value. Valid value must be 0-100"},
      {&ConversionSettings::overlayVAlignRatio,
       "Invalid overlay vertical align value. Valid value must be 0-100"},
      {&ConversionSettings::overlayTransparency,
       "Invalid overlay transparency value. Valid value must be 0-100"},
  };
  for (const auto& [field, text] : checks) {
    ConversionSettings bad = s;
    bad.*field = 1.5;
    EXPECT_EQ(ValidateSettings(bad).message, text);
  }
}

TEST(ValidateSettings, AFailedOverlayLoadLeavesAnEmptyPicture) {
  ConversionSettings s = Valid();
  s.overlay = true;
  s.overlayFilePath = "/nonexistent.png";
  ValidateSettings(s);
  ASSERT_TRUE(s.overlayImage);
  EXPECT_EQ(s.overlayImage->Picture(), nullptr);
}

}  // namespace
