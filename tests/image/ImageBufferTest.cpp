#include "image/ImageBuffer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "support/TestFiles.h"

namespace {

const std::string kSamples = std::string(BM_SOURCE_DIR) + "/samples/";

// A 24-bit picture whose pixel (x, y) from the top is (r, g, b) = (x * 10, y * 10, 77).
std::string WriteGradient(const TempDir& dir, const std::string& name, int w = 6, int h = 4) {
  FIBITMAP* picture = FreeImage_Allocate(w, h, 24);
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(picture, h - 1 - y);
    for (int x = 0; x < w; ++x) {
      row[3 * x + FI_RGBA_RED] = static_cast<BYTE>(x * 10);
      row[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(y * 10);
      row[3 * x + FI_RGBA_BLUE] = 77;
    }
  }
  FreeImage_SetDotsPerMeterX(picture, 3780);
  FreeImage_SetDotsPerMeterY(picture, 2000);
  const std::string path = dir / name;
  EXPECT_TRUE(SavePicture(picture, path));
  FreeImage_Unload(picture);
  return path;
}

RGBQUAD PixelAt(FIBITMAP* picture, int x, int y) {
  RGBQUAD colour{};
  FreeImage_GetPixelColor(picture, x, FreeImage_GetHeight(picture) - 1 - y, &colour);
  return colour;
}

TEST(ImageBuffer, EmptyBufferRefusesWork) {
  ImageBuffer buffer;
  int out = 5;
  EXPECT_EQ(buffer.QueryReserved(0, 0, &out), E_IMG_NOT_LOADED);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(buffer.ConvertToBitDepth(24), E_IMG_NOT_LOADED);
  EXPECT_EQ(buffer.Save("/tmp/x.png", 0, 80, 0), E_IMG_NOT_LOADED);
  EXPECT_EQ(buffer.Scale(0.5), E_IMG_NOT_LOADED);
  EXPECT_EQ(buffer.Resize(2, 2), E_IMG_NOT_LOADED);
  ConversionSettings settings;
  EXPECT_EQ(buffer.ApplySettings(settings), E_IMG_NOT_LOADED);
  EXPECT_EQ(buffer.Width(), 0);
  EXPECT_EQ(buffer.Bpp(), 0);
}

TEST(ImageBuffer, LoadFailuresKeepThePreviousPicture) {
  TempDir dir;
  const std::string good = WriteGradient(dir, "good.png");
  const std::string jpeg = WriteGradient(dir, "whole.jpg", 64, 64);
  WriteFile(dir / "truncated.jpg", ReadFile(jpeg).substr(0, 40));
  WriteFile(dir / "empty.png", "");
  std::filesystem::create_directory(dir / "folder.jpg");
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(good, 0), S_OK);
  const std::pair<std::string, HRESULT> cases[] = {
      {dir / "missing.png", E_IMG_LOAD},     {dir / "empty.png", E_IMG_LOAD},
      {dir / "folder.jpg", E_IMG_LOAD},      {dir / "notes.xyz", E_IMG_CANNOT_READ_TYPE},
      {kSamples + "scan-3-pages.tif", S_OK},
  };
  for (const auto& [path, code] : cases) {
    if (code != S_OK) {
      EXPECT_EQ(buffer.Load(path, 0), code) << path;
      EXPECT_EQ(buffer.Width(), 6) << path;
    }
  }
  // A truncated JPEG is refused as such, never decoded with grey where its data is missing.
  EXPECT_EQ(buffer.Load(dir / "truncated.jpg", 0), E_IMG_TRUNCATED);
  EXPECT_EQ(buffer.Width(), 6);
}

