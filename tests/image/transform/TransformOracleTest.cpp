// Our transformations judged by an independent reader: the steps' results are written as
// 32-bit PNG files through FreeImage, and Pillow checks them against its own box reduction,
// nearest-pixel enlargement and rotation, and reads pixels of a drop shadow.
#include <gtest/gtest.h>

#include "image/transform/ResizeAndFrame.h"
#include "image/transform/Rotate.h"
#include "image/transform/Shadow.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// Pillow's reduce rounds where we truncate, so the reduction may differ by one per channel;
// nearest-pixel enlargement by 3 and rotation must match exactly. Every pixel we made or
// copied from an opaque source must be opaque in the file.
constexpr const char* kScript = R"(
import sys
from PIL import Image
d = sys.argv[1]
src = Image.open(d + '/source.png').convert('RGBA')
def load(name):
    im = Image.open(d + '/' + name)
    assert im.mode in ('RGB', 'RGBA'), (name, im.mode)  # FreeImage writes an opaque picture as RGB
    im = im.convert('RGBA')
    assert all(a == 255 for a in im.getchannel('A').getdata()), name + ' not opaque'
    return im
small = load('reduced.png'); ref = src.reduce(2)
assert small.size == ref.size, small.size
for p, q in zip(small.getdata(), ref.getdata()):
    assert all(0 <= r - s <= 1 for s, r in zip(p[:3], q[:3])), (p, q)
big = load('enlarged.png')
assert list(big.getdata()) == list(src.resize((24, 18), Image.NEAREST).getdata()), 'enlarged'
turned = load('turned.png')
assert list(turned.getdata()) == list(src.transpose(Image.ROTATE_270).getdata()), 'turned'
shadow = load('shadow.png')
assert shadow.size == (18, 16), shadow.size
assert shadow.getpixel((2, 2)) == src.getpixel((0, 0)), 'picture at (2, 2)'
assert shadow.getpixel((11, 11)) == (98, 98, 98, 255), shadow.getpixel((11, 11))
assert shadow.getpixel((0, 0)) == (255, 255, 255, 255)
print('ok')
)";

Picture Step(HRESULT (*step)(FIBITMAP*, const ConversionSettings&, FIBITMAP**), FIBITMAP* p,
             const ConversionSettings& s) {
  StepOutcome out = RunOneStep(step, p, s);
  EXPECT_EQ(out.hr, S_OK);
  return std::move(out.made);
}

TEST(TransformOracle, PillowAgreesWithOurPixels) {
  TempDir dir;
  Picture source(MakePicture32(8, 6, [](int x, int y) {
    return kOpaque | static_cast<std::uint32_t>((x * 37 + y * 11) % 256 << 16 |
                                                (x * y * 13) % 256 << 8 | (200 - 9 * x - 17 * y));
  }));
  ASSERT_TRUE(SavePicture(source.get(), dir / "source.png"));
  ConversionSettings s;
  s.resizeOption = FixedSize;
  s.width = 4;
  s.height = 3;
  Picture reduced = Step(ResizeAndFrame, source.get(), s);
  s.width = 24;
  s.height = 18;
  Picture enlarged = Step(ResizeAndFrame, source.get(), s);
  s.rotateDegree = 90;
  Picture turned = Step(Rotate, source.get(), s);
  // Defaults on 8 x 6: core (10, 10, 6, 4), inverted; outer (2, 2, 14, 12); canvas 18 x 16.
  // Picture point (9, 9), canvas (11, 11), has ex = ey = 1: 0.875 x 0.875 x 0.8 gives 98.
  Picture shadow = Step(AddShadow, source.get(), ConversionSettings{});
  ASSERT_TRUE(reduced && enlarged && turned && shadow);
  ASSERT_TRUE(SavePicture(reduced.get(), dir / "reduced.png"));
  ASSERT_TRUE(SavePicture(enlarged.get(), dir / "enlarged.png"));
  ASSERT_TRUE(SavePicture(turned.get(), dir / "turned.png"));
  ASSERT_TRUE(SavePicture(shadow.get(), dir / "shadow.png"));
  const RunResult r =
      RunProgram("/usr/bin/timeout", {"60", "/usr/bin/python3", "-c", kScript, dir.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

// A real picture with transparent areas through load, rotation, shadow and save: its own
// pixels keep their fourth byte exactly, everything the shadow made is opaque.
constexpr const char* kAlphaScript = R"(
import sys
from PIL import Image
src = Image.open(sys.argv[1]).convert('RGBA')
out = Image.open(sys.argv[2]).convert('RGBA')
assert out.size == (266, 266), out.size
inner = out.crop((2, 2, 258, 258))
assert list(inner.getdata()) == list(src.transpose(Image.ROTATE_180).getdata()), 'picture changed'
a = out.getchannel('A').load()
outside = [a[x, y] for y in range(266) for x in range(266) if not (2 <= x < 258 and 2 <= y < 258)]
assert min(outside) == 255, 'shadow not opaque'
print('ok')
)";

TEST(TransformOracle, PictureAlphaSurvivesRotationAndShadowThroughFiles) {
  TempDir dir;
  const std::string source = std::string(BM_SOURCE_DIR) + "/samples/badge-alpha.png";
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(source, 0), S_OK);
  ConversionSettings s = PlainSettings();
  s.rotateDegree = 180;
  s.createShadow = true;
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.Save(dir / "out.png", 0, 80, 0), S_OK);
  const RunResult r = RunProgram(
      "/usr/bin/timeout", {"60", "/usr/bin/python3", "-c", kAlphaScript, source, dir / "out.png"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

}  // namespace
