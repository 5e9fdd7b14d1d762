// The encoders that take the quality setting beside JPEG's: AVIF (libheif and its AV1
// encoder), JPEG XL (libjxl) and WebP (FreeImage's writer). Brindlemark.exe writes a textured
// picture at two qualities and at 100; the formats' own decoders read every file back. The
// pictures resemble the source, the lower quality is the smaller file, and at 100 WebP and
// JPEG XL are lossless.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

struct QualityCase {
  const char* ext;
  bool losslessAt100;
  double meanAt100;  // AVIF stays lossy, its colour at half resolution
};

class OutputQualityTest : public ::testing::TestWithParam<QualityCase> {
 protected:
  void SetUp() override {
    const std::string missing = MissingTools(
        {"/usr/bin/convert", "/usr/bin/dwebp", "/usr/bin/heif-convert", "/usr/bin/djxl"});
    if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
    ASSERT_TRUE(RunTool("/usr/bin/convert", {"-size", "160x120", "-seed", "7", "plasma:fractal",
                                             "-blur", "0x1", "-depth", "8", source}));
  }
  // The size of the file written at `quality`, after checking what its decoder reads.
  std::uintmax_t WriteAt(int quality, double meanAtMost) {
    const std::string q = std::to_string(quality);
    const std::string out = dir / ("q" + q);
    const RunResult run = RunProgram(BinPath("Brindlemark.exe"),
                                     {"-source:" + source, "-dest:" + out, "-mode:n",
                                      std::string("-ext:") + GetParam().ext, "-jpegquality:" + q});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    const std::string written = out + "/source." + GetParam().ext;
    EXPECT_TRUE(DecodeToPng(written, out + "/decoded.png")) << written;
    const PictureDifference d = DifferenceOf(out + "/decoded.png", source);
    EXPECT_GE(d.largest, 0) << "decoded " << written;
    EXPECT_LE(d.mean, meanAtMost) << "quality " << q;
    if (quality == 100 && GetParam().losslessAt100) {
      EXPECT_EQ(d.largest, 0);
    }
    return FileExists(written) ? std::filesystem::file_size(written) : 0;
  }
  TempDir dir;
  const std::string source = dir / "source.png";
};

TEST_P(OutputQualityTest, LowerQualityIsSmallerAndEveryFileDecodes) {
  const std::uintmax_t low = WriteAt(30, 8.0);
  const std::uintmax_t high = WriteAt(90, 3.0);
  const std::uintmax_t best = WriteAt(100, GetParam().meanAt100);
  EXPECT_LT(low, high);
  EXPECT_LT(high, best);
}

INSTANTIATE_TEST_SUITE_P(Encoders, OutputQualityTest,
                         ::testing::Values(QualityCase{"avif", false, 2.0},
                                           QualityCase{"jxl", true, 0.0},
                                           QualityCase{"webp", true, 0.0}),
                         [](const auto& info) { return std::string(info.param.ext); });

}  // namespace