TEST(ImageBuffer, TiffPagesEachHoldTheirOwnPixels) {
  ImageBuffer buffer;
  const std::string tiff = kSamples + "scan-3-pages.tif";
  std::vector<RGBQUAD> corners;
  for (int page = 0; page < 3; ++page) {
    ASSERT_EQ(buffer.Load(tiff, page), S_OK) << page;
    EXPECT_EQ(buffer.Width(), 240);
    corners.push_back(PixelAt(buffer.Picture(), 0, 0));
  }
  EXPECT_EQ(corners[0].rgbRed, 200);
  EXPECT_EQ(corners[1].rgbGreen, 160);
  EXPECT_EQ(corners[2].rgbBlue, 200);
  EXPECT_EQ(buffer.Load(tiff, 3), E_IMG_LOAD);
  EXPECT_EQ(PixelAt(buffer.Picture(), 0, 0).rgbBlue, 200);  // page 2 still held
  // Replacing the locked page gives a standalone picture; releasing it twice is harmless.
  EXPECT_EQ(buffer.ConvertToBitDepth(32), S_OK);
  buffer.Release();
  buffer.Release();
  EXPECT_EQ(buffer.Picture(), nullptr);
}

TEST(ImageBuffer, EachBitDepthRoundTripsThroughRealFiles) {
  TempDir dir;
  const std::string source = WriteGradient(dir, "source.png", 9, 5);
  const std::pair<int, const char*> cases[] = {{1, "bmp"},  {1, "png"},  {8, "bmp"},  {8, "png"},
                                               {8, "tif"},  {16, "bmp"}, {24, "tif"}, {24, "jpg"},
                                               {32, "tga"}, {32, "tif"}};
  for (const auto& [bpp, ext] : cases) {
    ImageBuffer buffer;
    ASSERT_EQ(buffer.Load(source, 0), S_OK);
    ASSERT_EQ(buffer.ConvertToBitDepth(bpp), S_OK) << bpp;
    EXPECT_EQ(buffer.Bpp(), bpp);
    const std::string out = dir / ("out" + std::to_string(bpp) + "." + ext);
    ASSERT_EQ(buffer.Save(out, 0, 90, 0), S_OK) << out;
    FIBITMAP* back = FreeImage_Load(FreeImage_GetFIFFromFilename(out.c_str()), out.c_str(), 0);
    ASSERT_NE(back, nullptr) << out;
    EXPECT_EQ(FreeImage_GetWidth(back), 9u) << out;
    EXPECT_EQ(FreeImage_GetHeight(back), 5u) << out;
    EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(back)), bpp) << out;
    FreeImage_Unload(back);
  }
}

TEST(ImageBuffer, ConversionsKeepTheResolution) {
  TempDir dir;
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(WriteGradient(dir, "r.png"), 0), S_OK);
  for (int bpp : {32, 1, 8, 24, 16}) {
    ASSERT_EQ(buffer.ConvertToBitDepth(bpp), S_OK);
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(buffer.Picture()), 3780u) << bpp;
    EXPECT_EQ(FreeImage_GetDotsPerMeterY(buffer.Picture()), 2000u) << bpp;
  }
}

TEST(ImageBuffer, MonochromeThresholdAndPalette) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(3, 1, {0xFF7F7F7Fu, 0xFF7E7F7Fu, 0xFF000000u}));
  ASSERT_EQ(buffer.ConvertToBitDepth(1), S_OK);
  ASSERT_EQ(buffer.Bpp(), 1);
  const RGBQUAD* palette = FreeImage_GetPalette(buffer.Picture());
  EXPECT_EQ(palette[0].rgbRed, 255);
  EXPECT_EQ(palette[0].rgbReserved, 0);
  EXPECT_EQ(palette[1].rgbRed, 0);
  // Bits packed from the most significant: white (127 average), black (126), black.
  EXPECT_EQ(FreeImage_GetScanLine(buffer.Picture(), 0)[0] & 0xE0, 0x60);
}

TEST(ImageBuffer, MonochromeAndEightBitPicturesAreKeptAsTheyAre) {
  FIBITMAP* mono = FreeImage_Allocate(4, 4, 1);
  FreeImage_GetPalette(mono)[0] = RGBQUAD{0, 0, 255, 0};
  FreeImage_GetPalette(mono)[1] = RGBQUAD{255, 0, 0, 0};
  ImageBuffer buffer;
  buffer.Adopt(mono);
  EXPECT_EQ(buffer.ConvertToBitDepth(1), S_OK);
  EXPECT_EQ(buffer.Picture(), mono);
  EXPECT_EQ(FreeImage_GetPalette(mono)[0].rgbRed, 255);

  FIBITMAP* eight = FreeImage_Allocate(4, 4, 8);
  buffer.Adopt(eight);
  EXPECT_EQ(buffer.ConvertToBitDepth(8), S_OK);
  EXPECT_EQ(buffer.Picture(), eight);
}

