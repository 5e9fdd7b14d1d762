// The default (box) resample: a reduction by a whole factor gives exactly the pixels it gave
// before every source pixel was read (the hashes below were taken from that earlier rule);
// a reduction by any factor reads every source pixel exactly once, in runs of floor or ceil
// of the factor centred on their output pixel; Pillow judges a reduction of the test chart.
#include <gtest/gtest.h>

#include <array>

#include "image/resample/FilterChart.h"
#include "image/resample/Resample.h"
#include "image/transform/ResizeAndFrame.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// FNV-1a over the pixels, top-down rows.
std::uint64_t HashOf(const std::vector<std::uint32_t>& pixels) {
  std::uint64_t h = 14695981039346656037ull;
  for (std::uint32_t p : pixels)
    for (int b = 0; b < 4; ++b) h = (h ^ ((p >> (8 * b)) & 0xFFu)) * 1099511628211ull;
  return h;
}

// Deterministic noise; `fourth` picks the fourth bytes: 0xFF, 0, or varying (real alpha).
enum class Fourth { Opaque, Zero, Varying };
Picture Noise(int w, int h, Fourth fourth) {
  std::uint32_t seed = 2026;
  return Picture(MakePicture32(w, h, [&](int, int) {
    seed = seed * 1664525u + 1013904223u;
    const std::uint32_t rgb = seed >> 8;
    switch (fourth) {
      case Fourth::Opaque: return kOpaque | rgb;
      case Fourth::Zero: return rgb;
      case Fourth::Varying: return (seed & 0xFF000000u) | rgb;
    }
    return rgb;
  }));
}

ConversionSettings Target(int mode, int w, int h) {
  ConversionSettings s;
  s.resizeOption = mode;
  s.width = w;
  s.height = h;
  return s;
}

TEST(BoxFilter, WholeFactorReductionsKeepTheirEarlierPixels) {
  struct Case {
    const char* what;
    int w, h;
    Fourth fourth;
    bool rgb;  // resampled from the 24-bit picture of the noise
    ConversionSettings settings;
    std::uint64_t hash;
  };
  ConversionSettings framedPad = Target(FixedPad, 30, 30);  // 60 x 40 placed 30 x 20 at y 5
  framedPad.addPadding = true;
  framedPad.paddingVert = 3;
  framedPad.paddingHorz = 2;
  framedPad.paddingColor = 0x00336699;
  const Case cases[] = {
      {"3 x 4", 60, 40, Fourth::Opaque, false, Target(FixedSize, 20, 10), 17004231572783717825ull},
      {"2 x 2", 60, 40, Fourth::Opaque, false, Target(FixedSize, 30, 20), 1137049660314268866ull},
      {"5 x 5 from 24 bits", 60, 40, Fourth::Opaque, true, Target(FixedSize, 12, 8),
       2249496151030507591ull},
      {"4 x 4, fourth bytes 0", 60, 40, Fourth::Zero, false, Target(FixedSize, 15, 10),
       6844106336467972813ull},
      {"3 x 2, real alpha", 60, 40, Fourth::Varying, false, Target(FixedSize, 20, 20),
       14480777340180226226ull},
      {"crop window 40 x 40 halved", 61, 40, Fourth::Opaque, false, Target(FixedCrop, 20, 20),
       3638264839158434288ull},
      {"padded and framed, halved", 60, 40, Fourth::Opaque, false, framedPad,
       3357589944186142294ull},
  };
  for (const Case& c : cases) {
    Picture source = Noise(c.w, c.h, c.fourth);
    Picture rgb(c.rgb ? FreeImage_ConvertTo24Bits(source.get()) : nullptr);
    StepOutcome out = RunOneStep(ResizeAndFrame, c.rgb ? rgb.get() : source.get(), c.settings);
    ASSERT_EQ(out.hr, S_OK) << c.what;
    EXPECT_EQ(HashOf(PixelsOf(out.made.get())), c.hash) << c.what;
  }
}

