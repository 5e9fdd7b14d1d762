// The bit-depth step on its own: what it makes, that it never touches its input, and the
// grey picture of a palette file made by Pillow, greyed by its colours.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <vector>

#include "image/transform/BitDepth.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"
#include "support/TestFolder.h"

namespace {

// Every depth from a 24-bit picture: a new picture of that depth and the input unchanged;
// asking for the depth it has makes nothing; other depths are refused.
TEST(BitDepth, MakesEachDepthAsANewPictureAndLeavesTheInput) {
  FIBITMAP* source = MakePicture32(5, 3, [](int x, int y) { return 0xFF102030u + x * 40u + y; });
  FIBITMAP* rgb = FreeImage_ConvertTo24Bits(source);
  FreeImage_Unload(source);
  const BYTE* firstRow = FreeImage_GetScanLine(rgb, 0);
  const std::vector<BYTE> before(firstRow, firstRow + 15);
  const struct {
    int bpp;
    HRESULT hr;
    bool makes;
  } cases[] = {{1, S_OK, true},          {8, S_OK, true},          {16, S_OK, true},
               {24, S_OK, false},        {32, S_OK, true},         {4, E_INVALIDARG, false},
               {0, E_INVALIDARG, false}, {48, E_INVALIDARG, false}};
  for (const auto& c : cases) {
    FIBITMAP* made = reinterpret_cast<FIBITMAP*>(1);
    EXPECT_EQ(ConvertBitDepth(rgb, c.bpp, &made), c.hr) << c.bpp;
    ASSERT_EQ(made != nullptr, c.makes) << c.bpp;
    if (made) {
      EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(made)), c.bpp);
      EXPECT_EQ(FreeImage_GetWidth(made), 5u);
      EXPECT_EQ(FreeImage_GetHeight(made), 3u);
      FreeImage_Unload(made);
    }
    EXPECT_EQ(FreeImage_GetBPP(rgb), 24u) << c.bpp;
    EXPECT_EQ(std::vector<BYTE>(firstRow, firstRow + 15), before) << c.bpp;
  }
  FreeImage_Unload(rgb);
}

// Palette index order runs against brightness (white first): greying by index would give
// 0, 1, 2, 3; by colour it gives white, black, and the luminance of red and blue.
TEST(BitDepth, GreyOfAPaletteFileFollowsItsColours) {
  TempDir dir;
  const std::string path = dir / "palette.png";
  const RunResult made = RunProgram("/usr/bin/timeout", {"60", "/usr/bin/python3", "-c", R"(
import sys
from PIL import Image
im = Image.new('P', (4, 1))
im.putpalette([255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255])
im.putdata([0, 1, 2, 3])
im.save(sys.argv[1])
)",
                                                         path});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  FIBITMAP* palette = FreeImage_Load(FIF_PNG, path.c_str(), 0);
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(FreeImage_GetBPP(palette), 8u);
  ASSERT_EQ(FreeImage_GetColorType(palette), FIC_PALETTE);

  FIBITMAP* grey = nullptr;
  ASSERT_EQ(ConvertToGrey8(palette, &grey), S_OK);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(FreeImage_GetColorType(grey), FIC_MINISBLACK);
  const BYTE* row = FreeImage_GetScanLine(grey, 0);
  EXPECT_EQ(std::vector<int>(row, row + 4), (std::vector<int>{255, 0, 54, 18}));
  EXPECT_EQ(FreeImage_GetColorType(palette), FIC_PALETTE);  // the input is left as it was

  // A grey picture is already what is asked: nothing is made.
  FIBITMAP* again = reinterpret_cast<FIBITMAP*>(1);
  EXPECT_EQ(ConvertToGrey8(grey, &again), S_OK);
  EXPECT_EQ(again, nullptr);
  FreeImage_Unload(grey);
  FreeImage_Unload(palette);
}

}  // namespace
