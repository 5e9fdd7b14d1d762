// The pages of TIFF files written by ImageMagick (little- and big-endian, classic and
// BigTIFF), loaded through the kept directory chain in order and out of order: each page
// has its own size and colour. A page past the end fails and keeps the picture; a file
// changed under the same name is read afresh; a chain that loops ends.
#include <gtest/gtest.h>

#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/header/TiffChain.h"
#include "image/header/TiffPages.h"
#include "support/TestFiles.h"

namespace {

struct Page {
  int width, height;
  std::uint32_t pixel;  // 0xAARRGGBB as the 32-bit picture holds it
};
const Page kPages[] = {{3, 2, 0xFFFF0000},
                       {5, 4, 0xFF00FF00},
                       {2, 7, 0xFF0000FF},
                       {1, 1, 0xFFFFFFFF},
                       {6, 3, 0xFFFFFF00}};

std::vector<std::string> PageArguments() {
  return {"-depth", "8",       "-size", "3x2", "xc:red",   "-size", "5x4", "xc:lime",  "-size",
          "2x7",    "xc:blue", "-size", "1x1", "xc:white", "-size", "6x3", "xc:yellow"};
}

std::string MakeTiff(const TempDir& dir, const std::string& name,
                     const std::vector<std::string>& options, const std::string& prefix = "") {
  std::vector<std::string> args = PageArguments();
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(prefix + (dir / name));
  const RunResult r = RunProgram("/usr/bin/convert", args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return dir / name;
}

void ExpectPage(ImageBuffer& buffer, const std::string& path, int k, const std::string& what) {
  ASSERT_EQ(buffer.Load(path, k), S_OK) << what << " page " << k;
  ASSERT_EQ(buffer.ConvertToBitDepth(32), S_OK);
  const Page& p = kPages[k];
  EXPECT_EQ(buffer.Width(), p.width) << what << " page " << k;
  EXPECT_EQ(buffer.Height(), p.height) << what << " page " << k;
  const std::vector<std::uint32_t> expected(static_cast<std::size_t>(p.width) * p.height, p.pixel);
  EXPECT_EQ(PixelsOf(buffer.Picture()), expected) << what << " page " << k;
}

TEST(TiffPages, EveryPageOfEveryLayoutInAnyOrder) {
  TempDir dir;
  const std::pair<std::string, std::string> files[] = {
      {"little-endian", MakeTiff(dir, "le.tif", {"-endian", "LSB", "-compress", "lzw"})},
      {"big-endian", MakeTiff(dir, "be.tif", {"-endian", "MSB"})},
      {"BigTIFF", MakeTiff(dir, "big.tif", {}, "TIFF64:")},
  };
  for (const auto& [what, path] : files) {
    ImageBuffer buffer;
    for (int k : {0, 1, 2, 3, 4, 4, 2, 0, 3, 1}) ExpectPage(buffer, path, k, what);
    // Page 5 does not exist: the load fails and the picture stays page 1.
    EXPECT_EQ(buffer.Load(path, 5), E_IMG_LOAD) << what;
    EXPECT_EQ(buffer.Width(), kPages[1].width) << what;
    EXPECT_EQ(buffer.Load(path, -1), E_IMG_LOAD) << what;
    // Release between pages keeps the document; the next page still loads.
    buffer.Release();
    ExpectPage(buffer, path, 2, what);
  }
}

TEST(TiffPages, DeclaredSizesAreEachPagesOwn) {
  TempDir dir;
  const std::string path = MakeTiff(dir, "pages.tif", {"-endian", "MSB"});
  TiffPages pages;
  ASSERT_TRUE(pages.Open(path));
  for (int k : {4, 0, 2}) {
    const std::optional<DeclaredPicture> declared = pages.PageHeader(k);
    ASSERT_TRUE(declared.has_value()) << k;
    EXPECT_EQ(declared->width, kPages[k].width);
    EXPECT_EQ(declared->height, kPages[k].height);
    EXPECT_EQ(declared->bpp, 24) << k;
  }
  EXPECT_FALSE(pages.PageHeader(5).has_value());
  WriteFile(dir / "not.tif", "II*\x00 not really");
  EXPECT_FALSE(pages.Open(dir / "not.tif"));
  EXPECT_FALSE(pages.Open(dir / "missing.tif"));
}

// The second file has the pages in another order, so every page differs from the first's.
TEST(TiffPages, AFileChangedUnderTheSameNameIsReadAfresh) {
  TempDir dir;
  const std::string first = ReadFile(MakeTiff(dir, "a.tif", {}));
  std::vector<std::string> reversed = {"-reverse"};
  const std::string second = ReadFile(MakeTiff(dir, "b.tif", reversed));
  const std::string path = dir / "changing.tif";
  ImageBuffer buffer;
  WriteFile(path, first);
  ExpectPage(buffer, path, 0, "first version");
  WriteFile(path, second);
  ASSERT_EQ(buffer.Load(path, 1), S_OK);
  EXPECT_EQ(buffer.Width(), kPages[3].width);  // page 1 of the reversed file is page 3
  EXPECT_EQ(buffer.Height(), kPages[3].height);
}

// A directory whose next offset points back at itself: the chain has one page.
TEST(TiffPages, ALoopingChainEnds) {
  TempDir dir;
  std::string bytes = ReadFile(MakeTiff(dir, "one.tif", {"-delete", "1--1", "-endian", "LSB"}));
  const auto little32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  const std::uint32_t ifd = little32(4);
  const std::uint32_t entries =
      static_cast<unsigned char>(bytes[ifd]) | static_cast<unsigned char>(bytes[ifd + 1]) << 8;
  for (int i = 0; i < 4; ++i) bytes[ifd + 2 + 12 * entries + i] = static_cast<char>(ifd >> (8 * i));
  MemoryBytes memory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  TiffChain chain;
  ASSERT_TRUE(chain.Start(memory));
  EXPECT_EQ(chain.DirectoryOf(0), ifd);
  EXPECT_FALSE(chain.DirectoryOf(1).has_value());
  EXPECT_FALSE(chain.DirectoryOf(100000).has_value());
}

}  // namespace