TEST(ImageBuffer, EightBitsFromManyColoursUsesAtMost256) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(
      30, 10, [](int x, int y) { return 0xFF000000u | (x * 8u) << 16 | (y * 25u) << 8 | 3u; }));
  ASSERT_EQ(buffer.ConvertToBitDepth(8), S_OK);
  EXPECT_EQ(buffer.Bpp(), 8);
  EXPECT_LE(FreeImage_GetColorsUsed(buffer.Picture()), 256u);
}

TEST(ImageBuffer, SixteenBitsIsAlways555) {
  ImageBuffer buffer;
  FIBITMAP* source = MakePicture32(4, 4, [](int, int) { return 0xFF336699u; });
  buffer.Adopt(FreeImage_ConvertTo16Bits565(source));
  FreeImage_Unload(source);
  ASSERT_EQ(FreeImage_GetGreenMask(buffer.Picture()), FI16_565_GREEN_MASK);
  ASSERT_EQ(buffer.ConvertToBitDepth(16), S_OK);
  EXPECT_EQ(FreeImage_GetGreenMask(buffer.Picture()), FI16_555_GREEN_MASK);
  FIBITMAP* kept = buffer.Picture();
  EXPECT_EQ(buffer.ConvertToBitDepth(16), S_OK);
  EXPECT_EQ(buffer.Picture(), kept);
  EXPECT_EQ(buffer.ConvertToBitDepth(12), E_INVALIDARG);
}

TEST(ImageBuffer, JpegQualityBecomesTheSaveFlags) {
  TempDir dir;
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(kSamples + "harbour.jpg", 0), S_OK);
  auto sizeAt = [&](int quality) {
    const std::string out = dir / ("q" + std::to_string(quality) + ".jpg");
    EXPECT_EQ(buffer.Save(out, 0, quality, 0), S_OK);
    return ReadFile(out);
  };
  const std::string q10 = sizeAt(10), q95 = sizeAt(95);
  EXPECT_LT(q10.size() * 2, q95.size());
  EXPECT_EQ(sizeAt(0), sizeAt(1));      // 0 is raised to 1
  EXPECT_EQ(sizeAt(150), sizeAt(100));  // above 100 is lowered to 100
  EXPECT_EQ(sizeAt(256), sizeAt(1));    // only the low 8 bits count
}

TEST(ImageBuffer, SaveRefusesUnwritableTypesAndLeavesNothing) {
  TempDir dir;
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(2, 2, [](int, int) { return 0xFF000000u; }));
  EXPECT_EQ(buffer.Save(dir / "a.xyz", 0, 80, 0), E_IMG_CANNOT_WRITE_TYPE);
  EXPECT_FALSE(FileExists(dir / "a.xyz"));
  EXPECT_EQ(buffer.Save(dir / "no/such/folder/a.png", 0, 80, 0), E_IMG_SAVE);
}

// A 16-bit picture never reaches a writer without a 16-bit layout (FreeImage would write a
// broken PNG or TIFF and report success): the save fails and leaves no file.
TEST(ImageBuffer, SaveRefusesADepthTheWriterHasNoLayoutFor) {
  TempDir dir;
  for (const char* name : {"out.png", "out.tif"}) {
    ImageBuffer buffer;
    buffer.Adopt(MakePicture32(4, 3, [](int x, int y) { return 0xFF000000u | (x * 60 << 8) | y; }));
    ASSERT_EQ(buffer.ConvertToBitDepth(16), S_OK);
    EXPECT_EQ(buffer.Save(dir / name, 0, 80, 0), E_IMG_SAVE) << name;
    EXPECT_FALSE(FileExists(dir / name)) << name;
  }
}

