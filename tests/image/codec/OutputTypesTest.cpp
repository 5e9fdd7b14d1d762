// Destination types: every type and depth this build offers is written by Brindlemark.exe
// and read back by the format's own tool (ImageMagick, dwebp, heif-convert, djxl), and the
// types and depths it does not write are refused up front with the one validation text.
#include "image/codec/OutputTypes.h"

#include <gtest/gtest.h>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

// What Pillow sees of a decoded picture beside the source: "width height grey colours mean",
// grey 1 when every pixel is grey, colours up to 3, mean the mean difference to the source.
const char* const kDescribe = R"(
import sys
from PIL import Image, ImageChops
out, src = Image.open(sys.argv[1]).convert('RGB'), Image.open(sys.argv[2]).convert('RGB')
r, g, b = out.split()
grey = ImageChops.difference(r, g).getbbox() is None and ImageChops.difference(g, b).getbbox() is None
colours = len(out.getcolors(3) or [0, 0, 0, 0])
d = ImageChops.difference(out, src).tobytes() if out.size == src.size else b'\xff'
print(out.size[0], out.size[1], int(grey), colours, sum(d) / len(d))
)";

struct Described {
  int width = 0, height = 0, grey = 0, colours = 0;
  double mean = 255;
};

class OutputTypesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing =
        MissingTools({"/usr/bin/convert", "/usr/bin/dwebp", "/usr/bin/heif-convert",
                      "/usr/bin/djxl", "/usr/bin/python3"});
    if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
    ASSERT_TRUE(RunTool("/usr/bin/convert",
                        {"-size", "48x32", "gradient:red-navy", "-depth", "8", source}));
  }
  RunResult Write(const std::string& ext, int bpp) {
    return RunProgram(BinPath("Brindlemark.exe"),
                      {"-source:" + source, "-dest:" + dir / "out", "-mode:n", "-override",
                       "-ext:" + ext, "-bpp:" + std::to_string(bpp)});
  }
  Described Describe(const std::string& written) {
    Described d;
    if (!DecodeToPng(written, dir / "decoded.png")) return d;
    const RunResult r =
        RunProgram("/usr/bin/python3", {"-c", kDescribe, dir / "decoded.png", source});
    std::istringstream(r.out) >> d.width >> d.height >> d.grey >> d.colours >> d.mean;
    return d;
  }
  TempDir dir;
  const std::string source = dir / "source.png";
};

TEST_F(OutputTypesTest, EveryOfferedTypeAndDepthIsWrittenAsItsNameSays) {
  const std::vector<OutputType> types = WritableOutputTypes();
  ASSERT_GE(types.size(), 12u);
  for (const OutputType& type : types) {
    for (int bpp : type.depths) {
      SCOPED_TRACE(type.extension + " at " + std::to_string(bpp));
      const RunResult run = Write(type.extension, bpp);
      ASSERT_EQ(run.exitCode, 0) << run.out;
      const std::string written = dir / ("out/source." + type.extension);
      const Described d = Describe(written);
      EXPECT_EQ(d.width, 48);
      EXPECT_EQ(d.height, 32);
      // The depth the file is written at (JPEG: 8-bit grey or 24 bits whatever is asked).
      const OutputDepth depth = OutputDepthFor(type.extension, bpp);
      if (depth.bpp == 1) {
        EXPECT_LE(d.colours, 2);
      } else if (depth.grey) {
        EXPECT_EQ(d.grey, 1);
      } else {
        EXPECT_EQ(d.grey, 0);
        EXPECT_LE(d.mean, depth.bpp == 8 ? 8.0 : 4.0);
      }
    }
  }
}

TEST_F(OutputTypesTest, NetpbmFilesAreWhatTheirNamesSay) {
  const std::pair<const char*, int> magic[] = {{"pbm", 1}, {"pgm", 8}, {"ppm", 24}};
  const char* expected[] = {"P4", "P5", "P6"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Write(magic[i].first, magic[i].second).exitCode, 0) << magic[i].first;
    EXPECT_EQ(ReadFile(dir / ("out/source." + std::string(magic[i].first))).substr(0, 2),
              expected[i]);
  }
}

struct Refused {
  const char* ext;
  int bpp;
  const char* message;  // after "ERROR: "
};

// A type this build does not write at all is not supported; one it writes, but not at the
// asked depth, says which depths it takes.
TEST_F(OutputTypesTest, TypesNotWrittenAtTheDepthAreRefusedUpFront) {
  const char* const unsupported = "Destination file type is not supported.";
  const Refused refused[] = {
      {"exr", 24, unsupported},
      {"hdr", 24, unsupported},
      {"pfm", 24, unsupported},
      {"jxr", 24, unsupported},
      {"wdp", 32, unsupported},
      {"ico", 24, unsupported},
      {"ico", 8, unsupported},
      {"heic", 24, unsupported},
      {"xyz", 24, unsupported},
      {"wbmp", 24, "WBMP cannot be written with 24 bits per pixel; choose 1."},
      {"pbm", 24, "PBM cannot be written with 24 bits per pixel; choose 1."},
      {"pbm", 8, "PBM cannot be written with 8 bits per pixel; choose 1."},
      {"pgm", 24, "PGM cannot be written with 24 bits per pixel; choose 8."},
      {"pgm", 1, "PGM cannot be written with 1 bit per pixel; choose 8."},
      {"ppm", 8, "PPM cannot be written with 8 bits per pixel; choose 24."},
      {"png", 16, "PNG cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"tif", 16, "TIF cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"tga", 1, "TGA cannot be written with 1 bit per pixel; choose 8, 16, 24 or 32."},
      {"webp", 8, "WEBP cannot be written with 8 bits per pixel; choose 24 or 32."},
      {"webp", 1, "WEBP cannot be written with 1 bit per pixel; choose 24 or 32."},
      {"avif", 16, "AVIF cannot be written with 16 bits per pixel; choose 24 or 32."},
      {"avif", 8, "AVIF cannot be written with 8 bits per pixel; choose 24 or 32."},
      {"jxl", 16, "JXL cannot be written with 16 bits per pixel; choose 8, 24 or 32."},
      {"jp2", 8, "JP2 cannot be written with 8 bits per pixel; choose 24 or 32."},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(std::string(r.ext) + " at " + std::to_string(r.bpp));
    const RunResult run = Write(r.ext, r.bpp);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.substr(run.out.find("ERROR")), "ERROR: " + std::string(r.message) + "\n\n");
    EXPECT_TRUE(FolderEntries(dir / "out").empty());
  }
}

}  // namespace
