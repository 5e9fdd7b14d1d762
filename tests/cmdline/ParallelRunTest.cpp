// Runs with several workers against the one-at-a-time run: over a few hundred random
// small trees (names that collide, multi-page files, broken files, destinations that
// exist or cannot be made, in place or not, with override, with skipexisting over a
// half-finished destination, with and without samedir) threads 1, 2 and 4 must give the
// same report, the same result and the same files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "cmdline/RunCommandLine.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// Source pictures made by Pillow, an independent encoder, once for the whole suite.
const std::vector<std::string> kPool = {"rgb.png", "rgba.png", "photo.jpg", "pages.tif", "anim.gif",
                                        "pic.bmp", "grey.png", "junk.bin",  "trunc.png"};

const std::string& PoolFolder() {
  static TempDir* dir = [] {
    auto* made = new TempDir;
    const RunResult r = RunProgram(
        "/usr/bin/python3",
        {"-c",
         "import sys, os\n"
         "from PIL import Image\n"
         "d = sys.argv[1]\n"
         "def pic(w, h, mode, k):\n"
         "    im = Image.new('RGB', (w, h))\n"
         "    im.putdata([((x * 37 + k * 50) % 256, (y * 53) % 256, (x * y + k * 90) % 256)\n"
         "                for y in range(h) for x in range(w)])\n"
         "    return im.convert(mode)\n"
         "pic(20, 14, 'RGB', 0).save(os.path.join(d, 'rgb.png'))\n"
         "pic(17, 9, 'RGBA', 1).save(os.path.join(d, 'rgba.png'))\n"
         "pic(24, 16, 'RGB', 2).save(os.path.join(d, 'photo.jpg'), quality=90)\n"
         "p = [pic(12, 10, 'RGB', k) for k in range(3)]\n"
         "p[0].save(os.path.join(d, 'pages.tif'), save_all=True, append_images=p[1:])\n"
         "g = [pic(10, 8, 'P', k) for k in range(2)]\n"
         "g[0].save(os.path.join(d, 'anim.gif'), save_all=True, append_images=g[1:], duration=50)\n"
         "pic(15, 11, 'RGB', 3).save(os.path.join(d, 'pic.bmp'))\n"
         "pic(9, 9, 'L', 4).save(os.path.join(d, 'grey.png'))\n"
         "open(os.path.join(d, 'junk.bin'), 'wb').write(b'not a picture at all')\n"
         "b = open(os.path.join(d, 'rgb.png'), 'rb').read()\n"
         "open(os.path.join(d, 'trunc.png'), 'wb').write(b[:len(b) // 2])\n",
         made->path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return made;
  }();
  return dir->path();
}

// Every file below `root` (relative path -> bytes); folders are listed with a "/".
std::map<std::string, std::string> Contents(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(entry.path(), root).string();
    files[entry.is_directory() ? rel + "/" : rel] =
        entry.is_directory() ? "" : ReadFile(entry.path());
  }
  return files;
}

struct Outcome {
  HRESULT result = S_OK;
  std::string report;
};

// One run in this process with standard output caught in a file.
Outcome RunCaptured(const std::vector<std::string>& tokens, const std::string& capture) {
  std::fflush(stdout);
  const int saved = dup(1);
  const int file = open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(file, 1);
  close(file);
  Outcome outcome;
  outcome.result = RunCommandLine(tokens);
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  outcome.report = ReadFile(capture);
  return outcome;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// One random case: a source tree, things already in the destination, and options.
struct Case {
  std::vector<std::pair<std::string, std::string>>
      files;                         // relative path under the root, file to copy there
  std::vector<std::string> options;  // with ROOT for the root
  bool HasOption(const std::string& option) const {
    return std::find(options.begin(), options.end(), option) != options.end();
  }
};

Case RandomCase(std::mt19937& random) {
  const auto pick = [&](const auto& list) { return list[random() % list.size()]; };
  const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  static const std::vector<std::string> folders = {"", "", "s/", "s/t/", "u/"};
  static const std::vector<std::string> titles = {"a", "b", "c", "a.b", "a00"};
  static const std::map<std::string, std::vector<std::string>> extensions = {
      {"rgb.png", {"png", "PNG"}},    {"rgba.png", {"png"}},
      {"photo.jpg", {"jpg", "jpeg"}}, {"pages.tif", {"tif", "tiff"}},
      {"anim.gif", {"gif"}},          {"pic.bmp", {"bmp"}},
      {"grey.png", {"png"}},          {"junk.bin", {"jpg", "png", "tif"}},
      {"trunc.png", {"png"}}};
  Case c;
  const std::string ext = pick(std::vector<std::string>{"jpg", "png", "gif", "tif", "bmp"});
  const int count = 2 + static_cast<int>(random() % 8);
  for (int i = 0; i < count; ++i) {
    const std::string source = pick(kPool);
    // A folder named like another item's result: with samedir, making it meets that file.
    const std::string folder = chance(10) ? "a." + ext + "/" : pick(folders);
    c.files.push_back({"in/" + folder + pick(titles) + "." + pick(extensions.at(source)),
                       PoolFolder() + "/" + source});
  }
  const bool inPlace = chance(25);
  const std::string dest = inPlace ? "in" : "out";
  if (!inPlace) {
    // Results of an earlier run, and now and then a file where a folder would go.
    for (int i = static_cast<int>(random() % 3); i > 0; --i)
      c.files.push_back(
          {"out/" + pick(folders) + pick(titles) + "." + ext, PoolFolder() + "/junk.bin"});
    if (chance(15)) {
      std::erase_if(c.files, [](const auto& file) { return file.first.rfind("out/u/", 0) == 0; });
      c.files.push_back({"out/u", PoolFolder() + "/junk.bin"});
    }
  }
  // A path cannot be a file and a folder at once: the file gives way.
  std::erase_if(c.files, [&](const auto& file) {
    for (const auto& other : c.files)
      if (other.first.rfind(file.first + "/", 0) == 0) return true;
    return false;
  });
  c.options = {"-source:ROOT/in", "-dest:ROOT/" + dest, "-ext:" + ext, "-width:20", "-height:16"};
  const int existing = static_cast<int>(random() % 100);
  if (existing < 40) c.options.push_back("-override");
  if (existing >= 40 && existing < 75) c.options.push_back("-skipexisting");
  if (chance(50)) c.options.push_back("-samedir");
  if (chance(20)) c.options.push_back("-prefix:p_");
  if (chance(20)) c.options.push_back("-zeropadding:0");
  if (chance(20)) c.options.push_back("-mode:r");
  return c;
}

// Makes the tree of case `c` below `root` and runs its options there.
Outcome RunCase(const Case& c, const std::string& root, const std::vector<std::string>& extra,
                const std::string& capture) {
  fs::remove_all(root);
  for (const auto& [path, source] : c.files) {
    fs::create_directories(fs::path(root + "/" + path).parent_path());
    fs::copy_file(source, root + "/" + path, fs::copy_options::overwrite_existing);
  }
  std::vector<std::string> tokens;
  for (const std::string& option : c.options) tokens.push_back(ReplaceAll(option, "ROOT", root));
  tokens.insert(tokens.end(), extra.begin(), extra.end());
  Outcome outcome = RunCaptured(tokens, capture);
  outcome.report = ReplaceAll(outcome.report, root, "ROOT");
  return outcome;
}

// A destination as a run that was stopped half-way leaves it: the case run once without
// skipexisting, and about half of the files it wrote kept as part of the case.
void HalfFinish(Case& c, const std::string& root, const std::string& capture,
                std::mt19937& random) {
  Case whole = c;
  std::erase(whole.options, "-skipexisting");
  RunCase(whole, root, {"-threads:1"}, capture);
  for (const auto& [path, bytes] : Contents(root + "/out"))
    if (path.back() != '/' && random() % 2 == 0)
      c.files.push_back({"out/" + path, root + "/out/" + path});
}

TEST(ParallelRun, ThreadsOneTwoAndFourGiveTheSameReportResultAndFiles) {
  std::mt19937 random(20261208);
  TempDir dir;
  int failedRuns = 0, collisions = 0, skippingRuns = 0;
  for (int trial = 0; trial < 250; ++trial) {
    Case c = RandomCase(random);
    if (c.HasOption("-skipexisting") && !c.HasOption("-dest:ROOT/in"))
      HalfFinish(c, dir / "half", dir / "report.txt", random);
    std::vector<Outcome> outcomes;
    std::vector<std::map<std::string, std::string>> trees;
    for (const char* threads : {"1", "2", "4"}) {
      const std::string root = dir / (std::string("t") + threads);
      outcomes.push_back(
          RunCase(c, root, {std::string("-threads:") + threads}, dir / "report.txt"));
      trees.push_back(Contents(root));
    }
    std::string options;
    for (const std::string& option : c.options) options += option + " ";
    for (std::size_t i = 1; i < outcomes.size(); ++i) {
      ASSERT_EQ(outcomes[i].report, outcomes[0].report) << "trial " << trial << ": " << options;
      ASSERT_EQ(outcomes[i].result, outcomes[0].result) << "trial " << trial;
      ASSERT_EQ(trees[i], trees[0]) << "trial " << trial << ": " << options;
    }
    for (const auto& [path, bytes] : trees[0])
      EXPECT_EQ(path.find(".tmp-"), std::string::npos) << path;
    failedRuns += Failed(outcomes[0].result);
    collisions += outcomes[0].report.find("already exists") != std::string::npos;
    skippingRuns += outcomes[0].report.find("SKIPPED: ") != std::string::npos &&
                    outcomes[0].report.find("SUCCESS: ") != std::string::npos;
  }
  // The random cases must reach the interesting paths, not only clean runs.
  EXPECT_GT(failedRuns, 50);
  EXPECT_GT(collisions, 30);
  EXPECT_GT(skippingRuns, 30);  // runs that both skip and convert
}

}  // namespace

namespace {

// The local form of the many-machines recipe: GNU parallel, two jobs, one source file per
// job, each result sent to the folder of its source below the destination, gives the
// files of one run with samedir, byte for byte.
TEST(ParallelRun, GnuParallelOverAFileListGivesTheFilesOfOneRun) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"a.png", "rgb.png"},    {"b.jpg", "photo.jpg"},   {"s/c.tif", "pages.tif"},
      {"s/d.gif", "anim.gif"}, {"s/t/e.bmp", "pic.bmp"}, {"s/t/f.png", "rgba.png"},
      {"u/g.png", "grey.png"}, {"u/h.jpg", "photo.jpg"}};
  std::string list;
  for (const auto& [path, source] : files) {
    fs::create_directories(fs::path(dir / ("in/" + path)).parent_path());
    fs::copy_file(PoolFolder() + "/" + source, dir / ("in/" + path));
    list += path + "\n";
  }
  WriteFile(dir / "list.txt", list);
  const RunResult one =
      RunProgram(BinPath("Brindlemark.exe"),
                 {"-source:" + dir / "in", "-dest:" + dir / "one", "-samedir", "-ext:png"});
  ASSERT_EQ(one.exitCode, 0) << one.out;
  const RunResult shards = RunProgram(
      "/bin/sh", {"-c",
                  "cd \"$1\" && parallel --will-cite -j2 \"$2\" -source:{} -dest:\"$3\"/{//} "
                  "-ext:png < \"$4\"",
                  "sh", dir / "in", BinPath("Brindlemark.exe"), dir / "shards", dir / "list.txt"});
  ASSERT_EQ(shards.exitCode, 0) << shards.out << shards.err;
  const auto expected = Contents(dir / "one");
  EXPECT_EQ(expected.size(), 14u);  // 11 pages (3 of the TIFF, 2 of the GIF) and 3 folders
  EXPECT_EQ(Contents(dir / "shards"), expected);
}

