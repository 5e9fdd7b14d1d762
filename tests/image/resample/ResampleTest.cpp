// Pixel values of the resize step, worked out by hand from the block-average and
// nearest-pixel rules, through ResizeAndFrame and directly through ResampleInto.
#include "image/resample/Resample.h"

#include <gtest/gtest.h>

#include <array>

#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "image/transform/ResizeAndFrame.h"
#include "support/TestFiles.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// Source pixels carry a fourth byte that is neither 0 nor 0xFF, so that a copy whole and
// a made pixel can be told apart.
constexpr std::uint32_t Src(std::uint32_t rgb) { return 0x5A000000u | rgb; }
// A pixel averaged from Src pixels: such a source has real alpha, so the average keeps
// their common fourth byte.
constexpr std::uint32_t Mean(std::uint32_t rgb) { return 0x5A000000u | rgb; }

ConversionSettings Sized(int mode, int w, int h) {
  ConversionSettings s;
  s.resizeOption = mode;
  s.width = w;
  s.height = h;
  return s;
}

Pixels Resized(int w, int h, const Pixels& pixels, const ConversionSettings& s) {
  Picture source(MakePicture32(w, h, pixels));
  StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), s);
  EXPECT_EQ(out.hr, S_OK);
  if (!out.made) return {};
  return PixelsOf(out.made.get());
}

TEST(Resample, DoublingRepeatsEachPixelInATwoByTwoBlock) {
  const Pixels in = {Src(0x010203), Src(0x040506), Src(0x070809), Src(0x0A0B0C)};
  const std::uint32_t a = in[0], b = in[1], c = in[2], d = in[3];
  EXPECT_EQ(Resized(2, 2, in, Sized(FixedSize, 4, 4)),
            (Pixels{a, a, b, b, a, a, b, b, c, c, d, d, c, c, d, d}));
}

TEST(Resample, HalvingAveragesTwoByTwoBlocksWithIntegerDivision) {
  // Top-left block: red 1+2+2+2 = 7 -> 1, green 0+0+0+3 -> 0, blue 10+11+12+13 = 46 -> 11.
  const Pixels in = {Src(0x01000A), Src(0x02000B), Src(0xFFFFFF), Src(0xFFFFFF),
                     Src(0x02000C), Src(0x02030D), Src(0xFFFFFF), Src(0xFFFFFD),
                     Src(0x000000), Src(0x000000), Src(0x102030), Src(0x102030),
                     Src(0x000000), Src(0x000004), Src(0x102030), Src(0x102030)};
  // Bottom-left: blue 4 div 4 = 1. Top-right: blue (255*3 + 253) div 4 = 254.
  EXPECT_EQ(Resized(4, 4, in, Sized(FixedSize, 2, 2)),
            (Pixels{Mean(0x01000B), Mean(0xFFFFFE), Mean(0x000001), Mean(0x102030)}));
}

TEST(Resample, NonIntegerReductionAveragesRunsThatCoverTheWholeRow) {
  // 5 -> 2 columns, f = 2.5: runs [round(0), round(2.5)) = [0, 3) and [3, 5).
  const Pixels in = {Src(10), Src(20), Src(30), Src(41), Src(255)};
  EXPECT_EQ(Resized(5, 1, in, Sized(FixedSize, 2, 1)), (Pixels{Mean(20), Mean(148)}));
  // 7 -> 2, f = 3.5: runs [0, 4) and [4, 7).
  const Pixels seven = {Src(3), Src(3), Src(4), Src(9), Src(9), Src(9), Src(255)};
  EXPECT_EQ(Resized(7, 1, seven, Sized(FixedSize, 2, 1)), (Pixels{Mean(4), Mean(91)}));
}

