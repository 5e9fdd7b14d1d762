// The raster built straight from a FreeImage picture is the one that reading back the
// picture's BMP file gives: same rows, palette and resolution, so the same GIF bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "image/codec/BitmapRaster.h"
#include "support/BmpReader.h"
#include "image/gif/GifEncode.h"
#include "image/gif/GifTestSupport.h"
#include "support/TestFiles.h"

namespace {

struct BitmapCase {
  int width, height, bpp;
  unsigned dotsPerMetre;
};

void ExpectSameRaster(const GifRaster& a, const GifRaster& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  ASSERT_EQ(a.Bpp(), b.Bpp());
  ASSERT_EQ(a.Stride(), b.Stride());
  for (int r = 0; r < a.Height(); ++r)
    EXPECT_EQ(std::memcmp(a.Row(r), b.Row(r), a.Stride()), 0) << "row " << r;
  EXPECT_EQ(a.paletteSize, b.paletteSize);
  EXPECT_TRUE(a.palette == b.palette);
  EXPECT_EQ(a.dpiX, b.dpiX);
  EXPECT_EQ(a.dpiY, b.dpiY);
}

// The raster built straight from `bitmap`, and the one read back from FreeImage's own
// BMP file of it.
void RastersBothWays(FIBITMAP* bitmap, const TempDir& dir, GifRaster& fromFile, GifRaster& direct) {
  const std::string bmpPath = dir / "picture.bmp";
  ASSERT_TRUE(FreeImage_Save(FIF_BMP, bitmap, bmpPath.c_str(), 0));
  const std::string bmp = ReadFile(bmpPath);
  ASSERT_TRUE(
      ReadBmp(reinterpret_cast<const std::uint8_t*>(bmp.data()), bmp.size(), fromFile, 1 << 24));
  ASSERT_TRUE(RasterFromBitmap(bitmap, direct));
}

TEST(BitmapRaster, EqualsTheRasterOfThePicturesBmpFile) {
  const BitmapCase cases[] = {{1, 1, 1, 0},    {7, 3, 1, 2835}, {9, 4, 1, 3780},  {33, 5, 1, 11811},
                              {3, 3, 4, 2835}, {5, 2, 4, 1000}, {1, 1, 8, 0},     {2, 7, 8, 2835},
                              {3, 5, 8, 3937}, {263, 9, 8, 39}, {640, 3, 8, 2835}};
  TempDir dir;
  unsigned seed = 100;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                 std::to_string(c.bpp));
    FIBITMAP* bitmap = BitmapOf(RandomPicture(c.width, c.height, c.bpp, seed++), c.bpp);
    FreeImage_SetDotsPerMeterX(bitmap, c.dotsPerMetre);
    FreeImage_SetDotsPerMeterY(bitmap, c.dotsPerMetre / 2);
    GifRaster fromFile, direct;
    ASSERT_NO_FATAL_FAILURE(RastersBothWays(bitmap, dir, fromFile, direct));
    ExpectSameRaster(direct, fromFile);
    std::string gifA, gifB;
    ASSERT_TRUE(EncodeGif(direct, gifA));
    ASSERT_TRUE(EncodeGif(fromFile, gifB));
    EXPECT_TRUE(gifA == gifB);
    FreeImage_Unload(bitmap);
  }
}

TEST(BitmapRaster, GreyAndReducedPicturesToo) {
  TempDir dir;
  const IndexedPicture photo = PhotoLikePicture(77, 31);
  FIBITMAP* colour = BitmapOf(photo, 8);
  FIBITMAP* rgb = FreeImage_ConvertTo24Bits(colour);
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(rgb);
  FIBITMAP* mono = FreeImage_Threshold(grey, 128);
  for (FIBITMAP* bitmap : {colour, grey, mono}) {
    GifRaster fromFile, direct;
    ASSERT_NO_FATAL_FAILURE(RastersBothWays(bitmap, dir, fromFile, direct));
    ExpectSameRaster(direct, fromFile);
  }
  for (FIBITMAP* b : {colour, rgb, grey, mono}) FreeImage_Unload(b);
}

TEST(BitmapRaster, RefusesOtherPictures) {
  GifRaster raster;
  EXPECT_FALSE(RasterFromBitmap(nullptr, raster));
  for (int bpp : {16, 24, 32}) {
    FIBITMAP* b = FreeImage_Allocate(4, 4, bpp);
    EXPECT_FALSE(RasterFromBitmap(b, raster)) << bpp;
    FreeImage_Unload(b);
  }
  FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 4, 4);
  EXPECT_FALSE(RasterFromBitmap(grey16, raster));
  FreeImage_Unload(grey16);
}

}  // namespace
