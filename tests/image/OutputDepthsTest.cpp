// Bit depths of the outputs: every depth the table offers for a type is written as a file
// Pillow reads back with that depth and the picture's colours; a depth a type cannot hold
// is refused before anything is converted, with a message that names the choices; and a
// picture of such a depth never reaches FreeImage's writer.
#include "image/OutputDepths.h"

#include <gtest/gtest.h>

#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/transform/TransformTestSupport.h"
#include "settings/ValidateSettings.h"

namespace {

// A 40 x 30 opaque gradient of many colours.
FIBITMAP* Gradient() {
  return MakePicture32(40, 30, [](int x, int y) {
    return kOpaque | static_cast<std::uint32_t>(x * 6) << 16 |
           static_cast<std::uint32_t>(y * 8) << 8 | static_cast<std::uint32_t>(255 - x * 3 - y * 2);
  });
}

// argv: the source, the output, the depth asked and whether the type is JPEG. Judges the
// mode Pillow reads and how close the colours are.
constexpr const char* kJudge = R"(
import sys
from PIL import Image, ImageChops, ImageStat
import math
src = Image.open(sys.argv[1]).convert('RGB')
out = Image.open(sys.argv[2])
bpp, jpeg = int(sys.argv[3]), sys.argv[4] == '1'
assert out.size == src.size, out.size
def psnr(a, b):
    mse = sum(v * v for v in ImageStat.Stat(ImageChops.difference(a, b)).rms) / len(a.getbands())
    return 99 if mse == 0 else 10 * math.log10(255 ** 2 / mse)
colours = len(out.convert('RGB').getcolors(1 << 20))
if bpp == 1:
    assert colours <= 2 and set(out.convert('L').getdata()) <= {0, 255}, colours
elif bpp == 8 and jpeg:
    assert out.mode == 'L', out.mode
    grey = src.convert('L', (0.2126, 0.7152, 0.0722, 0))  # FreeImage's grey: Rec. 709 weights
    assert psnr(out, grey) >= 30, psnr(out, grey)
elif bpp == 8:
    assert out.mode == 'P' and colours <= 256, (out.mode, colours)
    assert psnr(out.convert('RGB'), src) >= 25
elif bpp == 16:
    assert out.mode == 'RGB' and psnr(out, src) >= 35, (out.mode, psnr(out, src))
else:
    assert out.mode in ('RGB', 'RGBA'), out.mode
    if out.mode == 'RGBA': assert out.getchannel('A').getextrema() == (255, 255)
    got = psnr(out.convert('RGB'), src)
    assert got >= 30 if jpeg else got == 99, got
print('ok')
)";

TEST(OutputDepths, EveryOfferedDepthIsWrittenAsThatDepth) {
  TempDir dir;
  Picture source(Gradient());
  ASSERT_TRUE(SavePicture(source.get(), dir / "source.png"));
  for (const char* ext : {"jpg", "gif", "bmp", "tif", "png", "tga"}) {
    ASSERT_FALSE(DepthChoicesFor(ext).empty()) << ext;
    for (const DepthChoice& choice : DepthChoicesFor(ext)) {
      ConversionSettings s = PlainSettings();
      s.destFileExt = ext;
      s.bpp = choice.bpp;
      s.destFolder = dir.path();
      ASSERT_EQ(ValidateSettings(s).code, S_OK) << ext << " " << choice.bpp;
      ImageBuffer buffer;
      buffer.Adopt(Gradient());
      const std::string out = dir / ("out" + std::to_string(choice.bpp) + "." + ext);
      ASSERT_EQ(buffer.ApplySettings(s), S_OK) << ext << " " << choice.bpp;
      ASSERT_EQ(buffer.SaveAs(out, EncoderOptionsFor(s)), S_OK) << ext << " " << choice.bpp;
      const RunResult r = RunProgram(
          "/usr/bin/python3", {"-c", kJudge, dir / "source.png", out, std::to_string(choice.bpp),
                               ext == std::string("jpg") ? "1" : "0"});
      EXPECT_EQ(r.out, "ok\n") << ext << " " << choice.label << ": " << r.err;
    }
  }
}

TEST(OutputDepths, ValidationRefusesADepthTheTypeCannotHold) {
  const struct {
    const char* ext;
    int bpp;
    const char* message;  // empty: accepted
  } cases[] = {
      {"png", 16, "PNG cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"TIFF", 16, "TIFF cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"tga", 1, "TGA cannot be written with 1 bit per pixel; choose 8, 16, 24 or 32."},
      {"ppm", 32, "PPM cannot be written with 32 bits per pixel; choose 1, 8 or 24."},
      {"png", 32, ""},
      {"bmp", 16, ""},
      {"tga", 16, ""},
      {"gif", 1, ""},
      {"gif", 24, ""},  // a GIF is written with 8 bits from any depth but 1
      {"jpg", 32, ""},  // a JPEG with 24 from any depth but 8
      {"jpeg", 16, ""},
      {"png", 12, ""},  // not a depth at all: every page fails at the depth step instead
  };
  for (const auto& c : cases) {
    ConversionSettings s;
    s.destFolder = "/out";
    s.destFileExt = c.ext;
    s.bpp = c.bpp;
    const ValidationResult r = ValidateSettings(s);
    EXPECT_EQ(r.message, c.message) << c.ext << " " << c.bpp;
    EXPECT_EQ(r.code, *c.message ? E_INVALIDARG : S_OK) << c.ext << " " << c.bpp;
    if (*c.message) {
      EXPECT_EQ(r.field, SettingsField::bpp);
      EXPECT_EQ(r.page, SettingsPage::ResizeAndFile);
    }
  }
}

// A 16-bit picture is never handed to a writer without a 16-bit layout: the save fails
// and leaves no file.
TEST(OutputDepths, SavingADepthTheWriterLacksFailsWithoutAFile) {
  TempDir dir;
  for (const char* name : {"out.png", "out.tif"}) {
    ImageBuffer buffer;
    buffer.Adopt(Gradient());
    ASSERT_EQ(buffer.ConvertToBitDepth(16), S_OK);
    EXPECT_EQ(buffer.SaveAs(dir / name, EncoderOptions{}), E_IMG_SAVE) << name;
    EXPECT_FALSE(FileExists(dir / name)) << name;
  }
}

TEST(OutputDepths, CommandLineRefusesBeforeConvertingAnything) {
  TempDir dir;
  Picture source(Gradient());
  ASSERT_TRUE(SavePicture(source.get(), dir / "in.png"));
  const RunResult r = RunProgram(
      BinPath("Brindlemark.exe"),
      {"-source:" + (dir / "in.png"), "-dest:" + (dir / "out"), "-mode:n", "-ext:png", "-bpp:16"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("ERROR: PNG cannot be written with 16 bits per pixel; choose 1, 8, 24 or "
                       "32.\n"),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(FolderEntries(dir / "out").empty());
}

}  // namespace
