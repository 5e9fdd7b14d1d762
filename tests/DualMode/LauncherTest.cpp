// Brindlemark.com end to end with a fake Brindlemark.exe beside it: arguments, output and
// error relayed whole, exit codes, failures, and never hanging.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "LauncherHarness.h"

namespace {

const char kProcessError[] =
    "ERROR: Could not create process. Please ensure Brindlemark.exe is at the same directory "
    "as Brindlemark.com\n";
const char kPipesError[] = "ERROR: Could not create named pipes.";
const char kConnected[] = "connected 1 fifo 111\n";

// The text the fake child writes in "big" mode for one stream.
std::string Lines(const char* tag, int count) {
  std::string text;
  char line[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line, "%s line %06d of the fake child's report\n", tag, i);
    text += line;
  }
  return text;
}

// Compares long texts without printing them whole: sizes and the first differing byte.
testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                     << ", first difference at byte " << at;
}

class Launcher : public testing::Test {
 protected:
  RunResult Run(const std::string& mode, const std::vector<std::string>& args, RunOptions options) {
    auto fake = FakeOptions(dir_, mode);
    options.environment.insert(options.environment.end(), fake.environment.begin(),
                               fake.environment.end());
    RunResult r = RunProgram(launcher_, args, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_FALSE(ProcessRunsFrom(dir_ / "Brindlemark.exe"));
    EXPECT_TRUE(FolderEntries(dir_ / "run/brindlemark").empty());  // no FIFO left
    return r;
  }
  RunResult Run(const std::string& mode, const std::vector<std::string>& args = {"/x:1"}) {
    return Run(mode, args, RunOptions{});
  }

  TempDir dir_;
  std::string launcher_ = InstallLauncherWithFakeChild(dir_);
};

TEST_F(Launcher, ArgumentsReachTheChildAsItsParserReadsThem) {
  // The vector goes on unchanged: no re-quoting, no splitting, no dropped ":" or quote.
  const RunResult r = Run("echo", {"/dest:/home/u/My Pictures", "/prefix:Grüße aus Köln",
                                   "/suffix:say \"hi\"", "/width:100", "/override:", "two words",
                                   "/dest:C:\\x y", "-override -samedir", "\n", ""});
  EXPECT_EQ(r.out, std::string(kConnected) +
                       "</dest:/home/u/My Pictures>\n</prefix:Grüße aus Köln>\n"
                       "</suffix:say \"hi\">\n</width:100>\n</override:>\n<two words>\n"
                       "</dest:C:\\x y>\n<-override -samedir>\n<\n>\n<>\n");
  EXPECT_EQ(r.err, "to standard error\n");
  EXPECT_EQ(r.exitCode, 0);
}

TEST_F(Launcher, EndsWithTheChildsExitCode) {
  for (int code : {0, 1, 7}) {
    RunOptions options;
    options.environment = {{"BM_FAKE_EXIT", std::to_string(code)}};
    EXPECT_EQ(Run("echo", {"/a:b"}, options).exitCode, code);
  }
}

TEST_F(Launcher, LargeOutputAndErrorArriveWholeAndInOrder) {
  const RunResult r = Run("big");
  EXPECT_GT(r.out.size(), 64u * 1024);
  EXPECT_TRUE(SameText(r.out, kConnected + Lines("out", 4000)));
  EXPECT_TRUE(SameText(r.err, Lines("err", 1500)));
}

// A reader that is slow to take the launcher's output loses nothing, even what is still
// in the FIFO long after the child has ended. 2500 lines (110 KiB) fill the reader's pipe
// and leave the rest in the FIFO, small enough for the child to end before any is read.
TEST_F(Launcher, OutputUnreadLongAfterTheChildEndedIsStillRelayed) {
  RunOptions options;
  options.readDelayMs = 700;
  options.environment = {{"BM_FAKE_LINES", "2500"}};
  const RunResult r = Run("big", {"/x:1"}, options);
  EXPECT_TRUE(SameText(r.out, kConnected + Lines("out", 2500)));
  EXPECT_TRUE(SameText(r.err, Lines("err", 1500)));
}

TEST_F(Launcher, ZeroBytesArePassedOn) {
  EXPECT_EQ(Run("nul").out, kConnected + std::string("a\0b\n", 4));
}

TEST_F(Launcher, ChildKilledBySignalGives128PlusTheSignal) {
  const RunResult r = Run("kill");
  EXPECT_EQ(r.exitCode, 128 + SIGKILL);
  EXPECT_EQ(r.out, kConnected);
  EXPECT_LT(r.seconds, 2.0);
}

TEST_F(Launcher, ChildThatNeverConnectsOrClosesEarlyDoesNotHangIt) {
  RunOptions options;
  options.environment = {{"BM_FAKE_EXIT", "5"}};
  const RunResult never = Run("noconnect", {"/x:1"}, options);
  EXPECT_EQ(never.exitCode, 5);
  EXPECT_LT(never.seconds, 2.0);
  const RunResult early = Run("closeearly");
  EXPECT_EQ(early.out, kConnected);
  EXPECT_EQ(early.exitCode, 0);
  EXPECT_LT(early.seconds, 2.0);
}

TEST_F(Launcher, TerminationSignalGoesOnToTheChild) {
  RunOptions options;
  options.signalAfter = kConnected;
  options.signalNumber = SIGTERM;
  const RunResult r = Run("sleep", {"/x:1"}, options);
  EXPECT_EQ(r.exitCode, 128 + SIGTERM);
  EXPECT_LT(r.seconds, 3.0);
}

// A launcher killed outright (SIGKILL: nothing of it runs) takes its child with it, so no
// converter works on unseen with its report and exit code lost.
TEST_F(Launcher, KilledWithSigkillLeavesNoChildRunning) {
  RunOptions options = FakeOptions(dir_, "sleep");
  options.signalAfter = kConnected;
  options.signalNumber = SIGKILL;
  const RunResult r = RunProgram(launcher_, {"/x:1"}, options);
  EXPECT_EQ(r.exitCode, 128 + SIGKILL);
  EXPECT_LT(r.seconds, 5.0);  // the child, which holds the output too, ended with it
  bool running = true;
  for (int wait = 0; wait < 100 && running; ++wait) {
    running = ProcessRunsFrom(dir_ / "Brindlemark.exe");
    if (running) usleep(20 * 1000);
  }
  EXPECT_FALSE(running);
}

TEST_F(Launcher, ChildThatCannotStartGivesTheProcessError) {
  const std::string child = dir_ / "Brindlemark.exe";
  const struct {
    const char* what;
    void (*prepare)(const std::string&);
  } cases[] = {
      {"missing", [](const std::string& p) { unlink(p.c_str()); }},
      {"not executable",
       [](const std::string& p) {
         WriteFile(p, "x");
         chmod(p.c_str(), 0600);
       }},
      {"exec fails",
       [](const std::string& p) {
         WriteFile(p, "#!/nonexistent/interpreter\n");
         chmod(p.c_str(), 0700);
       }},
  };
  for (const auto& c : cases) {
    c.prepare(child);
    for (const auto& args : {std::vector<std::string>{"/x:1"}, std::vector<std::string>{}}) {
      const RunResult r = Run("echo", args);
      EXPECT_EQ(r.err, kProcessError) << c.what;
      EXPECT_EQ(r.out, "") << c.what;
      EXPECT_EQ(r.exitCode, 1) << c.what;
    }
  }
}

TEST_F(Launcher, UnsafeRendezvousFolderGivesThePipesErrorAndTheChildNeverRuns) {
  const std::string folder = dir_ / "run/brindlemark";
  const struct {
    const char* what;
    void (*prepare)(const std::string&, const std::string&);
  } cases[] = {
      {"is open to other users",
       [](const std::string& f, const std::string&) {
         mkdir(f.c_str(), 0700);
         chmod(f.c_str(), 0770);
       }},
      {"is not a folder",  // a symbolic link to one
       [](const std::string& f, const std::string& d) {
         mkdir((d + "/elsewhere").c_str(), 0700);
         (void)!symlink((d + "/elsewhere").c_str(), f.c_str());
       }},
      {"is not a folder", [](const std::string& f, const std::string&) { WriteFile(f, ""); }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(folder);
    c.prepare(folder, dir_.path());
    const RunResult r = RunProgram(launcher_, {"/x:1"}, FakeOptions(dir_, "echo"));
    EXPECT_EQ(r.err, std::string(kPipesError) + " Folder " + folder + ": " + c.what + "\n");
    EXPECT_EQ(r.out, "") << c.what;  // the child was killed while stopped
    EXPECT_EQ(r.exitCode, 1) << c.what;
    EXPECT_FALSE(ProcessRunsFrom(dir_ / "Brindlemark.exe")) << c.what;
  }
}

TEST_F(Launcher, PipesThatCannotBeMadeSayWhichAndWhy) {
  // A rendezvous folder whose path is so long that no FIFO name fits below it.
  std::string runtime = dir_ / "run";
  while (runtime.size() + 250 < 4080) runtime += "/" + std::string(240, 'r');
  runtime += "/" + std::string(4080 - runtime.size() - 1, 'r');
  std::filesystem::create_directories(runtime);
  const std::string folder = runtime + "/brindlemark";  // 4092 bytes: it still fits itself
  RunOptions options = FakeOptions(dir_, "echo");
  options.environment[0] = {"XDG_RUNTIME_DIR", runtime};
  const RunResult r = RunProgram(launcher_, {"/x:1"}, options);
  const std::string prefix = std::string(kPipesError) + " Folder " + folder + ": mkfifo ";
  const std::string suffix = "cout: File name too long\n";
  EXPECT_EQ(r.err.substr(0, prefix.size()), prefix);
  ASSERT_GE(r.err.size(), suffix.size());
  EXPECT_EQ(r.err.substr(r.err.size() - suffix.size()), suffix);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.exitCode, 1);
}

// FIFOs left by a launcher that was killed go at the next start once their process is
// gone; those of a process that still runs, and other entries, stay.
TEST_F(Launcher, AbandonedPipesOfAGoneProcessAreRemovedAtTheNextStart) {
  const std::string folder = dir_ / "run/brindlemark";
  mkdir(folder.c_str(), 0700);
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), alive = std::to_string(getpid());
  for (const std::string& name : {dead + "cout", dead + "cin", dead + "cerr", alive + "cout"})
    ASSERT_EQ(mkfifo((folder + "/" + name).c_str(), 0600), 0) << name;
  WriteFile(folder + "/notes", "kept");
  const RunResult r = RunProgram(launcher_, {"/x:1"}, FakeOptions(dir_, "echo"));
  EXPECT_EQ(r.out, std::string(kConnected) + "</x:1>\n");
  auto left = FolderEntries(folder);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{alive + "cout", "notes"}));
}

