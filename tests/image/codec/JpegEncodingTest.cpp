// JPEG outputs as ImageMagick and Pillow read them: colour at full resolution (4:4:4) from
// quality 90 up and halved both ways (4:2:0) below; progressive on request; Huffman tables
// computed for each picture, so files are smaller than with FreeImage's standard tables
// and decode to the same pixels.
#include <gtest/gtest.h>

#include "image/ImageBuffer.h"
#include "image/codec/PictureMemory.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// A photo-like 24-bit picture: smooth colour gradients with grain.
FIBITMAP* Photo(int w, int h) {
  FIBITMAP* p = AllocatePicture(w, h, 24);
  std::uint32_t seed = 99;
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(p, y);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const int v = (c == 0 ? x : c == 1 ? y : x + y) * 200 / (w + h) + (seed >> 28) + 20;
        row[3 * x + c] = static_cast<BYTE>(v);
      }
  }
  return p;
}

// "sampling-factor interlace" as ImageMagick reports them.
std::string Identify(const std::string& path) {
  const RunResult r =
      RunProgram("/usr/bin/identify", {"-format", "%[jpeg:sampling-factor] %[interlace]", path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

TEST(JpegEncoding, SamplingFollowsTheQualityAndProgressiveIsOnRequest) {
  const struct {
    int quality;
    bool progressive;
    const char* expected;
  } cases[] = {
      {10, false, "2x2,1x1,1x1 None"},  {80, false, "2x2,1x1,1x1 None"},
      {89, true, "2x2,1x1,1x1 JPEG"},   {90, false, "1x1,1x1,1x1 None"},
      {100, true, "1x1,1x1,1x1 JPEG"},  {256, false, "2x2,1x1,1x1 None"},  // 256 is written as 1
      {150, false, "1x1,1x1,1x1 None"},                                    // 150 is written as 100
  };
  TempDir dir;
  for (const auto& c : cases) {
    ImageBuffer buffer;
    buffer.Adopt(Photo(64, 48));
    EncoderOptions options;
    options.quality = c.quality;
    options.progressive = c.progressive;
    const std::string path = dir / (std::to_string(c.quality) + "-quality.jpg");
    ASSERT_EQ(buffer.SaveAs(path, options), S_OK);
    EXPECT_EQ(Identify(path), c.expected) << c.quality;
  }
}

// Pillow decodes both files; the pixels must be the same and our file smaller.
constexpr const char* kSamePixels = R"(
import sys
from PIL import Image
a, b = Image.open(sys.argv[1]), Image.open(sys.argv[2])
assert a.mode == b.mode and a.size == b.size, (a.mode, b.mode)
assert list(a.getdata()) == list(b.getdata()), 'pixels differ'
print('ok')
)";

TEST(JpegEncoding, OptimisedTablesMakeSmallerFilesOfTheSamePixels) {
  TempDir dir;
  const struct {
    int quality;
    int subsampling;  // what FreeImage's standard save is told, as ours chooses it
    bool grey;
  } cases[] = {{50, JPEG_SUBSAMPLING_420, false},
               {80, JPEG_SUBSAMPLING_420, false},
               {95, JPEG_SUBSAMPLING_444, false},
               {80, 0, true}};
  for (const auto& c : cases) {
    ImageBuffer buffer;
    buffer.Adopt(Photo(320, 240));
    if (c.grey) {
      ASSERT_EQ(buffer.ToGrey8(), S_OK);
    }
    const std::string plain = dir / "plain.jpg", ours = dir / "ours.jpg";
    ASSERT_TRUE(
        FreeImage_Save(FIF_JPEG, buffer.Picture(), plain.c_str(), c.quality | c.subsampling));
    EncoderOptions options;
    options.quality = c.quality;
    options.greyScale = c.grey;
    ASSERT_EQ(buffer.SaveAs(ours, options), S_OK);
    EXPECT_LT(ReadFile(ours).size(), ReadFile(plain).size()) << c.quality;
    const RunResult r = RunProgram("/usr/bin/python3", {"-c", kSamePixels, plain, ours});
    EXPECT_EQ(r.out, "ok\n") << c.quality << r.err;
  }
}

// The command line reaches the encoder: -progressive and quality 90 through a real run.
TEST(JpegEncoding, CommandLineWritesProgressiveFullColourFiles) {
  TempDir dir;
  const std::string source = dir / "in.png";
  Picture photo(Photo(80, 60));
  ASSERT_TRUE(SavePicture(photo.get(), source));
  const RunResult r =
      RunProgram(BinPath("Brindlemark.exe"), {"-source:" + source, "-dest:" + (dir / "out"),
                                              "-mode:n", "-jpegquality:better", "-progressive"});
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Identify(dir / "out/in.jpg"), "1x1,1x1,1x1 JPEG");
}

}  // namespace
