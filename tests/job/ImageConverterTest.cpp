#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "image/ImageBuffer.h"
#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "job/PathFunctions.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"
#include "strings/StringTable.h"

namespace {

// Records every hook call as a short text.
class RecordingConverter : public ImageConverter {
 public:
  std::vector<std::string> events;
  int stopAfterItems = -1;

 protected:
  void OnItemStart(ConversionItem& item, const std::string& destPath) override {
    events.push_back("start " + FileNameOf(item.sourcePath) + " " + FileNameOf(destPath));
  }
  void OnProgress(ConversionItem&, int percent) override {
    events.push_back(std::to_string(percent));
  }
  void OnItemDone(ConversionItem& item) override {
    events.push_back("done " + std::to_string(item.status));
    if (--stopAfterItems == 0) stop = true;
  }
};

class ImageConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "in");
    settings.destFolder = dir / "out";
  }

  // Collects the "in" folder and converts it.
  void Convert() {
    ListCollector collector(items);
    collector.sources = {dir / "in"};
    collector.Collect();
    ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);
  }

  std::string Events() const {
    std::string text;
    for (const auto& e : converter.events) text += e + "|";
    return text;
  }

  TempDir dir;
  ConversionSettings settings;
  ItemList items;
  RecordingConverter converter;
};

TEST_F(ImageConverterTest, EmptyListCallsNoHook) {
  Convert();
  EXPECT_EQ(converter.total, 0);
  EXPECT_TRUE(converter.events.empty());
}

TEST_F(ImageConverterTest, SuccessfulItemRecordsSizesLogAndProgress) {
  WritePicture(dir / "in/a.png", 8, 6);
  Convert();
  const ConversionItem& item = *items[0];
  EXPECT_EQ(Events(), "start a.png |start a.png a.jpg|30|70|90|done 1|");
  EXPECT_EQ(item.destPath, dir / "out/a.jpg");
  EXPECT_EQ(item.log, "Successfully converted " + dir / "in/a.png" + " to " + dir / "out/a.jpg");
  EXPECT_EQ(std::vector<int>({item.width, item.height, item.bitDepth}),
            std::vector<int>({8, 6, 24}));
  EXPECT_EQ(std::vector<int>({item.newWidth, item.newHeight, item.newBitDepth}),
            std::vector<int>({150, 100, 24}));
  ImageBuffer written;
  ASSERT_EQ(written.Load(item.destPath, 0), S_OK);
  EXPECT_EQ(written.Width(), 150);
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg");
  EXPECT_EQ(converter.succeeded, 1);
}

TEST_F(ImageConverterTest, BrokenPictureFailsWithTheLoadText) {
  WriteFile(dir / "in/broken.png", "not a picture");
  Convert();
  EXPECT_EQ(Events(), "start broken.png |start broken.png broken.jpg|30|done 2|");
  EXPECT_EQ(items[0]->log, "Failed to load image " + dir / "in/broken.png");
  EXPECT_EQ(converter.failed, 1);
}

TEST_F(ImageConverterTest, AnyPipelineFailureGivesTheResizeText) {
  WritePicture(dir / "in/a.png");
  settings.destFileExt = "png";
  settings.bpp = 5;  // no such depth: the last step fails
  Convert();
  EXPECT_EQ(Events(), "start a.png |start a.png a.png|30|done 2|");
  EXPECT_EQ(items[0]->log, "Failed to resize " + dir / "in/a.png");
  EXPECT_FALSE(FileExists(dir / "out/a.png"));
  EXPECT_EQ(LoadText(ItemStatusTextId(items[0]->status)), "Failed");
  EXPECT_EQ(LoadText(ItemStatusTextId(ItemStatus::Succeeded)), "Succeeded");
  EXPECT_EQ(LoadText(ItemStatusTextId(ItemStatus::NotStarted)), "Not Started");
}

