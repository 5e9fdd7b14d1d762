#include "image/transform/Rotate.h"

#include <gtest/gtest.h>

#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// A 3 x 2 picture  a b c / d e f  with a different fourth byte in every pixel.
constexpr std::uint32_t a = 0x01000001, b = 0x20000002, c = 0x30000003, d = 0x40000004,
                        e = 0x00000005, f = 0xFF000006;

Picture ThreeByTwo() { return Picture(MakePicture32(3, 2, Pixels{a, b, c, d, e, f})); }

struct Case {
  int degrees;
  int w, h;
  Pixels pixels;
};

// (x, y) goes to 90: (H - 1 - y, x); 180: (W - 1 - x, H - 1 - y); 270: (y, W - 1 - x).
const Case kCases[] = {
    {90, 2, 3, {d, a, e, b, f, c}},
    {180, 3, 2, {f, e, d, c, b, a}},
    {270, 2, 3, {c, f, b, e, a, d}},
};

TEST(Rotate, MovesEveryPixelWholeToItsQuarterTurnPlace) {
  for (const Case& k : kCases) {
    Picture source = ThreeByTwo();
    FreeImage_SetDotsPerMeterX(source.get(), 3780);
    FIBITMAP* made = nullptr;
    ASSERT_EQ(RotatePicture(source.get(), k.degrees, &made), S_OK);
    Picture rotated(made);
    ASSERT_TRUE(rotated);
    EXPECT_EQ(WidthOf(made), k.w) << k.degrees;
    EXPECT_EQ(HeightOf(made), k.h) << k.degrees;
    EXPECT_EQ(PixelsOf(made), k.pixels) << k.degrees;
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(made), 3780u);
  }
}

TEST(Rotate, QuarterTurnOfFourByTwoPutsTheTopLeftPixelTopRight) {
  Picture source(
      MakePicture32(4, 2, [](int x, int y) { return static_cast<std::uint32_t>(y * 4 + x + 1); }));
  ConversionSettings s;
  s.rotateDegree = 90;
  StepOutcome out = RunOneStep(Rotate, source.get(), s);
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_EQ(WidthOf(out.made.get()), 2);
  EXPECT_EQ(HeightOf(out.made.get()), 4);
  EXPECT_EQ(PixelAt(out.made.get(), 1, 0), 1u);
}

// Turns that add up to a whole turn give the original back, bit for bit.
TEST(Rotate, TurnsCompose) {
  const std::vector<std::vector<int>> sequences = {
      {90, 90, 90, 90}, {90, 270}, {270, 90}, {180, 180}};
  // An odd size in both directions, with every pixel different.
  Picture original(MakePicture32(
      7, 5, [](int x, int y) { return 0x9E3779B9u * static_cast<std::uint32_t>(y * 7 + x + 1); }));
  const Pixels expected = PixelsOf(original.get());
  for (const auto& turns : sequences) {
    Picture current(FreeImage_Clone(original.get()));
    for (int degrees : turns) {
      FIBITMAP* made = nullptr;
      ASSERT_EQ(RotatePicture(current.get(), degrees, &made), S_OK);
      current.reset(made);
    }
    EXPECT_EQ(WidthOf(current.get()), 7);
    EXPECT_EQ(PixelsOf(current.get()), expected) << turns.size() << " turns";
  }
}

TEST(Rotate, OtherAnglesLeaveThePictureAlone) {
  for (int degrees : {0, 45, -90, 360}) {
    Picture source = ThreeByTwo();
    FIBITMAP* made = reinterpret_cast<FIBITMAP*>(1);
    EXPECT_EQ(RotatePicture(source.get(), degrees, &made), S_OK);
    EXPECT_EQ(made, nullptr) << degrees;
    EXPECT_EQ(PixelsOf(source.get()), (Pixels{a, b, c, d, e, f}));
  }
}

TEST(Rotate, RefusesAPictureThatIsNot32Bit) {
  Picture grey(AllocatePicture(3, 2, 24));
  FIBITMAP* made = nullptr;
  EXPECT_EQ(RotatePicture(grey.get(), 90, &made), E_IMG_NOT_32BIT);
  EXPECT_EQ(RotatePicture(nullptr, 90, &made), E_IMG_NOT_32BIT);
  EXPECT_EQ(made, nullptr);
}

// A 45-degree setting reaching the buffer's steps: the picture is only made 32-bit.
TEST(Rotate, FortyFiveDegreesThroughApplySettingsKeepsThePicture) {
  ImageBuffer buffer;
  buffer.Adopt(ThreeByTwo().release());
  ConversionSettings s = PlainSettings();
  s.rotateDegree = 45;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  EXPECT_EQ(PixelsOf(buffer.Picture()), (Pixels{a, b, c, d, e, f}));
}

}  // namespace
