#include <gtest/gtest.h>

#include "job/PathFunctions.h"
#include "support/TestFiles.h"

namespace {

struct OneArgCase {
  const char* input;
  const char* fileName;
  const char* extension;
  const char* directory;
};

TEST(PathFunctions, SplitPathsAtTheSlashOnly) {
  const OneArgCase cases[] = {
      {"/in/cat.PNG", "cat.PNG", "PNG", "/in"},
      {"/pics/holiday.beach.png", "holiday.beach.png", "png", "/pics"},
      {"README", "README", "", ""},
      {"/a.d/README", "README", "", "/a.d"},
      {"/a//b.png", "b.png", "png", "/a"},
      {"dir/a\\b.png", "a\\b.png", "png", "dir"},  // a backslash is part of the name
      {"/x.png", "x.png", "png", ""},
      {"/folder/", "", "", "/folder"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(FileNameOf(c.input), c.fileName);
    EXPECT_EQ(ExtensionOf(c.input), c.extension);
    EXPECT_EQ(DirectoryOf(c.input), c.directory);
  }
}

TEST(PathFunctions, TitleIsTheNameBeforeItsLastDot) {
  EXPECT_EQ(TitleOf("holiday.beach.png"), "holiday.beach");
  EXPECT_EQ(TitleOf("README"), "README");
  EXPECT_EQ(TitleOf("cat."), "cat");
}

TEST(PathFunctions, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("/out", "cat.jpg"), "/out/cat.jpg");
  EXPECT_EQ(JoinPath("/out/", "cat.jpg"), "/out/cat.jpg");
  EXPECT_EQ(JoinPath("", "cat.jpg"), "/cat.jpg");
  EXPECT_EQ(JoinPath("/out", ""), "/out/");
}

TEST(PathFunctions, RelativePathBelowTheBase) {
  EXPECT_EQ(RelativePath("/pics/a.png", "/pics"), "a.png");
  EXPECT_EQ(RelativePath("/pics/a.png", "/pics/"), "a.png");
  EXPECT_EQ(RelativePath("/pics/2004/a.tif", "/pics"), "2004/a.tif");
  EXPECT_EQ(RelativePath("/pics/a.png", "/pics/a.png"), "a.png");  // base as long: the file name
  EXPECT_EQ(RelativePath("/pics/a.png", "/pics/a.png/longer"), "a.png");
  EXPECT_EQ(RelativePath("/x.png", ""), "x.png");
}

TEST(PathFunctions, FolderExistsOnlyForFolders) {
  TempDir dir;
  WriteFile(dir / "file.png", "x");
  EXPECT_TRUE(FolderExists(dir.path()));
  EXPECT_TRUE(FolderExists(dir.path() + "/"));
  EXPECT_TRUE(FolderExists("/"));
  EXPECT_FALSE(FolderExists(dir / "file.png"));
  EXPECT_FALSE(FolderExists(dir / "missing"));
  EXPECT_FALSE(FolderExists(""));
}

}  // namespace