// Started with SIGCHLD ignored (bash passes its "trap '' CHLD" on; dash does not), the launcher
// still waits for its child and ends with the child's exit code.
TEST_F(Launcher, IgnoredChildSignalOfTheStarterDoesNotLoseTheExitCode) {
  for (int code : {0, 6}) {
    RunOptions options = FakeOptions(dir_, "echo");
    options.environment.push_back({"BM_FAKE_EXIT", std::to_string(code)});
    const RunResult r = RunProgram(
        "/bin/bash", {"-c", "trap '' CHLD; exec \"$0\" \"$@\"", launcher_, "/x:1"}, options);
    EXPECT_EQ(r.out, std::string(kConnected) + "</x:1>\n");
    EXPECT_EQ(r.exitCode, code);
  }
}

TEST_F(Launcher, FallsBackToTmpdirWhenTheRuntimeFolderIsNotAbsolute) {
  mkdir((dir_ / "tmp").c_str(), 0700);
  RunOptions options = FakeOptions(dir_, "echo");
  options.environment[0] = {"XDG_RUNTIME_DIR", "relative"};
  options.environment.push_back({"TMPDIR", dir_ / "tmp"});
  const RunResult r = RunProgram(launcher_, {"/x:1"}, options);
  EXPECT_EQ(r.out, std::string(kConnected) + "</x:1>\n");
  EXPECT_EQ(FolderEntries(dir_ / "tmp"),
            std::vector<std::string>{"brindlemark-" + std::to_string(geteuid())});
}

