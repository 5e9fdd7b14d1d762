// JPEG XL sources made by libjxl's cjxl, converted by Brindlemark.exe and judged by djxl,
// libjxl's own decoder, through Pillow: lossy and lossless, 16-bit, grey and alpha pictures
// decode to the reference pixels, and the ICC profile of a lossless file goes on to a JPEG.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

const char* const kConvert = "/usr/bin/convert";
const char* const kCjxl = "/usr/bin/cjxl";
const char* const kDjxl = "/usr/bin/djxl";
const char* const kPython = "/usr/bin/python3";

class JxlReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = MissingTools({kConvert, kCjxl, kDjxl, kPython});
    if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
    std::filesystem::create_directories(dir / "in");
  }
  TempDir dir;
};

struct JxlSource {
  const char* name;
  std::vector<std::string> picture;  // ImageMagick's arguments before the output file
  std::vector<std::string> options;  // cjxl's
};

TEST_F(JxlReaderTest, SourcesDecodeToTheReferencePixels) {
  const std::vector<std::string> swirl = {"-size", "96x64", "gradient:red-blue", "-swirl", "120"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = swirl;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  };
  const JxlSource sources[] = {
      {"lossy", with({"-depth", "8"}), {"-q", "80"}},
      {"lossless", with({"-depth", "8"}), {"-d", "0"}},
      {"deep16", with({"-depth", "16"}), {"-d", "0"}},
      {"grey", with({"-colorspace", "gray", "-depth", "8"}), {"-q", "90"}},
      {"alpha",
       with({"(", "-size", "96x64", "gradient:white-gray40", ")", "-alpha", "off", "-compose",
             "CopyOpacity", "-composite", "-depth", "8"}),
       {"-q", "90"}},
  };
  for (const JxlSource& s : sources) {
    std::vector<std::string> args = s.picture;
    args.push_back(dir / (std::string(s.name) + ".png"));
    ASSERT_TRUE(RunTool(kConvert, args)) << s.name;
    args = {dir / (std::string(s.name) + ".png"), dir / ("in/" + std::string(s.name) + ".jxl")};
    args.insert(args.end(), s.options.begin(), s.options.end());
    ASSERT_TRUE(RunTool(kCjxl, args)) << s.name;
  }
  const RunResult run = RunProgram(
      BinPath("Brindlemark.exe"),
      {"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png", "-bpp:32"});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  for (const JxlSource& s : sources) {
    SCOPED_TRACE(s.name);
    const std::string name = s.name;
    ASSERT_TRUE(DecodeToPng(dir / ("in/" + name + ".jxl"), dir / ("ref-" + name + ".png")));
    const int difference =
        LargestDifference(dir / ("out/" + name + ".png"), dir / ("ref-" + name + ".png"));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 3);
  }
}

TEST_F(JxlReaderTest, TheProfileOfALosslessFileGoesOnToTheJpeg) {
  ASSERT_TRUE(WriteProfiledPicture(dir.path()));
  ASSERT_TRUE(RunTool(kCjxl, {dir / "wide.png", dir / "in/wide.jxl", "-d", "0"}));
  const RunResult run =
      RunProgram(BinPath("Brindlemark.exe"),
                 {"-source:" + dir / "in/wide.jxl", "-dest:" + dir / "out", "-ext:jpg"});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(ProfileOfFile(dir / "out/wide.jpg"), ReadFile(dir / "wide.icc"));
}

}  // namespace
