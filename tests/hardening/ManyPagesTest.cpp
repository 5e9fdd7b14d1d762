// Multi-page files convert in time linear in their pages: 5,000 one-pixel TIFF pages
// written by ImageMagick and a 3,000-frame animation of disposal 1 written by Pillow each
// convert within a minute through Brindlemark.exe -threads:1, and Pillow's decode of the
// animation agrees with the frames written.
#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace {

RunResult Convert(const std::string& source, const std::string& dest,
                  const std::vector<std::string>& options) {
  std::vector<std::string> args = {"-source:" + source, "-dest:" + dest, "-threads:1"};
  args.insert(args.end(), options.begin(), options.end());
  RunOptions limit;
  limit.timeoutMs = 120000;
  return RunProgram(BinPath("Brindlemark.exe"), args, limit);
}

// A dot of colour 1 + k % 3 is added at frame k; every frame is the whole 64 x 64 picture.
constexpr const char* kMakeAnimation = R"(
import sys
from PIL import Image, ImageDraw
img = Image.new('P', (64, 64), 0)
img.putpalette([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255] + [255, 255, 255] * 252)
frames = []
for k in range(3000):
    img = img.copy()
    ImageDraw.Draw(img).point(((k * 7) % 64, (k * 13) % 64), fill=1 + k % 3)
    frames.append(img)
# One global palette for every frame: local tables would be painted with the first
# frame's palette, as the composition of disposal 1 does.
frames[0].save(sys.argv[1], save_all=True, append_images=frames[1:], disposal=1, duration=10,
               optimize=False)
)";

// Pillow's picture of each listed frame against our PNG of it: the number of differing
// pixels, printed.
constexpr const char* kCompareFrames = R"(
import sys
from PIL import Image
gif = Image.open(sys.argv[1])
for k, png in zip(sys.argv[3::2], sys.argv[4::2]):
    gif.seek(int(k))
    ours = Image.open(sys.argv[2] + '/' + png).convert('RGB')
    a, b = list(gif.convert('RGB').getdata()), list(ours.getdata())
    print(sum(1 for p, q in zip(a, b) if p != q) + abs(len(a) - len(b)))
)";

TEST(ManyPages, FiveThousandTiffPagesConvertWithinAMinute) {
  TempDir dir;
  const RunResult made = RunProgram(
      "/usr/bin/convert", {"-size", "1x1", "xc:red", "-duplicate", "4999", dir / "pages.tif"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const RunResult run = Convert(dir / "pages.tif", dir / "out", {"-mode:n", "-ext:png"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_LT(run.seconds, 60.0);
  EXPECT_NE(run.out.find("\n5000 images were successfully converted. 0 images failed.\n"),
            std::string::npos);
  EXPECT_EQ(FolderEntries(dir / "out").size(), 5000u);
}

TEST(ManyPages, ThreeThousandFramesOfDisposal1ConvertWithinAMinute) {
  TempDir dir;
  const std::string gif = dir / "dots.gif";
  const RunResult made =
      RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kMakeAnimation, gif});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const RunResult run = Convert(gif, dir / "out", {"-mode:n", "-ext:png"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_LT(run.seconds, 60.0);
  EXPECT_NE(run.out.find("\n3000 images were successfully converted. 0 images failed.\n"),
            std::string::npos);
  ASSERT_EQ(FolderEntries(dir / "out").size(), 3000u);
  // Frames are named after the title and the page number, zero-padded to 2 digits.
  const RunResult compared = RunProgram(
      "/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kCompareFrames, gif, dir / "out", "0",
                           "dots00.png", "1500", "dots1500.png", "2999", "dots2999.png"});
  ASSERT_EQ(compared.exitCode, 0) << compared.err;
  EXPECT_EQ(compared.out, "0\n0\n0\n");
}

}  // namespace
