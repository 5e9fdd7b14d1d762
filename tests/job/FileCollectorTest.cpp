#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "job/FileCollector.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

// A source folder: two pictures, a text file, a JPEG under a wrong name, a broken JPEG,
// and a subfolder with a 3-page TIFF.
class FileCollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "pics/sub");
    WritePicture(dir / "pics/b.png");
    WritePicture(dir / "pics/a.jpg");
    WritePicture(dir / "pics/picture.txt.jpg");
    std::filesystem::rename(dir / "pics/picture.txt.jpg", dir / "pics/picture.txt");
    WriteFile(dir / "pics/broken.jpg", "not a picture");
    CopySample("scan-3-pages.tif", dir / "pics/sub/scan.tif");
  }

  std::string Collected(const std::vector<std::string>& sources, bool recursive = true,
                        const std::string& destination = "") {
    items.clear();
    skipped.clear();
    Recording collector(items, skipped);
    collector.sources = sources;
    collector.recursive = recursive;
    collector.destinationFolder = destination;
    collector.Collect();
    std::string text;
    for (const auto& item : items)
      text += item->relativePath + "#" + std::to_string(item->pageIndex) + "/" +
              std::to_string(item->pageCount) + " ";
    return text;
  }

  // Writes down what it is told was left out or could not be read, one "path: reason"
  // line each.
  struct Recording : ListCollector {
    Recording(ItemList& items, std::string& log) : ListCollector(items), log(log) {}
    void OnSkipped(const std::string& path, const std::string& reason) override {
      log += path + ": " + reason + "\n";
    }
    void OnUnreadable(const std::string& path, const std::string& reason) override {
      log += path + ": " + reason + "\n";
    }
    std::string& log;
  };

  TempDir dir;
  ItemList items;
  std::string skipped;
};

TEST_F(FileCollectorTest, FolderGivesOneItemPerPageInNameOrder) {
  EXPECT_EQ(Collected({dir / "pics"}),
            "a.jpg#0/1 b.png#0/1 broken.jpg#0/1 sub/scan.tif#0/3 sub/scan.tif#1/3 "
            "sub/scan.tif#2/3 ");
  const ConversionItem& tiff = *items[3];
  EXPECT_EQ(tiff.sourcePath, dir / "pics/sub/scan.tif");
  EXPECT_EQ(tiff.baseFolder, dir / "pics");
  EXPECT_EQ(tiff.extension, "tif");
  EXPECT_EQ(tiff.fileSize, std::filesystem::file_size(dir / "pics/sub/scan.tif"));
  EXPECT_GT(tiff.lastWriteTime, 116444736000000000u);  // after 1970 in 1601-based ticks
  EXPECT_EQ(tiff.listFlags, 2);
  EXPECT_EQ(tiff.status, 0);
  EXPECT_EQ(tiff.width, -1);
  EXPECT_EQ(tiff.newBitDepth, -1);
  EXPECT_TRUE(tiff.log.empty() && tiff.destPath.empty());
}

TEST_F(FileCollectorTest, NonRecursiveLeavesSubfoldersOut) {
  EXPECT_EQ(Collected({dir / "pics"}, false), "a.jpg#0/1 b.png#0/1 broken.jpg#0/1 ");
}

TEST_F(FileCollectorTest, SingleFileAndSeveralSourcesCountFromTheirFolders) {
  EXPECT_EQ(Collected({dir / "pics/b.png"}), "b.png#0/1 ");
  EXPECT_EQ(items[0]->baseFolder, dir / "pics");
  EXPECT_EQ(Collected({dir / "pics/sub", dir / "pics/a.jpg", dir / "missing", ""}),
            "sub/scan.tif#0/3 sub/scan.tif#1/3 sub/scan.tif#2/3 a.jpg#0/1 ");
}

TEST_F(FileCollectorTest, LinkLoopIsWalkedOnce) {
  ASSERT_EQ(symlink("..", (dir / "pics/sub/up").c_str()), 0);
  ASSERT_EQ(symlink("sub", (dir / "pics/again").c_str()), 0);
  // "again" sorts before "sub" and leads to the same folder, so only it is walked.
  EXPECT_EQ(Collected({dir / "pics"}),
            "a.jpg#0/1 again/scan.tif#0/3 again/scan.tif#1/3 again/scan.tif#2/3 "
            "b.png#0/1 broken.jpg#0/1 ");
}

