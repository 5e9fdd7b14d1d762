// The memory budget of one picture: sizes refused before allocation, and files whose
// header declares a picture larger than the budget refused before they are decoded.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "image/codec/PictureMemory.h"
#include "image/header/DeclaredPicture.h"
#include "support/ByteEdits.h"
#include "support/TestFiles.h"

namespace {

struct SizeCase {
  std::int64_t width, height;
  bool allowed;
};

TEST(PictureBudget, SizesAtAndAcrossTheLimits) {
  const SizeCase cases[] = {
      {1, 1, true},
      {0, 10, false},
      {10, 0, false},
      {-3, 5, false},
      {65535, 8192, true},  // under 2^29 pixels
      {65536, 1, true},     // a side above 65,535: only GIF needs that limit
      {70000, 4, true},
      {1, 65536, true},
      {(std::int64_t{1} << 27) - 1, 4, true},  // the widest row FreeImage can describe
      {std::int64_t{1} << 27, 1, false},
      {16384, 32768, true},   // exactly 2^29 pixels = 2^31 bytes of 32-bit pixels
      {16384, 32769, false},  // one row more
      {23171, 23171, false},  // both sides legal, product over the budget
      {std::int64_t{1} << 40, std::int64_t{1} << 40, false},  // product would overflow 64 bits
  };
  for (const auto& c : cases)
    EXPECT_EQ(PictureSizeAllowed(c.width, c.height), c.allowed) << c.width << " x " << c.height;
}

TEST(PictureBudget, RefusedSizesAllocateNothing) {
  EXPECT_EQ(AllocatePicture(100000, 100000, 32), nullptr);
  EXPECT_EQ(AllocatePicture(std::int64_t{1} << 27, 1, 32),
            nullptr);                               // FreeImage's pitch would overflow
  EXPECT_EQ(AllocatePicture(10, 10, 12), nullptr);  // no such depth
  FIBITMAP* ok = AllocatePicture(65535, 2, 32);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(ok), 65535u);
  EXPECT_EQ(FreeImage_GetPitch(ok), 65535u * 4);
  FreeImage_Unload(ok);
}

// ---- Files whose header lies about the size ----

