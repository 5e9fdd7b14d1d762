// GIF dithering: off by default, GIF files stay byte for byte what they were (the hashes
// were taken from the program before dithering existed); on request the GIF has the same
// palette, Pillow finds the sky's bands much weaker, and the diffusion itself keeps a flat
// colour's mean and leaves colours of the palette alone.
#include "image/transform/Dither.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/codec/PictureMemory.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// A sky: smooth gradients across and down (Wu's quantiser gives it few colours, in bands),
// and the same quantised by Pillow to 16 colours.
constexpr const char* kMakeSky = R"(
import sys
from PIL import Image
sky = Image.new('RGB', (200, 100))
px = sky.load()
for y in range(100):
    for x in range(200):
        px[x, y] = (60 + x // 4, 120 + x // 5, 200 + y // 4)
sky.save(sys.argv[1] + '/sky.png')
sky.quantize(16).save(sys.argv[1] + '/palette.png')
)";

std::uint64_t HashOf(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

RunResult Convert(const std::string& source, const std::string& dest,
                  std::vector<std::string> options) {
  options.insert(options.begin(), {"-source:" + source, "-dest:" + dest});
  return RunProgram(BinPath("Brindlemark.exe"), options);
}

TEST(GifDither, DefaultGifBytesAreUnchanged) {
  TempDir dir;
  ASSERT_EQ(RunProgram("/usr/bin/python3", {"-c", kMakeSky, dir.path()}).exitCode, 0);
  const struct {
    const char* source;
    std::vector<std::string> options;
    const char* output;
    std::uint64_t hash;
  } cases[] = {
      {"sky.png", {"-mode:n", "-ext:gif"}, "a/sky.gif", 13156237941355593543ull},
      {"sky.png",
       {"-mode:f", "-width:100", "-height:50", "-ext:gif", "-bpp:8"},
       "b/sky.gif",
       13843026713196246920ull},
      {"palette.png", {"-mode:n", "-ext:gif"}, "c/palette.gif", 11010882850282117850ull},
  };
  for (const auto& c : cases) {
    const std::string out = dir / c.output;
    const RunResult r = Convert(dir / c.source, out.substr(0, out.rfind('/')), c.options);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(HashOf(ReadFile(out)), c.hash) << c.output;
  }
}

// argv: the sky, the plain GIF, the dithered GIF. The dithered one uses only colours of the
// plain one's palette (both are Wu's palette of the same picture), and after a 9 x 9 blur,
// which leaves what the eye sees, it is much closer to the sky than the banded plain one.
constexpr const char* kJudgeDither = R"(
import sys
from PIL import Image, ImageFilter, ImageChops, ImageStat
sky = Image.open(sys.argv[1]).convert('RGB')
plain, dithered = Image.open(sys.argv[2]), Image.open(sys.argv[3])
assert dithered.mode == 'P', dithered.mode
palette = {c for _, c in plain.convert('RGB').getcolors(256)}
used = {c for _, c in dithered.convert('RGB').getcolors(256)}
assert used <= palette, used - palette
def seen(im): return im.convert('RGB').filter(ImageFilter.BoxBlur(4)).crop((8, 8, 192, 92))
def rms(a, b): return sum(ImageStat.Stat(ImageChops.difference(a, b)).rms) / 3
near, far = rms(seen(dithered), seen(sky)), rms(seen(plain), seen(sky))
assert near < 0.6 * far, (near, far)
print('ok')
)";

TEST(GifDither, OnRequestTheSameColoursShowMuchWeakerBands) {
  TempDir dir;
  ASSERT_EQ(RunProgram("/usr/bin/python3", {"-c", kMakeSky, dir.path()}).exitCode, 0);
  ASSERT_EQ(Convert(dir / "sky.png", dir / "plain", {"-mode:n", "-ext:gif"}).exitCode, 0);
  ASSERT_EQ(
      Convert(dir / "sky.png", dir / "dithered", {"-mode:n", "-ext:gif", "-gifdither"}).exitCode,
      0);
  const RunResult r = RunProgram(
      "/usr/bin/python3",
      {"-c", kJudgeDither, dir / "sky.png", dir / "plain/sky.gif", dir / "dithered/sky.gif"});
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

// An 8-bit w x h picture with the palette `colours` (0x00RRGGBB), each entry used.
Picture Paletted(int w, int h, const std::vector<std::uint32_t>& colours) {
  Picture p(AllocatePicture(w, h, 8));
  RGBQUAD* palette = FreeImage_GetPalette(p.get());
  for (std::size_t i = 0; i < colours.size(); ++i)
    palette[i] = RGBQUAD{static_cast<BYTE>(colours[i]), static_cast<BYTE>(colours[i] >> 8),
                         static_cast<BYTE>(colours[i] >> 16), 0};
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(p.get(), y);
    for (int x = 0; x < w; ++x) row[x] = static_cast<BYTE>((y * w + x) % colours.size());
  }
  return p;
}

Picture Flat24(int w, int h, std::uint32_t rgb) {
  Picture flat(MakePicture32(w, h, [rgb](int, int) { return kOpaque | rgb; }));
  return Picture(FreeImage_ConvertTo24Bits(flat.get()));
}

TEST(GifDither, DiffusionKeepsTheMeanAndLeavesPaletteColoursAlone) {
  // Mid grey onto black and white: about half the pixels white, spread out.
  Picture grey = Flat24(64, 64, 0x808080);
  Picture out(DitherOntoPalette(grey.get(), Paletted(64, 64, {0x000000, 0xFFFFFF}).get()));
  ASSERT_TRUE(out);
  int white = 0;
  for (int y = 0; y < 64; ++y) {
    const BYTE* row = FreeImage_GetScanLine(out.get(), y);
    const int inRow = static_cast<int>(std::count(row, row + 64, 1));
    EXPECT_NEAR(inRow, 32, 6) << y;
    white += inRow;
  }
  EXPECT_NEAR(white * 255.0 / (64 * 64), 128.0, 1.0);
  // A colour of the palette is taken as it is, with no error to spread.
  Picture exact = Flat24(16, 16, 0x336699);
  Picture same(
      DitherOntoPalette(exact.get(), Paletted(16, 16, {0x000000, 0x336699, 0x3366A0}).get()));
  ASSERT_TRUE(same);
  for (int y = 0; y < 16; ++y) {
    const BYTE* row = FreeImage_GetScanLine(same.get(), y);
    EXPECT_EQ(std::count(row, row + 16, 1), 16) << y;
  }
  // Pictures that do not match are refused.
  EXPECT_EQ(DitherOntoPalette(exact.get(), Paletted(8, 16, {0x000000, 0xFFFFFF}).get()), nullptr);
}

}  // namespace