TEST_F(ImageConverterTest, ExistingEntryIsRefusedBeforeTheSourceIsRead) {
  WriteFile(dir / "in/a.png", "not a picture: a load would fail differently");
  WritePicture(dir / "in/b.png");
  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(symlink("nowhere", (dir / "out/a.jpg").c_str()), 0);  // dangling: exists all the same
  WriteFile(dir / "out/b.jpg", "old");
  chmod((dir / "out/b.jpg").c_str(), 0);  // unreadable: exists all the same
  Convert();
  EXPECT_EQ(Events(),
            "start a.png |start a.png a.jpg|done 2|start b.png |start b.png b.jpg|done 2|");
  EXPECT_EQ(items[0]->log, "File " + dir / "out/a.jpg" + " already exists");
  EXPECT_EQ(items[1]->log, "File " + dir / "out/b.jpg" + " already exists");
  EXPECT_EQ(ReadFile(dir / "out/b.jpg"), "old");
}

TEST_F(ImageConverterTest, OverrideReplacesAndKeepsPermissions) {
  WritePicture(dir / "in/a.png");
  std::filesystem::create_directories(dir / "out");
  WriteFile(dir / "out/a.jpg", "old");
  chmod((dir / "out/a.jpg").c_str(), 0640);
  settings.override = true;
  Convert();
  EXPECT_EQ(items[0]->status, 1) << items[0]->log;
  EXPECT_EQ(ReadFile(dir / "out/a.jpg").substr(0, 3), "\xFF\xD8\xFF");
  struct stat st;
  ASSERT_EQ(stat((dir / "out/a.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg");
}

TEST_F(ImageConverterTest, DestinationFolderIsCreatedLevelByLevel) {
  WritePicture(dir / "in/a.png");
  settings.destFolder = dir / "out/one/two/three";
  Convert();
  EXPECT_EQ(items[0]->status, 1) << items[0]->log;
  EXPECT_TRUE(FileExists(dir / "out/one/two/three/a.jpg"));
}

TEST_F(ImageConverterTest, FolderThatCannotBeCreatedFailsWithoutADestination) {
  WritePicture(dir / "in/a.png");
  WriteFile(dir / "blocker", "a file where a folder should be");
  settings.destFolder = dir / "blocker/sub";
  Convert();
  EXPECT_EQ(Events(), "start a.png |done 2|");
  EXPECT_EQ(items[0]->log, "Fail to create destination folder " + dir / "blocker/sub");
  EXPECT_EQ(items[0]->destPath, "");
  EXPECT_EQ(converter.processed, 1);
}

// One worker: the item in progress is the only one begun (more workers: ConversionPipelineTest).
TEST_F(ImageConverterTest, StopDuringItemThreeOfTen) {
  for (int i = 0; i < 10; ++i) WritePicture(dir / ("in/p" + std::to_string(i) + ".png"));
  settings.threads = 1;
  converter.stopAfterItems = 3;
  Convert();
  EXPECT_EQ(converter.total, 10);
  EXPECT_EQ(converter.processed, 3);
  EXPECT_EQ(converter.succeeded, 3);
  EXPECT_EQ(items[2]->status, 1);
  for (std::size_t i = 3; i < items.size(); ++i) EXPECT_EQ(items[i]->status, 0);
  // Counters run on across runs of the same converter.
  converter.stop = false;
  converter.Run({items[3].get()}, settings);
  EXPECT_EQ(converter.processed, 4);
  EXPECT_EQ(converter.total, 1);
}

TEST_F(ImageConverterTest, OverrideNeverReplacesAnotherItemsSourceOrAnEarlierResult) {
  // In place: destination folder = source folder, png and jpg outputs.
  WritePicture(dir / "in/a.jpg", 8, 6);
  WritePicture(dir / "in/a.png", 9, 6);
  WritePicture(dir / "in/d.bmp", 10, 6);
  WritePicture(dir / "in/d.png", 11, 6);
  const std::string dPng = ReadFile(dir / "in/d.png");
  settings.destFolder = dir / "in";
  settings.destFileExt = "png";
  settings.override = true;
  Convert();
  // a.jpg -> a.png: another item's source. a.png -> a.png: its own source, replaced in
  // place. d.bmp -> d.png: another item's source. d.png -> itself.
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0]->log, "File " + dir / "in/a.png" + " already exists");
  EXPECT_EQ(items[1]->status, 1) << items[1]->log;
  EXPECT_EQ(items[2]->log, "File " + dir / "in/d.png" + " already exists");
  EXPECT_EQ(items[3]->status, 1) << items[3]->log;
  EXPECT_NE(ReadFile(dir / "in/d.png"), dPng);
  ImageBuffer result;
  ASSERT_EQ(result.Load(dir / "in/d.png", 0), S_OK);
  EXPECT_EQ(result.Width(), 150);
  EXPECT_EQ(NamesIn(dir / "in"), "a.jpg a.png d.bmp d.png");

  // A second item aiming at a file this run already wrote fails, even with override.
  std::filesystem::create_directories(dir / "in2/x");
  WritePicture(dir / "in2/x/c.png");
  WritePicture(dir / "in2/c.jpg");
  settings.destFolder = dir / "out";
  settings.destFileExt = "jpg";
  items.clear();
  ListCollector collector(items);
  collector.sources = {dir / "in2"};
  collector.Collect();
  converter.Run(SnapshotOf(items), settings);
  EXPECT_EQ(items[0]->status, 1);
  EXPECT_EQ(items[1]->log, "File " + dir / "out/c.jpg" + " already exists");
}

