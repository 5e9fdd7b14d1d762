// Camera data kept on JPEG and TIFF outputs: sources tagged by exiftool (date, camera,
// GPS, orientation 6, IPTC keywords, an XMP title, a thumbnail) go through every step,
// and exiftool reads the outputs back; without the option the bytes are today's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/ImageBuffer.h"
#include "settings/ValidateSettings.h"
#include "support/TestFiles.h"

namespace {

const char* kExiftool = "/usr/bin/exiftool";
const char* kConvert = "/usr/bin/convert";

class CameraDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FileExists(kExiftool) || !FileExists(kConvert))
      GTEST_SKIP() << "exiftool or ImageMagick's convert is not installed";
    ASSERT_EQ(RunProgram(kConvert, {"-size", "90x60", "gradient:red-blue", source}).exitCode, 0);
    ASSERT_EQ(RunProgram(kConvert, {"-size", "16x12", "xc:green", dir / "thumb.jpg"}).exitCode, 0);
    ASSERT_EQ(RunProgram(kConvert, {"-size", "10x10", "xc:white", dir / "mark.png"}).exitCode, 0);
    Tag(source, {"-ExifImageWidth=90", "-ThumbnailImage<=" + dir / "thumb.jpg"});
  }

  static void Tag(const std::string& file, std::vector<std::string> more) {
    std::vector<std::string> args = {"-q",
                                     "-overwrite_original",
                                     "-Make=Acme",
                                     "-Model=Acme Z9",
                                     "-DateTimeOriginal=2024:05:06 07:08:09",
                                     "-GPSLatitude=48.8584",
                                     "-GPSLatitudeRef=N",
                                     "-Orientation#=6",
                                     "-IPTC:Keywords=tower",
                                     "-XMP:Title=Paris"};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back(file);
    const RunResult tagged = RunProgram(kExiftool, args);
    ASSERT_EQ(tagged.exitCode, 0) << tagged.err;
  }

  // Converts the source with `s` to `name` and returns the file's path.
  std::string Convert(ConversionSettings s, const std::string& name, bool keep, bool upright) {
    ImageBuffer image;
    image.SetCameraOptions(upright, keep);
    s.destFileExt = name.substr(name.rfind('.') + 1);
    s.destFolder = dir.path();
    const ValidationResult valid = ValidateSettings(s);  // loads the overlay picture
    EXPECT_EQ(valid.code, S_OK) << valid.message;
    const std::string out = dir / name;
    EXPECT_EQ(image.Load(source, 0), S_OK);
    EXPECT_EQ(image.ApplySettings(s), S_OK);
    EXPECT_EQ(image.Save(out, 0, 90, s.greyScale || (s.bpp == 8 && s.destFileExt == "jpg")), S_OK);
    width = image.Width();
    return out;
  }

  // The values exiftool reads, one a line, in the order asked for.
  static std::string Read(const std::string& file) {
    return RunProgram(kExiftool,
                      {"-s3", "-n", "-Model", "-DateTimeOriginal", "-GPSLatitude", "-Orientation",
                       "-Keywords", "-Title", "-ExifImageWidth", "-ThumbnailLength", file})
        .out;
  }

  TempDir dir;
  std::string source = dir / "camera.jpg";
  int width = 0;
};

ConversionSettings NoSteps() {
  ConversionSettings s;
  s.resizeOption = NoResize;
  return s;
}