// Ctrl-C during a run with workers: no new item starts, the items in flight are finished
// and reported, no temporary file is left, and the process ends by the signal.
TEST(ParallelRun, InterruptFinishesItemsInFlightAndLeavesNoTemporaryFile) {
  TempDir dir;
  fs::create_directories(dir / "in");
  const RunResult made = RunProgram("/usr/bin/convert", {"-size", "1600x1200", "plasma:fractal",
                                                         "-depth", "8", dir / "in/p00.png"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  constexpr int kItems = 40;
  for (int i = 1; i < kItems; ++i)
    fs::copy_file(dir / "in/p00.png",
                  dir / ("in/p" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".png"));

  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(60);
    dup2(out[1], 1);
    close(out[0]);
    const std::string program = BinPath("Brindlemark.exe");
    const std::string from = "-source:" + dir / "in", to = "-dest:" + dir / "out";
    execl(program.c_str(), program.c_str(), from.c_str(), to.c_str(), "-threads:2", "-mode:n",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string report;
  char buffer[4096];
  bool signalled = false;
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    report.append(buffer, static_cast<std::size_t>(n));
    if (!signalled && report.find("SUCCESS: ") != std::string::npos) {
      kill(pid, SIGINT);
      signalled = true;
    }
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(signalled) << report;
  ASSERT_TRUE(WIFSIGNALED(status)) << report;
  EXPECT_EQ(WTERMSIG(status), SIGINT);

  // Every file in the destination was reported, in list order, and nothing else is there.
  std::string expected;
  int written = 0;
  for (const auto& entry : fs::directory_iterator(dir / "out")) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
    ++written;
  }
  for (int i = 0; i < written; ++i) {
    const std::string title = "p" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    expected += "SUCCESS: converted file " + dir / ("in/" + title + ".png") + " to " +
                dir / ("out/" + title + ".jpg") + "\n";
  }
  EXPECT_LT(written, kItems) << "the run was not stopped";
  EXPECT_EQ(report.substr(report.find("SUCCESS: ")), expected);
}

// The first interrupt waits for the pages that workers have begun, however long they take;
// a second one ends the run at once, removing the temporary files.
TEST(ParallelRun, ASecondInterruptEndsAtOnceWithoutTemporaryFiles) {
  TempDir dir;
  fs::create_directories(dir / "in");
  for (const char* name : {"a.png", "b-spin-forever.png", "c.png", "d.png"})
    WritePicture(dir / ("in/" + std::string(name)));
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(60);
    setenv("BRINDLEMARK_TEST_FAULTS", "1", 1);
    dup2(out[1], 1);
    close(out[0]);
    const std::string program = BinPath("Brindlemark.exe");
    const std::string from = "-source:" + dir / "in", to = "-dest:" + dir / "out";
    execl(program.c_str(), program.c_str(), from.c_str(), to.c_str(), "-threads:2", "-timeout:0",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; report.find("SUCCESS: ") == std::string::npos &&
                  (n = read(out[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(n));
  ASSERT_NE(report.find("SUCCESS: "), std::string::npos) << report;
  kill(pid, SIGINT);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the first interrupt did not wait";
  bool spinning = false;
  for (const auto& entry : fs::directory_iterator(dir / "out"))
    spinning |= entry.path().filename().string().rfind(".b-spin-forever.tmp-", 0) == 0;
  EXPECT_TRUE(spinning) << "the begun page has no temporary file";

  const auto second = std::chrono::steady_clock::now();
  kill(pid, SIGINT);
  waitpid(pid, &status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - second, std::chrono::seconds(5));
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << report;
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_EQ(report.find("spin-forever"), std::string::npos) << report;
  for (const auto& entry : fs::directory_iterator(dir / "out"))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

}  // namespace
