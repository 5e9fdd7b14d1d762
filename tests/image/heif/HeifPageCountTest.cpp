// The HEIF page counter against libheif's own count (heif-info) on files heif-enc makes: one
// picture, two, a picture with an alpha image, with a thumbnail, AVIF too. And on hand-broken
// copies: the count follows what libheif makes of the same bytes (a thumbnail reference lost
// to a broken one before it, a second item list), and no count leaves the file.
#include "image/heif/HeifPageCount.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/ByteEdits.h"
#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

const char* const kHeifEnc = "/usr/bin/heif-enc";
const char* const kHeifInfo = "/usr/bin/heif-info";

// The number of top-level images heif-info lists.
int HeifInfoCount(const std::string& path) {
  std::istringstream lines(RunProgram(kHeifInfo, {path}).out);
  int images = 0;
  for (std::string line; std::getline(lines, line);) images += line.rfind("image: ", 0) == 0;
  return images;
}

int Count(const std::string& bytes) {
  return CountHeifPages(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

class HeifPageCountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = MissingTools({"/usr/bin/convert", kHeifEnc, kHeifInfo});
    if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
    ASSERT_TRUE(RunTool("/usr/bin/convert",
                        {"-size", "64x48", "gradient:red-blue", "-depth", "8", dir / "a.png"}));
    ASSERT_TRUE(RunTool("/usr/bin/convert",
                        {"-size", "64x48", "gradient:red-blue", "-alpha", "set", "-channel", "A",
                         "-evaluate", "set", "50%", "+channel", "-depth", "8", dir / "alpha.png"}));
  }
  std::string Encode(const std::string& name, std::vector<std::string> args) {
    args.insert(args.end(), {"-q", "30", "-o", dir / name});
    EXPECT_TRUE(RunTool(kHeifEnc, args)) << name;
    return dir / name;
  }
  TempDir dir;
};

TEST_F(HeifPageCountTest, CountsWhatLibheifListsOnEncodedFiles) {
  const std::string a = dir / "a.png", alpha = dir / "alpha.png";
  const std::pair<std::string, int> files[] = {
      {Encode("one.heic", {a}), 1},       {Encode("three.heic", {a, alpha, a}), 3},
      {Encode("alpha.heic", {alpha}), 1}, {Encode("thumbnail.heic", {"-t", "16", a, a}), 2},
      {Encode("one.avif", {a}), 1},       {Encode("alpha-thumbnail.avif", {"-t", "16", alpha}), 1},
  };
  for (const auto& [path, pages] : files) {
    EXPECT_EQ(HeifInfoCount(path), pages) << path;
    EXPECT_EQ(CountHeifPagesInFile(path), pages) << path;
  }
  EXPECT_EQ(CountHeifPagesInFile(dir / "missing.heic"), -1);
}

TEST_F(HeifPageCountTest, BrokenBoxesCountAsLibheifReadsThem) {
  const std::string whole = ReadFile(Encode("thumbnail.heic", {"-t", "16", dir / "a.png"}));
  ASSERT_EQ(Count(whole), 1);
  const std::size_t iref = whole.find("iref") - 4;
  ASSERT_NE(whole.find("thmb", iref), std::string::npos);
  // The references: dimg (grid 2 from tile 1), dimg (thumbnail grid 4 from tile 3), thmb (4
  // of 2), 14 bytes each after the box's 12-byte header.
  std::string countTooLarge = whole;
  countTooLarge[iref + 12 + 14 + 10] = '\x67';  // the second reference claims 0x6701 IDs
  std::string sizeIgnored = whole;
  sizeIgnored[iref + 12 + 1] = '\x75';  // the first reference's size is read past
  // An empty second item list right after the first, inside 'meta', which grows by its 14 bytes.
  std::string secondItemList = whole;
  const std::size_t iinf = whole.find("iinf") - 4, meta = whole.find("meta") - 4;
  const auto big32 = [&](std::size_t at) {
    return std::uint32_t(std::uint8_t(whole[at])) << 24 | std::uint8_t(whole[at + 1]) << 16 |
           std::uint8_t(whole[at + 2]) << 8 | std::uint8_t(whole[at + 3]);
  };
  secondItemList.insert(iinf + big32(iinf), std::string("\0\0\0\x0eiinf\0\0\0\0\0\0", 14));
  PutBig32(secondItemList, meta, big32(meta) + 14);
  const std::pair<std::string, std::string> cases[] = {
      {"a reference whose IDs do not fit ends them before the thumbnail's", countTooLarge},
      {"a reference's size is not used", sizeIgnored},
      {"the first of two item lists counts", secondItemList},
  };
  for (const auto& [what, bytes] : cases) {
    WriteFile(dir / "case.heic", bytes);
    EXPECT_EQ(Count(bytes), HeifInfoCount(dir / "case.heic")) << what;
  }
  EXPECT_EQ(Count(countTooLarge), 2);
  EXPECT_EQ(Count(secondItemList), 1);

  // Cut short, emptied, a 'meta' box larger than the file: no count, nothing read past.
  for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{40}, iinf + 20})
    EXPECT_EQ(Count(whole.substr(0, cut)), -1) << cut;
  std::string hugeMeta = whole;
  hugeMeta.replace(whole.find("meta") - 4, 4, std::string("\x7f\xff\xff\xff", 4));
  EXPECT_EQ(Count(hugeMeta), -1);
}

}  // namespace