TEST_F(ImageConverterTest, DestinationThatIsAFolderFailsToSaveAndLeavesNothing) {
  WritePicture(dir / "in/a.png");
  std::filesystem::create_directories(dir / "out/a.jpg");
  settings.override = true;
  Convert();
  EXPECT_EQ(Events(), "start a.png |start a.png a.jpg|30|70|90|done 2|");
  EXPECT_EQ(items[0]->log, "Failed to save " + dir / "out/a.jpg");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "out/a.jpg"));
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg");
}

// A save that stops half-way (the file-size limit cuts the write) keeps the old file and
// leaves no temporary file. It runs in a child so the limit stays there.
TEST_F(ImageConverterTest, SaveFailingHalfWayKeepsTheOldDestination) {
  WritePicture(dir / "in/a.png", 400, 300);
  std::filesystem::create_directories(dir / "out");
  WriteFile(dir / "out/a.bmp", "previous result");
  settings.destFileExt = "bmp";
  settings.resizeOption = NoResize;
  settings.override = true;
  const pid_t child = fork();
  if (child == 0) {
    alarm(20);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20000, 20000};
    setrlimit(RLIMIT_FSIZE, &limit);
    Convert();
    const bool ok = items.size() == 1 && items[0]->status == 2 &&
                    items[0]->log == "Failed to save " + dir / "out/a.bmp";
    _exit(ok ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(dir / "out/a.bmp"), "previous result");
  EXPECT_EQ(NamesIn(dir / "out"), "a.bmp");
}

TEST(CreateFolderPath, CreatesEachMissingLevel) {
  TempDir dir;
  EXPECT_TRUE(ImageConverter::CreateFolderPath(dir / "x/y//z/"));
  EXPECT_TRUE(FolderExists(dir / "x/y/z"));
  EXPECT_TRUE(ImageConverter::CreateFolderPath(dir / "x/y/z"));  // already there
  EXPECT_FALSE(ImageConverter::CreateFolderPath(""));
  WriteFile(dir / "x/file", "");
  EXPECT_FALSE(ImageConverter::CreateFolderPath(dir / "x/file/deeper"));
  EXPECT_FALSE(ImageConverter::CreateFolderPath(dir / "x/file"));
}

}  // namespace