TEST_F(Launcher, WithoutArgumentsStartsTheWindowDetachedAndEndsAtOnce) {
  RunOptions options = FakeOptions(dir_, "echo");
  options.environment.push_back({"BM_FAKE_MARKER", dir_ / "started"});
  options.environment.push_back({"DISPLAY", ":0"});
  // Arguments of blanks and quotes only open the window in the program too.
  for (const auto& args :
       {std::vector<std::string>{}, std::vector<std::string>{"", " \t", "\"\""}}) {
    unlink((dir_ / "started").c_str());
    const RunResult r = RunProgram(launcher_, args, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_LT(r.seconds, 0.9);                         // the child runs on for a second
    EXPECT_TRUE(FolderEntries(dir_ / "run").empty());  // no rendezvous was made
    for (int i = 0; i < 100 && ReadFile(dir_ / "started").empty(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string expected = "window\n";  // it leads a session of its own; the arguments as given
    for (const std::string& a : args) expected += a + "\n";
    EXPECT_EQ(ReadFile(dir_ / "started"), expected);
  }
}

// A file manager's "Open With": arguments that only name files and folders (absolute, or
// relative to the current folder) start the window with them, as given; one argument that
// names nothing, or a real option, keeps the command line.
TEST_F(Launcher, ArgumentsNamingOnlyFilesAndFoldersStartTheWindowWithThem) {
  WriteFile(dir_ / "photo one.jpg", "a picture");
  mkdir((dir_ / "album").c_str(), 0700);
  mkfifo((dir_ / "pipe.jpg").c_str(), 0600);
  RunOptions options = FakeOptions(dir_, "echo");
  options.environment.push_back({"BM_FAKE_MARKER", dir_ / "started"});
  options.environment.push_back({"DISPLAY", ":0"});
  const std::string relative = std::filesystem::relative(dir_ / "album").string();
  const struct {
    std::vector<std::string> args;
    bool window;
  } cases[] = {
      {{dir_ / "photo one.jpg", relative}, true},
      {{dir_ / "album"}, true},
      {{dir_ / "photo one.jpg", dir_ / "missing.jpg"}, false},
      {{dir_ / "pipe.jpg"}, false},  // not a file or folder: never opened, not a window start
      {{"/source:" + (dir_ / "album")}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    unlink((dir_ / "started").c_str());
    const RunResult r = RunProgram(launcher_, c.args, options);
    if (!c.window) {
      EXPECT_EQ(r.out.rfind(kConnected, 0), 0u) << r.out;  // the command line's relay
      continue;
    }
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    std::string expected = "window\n";
    for (const std::string& a : c.args) expected += a + "\n";
    for (int i = 0; i < 100 && ReadFile(dir_ / "started") != expected; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ReadFile(dir_ / "started"), expected);
  }
}

}  // namespace