TEST_F(CameraDataTest, EveryStepKeepsTheDataUpdatedOnJpegAndTiff) {
  struct Step {
    const char* name;
    void (*set)(ConversionSettings&, const std::string& dir);
  };
  const Step steps[] = {
      {"resize", [](ConversionSettings& s,
                    const std::string&) { s.resizeOption = FixedWidth, s.width = 40; }},
      {"frame",
       [](ConversionSettings& s, const std::string&) { s.addPadding = true, s.paddingVert = 4; }},
      {"shadow", [](ConversionSettings& s, const std::string&) { s.createShadow = true; }},
      {"overlay",
       [](ConversionSettings& s, const std::string& d) {
         s.overlay = true, s.overlayFilePath = d + "/mark.png";
       }},
      {"bit depth", [](ConversionSettings& s, const std::string&) { s.bpp = 8; }},
      {"rotate", [](ConversionSettings& s, const std::string&) { s.rotateDegree = 90; }},
      {"none", [](ConversionSettings&, const std::string&) {}},
  };
  for (const Step& step : steps) {
    for (const char* type : {"jpg", "tif"}) {
      for (bool upright : {true, false}) {
        SCOPED_TRACE(std::string(step.name) + " to " + type + (upright ? " turned" : ""));
        ConversionSettings s = NoSteps();
        step.set(s, dir.path());
        const std::string name = std::string(step.name) + (upright ? "-u." : ".") + type;
        const std::string out = Convert(s, name, true, upright);
        // The Exif pixel sizes describe compressed data only: a TIFF file says its own.
        const std::string size = type == std::string("jpg") ? std::to_string(width) + "\n" : "";
        EXPECT_EQ(Read(out), "Acme Z9\n2024:05:06 07:08:09\n48.8584\n" +
                                 std::string(upright ? "1" : "6") + "\ntower\nParis\n" + size);
        // Nothing wrong but the GPS method exiftool asks of every TIFF GPS directory.
        std::string warnings =
            RunProgram(kExiftool, {"-validate", "-warning", "-a", "-s3", out}).out;
        EXPECT_EQ(warnings.find("Error"), std::string::npos) << warnings;
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'),
                  1 + (type == std::string("tif") ? 1 : 0))
            << warnings;
      }
    }
  }
}

TEST_F(CameraDataTest, XmpOrientationFollowsTheTurn) {
  ASSERT_EQ(RunProgram(kExiftool, {"-q", "-overwrite_original", "-XMP-tiff:Orientation#=6",
                                   "-XMP-exif:ExifImageWidth=90", source})
                .exitCode,
            0);
  const std::string out = Convert(NoSteps(), "xmp.jpg", true, true);
  EXPECT_EQ(
      RunProgram(kExiftool, {"-s3", "-n", "-XMP-tiff:Orientation", "-XMP-exif:ExifImageWidth", out})
          .out,
      "1\n60\n");
}

TEST_F(CameraDataTest, WithoutTheOptionTheBytesAreAsBefore) {
  // A new picture carries no EXIF block at all.
  ConversionSettings resize = NoSteps();
  resize.resizeOption = FixedWidth, resize.width = 40;
  const std::string resized = ReadFile(Convert(resize, "plain.jpg", false, false));
  EXPECT_EQ(resized.find(std::string("Exif\0\0", 6)), std::string::npos);
  // The picture written as loaded keeps the source's EXIF segment byte for byte, thumbnail
  // and orientation included.
  const std::string original = ReadFile(source);
  const std::size_t at = original.find(std::string("Exif\0\0", 6));
  ASSERT_NE(at, std::string::npos);
  const std::size_t length = static_cast<unsigned char>(original[at - 2]) * 256u +
                             static_cast<unsigned char>(original[at - 1]);
  const std::string segment = original.substr(at - 4, length + 2);
  const std::string asLoaded = ReadFile(Convert(NoSteps(), "loaded.jpg", false, false));
  EXPECT_NE(asLoaded.find(segment), std::string::npos);
  // With the option that copy is updated instead: no thumbnail is left.
  EXPECT_EQ(Read(Convert(NoSteps(), "kept.jpg", true, false)),
            "Acme Z9\n2024:05:06 07:08:09\n48.8584\n6\ntower\nParis\n90\n");
}

TEST_F(CameraDataTest, TiffSourcesKeepTheirDataToo) {
  const std::string tiff = dir / "camera.tif";
  ASSERT_EQ(RunProgram(kConvert, {"-size", "90x60", "gradient:red-blue", tiff}).exitCode, 0);
  Tag(tiff, {});
  source = tiff;
  for (bool upright : {false, true}) {
    const std::string out = Convert(NoSteps(), upright ? "t-u.jpg" : "t.jpg", true, upright);
    // FreeImage reads no GPS directory from a TIFF file.
    EXPECT_EQ(Read(out), std::string("Acme Z9\n2024:05:06 07:08:09\n") + (upright ? "1" : "6") +
                             "\ntower\nParis\n" + std::to_string(width) + "\n");
  }
}

}  // namespace
