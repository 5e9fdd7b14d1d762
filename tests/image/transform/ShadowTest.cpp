#include "image/transform/Shadow.h"

#include <gtest/gtest.h>

#include <climits>

#include "image/ImageResult.h"
#include "image/transform/ShadowFalloff.h"
#include "image/transform/ShadowLayout.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kPic = 0xFF336699u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// The shadowed picture, and its pixel at (x, y) in the picture's own coordinates.
struct Shadowed {
  StepOutcome out;
  std::int64_t left, top;  // canvas position of picture column 0 and row 0
  std::uint32_t At(int x, int y) const {
    return PixelAt(out.made.get(), static_cast<int>(x + left), static_cast<int>(y + top));
  }
};

Shadowed Shadow(int w, int h, const ConversionSettings& s, std::uint32_t colour = kPic) {
  Picture p(MakePicture32(w, h, [=](int, int) { return colour; }));
  const ShadowLayout l = ComputeShadowLayout(s, w, h);
  return {RunOneStep(AddShadow, p.get(), s), -l.canvas.left, -l.canvas.top};
}

TEST(ShadowLayout, DefaultsOnOneHundredByEighty) {
  const ShadowLayout l = ComputeShadowLayout(ConversionSettings{}, 100, 80);
  EXPECT_EQ(l.dx, 4);
  EXPECT_EQ(l.dy, 4);
  EXPECT_EQ(l.core, (WinRect{10, 10, 98, 78}));
  EXPECT_EQ(l.outer, (WinRect{2, 2, 106, 86}));
  EXPECT_EQ(l.canvas, (WinRect{-2, -2, 108, 88}));
}

// The light's direction: 0 degrees from the right, counter-clockwise; the shadow falls on
// the opposite side.
TEST(ShadowLayout, AngleSetsTheOffset) {
  const struct {
    int angle, dx, dy;
  } cases[] = {{0, -7, 0}, {45, -4, 4}, {90, 0, 7}, {135, 4, 4}, {180, 7, 0}, {270, 0, -7}};
  for (const auto& c : cases) {
    ConversionSettings s;
    s.shadowAngle = c.angle;
    const ShadowLayout l = ComputeShadowLayout(s, 10, 10);
    EXPECT_EQ(l.dx, c.dx) << c.angle;
    EXPECT_EQ(l.dy, c.dy) << c.angle;
  }
}

TEST(ShadowFalloff, FallsLinearlyAndMultipliesInCorners) {
  EXPECT_EQ(ShadowFalloff(1, 0, 8), 0.875);
  EXPECT_EQ(ShadowFalloff(0, 4, 8), 0.5);
  EXPECT_EQ(ShadowFalloff(3, 3, 8), 0.390625);
  EXPECT_EQ(ShadowFalloff(8, 0, 8), 0.0);
  EXPECT_EQ(ShadowFalloff(0, 9, 8), 0.0);
  EXPECT_EQ(ShadowFalloff(0, 0, 0.05), 0.0);
  // The strength next to the core with the defaults: 0.875 x 0.8 gives 76.
  EXPECT_EQ(BlendColor(0, 0xFFFFFF, ShadowFalloff(1, 0, 8) * 0.8), 0x4C4C4Cu);
}

// The defaults on 100 x 80: 110 x 90 with the picture at (2, 2). The picture lies on top,
// so the pixel (98, 50) shows the picture, and the soft edge is seen right of x = 100 and
// below y = 80 (ex or ey from 3 on).
TEST(Shadow, DefaultsOnOneHundredByEighty) {
  const Shadowed r = Shadow(100, 80, ConversionSettings{});
  ASSERT_EQ(r.out.hr, S_OK);
  ASSERT_EQ(WidthOf(r.out.made.get()), 110);
  ASSERT_EQ(HeightOf(r.out.made.get()), 90);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.At(0, 0), kPic);
  EXPECT_EQ(r.At(98, 50), kPic);
  EXPECT_EQ(r.At(99, 79), kPic);
  const std::uint32_t edge[] = {Grey(127), Grey(153), Grey(178), Grey(204),
                                Grey(229), kWhite,    kWhite,    kWhite};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(r.At(100 + k, 50), edge[k]) << "right edge x " << 100 + k;
    if (k < 6) {
      EXPECT_EQ(r.At(50, 80 + k), edge[k]) << "bottom edge y " << 80 + k;
    }
  }
  EXPECT_EQ(r.At(100, 80), Grey(175));  // corner: 0.625 x 0.625 x 0.8
  EXPECT_EQ(r.At(104, 84), Grey(251));  // corner: 0.125 x 0.125 x 0.8
  EXPECT_EQ(r.At(101, 5), Grey(216));   // corner above the core: 0.5 x 0.375 x 0.8
  EXPECT_EQ(r.At(101, 2), kWhite);      // ey = 8 reaches the blur
  EXPECT_EQ(r.At(-1, 50), kWhite);
  EXPECT_EQ(r.At(-2, -2), kWhite);
  EXPECT_EQ(r.At(50, 87), kWhite);
}

// A distant shadow shows its core: trunc((1 - 0.8) x 255) = 50.
TEST(Shadow, CoreTakesTheOpacity) {
  ConversionSettings s;
  s.shadowDistance = 100;  // dx = dy = 70, core (76, 76, 164, 144)
  const Shadowed r = Shadow(100, 80, s);
  ASSERT_EQ(r.out.hr, S_OK);
  EXPECT_EQ(WidthOf(r.out.made.get()), 176);
  EXPECT_EQ(HeightOf(r.out.made.get()), 156);
  EXPECT_EQ(r.At(120, 120), Grey(50));
  EXPECT_EQ(r.At(76, 143), Grey(50));
  EXPECT_EQ(r.At(163, 90), Grey(50));
}

