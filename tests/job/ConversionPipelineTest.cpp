// The pipeline as the hooks see it, at one and two workers: a worker that crashes or aborts
// fails only its item and is replaced, the hooks of every item come in list order exactly
// as in a one-at-a-time run, and a source swapped for a FIFO after collection fails with
// the load text instead of blocking a worker; a stop finishes exactly the items that
// workers have begun. Also the rule of the per-item time limit.
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

// Stops the run when the first item's page is loaded.
class StopAtFirstLoad : public HookLog {
 protected:
  void OnProgress(ConversionItem& item, int percent) override {
    if (percent == 30) stop = true;
    HookLog::OnProgress(item, percent);
  }
};

std::string FinishedHooks(const std::string& source) {
  const std::string title = source.substr(0, source.find('.'));
  return "start " + source + " |start " + source + " " + title + ".jpg|30|70|90|done 1|";
}

// Every item a worker has begun when the stop comes is finished and reported in list order;
// no other item starts. The first items go to the workers at once, before any report is
// read, so at least one item per worker is finished; a worker that is done before the stop
// may have begun the next one.
TEST(ConversionPipelineStop, TheItemsWorkersHaveBegunAreFinishedAndNoOtherStarts) {
  for (const int workers : {1, 2, 4}) {
    SCOPED_TRACE(workers);
    TempDir dir;
    std::filesystem::create_directories(dir / "in");
    const std::vector<std::string> names = {"a.png", "b.png", "c.png", "d.png",
                                            "e.png", "f.png", "g.png"};
    for (const std::string& name : names) WritePicture(dir / ("in/" + name), 40, 30);
    ItemList items;
    ListCollector collector(items);
    collector.sources = {dir / "in"};
    collector.Collect();
    ConversionSettings settings;
    settings.destFolder = dir / "out";
    settings.resizeOption = NoResize;
    settings.threads = workers;
    StopAtFirstLoad converter;
    ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);

    std::size_t finished = 0;
    while (finished < items.size() && items[finished]->status == ItemStatus::Succeeded) ++finished;
    EXPECT_GE(finished, static_cast<std::size_t>(workers));
    if (workers == 1) {
      EXPECT_EQ(finished, 1u);
    }
    std::string hooks, written;
    for (std::size_t i = 0; i < finished; ++i) {
      hooks += FinishedHooks(names[i]);
      if (!written.empty()) written += ' ';
      written += names[i].front();
      written += ".jpg";
    }
    for (std::size_t i = finished; i < items.size(); ++i)
      EXPECT_EQ(items[i]->status, ItemStatus::NotStarted) << i;
    EXPECT_EQ(converter.events, hooks);
    EXPECT_EQ(converter.processed, static_cast<int>(finished));
    EXPECT_EQ(converter.succeeded, static_cast<int>(finished));
    EXPECT_EQ(NamesIn(dir / "out"), written);
    EXPECT_EQ(HiddenNames(dir / "out"), "");
  }
}

// A page that waits for the worker holding its document is not begun at the stop, while
// the next file's page, given to the other worker, is: the one stays NotStarted, the
// other is finished and reported after the page before it.
TEST(ConversionPipelineStop, AnUnbegunPageBetweenBegunOnesStaysNotStarted) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  CopySample("scan-3-pages.tif", dir / "in/a.tif");
  WritePicture(dir / "in/b.png", 40, 30);
  ItemList items;
  ListCollector collector(items);
  collector.sources = {dir / "in"};
  collector.Collect();
  ASSERT_EQ(items.size(), 4u);
  ConversionSettings settings;
  settings.destFolder = dir / "out";
  settings.resizeOption = NoResize;
  settings.threads = 2;
  StopAtFirstLoad converter;
  ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);
  EXPECT_EQ(converter.events,
            "start a.tif |start a.tif a00.jpg|30|70|90|done 1|" + FinishedHooks("b.png"));
  EXPECT_EQ(items[0]->status, ItemStatus::Succeeded);
  EXPECT_EQ(items[1]->status, ItemStatus::NotStarted);
  EXPECT_EQ(items[2]->status, ItemStatus::NotStarted);
  EXPECT_EQ(items[3]->status, ItemStatus::Succeeded);
  EXPECT_EQ(NamesIn(dir / "out"), "a00.jpg b.jpg");
  EXPECT_EQ(HiddenNames(dir / "out"), "");
}

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
