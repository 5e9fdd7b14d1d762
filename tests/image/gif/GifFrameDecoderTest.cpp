// The decoder that keeps its composed picture between frames gives, for every frame and in
// any order of asking, exactly the picture a fresh decode of that frame gives; the reader
// on top of it notices a file that changed under the same name. The animations are
// written by Pillow and ImageMagick with every disposal method, offsets and transparency.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "image/ImageBuffer.h"
#include "image/gif/GifDecoder.h"
#include "image/gif/GifReadSupport.h"
#include "image/gif/GifReader.h"
#include "support/GifBuilder.h"
#include "support/TestFiles.h"

namespace {

constexpr const char* kMakeAnimations = R"(
import sys, random, subprocess
from PIL import Image, ImageDraw
d = sys.argv[1]
random.seed(7)
frames, disposals = [], []
for k in range(60):
    im = Image.new('RGB', (41, 29), (random.randrange(256), 40, 90)) if k % 23 == 0 else frames[-1].copy()
    draw = ImageDraw.Draw(im)
    for _ in range(3):
        x, y = random.randrange(41), random.randrange(29)
        draw.rectangle((x, y, x + random.randrange(9), y + random.randrange(7)),
                       fill=(random.randrange(256), random.randrange(256), random.randrange(256)))
    frames.append(im)
    disposals.append([0, 1, 2, 3, 1, 1][k % 6])
frames[0].save(d + '/pillow.gif', save_all=True, append_images=frames[1:], disposal=disposals,
               duration=30, loop=0, transparency=0)
subprocess.run(['convert', d + '/pillow.gif[0-29]', '-coalesce', '-layers', 'optimize-plus',
                d + '/magick.gif'], check=True)
subprocess.run(['convert', '-size', '30x20', 'xc:white', '-dispose', 'none',
                '(', '-size', '8x6', 'xc:red', '-set', 'page', '+3+2', ')',
                '-dispose', 'background', '(', '-size', '9x9', 'xc:blue', '-set', 'page', '+12+5', ')',
                '-dispose', 'previous', '(', '-size', '5x5', 'xc:lime', '-set', 'page', '+20+10', ')',
                '-dispose', 'none', '(', '-size', '4x4', 'xc:black', '-set', 'page', '+1+14', ')',
                '-loop', '0', d + '/layers.gif'], check=True)
)";

// No global table and a first image smaller than the screen: every frame is the screen.
std::string ScreenRasterGif() {
  GifBuilder b(12, 9);
  for (int k = 0; k < 5; ++k)
    b.Control(k % 3, k % 2 ? 0 : -1).Fill(k, k, 3 + k, 2 + k % 3, 1, DistinctTable(4));
  return b.Bytes();
}

void ExpectSameRaster(const GifRaster& a, const GifRaster& b, const std::string& what) {
  ASSERT_EQ(a.Width(), b.Width()) << what;
  ASSERT_EQ(a.Height(), b.Height()) << what;
  ASSERT_EQ(a.Bpp(), b.Bpp()) << what;
  for (int r = 0; r < a.Height(); ++r)
    ASSERT_TRUE(std::equal(a.Row(r), a.Row(r) + a.Stride(), b.Row(r))) << what << " row " << r;
  EXPECT_EQ(a.palette, b.palette) << what;
  EXPECT_EQ(a.paletteSize, b.paletteSize) << what;
  EXPECT_EQ(a.transparentIndex, b.transparentIndex) << what;
  EXPECT_EQ(a.delay, b.delay) << what;
  EXPECT_EQ(a.disposal, b.disposal) << what;
  EXPECT_EQ(a.loopCount, b.loopCount) << what;
  EXPECT_EQ(a.comment, b.comment) << what;
}

// Every frame through one decoder in `order`, each against a fresh decode.
void ExpectOrderGivesFreshFrames(const std::string& gif, const std::vector<int>& order,
                                 const std::string& what) {
  const std::int64_t budget = GifPixelBudget();
  GifFrameDecoder decoder(BytesOf(gif), gif.size(), budget);
  for (int k : order) {
    GifRaster fresh;
    ASSERT_TRUE(DecodeGif(gif, k, fresh, nullptr, budget)) << what << " frame " << k;
    const GifRaster* kept = decoder.Decode(k);
    ASSERT_NE(kept, nullptr) << what << " frame " << k;
    ExpectSameRaster(*kept, fresh, what + " frame " + std::to_string(k));
  }
}