TEST(ImageBuffer, NonAsciiPathsLoadAndSave) {
  TempDir dir;
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(WriteGradient(dir, "Grüße-日本.png"), 0), S_OK);
  ASSERT_EQ(buffer.Save(dir / "Ærø ünïcode.jpg", 0, 80, 0), S_OK);
  EXPECT_TRUE(FileExists(dir / "Ærø ünïcode.jpg"));
}

TEST(ImageBuffer, ResizeAveragesBlocksIn24Bits) {
  ImageBuffer buffer;
  // Top row 10, 20, 30, 40; bottom row 50, 60, 70, 80 (red channel).
  buffer.Adopt(MakePicture32(4, 2, [](int x, int y) {
    return 0xFF000000u | static_cast<unsigned>(10 * (x + 1 + 4 * y)) << 16;
  }));
  ASSERT_EQ(buffer.Resize(2, 1), S_OK);
  EXPECT_EQ(buffer.Bpp(), 24);
  const BYTE* row = FreeImage_GetScanLine(buffer.Picture(), 0);
  EXPECT_EQ(row[FI_RGBA_RED], (10 + 20 + 50 + 60) / 4);
  EXPECT_EQ(row[3 + FI_RGBA_RED], (30 + 40 + 70 + 80) / 4);
  EXPECT_EQ(buffer.Resize(0, 1), E_INVALIDARG);
  ASSERT_EQ(buffer.Scale(2.0), S_OK);
  EXPECT_EQ(buffer.Width(), 4);
  EXPECT_EQ(buffer.Height(), 2);
  EXPECT_EQ(buffer.Scale(1e300), E_INVALIDARG);
}

struct JpegDepth {
  int bpp;
  bool grey;
  int expectedBpp;
};

TEST(ImageBuffer, JpegDestinationsGetGreyEightOrTwentyFourBits) {
  const JpegDepth cases[] = {{1, false, 24},  {16, false, 24}, {32, false, 24},
                             {24, false, 24}, {8, false, 8},   {8, true, 8}};
  for (const auto& c : cases) {
    ImageBuffer buffer;
    buffer.Adopt(MakePicture32(5, 3, [](int x, int) { return 0xFF102030u + x; }));
    ConversionSettings s;
    s.resizeOption = NoResize;
    s.bpp = c.bpp;
    s.greyScale = c.grey;
    ASSERT_EQ(buffer.ApplySettings(s), S_OK) << c.bpp;
    EXPECT_EQ(buffer.Bpp(), c.expectedBpp) << c.bpp;
    if (c.expectedBpp == 8) {
      EXPECT_EQ(FreeImage_GetColorType(buffer.Picture()), FIC_MINISBLACK);
    }
  }
}

TEST(ImageBuffer, OtherDestinationsGetTheAskedDepth) {
  for (const auto& [ext, bpp] :
       std::vector<std::pair<std::string, int>>{{"png", 8}, {"bmp", 16}, {"gif", 24}, {"tif", 1}}) {
    ImageBuffer buffer;
    buffer.Adopt(MakePicture32(5, 3, [](int x, int) { return 0xFF102030u + x; }));
    ConversionSettings s;
    s.resizeOption = NoResize;
    s.destFileExt = ext;
    s.bpp = bpp;
    ASSERT_EQ(buffer.ApplySettings(s), S_OK);
    EXPECT_EQ(buffer.Bpp(), bpp) << ext;
  }
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(5, 3, [](int, int) { return 0u; }));
  ConversionSettings s;
  s.resizeOption = NoResize;
  s.destFileExt = "png";
  s.bpp = 12;
  EXPECT_EQ(buffer.ApplySettings(s), E_INVALIDARG);
}

TEST(ImageBuffer, NothingToDoWritesThePictureAsLoaded) {
  TempDir dir;
  const std::string source = WriteGradient(dir, "same.png");
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(source, 0), S_OK);
  ConversionSettings s;
  s.resizeOption = NoResize;
  s.destFileExt = "png";
  FIBITMAP* before = buffer.Picture();
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  EXPECT_EQ(buffer.Picture(), before);
}

}  // namespace
