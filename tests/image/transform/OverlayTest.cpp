#include "image/transform/Overlay.h"

#include <gtest/gtest.h>

#include "image/ImageResult.h"
#include "settings/ValidateSettings.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kPic = 0xFF336699u;
constexpr std::uint32_t kLogo = 0xFF00FF00u;

std::shared_ptr<ImageBuffer> Holding(FIBITMAP* picture) {
  auto buffer = std::make_shared<ImageBuffer>();
  if (picture) buffer->Adopt(picture);
  return buffer;
}

ConversionSettings OverlayAt(std::shared_ptr<ImageBuffer> logo, double h, double v,
                             double t = 0.0) {
  ConversionSettings s = PlainSettings();
  s.overlay = true;
  s.overlayImage = std::move(logo);
  s.overlayHAlignRatio = h;
  s.overlayVAlignRatio = v;
  s.overlayTransparency = t;
  return s;
}

// Whether exactly [left, left + w) x [top, top + h) of the picture shows the logo.
void ExpectLogoCovers(FIBITMAP* p, int left, int top, int w, int h) {
  const Pixels px = PixelsOf(p);
  const int pw = WidthOf(p);
  for (int y = 0; y < HeightOf(p); ++y)
    for (int x = 0; x < pw; ++x) {
      const bool covered = x >= left && x < left + w && y >= top && y < top + h;
      ASSERT_EQ(px[y * pw + x], covered ? kLogo : kPic) << x << "," << y;
    }
}

TEST(Overlay, AlignmentPlacesTheLogoInTheFreeSpace) {
  const struct {
    double h, v;
    int x, y;
  } cases[] = {{1.0, 1.0, 300, 250}, {0.5, 0.5, 150, 125}, {0.0, 0.0, 0, 0}, {0.0, 1.0, 0, 250}};
  for (const auto& c : cases) {
    Picture p(MakePicture32(400, 300, [](int, int) { return kPic; }));
    const ConversionSettings s =
        OverlayAt(Holding(MakePicture32(100, 50, [](int, int) { return kLogo; })), c.h, c.v);
    StepOutcome out = RunOneStep(ApplyOverlay, p.get(), s);
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_FALSE(out.made);  // in place
    ExpectLogoCovers(p.get(), c.x, c.y, 100, 50);
  }
}

// A 200 x 100 logo on 100 x 100 at 0.5: ox = trunc(-100 x 0.5) = -50, so picture column x
// shows logo column x + 50.
TEST(Overlay, LargerLogoIsCutByTheSameFractions) {
  Picture p(MakePicture32(100, 100, [](int, int) { return kPic; }));
  auto logo = Holding(MakePicture32(
      200, 100, [](int x, int y) { return kOpaque | static_cast<std::uint32_t>(y << 8 | x); }));
  StepOutcome out = RunOneStep(ApplyOverlay, p.get(), OverlayAt(logo, 0.5, 0.3));
  ASSERT_EQ(out.hr, S_OK);
  const Pixels px = PixelsOf(p.get());
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      ASSERT_EQ(px[y * 100 + x], kOpaque | static_cast<std::uint32_t>(y << 8 | (x + 50)))
          << x << "," << y;
}

// trunc((1 - t) x q + t x p) per channel, opaque.
TEST(Overlay, TransparencyWeighsThePicture) {
  const std::uint32_t picture = 0x00C8000Au;  // red 200, green 0, blue 10
  const std::uint32_t logo = 0x0065FF14u;     // red 101, green 255, blue 20
  const struct {
    double t;
    std::uint32_t expected;
  } cases[] = {{0.0, 0xFF65FF14u}, {0.5, 0xFF967F0Fu}, {1.0, 0xFFC8000Au}};
  for (const auto& c : cases) {
    Picture p(MakePicture32(1, 1, Pixels{picture}));
    ASSERT_EQ(RunOneStep(ApplyOverlay, p.get(),
                         OverlayAt(Holding(MakePicture32(1, 1, Pixels{logo})), 0, 0, c.t))
                  .hr,
              S_OK);
    EXPECT_EQ(PixelsOf(p.get()), Pixels{c.expected}) << c.t;
  }
}

// The key compares all 32 bits: a pixel differing only in its fourth byte is drawn.
TEST(Overlay, KeyColourIsNotDrawn) {
  Picture p(MakePicture32(3, 1, [](int, int) { return kPic; }));
  ConversionSettings s =
      OverlayAt(Holding(MakePicture32(3, 1, Pixels{0x00FF00FFu, 0xFFFF00FFu, kLogo})), 0, 0);
  s.overlayTransparentClr = 0x00FF00FF;
  ASSERT_EQ(RunOneStep(ApplyOverlay, p.get(), s).hr, S_OK);
  EXPECT_EQ(PixelsOf(p.get()), (Pixels{kPic, 0xFFFF00FFu, kLogo}));
}