// One white pixel on black at each position in turn, along a row and down a column: it
// must brighten exactly one output pixel, by 255 div the length of that pixel's run; the
// runs are floor or ceil of the factor long and hold the source pixel under their centre.
TEST(BoxFilter, NonWholeReductionsReadEverySourcePixelOnce) {
  const struct {
    int from, to;
  } cases[] = {{5, 2}, {7, 2}, {13, 4}, {41, 7}, {100, 17}, {59, 58}, {3, 2}};
  for (const auto& c : cases) {
    for (const bool vertical : {false, true}) {
      std::vector<int> owner(c.from, -1);
      std::vector<int> runLength(c.to, 0);
      for (int x = 0; x < c.from; ++x) {
        const auto pixel = [&](int px, int py) {
          return (vertical ? py : px) == x ? ~0u : kOpaque;
        };
        Picture line(vertical ? MakePicture32(1, c.from, pixel) : MakePicture32(c.from, 1, pixel));
        StepOutcome out =
            RunOneStep(ResizeAndFrame, line.get(),
                       vertical ? Target(FixedSize, 1, c.to) : Target(FixedSize, c.to, 1));
        ASSERT_EQ(out.hr, S_OK);
        const auto pixels = PixelsOf(out.made.get());
        for (int p = 0; p < c.to; ++p) {
          if (pixels[p] == kOpaque) continue;
          EXPECT_EQ(owner[x], -1) << c.from << "->" << c.to << ": pixel " << x << " read twice";
          owner[x] = p;
          ++runLength[p];
        }
        ASSERT_NE(owner[x], -1) << c.from << "->" << c.to << ": pixel " << x << " never read";
      }
      for (int x = 0; x < c.from; ++x) {
        const int length = runLength[owner[x]];
        EXPECT_TRUE(length == c.from / c.to || length == (c.from + c.to - 1) / c.to)
            << c.from << "->" << c.to << ": run of " << length;
      }
      for (int p = 0; p < c.to; ++p) {
        const int centre = static_cast<int>((p + 0.5) * c.from / c.to);
        EXPECT_EQ(owner[centre], p) << c.from << "->" << c.to << " output " << p;
      }
      // The value: the white pixel's share of its run.
      const int x = c.from / 2;
      const auto pixel = [&](int px, int py) { return (vertical ? py : px) == x ? ~0u : kOpaque; };
      Picture line(vertical ? MakePicture32(1, c.from, pixel) : MakePicture32(c.from, 1, pixel));
      StepOutcome out =
          RunOneStep(ResizeAndFrame, line.get(),
                     vertical ? Target(FixedSize, 1, c.to) : Target(FixedSize, c.to, 1));
      EXPECT_EQ(PixelsOf(out.made.get())[owner[x]], Grey(255 / runLength[owner[x]]));
    }
  }
}

// Reducing one axis while enlarging the other averages along the reduced axis (every
// source column counts) and repeats the nearest row along the enlarged one.
TEST(BoxFilter, ReducingOneAxisWhileEnlargingTheOtherAveragesTheReducedOne) {
  Picture row(
      MakePicture32(4, 1, std::vector<std::uint32_t>{Grey(10), Grey(20), Grey(100), Grey(0)}));
  StepOutcome out = RunOneStep(ResizeAndFrame, row.get(), Target(FixedSize, 2, 3));
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_EQ(PixelsOf(out.made.get()), (std::vector<std::uint32_t>{Grey(15), Grey(50), Grey(15),
                                                                  Grey(50), Grey(15), Grey(50)}));
}

// The chart reduced by 5.85 (as 6000 -> 1024) through a file: no one-pixel line vanishes,
// the stripes alias no more than under Pillow's BOX (an exact area average) plus 10 %, and
// the pixels are Pillow's BOX but for its rounding where we truncate.
TEST(BoxFilter, ChartReductionKeepsEveryLineAndAliasesNoMoreThanPillowsBox) {
  TempDir dir;
  const std::string chart = dir / "chart.png", out = dir / "small.png";
  ASSERT_TRUE(MakeChart(chart));
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(chart, 0), S_OK);
  ConversionSettings s = PlainSettings();
  s.resizeOption = FixedSize;
  s.width = 205;
  s.height = 178;
  s.bpp = 24;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.SaveAs(out, EncoderOptionsFor(s)), S_OK);
  const ChartMeasure m = MeasureAgainstPillow(chart, out);
  ASSERT_TRUE(m.ok) << m.error;
  EXPECT_GE(m.faintest, 0.5 * m.boxFaintest);
  EXPECT_LE(m.aliasing, 1.1 * m.boxAliasing);
  EXPECT_GE(m.psnrBox, 45.0);
}

}  // namespace
