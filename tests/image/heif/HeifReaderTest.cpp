// HEIC and AVIF sources made by libheif's heif-enc, converted by Brindlemark.exe and judged by
// heif-convert, libheif's own decoder, through Pillow: 8-bit and deep samples, alpha, two
// images in one file, a colour profile kept on a JPEG output, camera data kept with
// -keepmetadata, and a picture the file itself turns, which -autorotate does not turn again.
#include <libheif/heif.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

const char* const kConvert = "/usr/bin/convert";
const char* const kHeifEnc = "/usr/bin/heif-enc";
const char* const kHeifConvert = "/usr/bin/heif-convert";
const char* const kExiftool = "/usr/bin/exiftool";
const char* const kPython = "/usr/bin/python3";

RunResult Convert(const std::vector<std::string>& args) {
  return RunProgram(BinPath("Brindlemark.exe"), args);
}

class HeifReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing =
        MissingTools({kConvert, kHeifEnc, kHeifConvert, kExiftool, kPython});
    if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
    std::filesystem::create_directories(dir / "in");
  }
  // An ImageMagick picture: a swirled gradient, `depth` bits a sample, with a falling alpha.
  std::string Picture(const std::string& name, const std::string& colours, int depth,
                      bool alpha = false) {
    std::vector<std::string> args = {"-size", "96x64", "gradient:" + colours, "-swirl", "120"};
    if (alpha)
      args.insert(args.end(), {"(", "-size", "96x64", "gradient:white-gray40", ")", "-alpha", "off",
                               "-compose", "CopyOpacity", "-composite"});
    args.insert(args.end(), {"-depth", std::to_string(depth), dir / name});
    EXPECT_TRUE(RunTool(kConvert, args)) << name;
    return dir / name;
  }
  TempDir dir;
};

struct HeifSource {
  const char* name;     // the file heif-enc writes (its extension picks HEIC or AVIF)
  const char* colours;  // the gradient
  int depth;            // bits a sample of the PNG given to heif-enc
  bool alpha;
  std::vector<std::string> options;  // heif-enc's
};

TEST_F(HeifReaderTest, SourcesDecodeToTheReferencePixels) {
  // Every source's title differs, so each has an output of its own.
  const HeifSource sources[] = {
      {"heic8.heic", "red-blue", 8, false, {"-q", "80"}},
      {"deep10.heic", "orange-navy", 16, false, {"-q", "80", "-b", "10"}},
      {"heicalpha.heic", "yellow-green", 8, true, {"-q", "90"}},
      {"avif8.avif", "red-blue", 8, false, {"-q", "60"}},
      {"grey12.avif", "white-black", 16, false, {"-q", "70", "-b", "12"}},
      {"avifalpha.avif", "cyan-purple", 8, true, {"-q", "70"}},
  };
  for (const HeifSource& s : sources) {
    const std::string png = Picture(std::string(s.name) + ".png", s.colours, s.depth, s.alpha);
    std::vector<std::string> args = s.options;
    args.insert(args.end(), {png, "-o", dir / ("in/" + std::string(s.name))});
    ASSERT_TRUE(RunTool(kHeifEnc, args)) << s.name;
  }
  // 32 bits: the alpha of a source that has it reaches the PNG written.
  const RunResult run =
      Convert({"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png", "-bpp:32"});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  for (const HeifSource& s : sources) {
    SCOPED_TRACE(s.name);
    const std::string title = std::filesystem::path(s.name).stem().string();
    ASSERT_TRUE(RunTool(kHeifConvert,
                        {dir / ("in/" + std::string(s.name)), dir / ("ref-" + title + ".png")}));
    const int difference =
        LargestDifference(dir / ("out/" + title + ".png"), dir / ("ref-" + title + ".png"));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 3);
  }
}

TEST_F(HeifReaderTest, EachTopLevelImageIsAPageOfItsOwn) {
  const std::string first = Picture("first.png", "red-blue", 8);
  const std::string second = Picture("second.png", "black-lime", 8);
  ASSERT_TRUE(RunTool(kHeifEnc, {"-q", "85", first, second, "-o", dir / "in/two.heic"}));
  const RunResult run =
      Convert({"-source:" + dir / "in/two.heic", "-dest:" + dir / "out", "-mode:n", "-ext:png"});
  EXPECT_NE(run.out.find("2 images were successfully converted. 0 images failed."),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("SUCCESS: converted file " + dir / "in/two.heic" + " to " +
                         dir / "out/two00.png"),
            std::string::npos)
      << run.out;
  // heif-convert writes every top-level image, numbered from 1.
  ASSERT_TRUE(RunTool(kHeifConvert, {dir / "in/two.heic", dir / "ref.png"}));
  EXPECT_LE(LargestDifference(dir / "out/two00.png", dir / "ref-1.png"), 3);
  EXPECT_LE(LargestDifference(dir / "out/two01.png", dir / "ref-2.png"), 3);
  EXPECT_GT(LargestDifference(dir / "out/two00.png", dir / "out/two01.png"), 100);
}