TEST(Resample, EnlargingOneAxisWithoutReducingTheOtherCopiesTheNearestPixel) {
  // 2 x 1 -> 2 x 3: one-to-one across, enlarged down: each pixel copied whole.
  const Pixels in = {Src(1), Src(2)};
  EXPECT_EQ(Resized(2, 1, in, Sized(FixedSize, 2, 3)),
            (Pixels{in[0], in[1], in[0], in[1], in[0], in[1]}));
  // 3 -> 6 columns repeats each pixel twice; 1 -> 3 rows repeats each row.
  const Pixels row = {Src(7), Src(8), Src(9)};
  const Pixels tall = Resized(3, 1, row, Sized(FixedSize, 6, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(tall[y * 6 + x], row[x / 2]) << x << "," << y;
}

TEST(Resample, OneToOneKeepsEveryPixelOfASourceWithAlpha) {
  ConversionSettings s;
  s.resizeOption = NoResize;
  s.addPadding = true;
  s.paddingVert = 0;
  s.paddingHorz = 0;
  const Pixels in = {0x00123456u, 0x80ABCDEFu, 0xFF000000u, 0x7F010203u};
  EXPECT_EQ(Resized(2, 2, in, s), in);
}

// The crop window's position: the 1-pixel window of a 3 x 1 row (target 1 x 1) sits at
// trunc(2 x ratio); the window of a 1 x 3 column at trunc(2 x ratio) rows down.
TEST(Resample, CropWindowFollowsTheCropRatios) {
  const Pixels in = {Src(0x11), Src(0x22), Src(0x33)};
  const double ratios[] = {0.0, 0.5, 1.0};
  for (int k = 0; k < 3; ++k) {
    ConversionSettings s = Sized(FixedCrop, 1, 1);
    s.cropLeftRatio = s.cropTopRatio = ratios[k];
    const std::uint32_t expected = in[k];
    EXPECT_EQ(Resized(3, 1, in, s), Pixels{expected}) << ratios[k];
    EXPECT_EQ(Resized(1, 3, in, s), Pixels{expected}) << ratios[k];
  }
}

// FixedPad 3 x 1 on a 1 x 1 picture: the picture lands at trunc(2 x ratio) and the rest
// is the padding colour (COLORREF 0x00332211: red 0x11, green 0x22, blue 0x33), opaque,
// while the picture keeps its own fourth byte.
TEST(Resample, PaddingBandsTakeThePaddingColour) {
  const std::uint32_t fill = 0xFF112233u;
  const std::uint32_t p = Src(0x808080);
  const Pixels expected[] = {{p, fill, fill}, {fill, p, fill}, {fill, fill, p}};
  const double ratios[] = {0.0, 0.5, 1.0};
  for (int k = 0; k < 3; ++k) {
    ConversionSettings s = Sized(FixedPad, 3, 1);
    s.cropLeftRatio = ratios[k];
    s.paddingColor = 0x00332211;
    EXPECT_EQ(Resized(1, 1, {p}, s), expected[k]) << ratios[k];
  }
}

// A 1-pixel-wide column cropped to a wide strip has an empty window; the strip repeats
// one pixel of the column, always inside the picture, even at the bottom end.
TEST(Resample, EmptyWindowOfAThinColumnReadsInsideThePicture) {
  Pixels column(100);
  for (int y = 0; y < 100; ++y) column[y] = Src(static_cast<std::uint32_t>(y));
  const struct {
    double top;
    int row;
  } cases[] = {{0.0, 0}, {0.5, 50}, {1.0, 99}};
  for (const auto& c : cases) {
    ConversionSettings s = Sized(FixedCrop, 1000, 1);
    s.cropTopRatio = c.top;
    EXPECT_EQ(Resized(1, 100, column, s), Pixels(1000, column[c.row])) << c.top;
  }
}

TEST(ResampleInto, ClipsAWindowOutsideTheSource) {
  Picture source(MakePicture32(2, 2, Pixels{Src(1), Src(2), Src(3), Src(4)}));
  Picture target(MakePicture32(2, 1, Pixels{0, 0}));
  // A window wholly below and right of the source: an empty window at its far corner.
  ResampleInto(ConstViewOf(source.get()), {5, 5, 3, 3}, ViewOf(target.get()), {0, 0, 2, 1}, 7);
  EXPECT_EQ(PixelsOf(target.get()), (Pixels{Src(4), Src(4)}));
  // A window larger than the source on every side is cut to the whole source: 2 -> 1 column
  // and 2 -> 1 row average all four (1+2+3+4) div 4 = 2; the rest of the row is fill.
  ResampleInto(ConstViewOf(source.get()), {-3, -3, 8, 8}, ViewOf(target.get()), {0, 0, 1, 1}, 7);
  EXPECT_EQ(PixelsOf(target.get()), (Pixels{Mean(2), 7}));
  // A placed rectangle partly off the canvas only writes the canvas: its second column
  // lands on canvas column 0 and averages the single source pixel (1, 0).
  ResampleInto(ConstViewOf(source.get()), {0, 0, 2, 2}, ViewOf(target.get()), {-1, 0, 2, 2}, 7);
  EXPECT_EQ(PixelsOf(target.get()), (Pixels{Mean(2), 7}));
}

TEST(Resample, BlockSumsDoNotOverflowOnHugeBlocks) {
  // 9 million white pixels in one block: a 32-bit sum of 255s would wrap.
  Picture source(AllocatePicture(3000, 3000, 32));
  FreeImage_FillBackground(source.get(), std::array<BYTE, 4>{255, 255, 255, 255}.data());
  StepOutcome out = RunOneStep(ResizeAndFrame, source.get(), Sized(FixedSize, 1, 1));
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_EQ(PixelsOf(out.made.get()), Pixels{0xFFFFFFFFu});
}

// The default mode through the buffer: 400 x 300 cut to 400 x 266 from row 17 and
// reduced to 150 x 100 (factors 2.67 and 2.66: runs of 2 or 3 pixels).
TEST(Resample, RunsAsTheFirstStepOfApplySettings) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(
      400, 300, [](int x, int y) { return Src(static_cast<std::uint32_t>(x % 2 * 10 + y)); }));
  ConversionSettings s = PlainSettings();
  s.resizeOption = FixedCrop;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.Width(), 150);
  ASSERT_EQ(buffer.Height(), 100);
  // Output pixel (0, 0) reads columns 0 to 2 (round(2.67) = 3) of rows 17 to 19
  // (round(2.66) = 3): (3 x (17 + 18 + 19) + 3 x 10) div 9 = 21.
  EXPECT_EQ(PixelAt(buffer.Picture(), 0, 0), Mean(21));
}

