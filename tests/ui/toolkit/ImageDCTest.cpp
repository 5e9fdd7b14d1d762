// A drawing context over a picture shows the picture's own pixels, top row first.
#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "ui/toolkit/ImageDC.h"

namespace {

wxColour ColourOf(std::uint32_t argb) {
  return wxColour((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

TEST(ImageDC, ShowsEveryPixelOfA32BitPicture) {
  const std::vector<std::uint32_t> pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                             0xFF102030, 0x00FFFFFF, 0xFF000000};
  ImageBuffer image;
  image.Adopt(MakePicture32(3, 2, pixels));
  std::unique_ptr<ImageDC> dc;
  ASSERT_EQ(GetDC(image, &dc), S_OK);
  ASSERT_TRUE(dc);
  EXPECT_EQ(dc->Bitmap().GetSize(), wxSize(3, 2));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      wxColour seen;
      ASSERT_TRUE(dc->DC().GetPixel(x, y, &seen));
      EXPECT_EQ(seen, ColourOf(pixels[static_cast<std::size_t>(y * 3 + x)])) << x << "," << y;
    }
  // The picture itself is left as it was.
  EXPECT_EQ(image.Bpp(), 32);
  EXPECT_EQ(PixelsOf(image.Picture()), pixels);
}

TEST(ImageDC, ShowsThePaletteColoursOfAnEightBitPicture) {
  FIBITMAP* picture = FreeImage_Allocate(2, 2, 8);
  RGBQUAD* palette = FreeImage_GetPalette(picture);
  palette[0] = RGBQUAD{0x30, 0x20, 0x10, 0};  // blue, green, red
  palette[7] = RGBQUAD{0xFF, 0x80, 0x00, 0};
  // Rows bottom-up: the top row is scan line 1.
  FreeImage_GetScanLine(picture, 1)[0] = 7;
  FreeImage_GetScanLine(picture, 1)[1] = 0;
  FreeImage_GetScanLine(picture, 0)[0] = 0;
  FreeImage_GetScanLine(picture, 0)[1] = 7;
  ImageBuffer image;
  image.Adopt(picture);
  std::unique_ptr<ImageDC> dc;
  ASSERT_EQ(GetDC(image, &dc), S_OK);
  wxColour seen;
  dc->DC().GetPixel(0, 0, &seen);
  EXPECT_EQ(seen, wxColour(0x00, 0x80, 0xFF));
  dc->DC().GetPixel(1, 0, &seen);
  EXPECT_EQ(seen, wxColour(0x10, 0x20, 0x30));
  dc->DC().GetPixel(1, 1, &seen);
  EXPECT_EQ(seen, wxColour(0x00, 0x80, 0xFF));
  EXPECT_EQ(image.Bpp(), 8);
}

TEST(ImageDC, RefusesAMissingOutputAndAnEmptyBuffer) {
  ImageBuffer empty;
  std::unique_ptr<ImageDC> dc = std::make_unique<ImageDC>(wxBitmap(1, 1));
  EXPECT_EQ(GetDC(empty, &dc), E_FAIL);
  EXPECT_FALSE(dc);
  EXPECT_EQ(GetDC(empty, nullptr), E_INVALIDARG);
}

}  // namespace
