// Brindlemark.com with the real Brindlemark.exe: a folder of PNGs converted through the
// launcher, the report relayed in order, and the program's exit code passed on.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "LauncherHarness.h"

namespace {

const char kBanner[] = "Brindlemark 2.9 Command Line Processor\n";
const char kPython[] = "/usr/bin/python3";

// A small PNG made by Pillow, an independent encoder.
void MakePng(const std::string& path) {
  const RunResult r =
      RunProgram(kPython, {"-c",
                           "import sys; from PIL import Image; "
                           "Image.new('RGB', (4, 3), (200, 10, 10)).save(sys.argv[1])",
                           path});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RealPair : public testing::Test {
 protected:
  void SetUp() override {
    mkdir((dir_ / "run").c_str(), 0700);
    mkdir(source_.c_str(), 0700);
    options_.environment = {{"XDG_RUNTIME_DIR", dir_ / "run"}};
  }
  // Runs the launcher; skips the test while the program prints no banner through it.
  RunResult Convert() {
    RunResult r =
        RunProgram(BinPath("Brindlemark.com"), {"/source:" + source_, "/dest:" + dest_}, options_);
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(FolderEntries(dir_ / "run/brindlemark").empty());
    return r;
  }
  // The report as the program writes it: banner, rights line, empty line, one line per
  // image (compared in any order), summary, empty line.
  void ExpectReport(const RunResult& r, std::vector<std::string> itemLines,
                    const std::string& summary) {
    auto lines = LinesOf(r.out);
    ASSERT_EQ(lines.size(), itemLines.size() + 5) << r.out.substr(0, 2000);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[lines.size() - 2], summary);
    EXPECT_EQ(lines.back(), "");
    std::vector<std::string> items(lines.begin() + 3, lines.end() - 2);
    std::sort(items.begin(), items.end());
    std::sort(itemLines.begin(), itemLines.end());
    EXPECT_EQ(items, itemLines);
  }

  TempDir dir_;
  std::string source_ = dir_ / "pictures";
  std::string dest_ = dir_ / "Bilder für Oma";  // blanks (re-quoted on the way), non-ASCII
  RunOptions options_;
};

TEST_F(RealPair, ConvertsAFolderAndEndsWithTheProgramsExitCode) {
  MakePng(source_ + "/a.png");
  MakePng(source_ + "/b.png");
  WriteFile(source_ + "/notes.txt", "not a picture");

  const RunResult first = Convert();
  if (first.out.rfind(kBanner, 0) != 0) GTEST_SKIP() << "no banner yet: " << first.out;
  ExpectReport(first,
               {"SUCCESS: converted file " + source_ + "/a.png to " + dest_ + "/a.jpg",
                "SUCCESS: converted file " + source_ + "/b.png to " + dest_ + "/b.jpg"},
               "2 images were successfully converted. 0 images failed.");
  EXPECT_EQ(first.exitCode, 0);
  const RunResult check = RunProgram(kPython, {"-c",
                                               "import sys; from PIL import Image\n"
                                               "for p in sys.argv[1:]:\n"
                                               "  print(Image.open(p).format)",
                                               dest_ + "/a.jpg", dest_ + "/b.jpg"});
  EXPECT_EQ(check.out, "JPEG\nJPEG\n") << check.err;

  const RunResult again = Convert();  // the results exist now and override is off
  const auto lines = LinesOf(again.out);
  ASSERT_GE(lines.size(), 7u) << again.out;
  for (int i : {3, 4})
    EXPECT_EQ(lines[i].rfind("ERROR: failed to convert file " + source_ + "/", 0), 0u) << lines[i];
  EXPECT_EQ(lines[5], "0 images were successfully converted. 2 images failed.");
  EXPECT_EQ(again.exitCode, 1);
}

// About 140 report lines of some 500 bytes: more than a FIFO holds, relayed whole.
TEST_F(RealPair, ReportLargerThan64KiBArrivesWhole) {
  MakePng(source_ + "/seed.png");
  std::vector<std::string> expected;
  for (int i = 0; i < 140; ++i) {
    const std::string title = std::string(200, 'p') + std::to_string(1000 + i);
    std::filesystem::copy_file(source_ + "/seed.png", source_ + "/" + title + ".png");
    expected.push_back("SUCCESS: converted file " + source_ + "/" + title + ".png to " + dest_ +
                       "/" + title + ".jpg");
  }
  std::filesystem::remove(source_ + "/seed.png");
  const RunResult r = Convert();
  if (r.out.rfind(kBanner, 0) != 0) GTEST_SKIP() << "no banner yet: " << r.out;
  EXPECT_GT(r.out.size(), 64u * 1024);
  ExpectReport(r, expected, "140 images were successfully converted. 0 images failed.");
  EXPECT_EQ(r.exitCode, 0);
}

// Both programs read an argument vector the same way: the launcher passes it unchanged.
TEST_F(RealPair, SameArgumentsGiveTheSameReportThroughTheLauncherAndDirectly) {
  const std::vector<std::vector<std::string>> cases = {
      {"-override -samedir"},
      {"\n"},
      {"/dest:" + dest_, "-norecursive:"},
      {"/dest:" + dest_, "/width:\"12 3\"", "-mode:w"},
  };
  for (const auto& args : cases) {
    const RunResult direct = RunProgram(BinPath("Brindlemark.exe"), args, options_);
    const RunResult launched = RunProgram(BinPath("Brindlemark.com"), args, options_);
    EXPECT_FALSE(direct.timedOut || launched.timedOut);
    EXPECT_EQ(launched.out, direct.out) << args[0];
    EXPECT_EQ(launched.exitCode, direct.exitCode) << args[0];
  }
  const RunResult refused = RunProgram(BinPath("Brindlemark.exe"), cases[0], options_);
  EXPECT_NE(refused.out.find("ERROR: Wrong command line argument -override -samedir\n"),
            std::string::npos)
      << refused.out;
  EXPECT_EQ(refused.exitCode, 1);
}

// The launcher killed with SIGKILL in the middle of a run: the converter gets SIGTERM,
// finishes its current page, removes its temporary file and ends; none runs on unseen.
TEST_F(RealPair, LauncherKilledWithSigkillLeavesNoConverterRunning) {
  const RunResult made =
      RunProgram(kPython, {"-c",
                           "import sys, os\nfrom PIL import Image\n"
                           "im = Image.effect_noise((1200, 900), 60)\n"
                           "for i in range(40):\n"
                           "  im.save(os.path.join(sys.argv[1], 'n%02d.png' % i))",
                           source_});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  CopyExecutable(BinPath("Brindlemark.com"), dir_ / "Brindlemark.com");
  CopyExecutable(BinPath("Brindlemark.exe"), dir_ / "Brindlemark.exe");
  RunOptions options = options_;
  options.signalAfter = "SUCCESS: ";
  options.signalNumber = SIGKILL;
  const RunResult r = RunProgram(
      dir_ / "Brindlemark.com",
      {"/source:" + source_, "/dest:" + dest_, "-mode:n", "-ext:png", "-threads:1"}, options);
  if (r.out.rfind(kBanner, 0) != 0) GTEST_SKIP() << "no banner yet: " << r.out;
  EXPECT_EQ(r.exitCode, 128 + SIGKILL);
  bool running = true;
  for (int wait = 0; wait < 250 && running; ++wait) {
    running = ProcessRunsFrom(dir_ / "Brindlemark.exe");
    if (running) usleep(20 * 1000);
  }
  EXPECT_FALSE(running);
  const auto written = FolderEntries(dest_);
  EXPECT_LT(written.size(), 40u);  // the run was cut short, not finished unseen
  for (const std::string& name : written) EXPECT_NE(name.front(), '.') << name;
}

// Without a display a window start, with or without files to open, runs the program in
// place: its message reaches the terminal and its exit code is the launcher's.
TEST_F(RealPair, WithoutADisplayAWindowStartSaysSoAndEndsWithOne) {
  MakePng(source_ + "/a.png");
  RunOptions options = options_;
  options.environment.push_back({"DISPLAY", ""});
  options.environment.push_back({"WAYLAND_DISPLAY", ""});
  options.environment.push_back({"XDG_CONFIG_HOME", dir_ / "config"});
  // A build without the window says that instead, the same way.
  const bool windowBuilt = std::filesystem::exists(BinPath("Brindlemark.window.so"));
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{source_ + "/a.png"},
                           std::vector<std::string>{source_ + "/a.png", source_}}) {
    SCOPED_TRACE(args.size());
    const RunResult r = RunProgram(BinPath("Brindlemark.com"), args, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(
        r.err.find(windowBuilt ? "Brindlemark cannot open its window: no display is available.\n"
                               : "This build of Brindlemark has no windowed program; give "
                                 "it options.\n"),
        std::string::npos)
        << r.err;
  }
}

}  // namespace
