// The frame drawn by the resize step, and its place before the rotation.
#include <gtest/gtest.h>

#include "image/ImageResult.h"
#include "image/transform/ResizeAndFrame.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kRed = 0xFFFF0000u;  // ToPixel(0x0000FF), opaque
constexpr std::uint32_t kPic = 0xFF336699u;  // an opaque picture colour

ConversionSettings Framed(int vert, int horz) {
  ConversionSettings s = PlainSettings();
  s.addPadding = true;
  s.paddingVert = vert;
  s.paddingHorz = horz;
  s.paddingColor = 0x0000FF;  // red
  return s;
}

// Whether the canvas shows the frame colour exactly outside [left, right) x [top, bottom).
void ExpectFrameAround(FIBITMAP* p, int left, int top, int right, int bottom) {
  const Pixels px = PixelsOf(p);
  const int w = WidthOf(p), h = HeightOf(p);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inside = x >= left && x < right && y >= top && y < bottom;
      ASSERT_EQ(px[y * w + x], inside ? kPic : kRed) << x << "," << y;
    }
}

TEST(Frame, BarsHaveTheirThicknessOnEachSide) {
  const struct { int vert, horz; } cases[] = {{10, 0}, {0, 3}, {2, 5}, {1, 1}};
  for (const auto& c : cases) {
    Picture source(MakePicture32(6, 4, [](int, int) { return kPic; }));
    StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), Framed(c.vert, c.horz));
    ASSERT_EQ(out.hr, S_OK);
    ASSERT_EQ(WidthOf(out.made.get()), 6 + 2 * c.vert);
    ASSERT_EQ(HeightOf(out.made.get()), 4 + 2 * c.horz);
    ExpectFrameAround(out.made.get(), c.vert, c.horz, c.vert + 6, c.horz + 4);
  }
}

TEST(Frame, AddsToTheSizeTheResizeModeMade) {
  Picture source(MakePicture32(400, 300, [](int, int) { return kPic; }));
  ConversionSettings s = Framed(4, 4);
  s.resizeOption = FixedCrop;
  StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), s);
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_EQ(WidthOf(out.made.get()), 158);
  EXPECT_EQ(HeightOf(out.made.get()), 108);
  ExpectFrameAround(out.made.get(), 4, 4, 154, 104);
}

TEST(Frame, ThousandPixelBarsAroundOnePixel) {
  Picture source(MakePicture32(1, 1, Pixels{kPic}));
  StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), Framed(1000, 1000));
  ASSERT_EQ(out.hr, S_OK);
  ASSERT_EQ(WidthOf(out.made.get()), 2001);
  ASSERT_EQ(HeightOf(out.made.get()), 2001);
  EXPECT_EQ(PixelAt(out.made.get(), 1000, 1000), kPic);
  EXPECT_EQ(PixelAt(out.made.get(), 999, 1000), kRed);
  EXPECT_EQ(PixelAt(out.made.get(), 1000, 1001), kRed);
  EXPECT_EQ(PixelAt(out.made.get(), 2000, 2000), kRed);
}

// 1000 x 5 at width 100 keeping the ratio has height 100 x 5 div 1000 = 0.
TEST(Frame, NothingPlacedFailsUnlessTheFrameGivesACanvas) {
  Picture source(MakePicture32(1000, 5, [](int, int) { return kPic; }));
  const Pixels before = PixelsOf(source.get());
  ConversionSettings s = PlainSettings();
  s.resizeOption = FixedWidthKeepRatio;
  s.width = 100;
  StepOutcome bare = RunOneStep(ResizeAndFrame, source.get(), s);
  EXPECT_EQ(bare.hr, E_IMG_TOO_SMALL);
  EXPECT_FALSE(bare.made);
  EXPECT_EQ(PixelsOf(source.get()), before);

  ConversionSettings framed = Framed(4, 4);
  framed.resizeOption = FixedWidthKeepRatio;
  framed.width = 100;
  StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), framed);
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_EQ(WidthOf(out.made.get()), 108);
  EXPECT_EQ(HeightOf(out.made.get()), 8);
  EXPECT_EQ(PixelsOf(out.made.get()), Pixels(108 * 8, kRed));
}

TEST(Frame, RefusedSizes) {
  Picture source(MakePicture32(400, 300, [](int, int) { return kPic; }));
  const struct {
    const char* name;
    int mode, width, height;
    double ratio;
    HRESULT code;
  } cases[] = {
      {"ratio 100 is over the budget", ByRatio, 150, 100, 100.0, E_OUTOFMEMORY},
      {"side over the limit", FixedSize, 1 << 27, 1, 0.5, E_OUTOFMEMORY},
      {"crop to a side over the limit", FixedCrop, 1 << 27, 100, 0.5, E_OUTOFMEMORY},
      {"unknown mode places nothing", 42, 150, 100, 0.5, E_IMG_TOO_SMALL},
      {"negative width", FixedSize, -5, 100, 0.5, E_IMG_TOO_SMALL},
  };
  for (const auto& c : cases) {
    ConversionSettings s = PlainSettings();
    s.resizeOption = c.mode;
    s.width = c.width;
    s.height = c.height;
    s.ratio = c.ratio;
    StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), s);
    EXPECT_EQ(out.hr, c.code) << c.name;
    EXPECT_FALSE(out.made) << c.name;
  }
}

// The frame is part of the picture when it turns: 100 x 50 with 5-pixel bars, rotated a
// quarter turn, is 60 x 110 and its left and right bars are now at the top and bottom.
TEST(Frame, ComesBeforeTheRotationInApplySettings) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(100, 50, [](int, int) { return kPic; }));
  ConversionSettings s = Framed(5, 0);
  s.rotateDegree = 90;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.Width(), 50);
  ASSERT_EQ(buffer.Height(), 110);
  ExpectFrameAround(buffer.Picture(), 0, 5, 50, 105);

  ImageBuffer both;
  both.Adopt(MakePicture32(100, 50, [](int, int) { return kPic; }));
  s.paddingHorz = 5;
  ASSERT_EQ(both.ApplySettings(s), S_OK);
  EXPECT_EQ(both.Width(), 60);
  EXPECT_EQ(both.Height(), 110);
}

TEST(Frame, RefusesAPictureThatIsNeither32Nor24Bit) {
  for (int bpp : {1, 8, 16}) {
    Picture picture(FreeImage_Allocate(4, 4, bpp, 0, 0, 0));
    StepOutcome out = RunOneStep(ResizeAndFrame, picture.get(), Framed(1, 1));
    EXPECT_EQ(out.hr, E_IMG_NOT_32BIT) << bpp;
    EXPECT_FALSE(out.made) << bpp;
  }
}

}  // namespace
