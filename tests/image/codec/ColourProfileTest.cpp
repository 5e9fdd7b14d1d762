// Colour profiles through real conversions: sources written by Pillow with an embedded ICC
// profile, converted by Brindlemark.exe along several paths, and the outputs' profiles read
// back by Pillow. A colour JPEG, PNG or TIFF output carries the source's profile byte for
// byte; a grey or 8-bit output carries none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

const char* const kPython = "/usr/bin/python3";

// Writes src.jpg (an sRGB profile, a camera model) and src.tif (a second RGB profile: the sRGB one
// under another description) and both profiles as .icc files. PNG serves as an output only: the
// FreeImage build reads no profile from a PNG.
const char* const kMakeSources = R"(
import sys
from PIL import Image, ImageCms
d = sys.argv[1]
srgb = ImageCms.ImageCmsProfile(ImageCms.createProfile('sRGB')).tobytes()
other = srgb.replace('built'.encode('utf-16-be'), 'wider'.encode('utf-16-be'))
assert other != srgb
open(d + '/srgb.icc', 'wb').write(srgb)
open(d + '/other.icc', 'wb').write(other)
img = Image.radial_gradient('L').resize((64, 48)).convert('RGB')
exif = Image.Exif()
exif[0x0110] = 'Acme Z9'  # camera data for the outputs that keep it
img.save(d + '/src.jpg', quality=95, icc_profile=srgb, exif=exif)
img.save(d + '/src.tif', icc_profile=other)
)";

struct ProfileCase {
  const char* source;  // src.jpg or src.tif
  const char* ext;     // the destination type
  std::vector<std::string> options;
  bool kept;  // whether the output carries the source's profile
};

class ColourProfileTest : public ::testing::TestWithParam<ProfileCase> {
 protected:
  void SetUp() override {
    if (RunProgram(kPython, {"-c", "import PIL.ImageCms"}).exitCode != 0)
      GTEST_SKIP() << "Pillow with ImageCms writes the test pictures";
    ASSERT_EQ(RunProgram(kPython, {"-c", kMakeSources, dir.path()}).exitCode, 0);
  }
  TempDir dir;
};

TEST_P(ColourProfileTest, FollowsTheRule) {
  const ProfileCase& c = GetParam();
  std::vector<std::string> args = {"-source:" + (dir / c.source), "-dest:" + (dir / "out"),
                                   std::string("-ext:") + c.ext};
  args.insert(args.end(), c.options.begin(), c.options.end());
  const RunResult run = RunProgram(BinPath("Brindlemark.exe"), args);
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::string output = dir / "out/src." + c.ext;
  ASSERT_TRUE(FileExists(output)) << run.out;
  const std::string expected =
      ReadFile(dir / (std::string(c.source) == "src.jpg" ? "srgb.icc" : "other.icc"));
  if (c.kept) {
    EXPECT_EQ(ProfileOfFile(output), expected);
  } else {
    EXPECT_EQ(ProfileOfFile(output), "");
  }
}

const std::vector<std::string> kHalf = {"-mode:r", "-ratio:50"};

INSTANTIATE_TEST_SUITE_P(
    Outputs, ColourProfileTest,
    testing::Values(ProfileCase{"src.jpg", "jpg", kHalf, true},
                    ProfileCase{"src.jpg", "png", kHalf, true},
                    ProfileCase{"src.jpg", "tif", kHalf, true},
                    ProfileCase{"src.tif", "jpg", {"-mode:n"}, true},
                    ProfileCase{"src.tif", "png", {"-createshadow", "-mode:n"}, true},
                    ProfileCase{"src.tif", "tif", {"-paddingvert:4", "-paddinghorz:4"}, true},
                    ProfileCase{"src.jpg", "jpg", {"-mode:r", "-ratio:50", "-rotate:90"}, true},
                    // Camera data written beside the profile leaves it whole.
                    ProfileCase{"src.jpg", "jpg", {"-mode:n", "-keepmetadata"}, true},
                    ProfileCase{"src.jpg", "tif", {"-rotate:90", "-keepmetadata"}, true},
                    ProfileCase{"src.jpg", "jpg", {"-greyscale"}, false},
                    ProfileCase{"src.tif", "png", {"-bpp:8"}, false},
                    ProfileCase{"src.tif", "tif", {"-bpp:8", "-mode:n"}, false},
                    ProfileCase{"src.jpg", "bmp", kHalf, false},
                    // The encoders with a quality carry it too (JPEG XL whole when lossless).
                    ProfileCase{"src.tif", "webp", kHalf, true},
                    ProfileCase{"src.jpg", "avif", kHalf, true},
                    ProfileCase{"src.tif", "jxl", {"-jpegquality:100"}, true},
                    ProfileCase{"src.jpg", "webp", {"-greyscale"}, false}));

}  // namespace
