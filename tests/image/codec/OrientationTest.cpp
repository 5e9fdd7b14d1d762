// Camera orientation at load: TIFF files tagged by ImageMagick with each of the eight
// orientations come out, with turning upright on, as the pixels of ImageMagick's own
// upright copy; with it off, as stored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/ImageBuffer.h"
#include "support/TestFiles.h"

namespace {

// The orientation names ImageMagick's -orient takes, for the values 1 to 8.
const std::vector<std::string> kOrientNames = {"TopLeft",  "TopRight", "BottomRight", "BottomLeft",
                                               "LeftTop",  "RightTop", "RightBottom", "LeftBottom"};

bool HaveConvert() { return FileExists("/usr/bin/convert"); }

// The 32-bit pixels of `path` as loaded, turned upright or not.
std::vector<std::uint32_t> Loaded(const std::string& path, bool upright, int& width, int& height) {
  ImageBuffer image;
  image.SetTurnUpright(upright);
  if (Failed(image.Load(path, 0)) || Failed(image.ConvertToBitDepth(32))) return {};
  width = image.Width();
  height = image.Height();
  return PixelsOf(image.Picture());
}

class OrientationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    // 5 x 3 pixels, all different, so that every turn and mirror is told apart.
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) pixels.push_back(0xFF000000u | (x * 50u) << 16 | (y * 100u) << 8 | 7u * (x + y));
    FIBITMAP* source = MakePicture32(5, 3, pixels);
    ASSERT_TRUE(SavePicture(source, dir / "source.png"));
    FreeImage_Unload(source);
  }
  // Tags the source with orientation `value` and writes ImageMagick's upright copy beside it.
  void Make(int value) {
    const std::string name = "o" + std::to_string(value);
    const std::string orient = kOrientNames[value - 1];
    ASSERT_EQ(RunProgram("/usr/bin/convert", {dir / "source.png", "-alpha", "off", "-orient", orient,
                                              "-compress", "none", dir / (name + ".tif")}).exitCode, 0);
    ASSERT_EQ(RunProgram("/usr/bin/convert", {dir / (name + ".tif"), "-auto-orient", dir / (name + "-ref.png")})
                  .exitCode, 0);
  }
  TempDir dir;
};

TEST_F(OrientationTest, EveryOrientationTurnsToImageMagicksUprightPixels) {
  int sw = 0, sh = 0;
  const std::vector<std::uint32_t> stored = Loaded(dir / "source.png", false, sw, sh);
  for (int value = 1; value <= 8; ++value) {
    SCOPED_TRACE("orientation " + std::to_string(value));
    Make(value);
    const std::string tif = dir / ("o" + std::to_string(value) + ".tif");
    int w = 0, h = 0, rw = 0, rh = 0;
    const auto upright = Loaded(tif, true, w, h);
    const auto reference = Loaded(dir / ("o" + std::to_string(value) + "-ref.png"), false, rw, rh);
    ASSERT_FALSE(reference.empty());
    EXPECT_EQ(w, rw);
    EXPECT_EQ(h, rh);
    EXPECT_EQ(upright, reference);
    // Without turning, the file loads as stored, whatever its tag says.
    const auto asStored = Loaded(tif, false, w, h);
    EXPECT_EQ(w, sw);
    EXPECT_EQ(asStored, stored);
  }
}

}  // namespace
