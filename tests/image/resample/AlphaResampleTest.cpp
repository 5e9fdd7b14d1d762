// A picture with real transparency keeps it through shrinking and framing: Pillow judges
// our block reduction against its own box reduction of the same RGBA file (which weights
// colours by alpha), and the frame against the source pixels it surrounds.
#include <gtest/gtest.h>

#include "image/transform/ResizeAndFrame.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// 24 x 16: transparent black on the left, an opaque colour from column 11 (so 2 x 2 blocks
// straddle the edge), and rows 8..15 half transparent with a second colour.
constexpr const char* kMakeSource = R"(
import sys
from PIL import Image
im = Image.new('RGBA', (24, 16), (0, 0, 0, 0))
for y in range(16):
    for x in range(11, 24):
        im.putpixel((x, y), (240, 200, 40, 255) if y < 8 else (30, 120, 220, 60 + 8 * x))
im.putpixel((3, 3), (250, 250, 250, 20))
im.save(sys.argv[1])
)";

// Pillow's reduction goes through 8-bit premultiplied colours and rounds, so colours are
// compared where they are visible enough to be stable, within 3; alpha within 1. The frame
// is opaque red and the framed picture the source itself, transparent pixels included.
constexpr const char* kCompare = R"(
import sys
from PIL import Image
src = Image.open(sys.argv[1]).convert('RGBA')
small = Image.open(sys.argv[2]).convert('RGBA')
ref = src.resize((12, 8), Image.BOX)
assert small.size == ref.size, small.size
for i, (p, q) in enumerate(zip(small.getdata(), ref.getdata())):
    assert abs(p[3] - q[3]) <= 1, (i, p, q)
    if q[3] >= 64: assert all(abs(a - b) <= 3 for a, b in zip(p[:3], q[:3])), (i, p, q)
framed = Image.open(sys.argv[3]).convert('RGBA')
assert framed.size == (30, 20), framed.size
for y in range(20):
    for x in range(30):
        p = framed.getpixel((x, y))
        if 3 <= x < 27 and 2 <= y < 18:
            q = src.getpixel((x - 3, y - 2))
            assert p == q or p[3] == q[3] == 0, (x, y, p, q)
        else:
            assert p == (255, 0, 0, 255), (x, y, p)
print('ok')
)";

TEST(AlphaResample, ShrinkAndFrameKeepRealTransparency) {
  TempDir dir;
  const std::string source = dir / "source.png";
  const RunResult made =
      RunProgram("/usr/bin/timeout", {"60", "/usr/bin/python3", "-c", kMakeSource, source});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  ImageBuffer buffer;
  ConversionSettings shrink = PlainSettings();
  shrink.resizeOption = FixedSize;
  shrink.width = 12;
  shrink.height = 8;
  ASSERT_EQ(buffer.Load(source, 0), S_OK);
  ASSERT_EQ(buffer.ApplySettings(shrink), S_OK);
  ASSERT_EQ(buffer.Save(dir / "small.png", 0, 80, 0), S_OK);
  ConversionSettings frame = PlainSettings();
  frame.addPadding = true;
  frame.paddingVert = 3;
  frame.paddingHorz = 2;
  frame.paddingColor = 0x0000FF;  // red as COLORREF
  ASSERT_EQ(buffer.Load(source, 0), S_OK);
  ASSERT_EQ(buffer.ApplySettings(frame), S_OK);
  ASSERT_EQ(buffer.Save(dir / "framed.png", 0, 80, 0), S_OK);
  const RunResult r = RunProgram(
      "/usr/bin/timeout",
      {"60", "/usr/bin/python3", "-c", kCompare, source, dir / "small.png", dir / "framed.png"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

// An opaque source is reduced exactly as before: plain per-channel means, opaque.
TEST(AlphaResample, OpaqueAndUnusedFourthBytesAverageAsBefore) {
  for (const std::uint32_t fourth : {0xFF000000u, 0x00000000u}) {
    Picture p(MakePicture32(
        2, 1, std::vector<std::uint32_t>{fourth | 0x000A14FFu, fourth | 0x00FF0001u}));
    ConversionSettings s = PlainSettings();
    s.resizeOption = FixedSize;
    s.width = 1;
    s.height = 1;
    StepOutcome out = RunOneStep(ResizeAndFrame, p.get(), s);
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(PixelsOf(out.made.get()), std::vector<std::uint32_t>{0xFF840A80u})
        << std::hex << fourth;
  }
}

}  // namespace