// An AVIF carrying an ICC profile (Pillow's sRGB one, renamed so it is not the default):
// heif-enc copies the PNG's profile, and the JPEG written carries it byte for byte.
TEST_F(HeifReaderTest, AColourProfileGoesOnToTheJpeg) {
  ASSERT_TRUE(WriteProfiledPicture(dir.path()));
  ASSERT_TRUE(RunTool(kHeifEnc, {"-q", "80", dir / "wide.png", "-o", dir / "in/wide.avif"}));
  const RunResult run =
      Convert({"-source:" + dir / "in/wide.avif", "-dest:" + dir / "out", "-ext:jpg"});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(ProfileOfFile(dir / "out/wide.jpg"), ReadFile(dir / "wide.icc"));
}

// exiftool's values of a file, one a line, in the order asked for.
std::string Tags(const std::string& path) {
  return RunProgram(kExiftool, {"-s3", "-n", "-Make", "-Model", "-DateTimeOriginal", "-Orientation",
                                "-ImageWidth", "-ImageHeight", path})
      .out;
}

TEST_F(HeifReaderTest, CameraDataIsKeptWithTheOption) {
  // heif-enc copies the JPEG's EXIF block (big-endian here, as phones write it) into the HEIC.
  ASSERT_TRUE(RunTool(kConvert, {"-size", "90x60", "gradient:red-blue", dir / "camera.jpg"}));
  ASSERT_TRUE(RunTool(kExiftool, {"-q", "-overwrite_original", "-ExifByteOrder=Big-endian",
                                  "-Make=Acme", "-Model=Z9 Mark II",
                                  "-DateTimeOriginal=2021:05:06 07:08:09", dir / "camera.jpg"}));
  ASSERT_TRUE(RunTool(kHeifEnc, {"-q", "80", dir / "camera.jpg", "-o", dir / "in/camera.heic"}));
  const RunResult kept = Convert({"-source:" + dir / "in/camera.heic", "-dest:" + dir / "kept",
                                  "-ext:jpg", "-mode:w", "-width:45", "-keepmetadata"});
  ASSERT_EQ(kept.exitCode, 0) << kept.out;
  EXPECT_EQ(Tags(dir / "kept/camera.jpg"), "Acme\nZ9 Mark II\n2021:05:06 07:08:09\n1\n45\n30\n");
  const RunResult plain = Convert(
      {"-source:" + dir / "in/camera.heic", "-dest:" + dir / "plain", "-ext:jpg", "-mode:n"});
  ASSERT_EQ(plain.exitCode, 0) << plain.out;
  EXPECT_EQ(Tags(dir / "plain/camera.jpg"), "90\n60\n");
}

// A HEIC whose file turns the stored 60 x 40 picture a quarter clockwise (its irot box), with
// an EXIF orientation saying the same, as phones write them: libheif turns it once, and
// -autorotate leaves it so.
TEST_F(HeifReaderTest, APictureTheFileTurnsIsTurnedOnce) {
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  ASSERT_EQ(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code,
            heif_error_Ok);
  heif_image* image = nullptr;
  heif_image_create(60, 40, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
  heif_image_add_plane(image, heif_channel_interleaved, 60, 40, 8);
  int stride = 0;
  std::uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
  // Red on the left half, green on the top half.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      std::uint8_t* px = rows + y * stride + 3 * x;
      px[0] = x < 30 ? 255 : 0, px[1] = y < 20 ? 255 : 0, px[2] = 0;
    }
  heif_encoding_options* options = heif_encoding_options_alloc();
  options->image_orientation = heif_orientation_rotate_90_cw;
  EXPECT_EQ(heif_context_encode_image(context, image, encoder, options, nullptr).code,
            heif_error_Ok);
  EXPECT_EQ(heif_context_write_to_file(context, (dir / "in/turned.heic").c_str()).code,
            heif_error_Ok);
  heif_encoding_options_free(options);
  heif_image_release(image);
  heif_encoder_release(encoder);
  heif_context_free(context);
  ASSERT_TRUE(RunTool(kExiftool, {"-q", "-overwrite_original", "-Orientation#=6", "-Make=Acme",
                                  dir / "in/turned.heic"}));

  ASSERT_TRUE(RunTool(kHeifConvert, {dir / "in/turned.heic", dir / "ref.png"}));
  for (const char* option : {"-mode:n", "-autorotate"}) {
    SCOPED_TRACE(option);
    const RunResult run = Convert({"-source:" + dir / "in/turned.heic", "-dest:" + dir / "out",
                                   "-ext:png", "-mode:n", "-override", option, "-keepmetadata"});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(LargestDifference(dir / "out/turned.png", dir / "ref.png"), 0);
  }
  // Kept camera data on a JPEG says the picture stands as written.
  const RunResult jpeg = Convert({"-source:" + dir / "in/turned.heic", "-dest:" + dir / "out",
                                  "-ext:jpg", "-mode:n", "-autorotate", "-keepmetadata"});
  ASSERT_EQ(jpeg.exitCode, 0) << jpeg.out;
  EXPECT_EQ(Tags(dir / "out/turned.jpg"), "Acme\n1\n40\n60\n");
}

}  // namespace