TEST_F(FileCollectorTest, StopEndsTheWalkAndTheBaseDiscards) {
  struct Counting : FileCollector {
    int entered = 0, items = 0;
    void OnEnterFolder(const std::string&) override { ++entered; }
    void AddItem(std::unique_ptr<ConversionItem>) override {
      if (++items == 2) stop = true;
    }
  } collector;
  collector.sources = {dir / "pics"};
  collector.Collect();
  EXPECT_EQ(collector.items, 2);
  EXPECT_EQ(collector.entered, 1);
}

TEST_F(FileCollectorTest, GifGivesOneItemPerFrameAndAnUnreadableGifNone) {
  CopySample("spinner.gif", dir / "pics/sub/spin.gif");
  WriteFile(dir / "pics/sub/broken.gif", "GIF89a");
  EXPECT_EQ(Collected({dir / "pics/sub"}),
            "scan.tif#0/3 scan.tif#1/3 scan.tif#2/3 spin.gif#0/4 spin.gif#1/4 "
            "spin.gif#2/4 spin.gif#3/4 ");
}

TEST_F(FileCollectorTest, FileWhosePagesCannotBeCountedIsTold) {
  WriteFile(dir / "pics/sub/broken.gif", "GIF89a");
  WriteFile(dir / "pics/sub/broken.tif", "II*\0garbage");
  EXPECT_EQ(Collected({dir / "pics/sub"}), "scan.tif#0/3 scan.tif#1/3 scan.tif#2/3 ");
  EXPECT_EQ(skipped, dir / "pics/sub/broken.gif: its pages cannot be counted\n" +
                         dir / "pics/sub/broken.tif: its pages cannot be counted\n");
}

// Listed sources keep the paths they are written with, whatever their number.
TEST_F(FileCollectorTest, WrittenPathsAreKeptForEverySource) {
  items.clear();
  Recording collector(items, skipped);
  collector.keepWrittenPaths = true;
  collector.sources = {dir / "pics/sub"};
  collector.Collect();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]->relativePath, (dir / "pics/sub/scan.tif").substr(1));
  collector.sources = {dir / "pics/b.png", dir / "pics/gone.png"};
  collector.Collect();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[3]->relativePath, (dir / "pics/b.png").substr(1));
  EXPECT_EQ(skipped, dir / "pics/gone.png: no such file or folder\n");
}

TEST_F(FileCollectorTest, DestinationInsideTheSourceIsLeftOut) {
  std::filesystem::create_directories(dir / "pics/out/out");
  WritePicture(dir / "pics/out/a.jpg");
  WritePicture(dir / "pics/out/out/a.jpg");
  const std::string inside =
      "a.jpg#0/1 b.png#0/1 broken.jpg#0/1 sub/scan.tif#0/3 sub/scan.tif#1/3 sub/scan.tif#2/3 ";
  // Named by the same path, by a trailing slash, or through a link: the same folder.
  ASSERT_EQ(symlink("pics/out", (dir / "link-to-out").c_str()), 0);
  for (const std::string& destination :
       {dir / "pics/out", dir / "pics/out/", dir / "link-to-out"}) {
    SCOPED_TRACE(destination);
    EXPECT_EQ(Collected({dir / "pics"}, true, destination), inside);
  }
  // The destination is the source itself, or lies elsewhere: nothing is left out.
  const std::string all =
      "a.jpg#0/1 b.png#0/1 broken.jpg#0/1 out/a.jpg#0/1 out/out/a.jpg#0/1 sub/scan.tif#0/3 "
      "sub/scan.tif#1/3 sub/scan.tif#2/3 ";
  EXPECT_EQ(Collected({dir / "pics"}, true, dir / "pics"), all);
  EXPECT_EQ(Collected({dir / "pics"}, true, dir / "elsewhere"), all);
  // Only the destination's own subtree goes: a folder inside it named as a source is walked.
  EXPECT_EQ(Collected({dir / "pics/out"}, true, dir / "pics/out/out"), "a.jpg#0/1 ");
  EXPECT_EQ(skipped, "");
}

}  // namespace