std::uint32_t Little(const std::string& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// A small real file of the given type, written by FreeImage.
std::string SmallFile(const TempDir& dir, const std::string& name, int bpp = 24) {
  FIBITMAP* p = FreeImage_Allocate(16, 12, bpp);
  const std::string path = dir / name;
  EXPECT_TRUE(SavePicture(p, path));
  FreeImage_Unload(p);
  return ReadFile(path);
}

// The JPEG's frame header (SOF0) declares height and width after the precision byte.
std::string JpegDeclaring(const TempDir& dir, unsigned width, unsigned height) {
  std::string b = SmallFile(dir, "seed.jpg");
  const std::size_t sof = b.find("\xFF\xC0");
  EXPECT_NE(sof, std::string::npos);
  PutBig16(b, sof + 5, height);
  PutBig16(b, sof + 7, width);
  return b;
}

// IHDR follows the 8-byte signature: length, "IHDR", width, height, ..., CRC.
std::string PngDeclaring(const TempDir& dir, std::uint32_t width, std::uint32_t height) {
  std::string b = SmallFile(dir, "seed.png");
  PutBig32(b, 16, width);
  PutBig32(b, 20, height);
  PutBig32(b, 29, Crc32(b.data() + 12, 17));
  return b;
}

std::string BmpDeclaring(const TempDir& dir, std::uint32_t width, std::uint32_t height) {
  std::string b = SmallFile(dir, "seed.bmp");
  PutLittle32(b, 18, width);
  PutLittle32(b, 22, height);
  return b;
}

struct DeclaredCase {
  const char* name;
  std::string bytes;
  bool allowed;
};

TEST(PictureBudget, HeadersDeclaringTooMuchAreRefusedBeforeDecoding) {
  TempDir dir;
  const DeclaredCase cases[] = {
      {"true.jpg", SmallFile(dir, "t.jpg"), true},
      // 8 bytes a pixel at the peak of a conversion: 2^28 pixels fill the 2 GiB budget.
      {"big.jpg", JpegDeclaring(dir, 16384, 16384), true},
      {"over.jpg", JpegDeclaring(dir, 16384, 16385), false},
      {"huge.jpg", JpegDeclaring(dir, 60000, 60000), false},  // 3.6e9 pixels
      {"true.png", SmallFile(dir, "t.png"), true},
      {"huge.png", PngDeclaring(dir, 30000, 30000), false},
      {"wide.png", PngDeclaring(dir, 2000000, 1), true},  // few pixels, sides are for made pictures
      {"huge.bmp", BmpDeclaring(dir, 40000, 40000), false},
      {"true.bmp", SmallFile(dir, "t.bmp"), true},
  };
  for (const auto& c : cases) {
    const std::string path = dir / c.name;
    WriteFile(path, c.bytes);
    EXPECT_EQ(DeclaredSizeAllowed(FreeImage_GetFIFFromFilename(path.c_str()), path, 0), c.allowed)
        << c.name;
  }
}

TEST(PictureBudget, UnreadableHeadersAreLeftToTheDecoder) {
  TempDir dir;
  WriteFile(dir / "empty.png", "");
  WriteFile(dir / "junk.jpg", "not a picture at all");
  EXPECT_TRUE(DeclaredSizeAllowed(FIF_PNG, dir / "empty.png", 0));
  EXPECT_TRUE(DeclaredSizeAllowed(FIF_JPEG, dir / "junk.jpg", 0));
  EXPECT_TRUE(DeclaredSizeAllowed(FIF_PNG, dir / "missing.png", 0));
}

// Walks to the IFD of page `page` of a little-endian TIFF and rewrites ImageWidth and
// ImageLength there.
void PatchTiffPage(std::string& b, int page, std::uint32_t width, std::uint32_t height) {
  ASSERT_EQ(b.substr(0, 2), "II");
  std::uint32_t ifd = Little(b, 4, 4);
  for (int k = 0; k < page; ++k) ifd = Little(b, ifd + 2 + 12 * Little(b, ifd, 2), 4);
  const std::uint32_t entries = Little(b, ifd, 2);
  for (std::uint32_t e = 0; e < entries; ++e) {
    const std::size_t at = ifd + 2 + 12 * e;
    const std::uint32_t tag = Little(b, at, 2), type = Little(b, at + 2, 2);
    if (tag != 256 && tag != 257) continue;
    const std::uint32_t v = tag == 256 ? width : height;
    if (type == 3) {  // SHORT
      b[at + 8] = static_cast<char>(v);
      b[at + 9] = static_cast<char>(v >> 8);
    } else {
      PutLittle32(b, at + 8, v);
    }
  }
}

TEST(PictureBudget, EachTiffPageIsJudgedByItsOwnHeader) {
  TempDir dir;
  const std::string path = dir / "pages.tif";
  FIMULTIBITMAP* doc = FreeImage_OpenMultiBitmap(FIF_TIFF, path.c_str(), TRUE, FALSE, FALSE, 0);
  ASSERT_NE(doc, nullptr);
  for (int k = 0; k < 2; ++k) {
    FIBITMAP* p = FreeImage_Allocate(8, 8, 24);
    FreeImage_AppendPage(doc, p);
    FreeImage_Unload(p);
  }
  FreeImage_CloseMultiBitmap(doc, 0);
  std::string bytes = ReadFile(path);
  PatchTiffPage(bytes, 1, 65535, 65535);
  WriteFile(path, bytes);
  EXPECT_TRUE(DeclaredSizeAllowed(FIF_TIFF, path, 0));
  EXPECT_FALSE(DeclaredSizeAllowed(FIF_TIFF, path, 1));
}

}  // namespace
