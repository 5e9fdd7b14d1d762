#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/TempFile.h"
#include "support/TestFiles.h"

namespace {

std::string NameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

TEST(TempFile, FreshHiddenNameEndingWithTheExtension) {
  TempDir dir;
  const std::string a = CreateTempFile(dir.path(), "cat", ".jpg");
  const std::string b = CreateTempFile(dir.path() + "/", "cat", ".jpg");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(NameOf(a).substr(0, 9), ".cat.tmp-");
  EXPECT_EQ(NameOf(a).size(), std::string(".cat.tmp-XXXXXX.jpg").size());
  EXPECT_EQ(a.substr(a.size() - 4), ".jpg");
  EXPECT_EQ(std::filesystem::file_size(a), 0u);
  EXPECT_EQ(a.substr(0, dir.path().size() + 1), dir.path() + "/");
}

TEST(TempFile, LongStemIsCutToTheNameLimit) {
  TempDir dir;
  const std::string path = CreateTempFile(dir.path(), std::string(300, 'n'), ".png");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(NameOf(path).size(), 255u);
  EXPECT_EQ(path.substr(path.size() - 4), ".png");
  EXPECT_TRUE(CreateTempFile(dir / "missing", "cat", ".png").empty());
}

TEST(TempFile, MoveWithoutReplaceNeverTouchesAnExistingEntry) {
  TempDir dir;
  WriteFile(dir / "dest", "old");
  std::string temp = CreateTempFile(dir.path(), "dest", "");
  WriteFile(temp, "new");
  EXPECT_EQ(MoveIntoPlace(temp, dir / "dest", false), MoveResult::DestinationExists);
  EXPECT_EQ(ReadFile(dir / "dest"), "old");
  EXPECT_FALSE(FileExists(temp));

  temp = CreateTempFile(dir.path(), "fresh", "");
  WriteFile(temp, "new");
  EXPECT_EQ(MoveIntoPlace(temp, dir / "fresh", false), MoveResult::Moved);
  EXPECT_EQ(ReadFile(dir / "fresh"), "new");
}

TEST(TempFile, MoveWithReplaceTakesOverPermissions) {
  TempDir dir;
  WriteFile(dir / "dest", "old");
  chmod((dir / "dest").c_str(), 0600);
  std::string temp = CreateTempFile(dir.path(), "dest", "");
  WriteFile(temp, "new");
  EXPECT_EQ(MoveIntoPlace(temp, dir / "dest", true), MoveResult::Moved);
  EXPECT_EQ(ReadFile(dir / "dest"), "new");
  struct stat st;
  stat((dir / "dest").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  std::filesystem::create_directories(dir / "folder/inside");
  temp = CreateTempFile(dir.path(), "folder", "");
  EXPECT_EQ(MoveIntoPlace(temp, dir / "folder", true), MoveResult::Failed);
  EXPECT_FALSE(FileExists(temp));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder/inside"));
}

}  // namespace
