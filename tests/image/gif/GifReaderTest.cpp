// The GIF reader as the image loading uses it: page counts and frames loaded from real
// files into 32-bit pictures, through GetPageCount and ImageBuffer::Load.
#include "image/gif/GifReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/codec/ImageType.h"
#include "image/transform/TransformTestSupport.h"
#include "support/GifBuilder.h"
#include "support/TestFiles.h"

namespace {

const std::vector<std::uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

}  // namespace

TEST(GifReader, FramesLoadAsOpaque32BitPicturesWithTheTopRowFirst) {
  TempDir dir;
  // Two rows: red green blue / black red green; the second frame is 1 x 1 blue.
  WriteFile(dir / "a.gif", GifBuilder(3, 2, kFour)
                               .Image(ImageAt(0, 0, 3, 2, {1, 2, 3, 0, 1, 2}))
                               .Control(2)
                               .Fill(2, 1, 1, 1, 3)
                               .Bytes());
  EXPECT_EQ(GetPageCount(dir / "a.gif"), 2);
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(dir / "a.gif", 0), S_OK);
  ASSERT_EQ(buffer.Bpp(), 32);
  EXPECT_EQ(PixelsOf(buffer.Picture()),
            (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000, 0xFFFF0000,
                                        0xFF00FF00}));
  ASSERT_EQ(buffer.Load(dir / "a.gif", 1), S_OK);
  EXPECT_EQ(PixelsOf(buffer.Picture()), std::vector<std::uint32_t>{0xFF0000FF});
}

TEST(GifReader, TransparentPixelsKeepTheirOwnColourAndAreOpaque) {
  TempDir dir;
  WriteFile(dir / "t.gif", GifBuilder(2, 1, DistinctTable(32))
                               .Control(0, 3)
                               .Image(ImageAt(0, 0, 2, 1, {3, 200}))
                               .Bytes());
  FIBITMAP* raw = nullptr;
  ASSERT_EQ(LoadGifFrame(dir / "t.gif", 0, &raw), S_OK);
  Picture picture(raw);
  EXPECT_EQ(PixelsOf(raw),
            (std::vector<std::uint32_t>{kOpaque | DistinctTable(32)[3], 0xFFFFFFFF}));
}

TEST(GifReader, ScreenPictureOfAFileWithoutGlobalTableIsBlackAroundItsImages) {
  TempDir dir;
  GifTestImage s = ImageAt(1, 0, 1, 1, {1});
  s.localTable = {0x000000, 0x123456};
  WriteFile(dir / "s.gif", GifBuilder(3, 2).Image(s).Bytes());
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(dir / "s.gif", 0), S_OK);
  EXPECT_EQ(PixelsOf(buffer.Picture()),
            (std::vector<std::uint32_t>{0xFF000000, 0xFF123456, 0xFF000000, 0xFF000000, 0xFF000000,
                                        0xFF000000}));
}

TEST(GifReader, PackedDepthsFillEveryColumnOfWideRows) {
  TempDir dir;
  for (int entries : {2, 16, 256}) {
    const auto table = DistinctTable(entries);
    const int width = 37, height = 5;
    std::vector<std::uint8_t> indices;
    for (int i = 0; i < width * height; ++i)
      indices.push_back(static_cast<std::uint8_t>((i * 7) % entries));
    WriteFile(
        dir / "p.gif",
        GifBuilder(width, height, table).Image(ImageAt(0, 0, width, height, indices)).Bytes());
    ImageBuffer buffer;
    ASSERT_EQ(buffer.Load(dir / "p.gif", 0), S_OK);
    std::vector<std::uint32_t> expected;
    for (std::uint8_t i : indices) expected.push_back(kOpaque | table[i]);
    EXPECT_EQ(PixelsOf(buffer.Picture()), expected) << entries;
  }
}

TEST(GifReader, FailuresGiveLoadErrorZeroPagesAndKeepThePreviousPicture) {
  TempDir dir;
  WriteFile(dir / "good.gif", GifBuilder(4, 3, kFour).Fill(0, 0, 4, 3, 1).Bytes());
  WriteFile(dir / "empty.gif", "");
  WriteFile(dir / "text.gif", "GIF is a format");
  WriteFile(dir / "header.gif", GifBuilder(4, 3, kFour).Bytes());
  std::filesystem::create_directory(dir / "folder.gif");
  ASSERT_EQ(mkfifo((dir / "fifo.gif").c_str(), 0600), 0);
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(dir / "good.gif", 0), S_OK);
  EXPECT_EQ(buffer.Load(dir / "good.gif", 1), E_IMG_LOAD);
  EXPECT_EQ(buffer.Load(dir / "good.gif", -1), E_IMG_LOAD);
  for (const char* name :
       {"missing.gif", "empty.gif", "text.gif", "header.gif", "folder.gif", "fifo.gif"}) {
    EXPECT_EQ(GetPageCount(dir / name), 0) << name;
    EXPECT_EQ(buffer.Load(dir / name, 0), E_IMG_LOAD) << name;
    EXPECT_EQ(buffer.Width(), 4) << name;
  }
  FIBITMAP* picture = reinterpret_cast<FIBITMAP*>(1);
  EXPECT_EQ(LoadGifFrame(dir / "text.gif", 0, &picture), E_IMG_LOAD);
  EXPECT_EQ(picture, nullptr);
}

TEST(GifReader, ExtensionInAnyCaseGoesToTheOwnReader) {
  TempDir dir;
  const std::string gif =
      GifBuilder(2, 2, kFour).Fill(0, 0, 2, 2, 2).Fill(0, 0, 1, 1, 1).Fill(0, 0, 1, 1, 3).Bytes();
  WriteFile(dir / "upper.GIF", gif);
  EXPECT_EQ(GetPageCount(dir / "upper.GIF"), 3);
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(dir / "upper.GIF", 2), S_OK);
  EXPECT_EQ(PixelsOf(buffer.Picture()), std::vector<std::uint32_t>{0xFF0000FF});
}
