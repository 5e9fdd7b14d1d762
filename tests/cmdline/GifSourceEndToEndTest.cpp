// End-to-end runs of the real Brindlemark.exe on an animated GIF source: one item per
// frame, each written with the pixels of its frame, judged by Pillow against its own
// decode of the same GIF.
#include <gtest/gtest.h>
#include <unistd.h>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

// Pillow compares out<k>.png with frame k of the GIF inside the frame's own rectangle
// (these frames have disposal 0 and no transparency, so the rectangle holds exactly the
// frame's image) and prints one line per frame: its rectangle's size and whether every
// pixel agrees.
const char kCompare[] = R"PY(
import sys
from PIL import Image
gif = Image.open(sys.argv[1])
for k, png in enumerate(sys.argv[2:]):
    gif.seek(k)
    x0, y0, x1, y1 = gif.tile[0][1] if gif.tile else (0, 0) + gif.size
    frame = gif.convert('RGB').crop((x0, y0, x1, y1))
    out = Image.open(png).convert('RGB')
    print(out.size[0], out.size[1], 'same' if out.size == frame.size and list(out.getdata()) == list(frame.getdata()) else 'differs')
)PY";

}  // namespace

TEST(GifSourceEndToEnd, AnimatedGifGivesOnePngPerFrameWithTheFramesPixels) {
  TempDir dir;
  CopySample("spinner.gif", dir / "spinner.gif");
  const RunResult r = RunProgram(
      "/usr/bin/timeout", {"30", BinPath("Brindlemark.exe"), "-source:" + dir / "spinner.gif",
                           "-dest:" + dir / "out", "-ext:png", "-mode:n", "-bpp:24"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("4 images were successfully converted. 0 images failed.\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(NamesIn(dir / "out"), "spinner00.png spinner01.png spinner02.png spinner03.png");
  if (access("/usr/bin/python3", X_OK) != 0)
    GTEST_SKIP() << "needs Pillow (/usr/bin/python3) to judge the pixels";
  const RunResult judged =
      RunProgram("/usr/bin/python3",
                 {"-c", kCompare, dir / "spinner.gif", dir / "out/spinner00.png",
                  dir / "out/spinner01.png", dir / "out/spinner02.png", dir / "out/spinner03.png"});
  ASSERT_EQ(judged.exitCode, 0) << judged.err;
  // Frame 0 covers the screen; the later frames are returned at their own rectangles.
  EXPECT_EQ(judged.out, "120 90 same\n56 41 same\n56 41 same\n56 41 same\n");
}
