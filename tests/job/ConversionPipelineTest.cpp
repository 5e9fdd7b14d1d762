// The pipeline as the hooks see it, at one and two workers: a worker that crashes or aborts
// fails only its item and is replaced, the hooks of every item come in list order exactly
// as in a one-at-a-time run, and a source swapped for a FIFO after collection fails with
// the load text instead of blocking a worker. Also the rule of the per-item time limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "job/ItemTimeLimit.h"
#include "job/PathFunctions.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

class HookLog : public ImageConverter {
 public:
  std::string events;
  std::function<void(ConversionItem&)> onFirstStart;

 protected:
  void OnItemStart(ConversionItem& item, const std::string& destPath) override {
    if (onFirstStart) std::exchange(onFirstStart, nullptr)(item);
    events += "start " + FileNameOf(item.sourcePath) + " " + FileNameOf(destPath) + "|";
  }
  void OnProgress(ConversionItem&, int percent) override {
    events += std::to_string(percent) + "|";
  }
  void OnItemDone(ConversionItem& item) override {
    events += "done " + std::to_string(item.status) + "|";
  }
};

// Turns on the workers' test faults for the life of the object.
struct TestFaults {
  TestFaults() { setenv("BRINDLEMARK_TEST_FAULTS", "1", 1); }
  ~TestFaults() { unsetenv("BRINDLEMARK_TEST_FAULTS"); }
};

std::string HiddenNames(const std::string& folder) {
  std::string names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string()[0] == '.') names += e.path().filename().string() + " ";
  return names;
}

class ConversionPipelineTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "in");
    settings.destFolder = dir / "out";
    settings.resizeOption = NoResize;
    settings.threads = GetParam();
  }
  void Collect() {
    ListCollector collector(items);
    collector.sources = {dir / "in"};
    collector.Collect();
  }
  TempDir dir;
  ConversionSettings settings;
  ItemList items;
  HookLog converter;
};

TEST_P(ConversionPipelineTest, ACrashedWorkerFailsItsItemAloneAndTheHooksKeepListOrder) {
  TestFaults faults;
  WritePicture(dir / "in/a.png", 8, 6);
  WritePicture(dir / "in/b-crash-now.png", 8, 6);
  WritePicture(dir / "in/c.png", 5, 4);
  WritePicture(dir / "in/d-abort-now.png", 8, 6);
  WritePicture(dir / "in/e.png", 3, 2);
  Collect();
  ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);
  EXPECT_EQ(converter.events,
            "start a.png |start a.png a.jpg|30|70|90|done 1|"
            "start b-crash-now.png |start b-crash-now.png b-crash-now.jpg|done 2|"
            "start c.png |start c.png c.jpg|30|70|90|done 1|"
            "start d-abort-now.png |start d-abort-now.png d-abort-now.jpg|done 2|"
            "start e.png |start e.png e.jpg|30|70|90|done 1|");
  EXPECT_EQ(items[1]->log,
            "Failed to load image " + dir / "in/b-crash-now.png" + ": the decoder crashed");
  EXPECT_EQ(items[3]->log,
            "Failed to load image " + dir / "in/d-abort-now.png" + ": the decoder crashed");
  EXPECT_EQ(items[1]->width, -1);
  EXPECT_EQ(items[4]->log,
            "Successfully converted " + dir / "in/e.png" + " to " + dir / "out/e.jpg");
  EXPECT_EQ(items[4]->newWidth, 3);
  EXPECT_EQ(converter.processed, 5);
  EXPECT_EQ(converter.succeeded, 3);
  EXPECT_EQ(converter.failed, 2);
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg c.jpg e.jpg");
  EXPECT_EQ(HiddenNames(dir / "out"), "");
}

TEST_P(ConversionPipelineTest, ASourceSwappedForAFifoAfterCollectionFailsToLoad) {
  for (int i = 0; i < 12; ++i) WritePicture(dir / ("in/p" + std::to_string(10 + i) + ".png"));
  Collect();
  const std::string swapped = dir / "in/p21.png";
  // When the first item starts, the last is still beyond the pipeline's window.
  converter.onFirstStart = [&](ConversionItem&) {
    std::filesystem::remove(swapped);
    ASSERT_EQ(mkfifo(swapped.c_str(), 0600), 0);
  };
  ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);
  EXPECT_EQ(items[11]->log, "Failed to load image " + swapped);
  EXPECT_EQ(converter.succeeded, 11);
  EXPECT_EQ(converter.failed, 1);
  EXPECT_EQ(HiddenNames(dir / "out"), "");
}

INSTANTIATE_TEST_SUITE_P(Workers, ConversionPipelineTest, ::testing::Values(1, 2));

TEST(ItemTimeLimit, GrowsWithTheFileAndThePicture) {
  struct Case {
    int seconds;
    std::uint64_t fileBytes;
    std::int64_t pixels;
    std::int64_t ms;
  };
  const Case cases[] = {
      {60, 0, 0, 60000},                 // a tiny page: the base alone
      {60, 32u << 20, 0, 120000},        // 32 MiB of file: twice the base
      {10, 0, 16000000, 20000},          // 16 megapixels loaded: twice
      {60, 6u << 20, 24000000, 161250},  // a 6 MB photo of 24 MP
      {0, 1u << 30, 1000000000, -1},     // 0: no limit
      {-3, 0, 0, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ItemTimeLimitMs(c.seconds, c.fileBytes, c.pixels), c.ms)
        << c.seconds << " " << c.fileBytes << " " << c.pixels;
}

}  // namespace