// A 24-bit BMP logo loaded by validation has fourth byte 255, so its magenta is keyed out
// with FFFF00FF and not with the six digits 00FF00FF.
TEST(Overlay, LogoFromA24BitFileIsKeyedWithEightDigits) {
  TempDir dir;
  Picture bmp(FreeImage_Allocate(2, 1, 24, 0, 0, 0));
  BYTE* row = FreeImage_GetScanLine(bmp.get(), 0);
  const BYTE bgr[6] = {0xFF, 0x00, 0xFF, 0x00, 0x80, 0x00};  // magenta, then green 0x80
  std::copy(bgr, bgr + 6, row);
  ASSERT_TRUE(SavePicture(bmp.get(), dir / "logo.bmp"));
  const struct {
    std::uint32_t key;
    std::uint32_t left;
  } cases[] = {{0xFFFF00FFu, kPic}, {0x00FF00FFu, 0xFFFF00FFu}};
  for (const auto& c : cases) {
    ConversionSettings s = OverlayAt(nullptr, 0, 0);
    s.destFolder = dir.path();
    s.overlayFilePath = dir / "logo.bmp";
    s.overlayTransparentClr = c.key;
    ASSERT_EQ(ValidateSettings(s).code, S_OK);
    Picture p(MakePicture32(2, 1, [](int, int) { return kPic; }));
    ASSERT_EQ(RunOneStep(ApplyOverlay, p.get(), s).hr, S_OK);
    EXPECT_EQ(PixelsOf(p.get()), (Pixels{c.left, 0xFF008000u})) << std::hex << c.key;
  }
}

// A GIF logo on magenta, written by Pillow: the six-digit key FF00FF leaves the picture
// untouched under the magenta, the logo's own colour is drawn opaque; the eight-digit
// key FFFF00FF does not match a GIF logo, so the magenta is drawn.
TEST(Overlay, GifLogoIsKeyedWithSixDigits) {
  TempDir dir;
  const RunResult made = RunProgram("/usr/bin/timeout", {"60", "/usr/bin/python3", "-c", R"(
import sys
from PIL import Image
im = Image.new('RGB', (2, 1), (255, 0, 255)); im.putpixel((1, 0), (0, 128, 0))
im.save(sys.argv[1])
)",
                                                         dir / "logo.gif"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const struct {
    std::uint32_t key;
    std::uint32_t left;
  } cases[] = {{0x00FF00FFu, kPic}, {0xFFFF00FFu, 0xFFFF00FFu}};
  for (const auto& c : cases) {
    ConversionSettings s = OverlayAt(nullptr, 0, 0);
    s.destFolder = dir.path();
    s.overlayFilePath = dir / "logo.gif";
    s.overlayTransparentClr = c.key;
    ASSERT_EQ(ValidateSettings(s).code, S_OK);
    Picture p(MakePicture32(2, 1, [](int, int) { return kPic; }));
    ASSERT_EQ(RunOneStep(ApplyOverlay, p.get(), s).hr, S_OK);
    EXPECT_EQ(PixelsOf(p.get()), (Pixels{c.left, 0xFF008000u})) << std::hex << c.key;
  }
}

TEST(Overlay, MissingOrWrongLogoFails) {
  const struct {
    const char* name;
    std::shared_ptr<ImageBuffer> logo;
  } cases[] = {
      {"no buffer", nullptr},
      {"empty buffer", Holding(nullptr)},
      {"24-bit logo", Holding(FreeImage_Allocate(2, 2, 24, 0, 0, 0))},
  };
  for (const auto& c : cases) {
    Picture p(MakePicture32(2, 2, [](int, int) { return kPic; }));
    EXPECT_EQ(RunOneStep(ApplyOverlay, p.get(), OverlayAt(c.logo, 0, 0)).hr, E_IMG_NOT_32BIT)
        << c.name;
    EXPECT_EQ(PixelsOf(p.get()), Pixels(4, kPic)) << c.name;
    ImageBuffer buffer;
    buffer.Adopt(MakePicture32(2, 2, [](int, int) { return kPic; }));
    EXPECT_EQ(buffer.ApplySettings(OverlayAt(c.logo, 0, 0)), E_IMG_NOT_32BIT) << c.name;
  }
  Picture rgb(FreeImage_Allocate(2, 2, 24, 0, 0, 0));
  EXPECT_EQ(RunOneStep(ApplyOverlay, rgb.get(),
                       OverlayAt(Holding(MakePicture32(1, 1, Pixels{kLogo})), 0, 0))
                .hr,
            E_IMG_NOT_32BIT);
}

// The overlay is placed on the framed and rotated picture, before the shadow grows it:
// 4 x 2 framed by 1 is 6 x 4, turned 4 x 6; the logo at 1.0 / 1.0 lands at (3, 5), and
// the shadow (distance and blur 0) then moves everything by its 2-pixel border.
TEST(Overlay, ComesAfterRotationAndBeforeShadowInApplySettings) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(4, 2, [](int, int) { return kPic; }));
  ConversionSettings s = OverlayAt(Holding(MakePicture32(1, 1, Pixels{kLogo})), 1.0, 1.0);
  s.addPadding = true;
  s.paddingVert = s.paddingHorz = 1;
  s.rotateDegree = 90;
  s.createShadow = true;
  s.shadowDistance = 0;
  s.shadowBlur = 0;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.Width(), 8);
  ASSERT_EQ(buffer.Height(), 10);
  EXPECT_EQ(PixelAt(buffer.Picture(), 5, 7), kLogo);
  EXPECT_EQ(PixelAt(buffer.Picture(), 4, 7), 0xFFFFFFFFu);  // the frame, white
  EXPECT_EQ(PixelAt(buffer.Picture(), 3, 4), kPic);
}

}  // namespace
