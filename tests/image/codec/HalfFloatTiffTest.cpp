// TIFF pages of 16-bit float samples (half floats), written by ImageMagick in every layout
// (grey, grey and alpha, RGB, RGBA), converted by Brindlemark.exe as 32-bit float samples are:
// 0 to 1 as 0 to 255, alpha kept. ImageMagick's own reading of each file is the judge.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

struct FloatLayout {
  const char* name;
  std::vector<std::string> picture;  // ImageMagick's arguments after the gradient
  int depth;                         // bits of each float sample
};

TEST(HalfFloatTiff, EveryLayoutConvertsAsFloatsDo) {
  const std::string missing = MissingTools({"/usr/bin/convert", "/usr/bin/python3"});
  if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  const std::vector<std::string> alpha = {
      "(",      "-size", "64x48",    "gradient:white-gray30", ")",
      "-alpha", "off",   "-compose", "CopyOpacity",           "-composite"};
  const std::vector<std::string> grey = {"-colorspace", "gray"};
  std::vector<std::string> greyAlpha = grey;
  greyAlpha.insert(greyAlpha.end(), alpha.begin(), alpha.end());
  const FloatLayout layouts[] = {{"grey16", grey, 16}, {"greyalpha16", greyAlpha, 16},
                                 {"rgb16", {}, 16},    {"rgba16", alpha, 16},
                                 {"rgb32", {}, 32},    {"rgba32", alpha, 32}};
  for (const FloatLayout& l : layouts) {
    std::vector<std::string> args = {"-size", "64x48", "gradient:orange-navy", "-swirl", "90"};
    args.insert(args.end(), l.picture.begin(), l.picture.end());
    args.insert(args.end(),
                {"-compress", "zip", "-define", "quantum:format=floating-point", "-depth",
                 std::to_string(l.depth), dir / ("in/" + std::string(l.name) + ".tif")});
    ASSERT_TRUE(RunTool("/usr/bin/convert", args)) << l.name;
  }
  const RunResult run = RunProgram(
      BinPath("Brindlemark.exe"),
      {"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png", "-bpp:32"});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  for (const FloatLayout& l : layouts) {
    SCOPED_TRACE(l.name);
    const std::string name = l.name;
    ASSERT_TRUE(RunTool("/usr/bin/convert", {dir / ("in/" + name + ".tif"), "-depth", "8",
                                             dir / ("ref-" + name + ".png")}));
    const int difference =
        LargestDifference(dir / ("out/" + name + ".png"), dir / ("ref-" + name + ".png"));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 1);
  }
}

}  // namespace
