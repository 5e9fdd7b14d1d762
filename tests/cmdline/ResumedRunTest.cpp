// Running again over a half-finished destination, as a rerun after a failure or a kill
// does: -skipexisting leaves what exists alone and reports it apart; the hidden temporary
// files of a run killed with SIGKILL are neither collected nor left behind by the next run.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cmdline/ReportText.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> TempNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& name : FolderEntries(folder))
    if (name.find(".tmp-") != std::string::npos) names.push_back(name);
  return names;
}

class SkipExisting : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "in");
    WritePicture(dir / "in/a.png", 12, 8, 0xFF102030);
    WritePicture(dir / "in/b.png", 10, 6, 0xFF405060);
    WritePicture(dir / "in/c\nd.png", 8, 8, 0xFF708090);
  }
  TempDir dir;
};

// A rerun over a half-finished destination converts only what is missing, whatever the
// number of workers, and touches no file that was there.
TEST_F(SkipExisting, ARerunConvertsOnlyWhatIsMissingAndLeavesTheRestAlone) {
  // Nothing to skip yet: the summary has no skipped line.
  const RunResult first = RunIn(dir.path(), "-source:in -dest:out -skipexisting");
  ASSERT_EQ(first.exitCode, 0) << first.out;
  EXPECT_EQ(Report(first), Success("in/a.png", "out/a.jpg") + Success("in/b.png", "out/b.jpg") +
                               Success("in/c\\nd.png", "out/c\\nd.jpg") + Summary(3, 0));
  fs::remove(dir / "out/b.jpg");
  WriteFile(dir / "out/a.jpg", "an earlier result");
  for (const char* threads : {"1", "2"}) {
    SCOPED_TRACE(threads);
    fs::remove(dir / "out/b.jpg");
    const RunResult r =
        RunIn(dir.path(), std::string("-source:in -dest:out -skipexisting -threads:") + threads);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(Report(r), Skipped("in/a.png", "out/a.jpg") + Success("in/b.png", "out/b.jpg") +
                             Skipped("in/c\\nd.png", "out/c\\nd.jpg") + Summary(1, 0, 2));
    EXPECT_EQ(ReadFile(dir / "out/a.jpg"), "an earlier result");
  }
  // Once finished, a rerun skips every page and still succeeds.
  const RunResult again = RunIn(dir.path(), "-source:in -dest:out -skipexisting");
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(Report(again), Skipped("in/a.png", "out/a.jpg") + Skipped("in/b.png", "out/b.jpg") +
                               Skipped("in/c\\nd.png", "out/c\\nd.jpg") + Summary(0, 0, 3));
}

// Only a file that was there before the run is skipped: two pages that map to one name
// still collide, whether the first one was written or skipped, and an entry that is no
// file stays an error.
TEST_F(SkipExisting, CollisionsAndEntriesThatAreNoFilesAreStillErrors) {
  WritePicture(dir / "in/a.bmp", 5, 5);  // a.bmp and a.png both give a.jpg
  WritePicture(dir / "in/e.png", 5, 5);  // e.jpg is a folder in the destination
  fs::create_directories(dir / "out/e.jpg");
  struct Case {
    bool aExists;
    std::string report;
  };
  const std::string collision = "File out/a.jpg already exists";
  const Case cases[] = {
      {true, Skipped("in/a.bmp", "out/a.jpg") + Failure("in/a.png", "out/a.jpg", collision)},
      {false, Success("in/a.bmp", "out/a.jpg") + Failure("in/a.png", "out/a.jpg", collision)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.aExists);
    fs::remove(dir / "out/a.jpg");
    fs::remove(dir / "out/b.jpg");
    if (c.aExists) WriteFile(dir / "out/a.jpg", "kept");
    WriteFile(dir / "out/b.jpg", "kept");
    const RunResult r = RunIn(dir.path(), "-source:in -dest:out -skipexisting -threads:2");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Report(r), c.report + Skipped("in/b.png", "out/b.jpg") +
                             Success("in/c\\nd.png", "out/c\\nd.jpg") +
                             Failure("in/e.png", "out/e.jpg", "File out/e.jpg already exists") +
                             Summary(c.aExists ? 1 : 2, 2, c.aExists ? 2 : 1));
    if (c.aExists) {
      EXPECT_EQ(ReadFile(dir / "out/a.jpg"), "kept");
    }
    fs::remove(dir / "out/c\nd.jpg");
  }
}

TEST_F(SkipExisting, IsRefusedWithOverride) {
  const RunResult r = RunIn(dir.path(), "-source:in -dest:out -override -skipexisting");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r), "ERROR: Give -override or -skipexisting, not both.\n");
  EXPECT_FALSE(FileExists(dir / "out"));
}

// A run killed with SIGKILL while it writes in place (the destination is the source folder)
// leaves hidden temporary files named like pictures. The next run over the same folder
// neither takes them as sources nor leaves them, once they are a minute old; a younger
// one may still have a writer on another machine and stays.
TEST(KilledRun, TheNextRunNeitherReportsNorLeavesItsTemporaryFiles) {
  TempDir dir;
  fs::create_directories(dir / "in");
  const RunResult made = RunProgram("/usr/bin/convert", {"-size", "800x600", "plasma:fractal",
                                                         "-quality", "90", dir / "in/p00.jpg"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  constexpr int kPictures = 6;
  for (int i = 1; i < kPictures; ++i)
    fs::copy_file(dir / "in/p00.jpg",
                  dir / ("in/p" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".jpg"));

  const pid_t pid = fork();
  if (pid == 0) {
    const std::string program = BinPath("Brindlemark.exe");
    const std::string in = "-source:" + dir / "in", dest = "-dest:" + dir / "in";
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execl(program.c_str(), program.c_str(), in.c_str(), dest.c_str(), "-ext:png", "-mode:n",
          "-threads:2", static_cast<char*>(nullptr));
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (TempNamesIn(dir / "in").empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // its workers die with it
  const std::vector<std::string> left = TempNamesIn(dir / "in");
  ASSERT_FALSE(left.empty()) << "the killed run left no temporary file to test with";
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  for (const std::string& name : left) fs::last_write_time(dir / ("in/" + name), old);
  WriteFile(dir / "in/.young.tmp-Ab12Cd.png", "a write in progress elsewhere");

  const RunResult next = RunIn(dir / "in", "-source:. -dest:. -ext:png -mode:n -skipexisting");
  EXPECT_EQ(next.exitCode, 0) << next.out;
  EXPECT_EQ(next.out.find(".tmp-"), std::string::npos) << next.out;
  EXPECT_EQ(next.out.find("ERROR"), std::string::npos) << next.out;
  EXPECT_EQ(TempNamesIn(dir / "in"), std::vector<std::string>{".young.tmp-Ab12Cd.png"});
  for (int i = 0; i < kPictures; ++i) {
    const std::string png = "in/p" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".png";
    EXPECT_TRUE(FileExists(dir / png)) << png;
  }
}

}  // namespace
