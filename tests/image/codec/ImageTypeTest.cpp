#include "image/codec/ImageType.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace {

TEST(GetImageType, OwnGifByExtensionInAnyCase) {
  EXPECT_EQ(GetImageType("/pics/a.Gif"), ImageTypeOwnGif);
  EXPECT_EQ(GetImageType("/pics/a.GIF"), ImageTypeOwnGif);
  // A bare extension has no dot: FreeImage's own GIF format, not the program's.
  EXPECT_EQ(GetImageType("gif"), FIF_GIF);
  // The last dot belongs to a folder name: FreeImage decides for the whole path.
  EXPECT_EQ(GetImageType("/pics.gif/a"), FreeImage_GetFIFFromFilename("/pics.gif/a"));
  EXPECT_NE(GetImageType("/pics.gif/a"), ImageTypeOwnGif);
  // A backslash is an ordinary character here, so "a.gif\b" ends in the extension "gif\b".
  EXPECT_NE(GetImageType("a.gif\\b"), ImageTypeOwnGif);
}

TEST(GetImageType, FreeImageFormatsIgnoreCase) {
  EXPECT_EQ(GetImageType("x.JPG"), FIF_JPEG);
  EXPECT_EQ(GetImageType("x.jpeg"), FIF_JPEG);
  EXPECT_EQ(GetImageType("jpg"), FIF_JPEG);
  EXPECT_EQ(GetImageType("x.tif"), FIF_TIFF);
  EXPECT_EQ(GetImageType("x.bmp"), FIF_BMP);
  EXPECT_EQ(GetImageType("x.xyz"), FIF_UNKNOWN);
  EXPECT_EQ(GetImageType("noextension"), FIF_UNKNOWN);
}

TEST(GetImageType, LibraryTypesByExtensionInAnyCase) {
  const std::pair<const char*, int> cases[] = {
      {"/phone/IMG_0001.HEIC", ImageTypeHeic},
      {"a.heif", ImageTypeHeic},
      {"a.Hif", ImageTypeHeic},
      {"a.avif", ImageTypeAvif},
      {"a.AVIF", ImageTypeAvif},
      {"a.jxl", ImageTypeJxl},
      // A bare extension has no dot: FreeImage's answer, which knows none of them.
      {"avif", FIF_UNKNOWN},
      {"/x.jxl/a", FIF_UNKNOWN},
      {"a.heics", FIF_UNKNOWN}};
  for (const auto& [path, type] : cases) EXPECT_EQ(GetImageType(path), type) << path;
}

TEST(IsSupportedType, HeicIsReadOnlyAndTheOthersGoBothWays) {
  EXPECT_TRUE(IsSupportedType("a.heic", true));
  EXPECT_FALSE(IsSupportedType("a.heic", false));
  for (const char* path : {"a.avif", "a.jxl", "a.webp"}) {
    EXPECT_TRUE(IsSupportedType(path, true)) << path;
    EXPECT_TRUE(IsSupportedType(path, false)) << path;
  }
}

TEST(IsSupportedType, ReadingAndWriting) {
  for (const char* ext : {"jpg", "bmp", "tif", "png", "tga", "gif", "GIF"}) {
    EXPECT_TRUE(IsSupportedType(std::string("abc.") + ext, false)) << ext;
    EXPECT_TRUE(IsSupportedType(std::string("abc.") + ext, true)) << ext;
  }
  EXPECT_FALSE(IsSupportedType("abc.xyz", true));
  EXPECT_FALSE(IsSupportedType("abc.xyz", false));
}

TEST(GetPageCount, ByType) {
  TempDir dir;
  FIBITMAP* picture = FreeImage_Allocate(8, 8, 24);
  ASSERT_TRUE(SavePicture(picture, dir / "one.png"));
  FreeImage_Unload(picture);
  WriteFile(dir / "broken.tif", "not a tiff at all");
  EXPECT_EQ(GetPageCount(dir / "one.png"), 1);
  EXPECT_EQ(GetPageCount(dir / "a.xyz"), 0);
  // FreeImage opens a TIFF document lazily: a file that is no TIFF opens with no pages.
  EXPECT_LE(GetPageCount(dir / "broken.tif"), 0);
  EXPECT_EQ(GetPageCount(dir / "missing.tif"), -1);
  EXPECT_EQ(GetPageCount(std::string(BM_SOURCE_DIR) + "/samples/scan-3-pages.tif"), 3);
  // A HEIF file that cannot be opened is one page, whose load then reports the fault.
  WriteFile(dir / "broken.heic", "not a heif file");
  EXPECT_EQ(GetPageCount(dir / "broken.heic"), 1);
  EXPECT_EQ(GetPageCount(dir / "any.jxl"), 1);
}

}  // namespace