// A 24-bit picture whose rows are padded (3 x width is no multiple of 4 for odd widths),
// with a different colour in every pixel.
Picture MakePicture24(int w, int h) {
  Picture p(FreeImage_Allocate(w, h, 24, 0, 0, 0));
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(p.get(), y);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        row[3 * x + c] = static_cast<BYTE>(x * 37 + y * 91 + c * 53 + x * y);
  }
  return p;
}

// A 24-bit picture is resampled as it stands; the pixels must be those of the 32-bit copy
// FreeImage makes of it, for reductions, enlargements, crops, pads and frames.
TEST(Resample, A24BitSourceGivesThePixelsOfIts32BitCopy) {
  struct Case {
    int w, h, mode, tw, th;
    bool frame;
  };
  const Case cases[] = {
      {13, 9, FixedSize, 5, 4, false},  {13, 9, FixedSize, 4, 3, false},
      {7, 5, FixedSize, 20, 11, false}, {7, 5, FixedSize, 3, 13, false},
      {13, 9, FixedCrop, 6, 6, false},  {9, 13, FixedPad, 6, 6, false},
      {31, 17, MaxSize, 10, 10, false}, {5, 3, NoResize, 0, 0, true},
      {13, 9, FixedCrop, 4, 4, true},
  };
  for (const Case& c : cases) {
    ConversionSettings s = Sized(c.mode, c.tw, c.th);
    s.cropLeftRatio = 0.3;
    s.cropTopRatio = 0.7;
    s.paddingColor = 0x00332211;
    if (c.frame) {
      s.addPadding = true;
      s.paddingHorz = 2;
      s.paddingVert = 1;
    }
    Picture rgb = MakePicture24(c.w, c.h);
    Picture copy(FreeImage_ConvertTo32Bits(rgb.get()));
    StepOutcome direct = RunOneStep(ResizeAndFrame, rgb.get(), s);
    StepOutcome viaCopy = RunOneStep(ResizeAndFrame, copy.get(), s);
    const std::string what =
        std::to_string(c.w) + "x" + std::to_string(c.h) + " mode " + std::to_string(c.mode);
    ASSERT_EQ(direct.hr, S_OK) << what;
    ASSERT_EQ(viaCopy.hr, S_OK) << what;
    EXPECT_EQ(FreeImage_GetBPP(direct.made.get()), 32u) << what;
    EXPECT_EQ(WidthOf(direct.made.get()), WidthOf(viaCopy.made.get())) << what;
    EXPECT_EQ(PixelsOf(direct.made.get()), PixelsOf(viaCopy.made.get())) << what;
  }
}

// Through the buffer a decoded 24-bit picture is resized without a 32-bit copy first, and
// the result is the same 32-bit picture as from that copy.
TEST(Resample, ApplySettingsResizesA24BitPictureLikeIts32BitCopy) {
  ConversionSettings s = PlainSettings();
  s.resizeOption = MaxSize;
  s.width = 8;
  s.height = 8;
  ImageBuffer direct, viaCopy;
  direct.Adopt(MakePicture24(21, 11).release());
  viaCopy.Adopt(MakePicture24(21, 11).release());
  ASSERT_EQ(viaCopy.ConvertToBitDepth(32), S_OK);
  ASSERT_EQ(direct.ApplySettings(s), S_OK);
  ASSERT_EQ(viaCopy.ApplySettings(s), S_OK);
  EXPECT_EQ(direct.Bpp(), 32);
  EXPECT_EQ(direct.Width(), 8);
  EXPECT_EQ(direct.Height(), 4);
  EXPECT_EQ(PixelsOf(direct.Picture()), PixelsOf(viaCopy.Picture()));
}

}  // namespace
