// The Lanczos filter: Pillow judges reductions and enlargements of the test chart and of a
// picture with transparency; a 24-bit source gives its 32-bit copy's pixels; grey stays
// grey; the frame, padding and one-to-one cases behave as under the box filter.
#include <gtest/gtest.h>

#include "image/resample/FilterChart.h"
#include "image/resample/LanczosResample.h"
#include "image/transform/ResizeAndFrame.h"
#include "image/transform/TransformTestSupport.h"

namespace {

ConversionSettings LanczosTo(int mode, int w, int h) {
  ConversionSettings s = PlainSettings();
  s.resizeOption = mode;
  s.width = w;
  s.height = h;
  s.bpp = 24;
  s.filter = LanczosFilter;
  return s;
}

// Loads `from`, resizes it with Lanczos to w x h and writes `to` as PNG.
void ResizeFile(const std::string& from, int w, int h, const std::string& to) {
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(from, 0), S_OK);
  const ConversionSettings s = LanczosTo(FixedSize, w, h);
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.SaveAs(to, EncoderOptionsFor(s)), S_OK);
}

// Reductions by 5.85 (pre-shrunk by 2 first), 4 (exactly at the pre-shrink's threshold
// less one) and 2.93 (the benchmark's photos), and enlargements of a 300 x 225 part of the
// chart by 4 and by 1.39: at least 40 dB against Pillow's LANCZOS.
TEST(LanczosFilter, ChartMatchesPillowsLanczosOnReductionAndEnlargement) {
  TempDir dir;
  const std::string chart = dir / "chart.png", part = dir / "part.png";
  ASSERT_TRUE(MakeChart(chart));
  ASSERT_EQ(RunProgram("/usr/bin/python3",
                       {"-c",
                        "import sys; from PIL import Image; "
                        "Image.open(sys.argv[1]).crop((20, 440, 320, 665)).save(sys.argv[2])",
                        chart, part})
                .exitCode,
            0);
  const struct {
    const std::string& source;
    int w, h;
  } cases[] = {
      {chart, 205, 178}, {chart, 300, 260}, {chart, 410, 355}, {part, 1200, 900}, {part, 417, 313}};
  for (const auto& c : cases) {
    const std::string out = dir / ("out-" + std::to_string(c.w) + ".png");
    ResizeFile(c.source, c.w, c.h, out);
    const ChartMeasure m = MeasureAgainstPillow(c.source, out);
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_GE(m.psnrLanczos, 40.0) << c.w << " x " << c.h;
  }
}

// A picture with real transparency: alpha rises smoothly from 0 on the left, the colour
// turns smoothly from orange to blue downwards, and the transparent pixels hide a green
// that must not bleed into the visible ones. Pillow's LANCZOS of the RGBA file (which
// weighs colours by alpha) agrees within 3 levels where the result is visible, alpha
// within 2; the transparent area stays transparent, the opaque corner keeps its colour.
constexpr const char* kAlphaSource = R"(
import sys
from PIL import Image
im = Image.new('RGBA', (240, 160))
for y in range(160):
    t = min(max((y - 60) / 40, 0), 1)
    colour = tuple(round(a + (b - a) * t) for a, b in zip((250, 200, 30), (30, 120, 220)))
    for x in range(240):
        alpha = min(max((x - 60) * 3, 0), 255)
        im.putpixel((x, y), colour + (alpha,) if alpha else (0, 255, 0, 0))
im.save(sys.argv[1])
)";
constexpr const char* kAlphaJudge = R"(
import sys
from PIL import Image
src = Image.open(sys.argv[1]).convert('RGBA')
out = Image.open(sys.argv[2]).convert('RGBA')
ref = src.resize(out.size, Image.LANCZOS)
worst = 0
for (p, q) in zip(out.getdata(), ref.getdata()):
    assert abs(p[3] - q[3]) <= 2, (p, q)
    if q[3] >= 96: worst = max(worst, max(abs(a - b) for a, b in zip(p[:3], q[:3])))
assert worst <= 3, worst
for y in range(20):  # orange rows: the hidden green shows nowhere, however faint the pixel
    for x in range(out.size[0]):
        p = out.getpixel((x, y))
        if p[3] >= 4: assert p[0] >= 240 and p[1] <= 210, (x, y, p)
assert out.getpixel((2, 30))[3] == 0, out.getpixel((2, 30))
assert out.getpixel((95, 10)) == (250, 200, 30, 255), out.getpixel((95, 10))
print('ok')
)";

TEST(LanczosFilter, TransparencyIsFilteredWithColoursWeightedByAlpha) {
  TempDir dir;
  const std::string source = dir / "alpha.png", out = dir / "small.png";
  ASSERT_EQ(RunProgram("/usr/bin/python3", {"-c", kAlphaSource, source}).exitCode, 0);
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(source, 0), S_OK);
  ConversionSettings s = LanczosTo(FixedSize, 97, 61);
  s.bpp = 32;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.SaveAs(out, EncoderOptionsFor(s)), S_OK);
  const RunResult r = RunProgram("/usr/bin/python3", {"-c", kAlphaJudge, source, out});
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

