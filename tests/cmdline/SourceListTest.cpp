#include "cmdline/SourceList.h"

#include <gtest/gtest.h>

#include "support/TestFolder.h"

namespace {

TEST(SourceList, OnePathALineInOrderBlankLinesIgnored) {
  EXPECT_EQ(SourceListEntries("b.png\n\na/\r\n   \n./2020//trip\n/abs/x.jpg\nlast"),
            (std::vector<std::string>{"b.png", "a", "2020/trip", "/abs/x.jpg", "last"}));
  EXPECT_EQ(SourceListEntries(""), std::vector<std::string>{});
  EXPECT_EQ(SourceListEntries("\n\r\n\t\n"), std::vector<std::string>{});
  // Blanks inside and around a name are part of it.
  EXPECT_EQ(SourceListEntries(" a b.png \n"), std::vector<std::string>{" a b.png "});
}

TEST(SourceList, ListedPathsDropEmptyAndDotComponents) {
  const std::pair<const char*, const char*> cases[] = {
      {".", "."},           {"./", "."},        {"./a", "a"},         {"a/./b/", "a/b"},
      {"/", "/"},           {"//x//y", "/x/y"}, {"/./x", "/x"},       {"../up", "../up"},
      {"a/../b", "a/../b"}, {"...", "..."},     {"a.b/.c", "a.b/.c"},
  };
  for (const auto& [written, listed] : cases) EXPECT_EQ(ListedPath(written), listed) << written;
}

TEST(SourceList, OnlyDotDotComponentsClimbOut) {
  for (const char* path : {"..", "../a", "a/..", "a/../b", "/x/../y"})
    EXPECT_TRUE(ClimbsOut(path)) << path;
  for (const char* path : {".", "a..b", "..a/b", "a/b..", "...", "/x/y"})
    EXPECT_FALSE(ClimbsOut(path)) << path;
}

TEST(SourceList, AListThatCannotBeReadSaysWhy) {
  TempDir dir;
  std::vector<std::string> entries;
  std::string why;
  EXPECT_FALSE(ReadSourceList(dir / "missing.txt", entries, why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_FALSE(ReadSourceList(dir.path(), entries, why));
  EXPECT_EQ(why, "Is a directory");
  WriteFile(dir / "list.txt", "x\ny\n");
  ASSERT_TRUE(ReadSourceList(dir / "list.txt", entries, why));
  EXPECT_EQ(entries, (std::vector<std::string>{"x", "y"}));
}

}  // namespace
