#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FolderListing.h"
#include "platform/FolderCreation.h"
#include "platform/PathStatus.h"
#include "support/TestFiles.h"

namespace {

TEST(FolderListing, SortedByBytesWithSizesAndAttributes) {
  TempDir dir;
  WriteFile(dir / "b.png", "12345");
  WriteFile(dir / "B.png", "1");
  WriteFile(dir / "a.png", "");
  std::filesystem::create_directory(dir / "sub");
  ASSERT_EQ(symlink("missing", (dir / "dangling").c_str()), 0);
  chmod((dir / "a.png").c_str(), 0444);
  std::vector<FileEntry> entries;
  ASSERT_TRUE(ListFolder(dir.path(), entries));
  std::string names;
  for (const auto& e : entries) names += e.name + " ";
  EXPECT_EQ(names, "B.png a.png b.png sub ");  // the dangling link leads nowhere
  EXPECT_EQ(entries[0].attributes, kAttributeNormal);
  EXPECT_EQ(entries[1].attributes, kAttributeReadOnly);
  EXPECT_EQ(entries[2].size, 5u);
  EXPECT_EQ(entries[3].attributes, kAttributeDirectory);
  EXPECT_TRUE(entries[3].IsDirectory());
  EXPECT_FALSE(ListFolder(dir / "b.png", entries));
  EXPECT_TRUE(entries.empty());
}

TEST(FolderListing, FileTimesCountFrom1601) {
  EXPECT_EQ(ToFileTime(0, 0), 116444736000000000u);
  EXPECT_EQ(ToFileTime(1, 250), 116444736010000002u);
  TempDir dir;
  WriteFile(dir / "f", "x");
  FileEntry entry;
  ASSERT_TRUE(DescribeEntry(dir / "f", entry));
  EXPECT_EQ(entry.name, "f");
  struct stat st;
  stat((dir / "f").c_str(), &st);
  EXPECT_EQ(entry.lastWriteTime, ToFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec));
  EXPECT_FALSE(DescribeEntry(dir / "none", entry));
  EXPECT_FALSE(DescribeEntry("", entry));
}

TEST(PathStatus, AnyEntryExistsButOnlyFoldersAreFolders) {
  TempDir dir;
  ASSERT_EQ(symlink("missing", (dir / "dangling").c_str()), 0);
  ASSERT_EQ(symlink(dir.path().c_str(), (dir / "link").c_str()), 0);
  EXPECT_TRUE(EntryExists(dir / "dangling"));
  EXPECT_FALSE(EntryExists(dir / "missing"));
  EXPECT_FALSE(EntryExists(""));
  EXPECT_TRUE(IsFolder(dir / "link"));
  EXPECT_FALSE(IsFolder(dir / "dangling"));
  EXPECT_EQ(TargetIdentity(dir / "link"), TargetIdentity(dir.path()));
  EXPECT_NE(EntryIdentity(dir / "link"), TargetIdentity(dir.path()));
  EXPECT_FALSE(TargetIdentity(dir / "dangling").has_value());
}

TEST(FolderCreation, OneLevelAndAnExistingFolder) {
  TempDir dir;
  EXPECT_TRUE(MakeFolder(dir / "new"));
  EXPECT_TRUE(MakeFolder(dir / "new"));
  WriteFile(dir / "file", "");
  EXPECT_FALSE(MakeFolder(dir / "file"));
  EXPECT_FALSE(MakeFolder(dir / "missing/deeper"));
  EXPECT_FALSE(MakeFolder(""));
}

}  // namespace