TEST(Shadow, ColoursComeFromTheSettings) {
  ConversionSettings s;
  s.shadowDistance = 100;
  s.shadowColor = 0x0000FF;      // red
  s.shadowBackColor = 0xFF0000;  // blue
  s.shadowOpaque = 1.0;
  const Shadowed r = Shadow(100, 80, s);
  EXPECT_EQ(r.At(120, 120), 0xFFFF0000u);
  EXPECT_EQ(r.At(-1, -1), 0xFF0000FFu);
}

// Blur 0: the core is the moved picture, no soft edge, the canvas their union grown by 2.
TEST(Shadow, BlurZeroHasAHardEdge) {
  ConversionSettings s;
  s.shadowBlur = 0;
  const Shadowed r = Shadow(4, 4, s);  // core (4, 4, 8, 8), canvas (-2, -2, 10, 10)
  ASSERT_EQ(r.out.hr, S_OK);
  EXPECT_EQ(WidthOf(r.out.made.get()), 12);
  EXPECT_EQ(HeightOf(r.out.made.get()), 12);
  EXPECT_EQ(r.At(3, 3), kPic);
  EXPECT_EQ(r.At(4, 4), Grey(50));
  EXPECT_EQ(r.At(7, 7), Grey(50));
  EXPECT_EQ(r.At(8, 7), kWhite);
  EXPECT_EQ(r.At(4, 3), kWhite);
  EXPECT_EQ(r.At(3, 4), kWhite);
}

// Distance and blur 0: the picture whole, fourth bytes included, in a 2-pixel border.
TEST(Shadow, NoDistanceNoBlurIsABorder) {
  ConversionSettings s;
  s.shadowBlur = 0;
  s.shadowDistance = 0;
  Picture p(MakePicture32(3, 2, Pixels{0x00112233u, 0x80445566u, kPic, kPic, 0x01000000u, kPic}));
  StepOutcome out = RunOneStep(AddShadow, p.get(), s);
  ASSERT_EQ(out.hr, S_OK);
  Pixels expected(7 * 6, kWhite);
  const Pixels inner = PixelsOf(p.get());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) expected[(y + 2) * 7 + x + 2] = inner[y * 3 + x];
  EXPECT_EQ(PixelsOf(out.made.get()), expected);
}

// Blur 1000 on 2 x 2: the core (754, 754, -744, -744) is inverted and holds nothing; every
// shadow pixel comes from the soft-edge distances to its edges.
TEST(Shadow, BlurLargerThanThePicture) {
  ConversionSettings s;
  s.shadowBlur = 1000;
  const ShadowLayout l = ComputeShadowLayout(s, 2, 2);
  EXPECT_EQ(l.core, (WinRect{754, 754, -744, -744}));
  EXPECT_EQ(l.canvas, (WinRect{-248, -248, 258, 258}));
  const Shadowed r = Shadow(2, 2, s, 0x00ABCDEFu);
  ASSERT_EQ(r.out.hr, S_OK);
  EXPECT_EQ(WidthOf(r.out.made.get()), 506);
  EXPECT_EQ(r.At(0, 0), 0x00ABCDEFu);
  EXPECT_EQ(r.At(1, 1), 0x00ABCDEFu);
  EXPECT_EQ(r.At(5, 5), Grey(242));     // ex = ey = 749: 0.251 x 0.251 x 0.8
  EXPECT_EQ(r.At(255, 5), Grey(229));   // ex = 499, ey = 749
  EXPECT_EQ(r.At(-246, -246), kWhite);  // ex = 1000 reaches the blur
  EXPECT_EQ(r.At(-247, 0), kWhite);     // outside the outer rectangle
}

TEST(Shadow, HostileSettings) {
  const struct {
    const char* name;
    int distance, blur;
    HRESULT code;
  } cases[] = {
      {"distance past any canvas", INT_MAX, 8, E_OUTOFMEMORY},
      {"distance 100000", 100000, 8, E_OUTOFMEMORY},
      {"negative distance", -20, 8, S_OK},
      {"negative blur", 7, -5, S_OK},
  };
  for (const auto& c : cases) {
    ConversionSettings s;
    s.shadowDistance = c.distance;
    s.shadowBlur = c.blur;
    const Shadowed r = Shadow(3, 3, s);
    EXPECT_EQ(r.out.hr, c.code) << c.name;
    EXPECT_EQ(static_cast<bool>(r.out.made), c.code == S_OK) << c.name;
    if (r.out.made) {
      EXPECT_EQ(r.At(1, 1), kPic) << c.name;
    }
  }
}

TEST(Shadow, RefusesAPictureThatIsNot32Bit) {
  Picture rgb(FreeImage_Allocate(2, 2, 24, 0, 0, 0));
  StepOutcome out = RunOneStep(AddShadow, rgb.get(), ConversionSettings{});
  EXPECT_EQ(out.hr, E_IMG_NOT_32BIT);
  EXPECT_FALSE(out.made);
}

// The shadow is the last effect: an 80 x 100 picture rotated a quarter turn is 100 x 80,
// and its shadow with the defaults makes 110 x 90.
TEST(Shadow, ComesAfterTheRotationInApplySettings) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(80, 100, [](int, int) { return kPic; }));
  ConversionSettings s = PlainSettings();
  s.rotateDegree = 90;
  s.createShadow = true;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  EXPECT_EQ(buffer.Width(), 110);
  EXPECT_EQ(buffer.Height(), 90);
  EXPECT_EQ(PixelAt(buffer.Picture(), 102, 52), Grey(127));
}

}  // namespace
