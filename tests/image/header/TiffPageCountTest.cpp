// The TIFF page counter against files written by ImageMagick (both byte orders, BigTIFF)
// with the count that ImageMagick's identify reports, and against hostile directory
// chains: a loop, a link past the end, a directory cut short, bytes that are no TIFF.
#include "image/header/TiffPageCount.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/ByteEdits.h"
#include "support/TestFiles.h"

namespace {

// The number of pages ImageMagick's identify lists, or -1 when it fails.
int IdentifyPages(const std::string& path) {
  std::FILE* pipe = popen(("identify '" + path + "' 2>/dev/null | wc -l").c_str(), "r");
  if (!pipe) return -1;
  int lines = -1;
  if (std::fscanf(pipe, "%d", &lines) != 1) lines = -1;
  return pclose(pipe) == 0 ? lines : -1;
}

int Count(const std::string& bytes) {
  return CountTiffPages(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// A little-endian classic TIFF of `pages` minimal directories (one entry each) linked in
// order; returns the bytes and each directory's offset.
std::string Chain(int pages, std::vector<std::uint32_t>& offsets) {
  std::string tif("II\x2A\x00\x08\x00\x00\x00", 8);
  for (int p = 0; p < pages; ++p) {
    offsets.push_back(static_cast<std::uint32_t>(tif.size()));
    std::string dir(18, '\0');
    dir[0] = 1;                        // one entry
    dir[2] = static_cast<char>(0x00);  // tag 256 (width)
    dir[3] = 1;
    dir[4] = 3;   // SHORT
    dir[6] = 1;   // count 1
    dir[10] = 1;  // value 1
    const bool last = p + 1 == pages;
    PutLittle32(dir, 14, last ? 0 : static_cast<std::uint32_t>(tif.size() + 18));
    tif += dir;
  }
  return tif;
}

TEST(TiffPageCount, CountsWhatImageMagickWroteAsIdentifyDoes) {
  TempDir dir;
  struct Case {
    const char* name;
    const char* args;
    int pages;
  };
  const Case cases[] = {
      {"one.tif", "-size 5x4 xc:red", 1},
      {"three.tif", "-size 5x4 xc:red xc:green xc:blue", 3},
      {"msb.tif", "-size 5x4 xc:red xc:blue -define tiff:endian=msb", 2},
      {"big.tif", "-size 5x4 xc:red xc:green xc:blue xc:white TIFF64:", 4},
  };
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    std::string args = c.args;
    const bool big = args.find("TIFF64:") != std::string::npos;
    if (big) args.resize(args.find("TIFF64:"));
    const std::string command =
        "convert " + args + " '" + (big ? "TIFF64:" : "") + path + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << c.name;
    EXPECT_EQ(CountTiffPagesInFile(path), c.pages) << c.name;
    EXPECT_EQ(IdentifyPages(path), c.pages) << c.name;
  }
  EXPECT_EQ(CountTiffPagesInFile(dir / "missing.tif"), -1);
}

TEST(TiffPageCount, HostileChainsEndTheCountWithoutFault) {
  std::vector<std::uint32_t> at;
  const std::string five = Chain(5, at);
  struct Case {
    const char* what;
    std::string bytes;
    int pages;
  };
  std::vector<Case> cases;
  cases.push_back({"a sound chain", five, 5});
  std::string loop = five;
  PutLittle32(loop, at[2] + 14, at[0]);  // the third links back to the first
  cases.push_back({"a loop", loop, 3});
  std::string self = five;
  PutLittle32(self, at[0] + 14, at[0]);
  cases.push_back({"a directory linking to itself", self, 1});
  std::string past = five;
  PutLittle32(past, at[1] + 14, 0xFFFFFFF0u);
  cases.push_back({"a link past the end", past, 2});
  cases.push_back({"a directory cut short", five.substr(0, at[3] + 10), 3});
  std::string huge = five;
  huge[at[1]] = '\xFF';  // 65535 entries cannot fit
  huge[at[1] + 1] = '\xFF';
  cases.push_back({"an entry count larger than the file", huge, 1});
  std::string none = five;
  none[at[0]] = 0;
  none[at[0] + 1] = 0;
  cases.push_back({"a first directory without entries", none, 0});
  cases.push_back({"a header alone", five.substr(0, 8), 0});
  cases.push_back({"no TIFF", std::string("GIF89a") + std::string(40, '\0'), 0});
  cases.push_back(
      {"a BigTIFF header with 4-byte offsets", std::string("II\x2B\x00\x04\x00\x00\x00", 8), 0});
  cases.push_back({"empty", "", 0});
  for (const Case& c : cases) EXPECT_EQ(Count(c.bytes), c.pages) << c.what;
}

}  // namespace
