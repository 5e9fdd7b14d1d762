#include <gtest/gtest.h>

#include "job/DestinationNaming.h"

namespace {

// Items are never copied; each test item lives in this pool.
const ConversionItem& ItemFor(const std::string& relativePath) {
  static ItemList pool;
  pool.push_back(std::make_unique<ConversionItem>());
  pool.back()->relativePath = relativePath;
  pool.back()->sourcePath = "/in/" + relativePath;
  return *pool.back();
}

ConversionSettings OutTo(const std::string& folder) {
  ConversionSettings s;
  s.destFolder = folder;
  return s;
}

TEST(DestinationNaming, DefaultsGiveTitleAndDestinationType) {
  const ConversionItem& item = ItemFor("cat.PNG");
  EXPECT_EQ(BuildDestinationPath(item, OutTo("/out"), 0, 1), "/out/cat.jpg");
  EXPECT_EQ(BuildDestinationPath(item, OutTo("/out/"), 0, 1), "/out/cat.jpg");
  EXPECT_EQ(BuildDestinationPath(ItemFor("README"), OutTo("/out"), 0, 1), "/out/README.jpg");
  EXPECT_EQ(BuildDestinationPath(ItemFor("holiday.beach.png"), OutTo("/out"), 0, 1),
            "/out/holiday.beach.jpg");
}

TEST(DestinationNaming, PrefixSuffixAndExtensionAsTyped) {
  ConversionSettings s = OutTo("/out");
  s.prefix = "s_";
  s.suffix = "_small";
  s.destFileExt = "PNG";
  EXPECT_EQ(BuildDestinationPath(ItemFor("cat.png"), s, 0, 1), "/out/s_cat_small.PNG");
}

TEST(DestinationNaming, PageNumbersWithPadding) {
  struct Case {
    int padding, page, pages;
    const char* expected;
  };
  const Case cases[] = {
      {2, 0, 3, "/out/scan00.jpg"},      {2, 2, 3, "/out/scan02.jpg"},
      {0, 1, 3, "/out/scan1.jpg"},       {4, 0, 3, "/out/scan0000.jpg"},
      {2, 123, 200, "/out/scan123.jpg"}, {2, 0, 1, "/out/scan.jpg"},
  };
  for (const auto& c : cases) {
    ConversionSettings s = OutTo("/out");
    s.zeroPadding = c.padding;
    EXPECT_EQ(BuildDestinationPath(ItemFor("scan.tif"), s, c.page, c.pages), c.expected);
  }
}

TEST(DestinationNaming, HugePaddingStaysBounded) {
  const std::string text = PageText(1, 3, 2147483647);
  EXPECT_GT(text.size(), 255u);  // too long for a file name: the save fails later
  EXPECT_LT(text.size(), 1000u);
  EXPECT_EQ(text.back(), '1');
}

TEST(DestinationNaming, SameDirKeepsTheStructure) {
  ConversionSettings s = OutTo("/out");
  s.sameDir = true;
  EXPECT_EQ(BuildDestinationPath(ItemFor("2004/a.tif"), s, 0, 1), "/out/2004/a.jpg");
  EXPECT_EQ(DestinationFolderFor(ItemFor("cat.png"), s), "/out/");
  EXPECT_EQ(BuildDestinationPath(ItemFor("cat.png"), s, 0, 1), "/out/cat.jpg");
  s.sameDir = false;
  EXPECT_EQ(BuildDestinationPath(ItemFor("2004/a.tif"), s, 0, 1), "/out/a.jpg");
}

}  // namespace
