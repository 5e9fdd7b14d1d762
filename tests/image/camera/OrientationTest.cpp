// Camera orientation at load: TIFF files tagged by ImageMagick and JPEG files tagged by
// exiftool with each of the eight
// orientations come out, with turning upright on, as the pixels of ImageMagick's own
// upright copy; with it off, as stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/ImageBuffer.h"
#include "support/TestFiles.h"

namespace {

// The orientation names ImageMagick's -orient takes, for the values 1 to 8.
const std::vector<std::string> kOrientNames = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                                               "LeftTop", "RightTop", "RightBottom", "LeftBottom"};

bool HaveConvert() { return FileExists("/usr/bin/convert"); }

// The 32-bit pixels of `path` as loaded, turned upright or not.
std::vector<std::uint32_t> Loaded(const std::string& path, bool upright, int& width, int& height) {
  ImageBuffer image;
  image.SetCameraOptions(upright, false);
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
      for (int x = 0; x < 5; ++x)
        pixels.push_back(0xFF000000u | (x * 50u) << 16 | (y * 100u) << 8 | 7u * (x + y));
    FIBITMAP* source = MakePicture32(5, 3, pixels);
    ASSERT_TRUE(SavePicture(source, dir / "source.png"));
    FreeImage_Unload(source);
  }
  // Tags the source with orientation `value` as a `type` file ("tif" or "jpg") and writes
  // ImageMagick's upright copy beside it; returns the file's name.
  std::string Make(int value, const std::string& type) {
    std::string name = "o";  // built in steps: GCC 12 misreads "o" + std::to_string(...)
    name += std::to_string(value);
    name += "." + type;
    const std::string file = dir / name;
    if (type == "tif") {
      EXPECT_EQ(RunProgram("/usr/bin/convert", {dir / "source.png", "-alpha", "off", "-orient",
                                                kOrientNames[value - 1], "-compress", "none", file})
                    .exitCode,
                0);
    } else {
      // ImageMagick writes no EXIF block of its own into a JPEG: exiftool adds the tag.
      EXPECT_EQ(RunProgram("/usr/bin/convert", {dir / "source.png", "-alpha", "off", "-quality",
                                                "100", "-sampling-factor", "1x1", file})
                    .exitCode,
                0);
      EXPECT_EQ(RunProgram("/usr/bin/exiftool", {"-q", "-n", "-overwrite_original",
                                                 "-Orientation=" + std::to_string(value), file})
                    .exitCode,
                0);
    }
    EXPECT_EQ(RunProgram("/usr/bin/convert", {file, "-auto-orient", file + "-ref.png"}).exitCode,
              0);
    return file;
  }
  TempDir dir;
};

// Largest difference of one channel between two pictures of the same size.
int MaxChannelDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  int most = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      most = std::max(most, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                     static_cast<int>((b[i] >> shift) & 0xFF)));
  return most;
}

TEST_F(OrientationTest, EveryOrientationTurnsToImageMagicksUprightPixels) {
  struct Case {
    std::string type;
    // The two JPEG decoders differ by up to 8 here; a pixel in a wrong place differs from
    // the right one by 50 or more in red or green.
    int tolerance;
  };
  for (const Case& c : {Case{"tif", 0}, Case{"jpg", 12}}) {
    if (c.type == "jpg" && !FileExists("/usr/bin/exiftool")) {
      ADD_FAILURE()
          << "exiftool (libimage-exiftool-perl) is not installed: JPEG orientations untested";
      continue;
    }
    for (int value = 1; value <= 8; ++value) {
      SCOPED_TRACE(c.type + " orientation " + std::to_string(value));
      const std::string file = Make(value, c.type);
      int w = 0, h = 0, rw = 0, rh = 0, sw = 0, sh = 0;
      const auto upright = Loaded(file, true, w, h);
      const auto reference = Loaded(file + "-ref.png", false, rw, rh);
      ASSERT_FALSE(reference.empty());
      EXPECT_EQ(w, rw);
      EXPECT_EQ(h, rh);
      ASSERT_EQ(upright.size(), reference.size());
      EXPECT_LE(MaxChannelDifference(upright, reference), c.tolerance);
      // Without turning, the file loads as stored, whatever its tag says.
      const auto asStored = Loaded(file, false, sw, sh);
      const auto stored = Loaded(dir / "source.png", false, w, h);
      EXPECT_EQ(sw, 5);
      EXPECT_EQ(sh, 3);
      EXPECT_LE(MaxChannelDifference(asStored, stored), c.tolerance);
    }
  }
}

// A turned JPEG written again must not carry the old orientation: viewers would turn it twice.
TEST_F(OrientationTest, TurnedJpegIsWrittenWithoutItsStaleOrientation) {
  if (!FileExists("/usr/bin/exiftool"))
    GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
  const std::string file = Make(6, "jpg");
  for (bool upright : {false, true}) {
    SCOPED_TRACE(upright ? "turned" : "as stored");
    ImageBuffer image;
    image.SetCameraOptions(upright, false);
    ASSERT_EQ(image.Load(file, 0), S_OK);
    const std::string out = dir / (upright ? "turned.jpg" : "stored.jpg");
    ASSERT_EQ(image.Save(out, 0, 90, 0), S_OK);
    const RunResult read = RunProgram("/usr/bin/exiftool", {"-s3", "-n", "-Orientation", out});
    EXPECT_EQ(read.out, upright ? "" : "6\n");
  }
}

}  // namespace