TEST(GifFrameDecoder, EveryFrameInAnyOrderEqualsAFreshDecode) {
  TempDir dir;
  const RunResult made = RunProgram("/usr/bin/timeout",
                                    {"120", "/usr/bin/python3", "-c", kMakeAnimations, dir.path()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"pillow.gif", ReadFile(dir / "pillow.gif")},
      {"magick.gif", ReadFile(dir / "magick.gif")},
      {"layers.gif", ReadFile(dir / "layers.gif")},
      {"screen raster", ScreenRasterGif()},
  };
  for (const auto& [name, gif] : files) {
    const int count = FrameCountOf(gif);
    ASSERT_GT(count, 3) << name;
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) order[static_cast<std::size_t>(k)] = k;
    ExpectOrderGivesFreshFrames(gif, order, name + " in order");
    std::reverse(order.begin(), order.end());
    ExpectOrderGivesFreshFrames(gif, order, name + " backwards");
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    order.push_back(order.back());  // the same frame twice running
    ExpectOrderGivesFreshFrames(gif, order, name + " shuffled");
  }
}

TEST(GifFrameDecoder, FramesOutOfRangeFailWithoutSpoilingTheNext) {
  GifBuilder b(6, 4, DistinctTable(8));
  for (int k = 0; k < 8; ++k) b.Control(1).Fill(k % 5, k % 3, 2, 1, static_cast<std::uint8_t>(k));
  const std::string gif = b.Bytes();
  GifFrameDecoder decoder(BytesOf(gif), gif.size(), GifPixelBudget());
  ASSERT_NE(decoder.Decode(5), nullptr);
  EXPECT_EQ(decoder.Decode(-1), nullptr);
  EXPECT_EQ(decoder.Decode(8), nullptr);
  GifRaster fresh;
  ASSERT_TRUE(DecodeGif(gif, 6, fresh, nullptr, GifPixelBudget()));
  const GifRaster* next = decoder.Decode(6);
  ASSERT_NE(next, nullptr);
  ExpectSameRaster(*next, fresh, "frame 6");
}

// Three frames of one index each over a global table of `table`.
std::string ThreeFrames(const std::vector<std::uint32_t>& table) {
  return GifBuilder(4, 3, table)
      .Fill(0, 0, 4, 3, 1)
      .Fill(0, 0, 4, 3, 2)
      .Fill(0, 0, 4, 3, 3)
      .Bytes();
}

std::vector<std::uint32_t> FramePixels(const TempDir& dir, const std::string& gif, int frame) {
  WriteFile(dir / "reference.gif", gif);
  FIBITMAP* reference = nullptr;
  EXPECT_EQ(LoadGifFrame(dir / "reference.gif", frame, &reference), S_OK);
  std::vector<std::uint32_t> pixels =
      reference ? PixelsOf(reference) : std::vector<std::uint32_t>{};
  if (reference) FreeImage_Unload(reference);
  return pixels;
}

// The buffer keeps the file between loads; a new version of it under the same name (same
// size, other colours; then another file) is read afresh.
TEST(GifFrameDecoder, ImageBufferReadsAFileThatChangedUnderTheSameName) {
  TempDir dir;
  const std::string path = dir / "changing.gif";
  const std::string first = ThreeFrames(DistinctTable(4));
  const std::string recoloured = ThreeFrames({0x102030, 0x405060, 0x708090, 0xA0B0C0});
  ASSERT_EQ(recoloured.size(), first.size());
  ASSERT_NE(FramePixels(dir, recoloured, 2), FramePixels(dir, first, 2));
  ImageBuffer buffer;
  WriteFile(path, first);
  ASSERT_EQ(buffer.Load(path, 0), S_OK);
  ASSERT_EQ(buffer.Load(path, 1), S_OK);
  for (const std::string& version : {recoloured, ScreenRasterGif()}) {
    WriteFile(path, version);
    ASSERT_EQ(buffer.Load(path, 2), S_OK);
    EXPECT_EQ(PixelsOf(buffer.Picture()), FramePixels(dir, version, 2));
  }
}

}  // namespace