// A 24-bit picture with a different colour in every pixel, rows padded.
Picture Colourful24(int w, int h) {
  Picture p(FreeImage_Allocate(w, h, 24, 0, 0, 0));
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(p.get(), y);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        row[3 * x + c] = static_cast<BYTE>(x * 37 + y * 91 + c * 53 + x * y);
  }
  return p;
}

// Reductions with and without pre-shrink, enlargements, crops, pads and frames: a 24-bit
// picture is filtered as it stands, with the pixels its 32-bit copy gives.
TEST(LanczosFilter, A24BitSourceGivesThePixelsOfIts32BitCopy) {
  const struct {
    int w, h, mode, tw, th;
    bool frame;
  } cases[] = {{61, 43, FixedSize, 7, 5, false},  {61, 43, FixedSize, 20, 17, false},
               {13, 9, FixedSize, 40, 23, false}, {13, 9, FixedSize, 5, 30, false},
               {61, 43, FixedCrop, 9, 9, false},  {43, 61, FixedPad, 12, 12, true},
               {31, 17, MaxSize, 10, 10, true}};
  for (const auto& c : cases) {
    ConversionSettings s = LanczosTo(c.mode, c.tw, c.th);
    s.cropLeftRatio = 0.3;
    s.cropTopRatio = 0.7;
    s.addPadding = c.frame;
    s.paddingHorz = 2;
    s.paddingVert = 1;
    Picture rgb = Colourful24(c.w, c.h);
    Picture copy(FreeImage_ConvertTo32Bits(rgb.get()));
    StepOutcome direct = RunOneStep(ResizeAndFrame, rgb.get(), s);
    StepOutcome viaCopy = RunOneStep(ResizeAndFrame, copy.get(), s);
    ASSERT_EQ(direct.hr, S_OK);
    ASSERT_EQ(viaCopy.hr, S_OK);
    EXPECT_EQ(PixelsOf(direct.made.get()), PixelsOf(viaCopy.made.get()))
        << c.w << "x" << c.h << " to " << c.tw << "x" << c.th;
  }
}

// Grey in, grey out: every output pixel has equal channels, for a reduction that is
// pre-shrunk and for an enlargement; the frame and padding around are the fill colour.
TEST(LanczosFilter, GreyStaysGreyAndTheFrameAndPaddingAreTheFillColour) {
  Picture grey(MakePicture32(90, 30, [](int x, int y) {
    return Grey(static_cast<std::uint32_t>((x * 11 + y * 29) % 256));
  }));
  for (const int width : {8, 200}) {
    ConversionSettings s = LanczosTo(FixedPad, width, width);
    s.addPadding = true;
    s.paddingVert = 3;
    s.paddingHorz = 2;
    s.paddingColor = 0x00336699;  // COLORREF: red 0x99, green 0x66, blue 0x33
    StepOutcome out = RunOneStep(ResizeAndFrame, grey.get(), s);
    ASSERT_EQ(out.hr, S_OK);
    const ResizeGeometry g = ComputeResizeGeometry(s, 90, 30);
    const auto pixels = PixelsOf(out.made.get());
    for (int y = 0; y < HeightOf(out.made.get()); ++y) {
      for (int x = 0; x < WidthOf(out.made.get()); ++x) {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * WidthOf(out.made.get()) + x];
        const bool placed = x >= g.placeRect.x && x < g.placeRect.x + g.placeRect.w &&
                            y >= g.placeRect.y && y < g.placeRect.y + g.placeRect.h;
        if (placed) {
          EXPECT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 16) & 0xFF))
              << std::hex << p << " at " << std::dec << x << "," << y;
        } else {
          EXPECT_EQ(p, 0xFF996633u) << x << "," << y;
        }
      }
    }
  }
}

// One to one (a frame without resize) copies the picture exactly, alpha included, as the
// box filter does; so does a flat colour through any reduction or enlargement.
TEST(LanczosFilter, OneToOneAndFlatColoursComeOutExactly) {
  const std::vector<std::uint32_t> in = {0x00123456u, 0x80ABCDEFu, 0xFF000000u, 0x7F010203u};
  Picture small(MakePicture32(2, 2, in));
  ConversionSettings frame = LanczosTo(NoResize, 0, 0);
  frame.addPadding = true;
  frame.paddingVert = frame.paddingHorz = 0;
  StepOutcome same = RunOneStep(ResizeAndFrame, small.get(), frame);
  ASSERT_EQ(same.hr, S_OK);
  EXPECT_EQ(PixelsOf(same.made.get()), in);
  Picture flat(MakePicture32(50, 40, [](int, int) { return 0xFF2080C0u; }));
  for (const auto& [w, h] : {std::pair{3, 2}, {13, 11}, {49, 39}, {120, 7}, {400, 300}}) {
    StepOutcome out = RunOneStep(ResizeAndFrame, flat.get(), LanczosTo(FixedSize, w, h));
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(PixelsOf(out.made.get()),
              std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, 0xFF2080C0u))
        << w << " x " << h;
  }
}

}  // namespace
