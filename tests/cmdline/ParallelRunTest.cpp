// Runs with several workers against the one-at-a-time run: over a few hundred random
// small trees (names that collide, multi-page files, broken files, destinations that
// exist or cannot be made, in place or not, with and without override and samedir)
// threads 1, 2 and 4 must give the same report, the same result and the same files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

#include "cmdline/RunCommandLine.h"
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
    files[entry.is_directory() ? rel + "/" : rel] = entry.is_directory() ? "" : ReadFile(entry.path());
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
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// One random case: a source tree, things already in the destination, and options.
struct Case {
  std::vector<std::pair<std::string, std::string>> files;  // relative path under the root, pool file
  std::vector<std::string> options;                         // with ROOT for the root
};

Case RandomCase(std::mt19937& random) {
  const auto pick = [&](const auto& list) { return list[random() % list.size()]; };
  const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  static const std::vector<std::string> folders = {"", "", "s/", "s/t/", "u/"};
  static const std::vector<std::string> titles = {"a", "b", "c", "a.b", "a00"};
  static const std::map<std::string, std::vector<std::string>> extensions = {
      {"rgb.png", {"png", "PNG"}}, {"rgba.png", {"png"}}, {"photo.jpg", {"jpg", "jpeg"}},
      {"pages.tif", {"tif", "tiff"}}, {"anim.gif", {"gif"}}, {"pic.bmp", {"bmp"}},
      {"grey.png", {"png"}}, {"junk.bin", {"jpg", "png", "tif"}}, {"trunc.png", {"png"}}};
  Case c;
  const std::string ext = pick(std::vector<std::string>{"jpg", "png", "gif", "tif", "bmp"});
  const int count = 2 + static_cast<int>(random() % 8);
  for (int i = 0; i < count; ++i) {
    const std::string source = pick(kPool);
    // A folder named like another item's result: with samedir, making it meets that file.
    const std::string folder = chance(10) ? "a." + ext + "/" : pick(folders);
    c.files.push_back({"in/" + folder + pick(titles) + "." + pick(extensions.at(source)), source});
  }
  const bool inPlace = chance(25);
  const std::string dest = inPlace ? "in" : "out";
  if (!inPlace) {
    // Results of an earlier run, and now and then a file where a folder would go.
    for (int i = static_cast<int>(random() % 3); i > 0; --i)
      c.files.push_back({"out/" + pick(folders) + pick(titles) + "." + ext, "junk.bin"});
    if (chance(15)) {
      std::erase_if(c.files, [](const auto& file) { return file.first.rfind("out/u/", 0) == 0; });
      c.files.push_back({"out/u", "junk.bin"});
    }
  }
  // A path cannot be a file and a folder at once: the file gives way.
  std::erase_if(c.files, [&](const auto& file) {
    for (const auto& other : c.files)
      if (other.first.rfind(file.first + "/", 0) == 0) return true;
    return false;
  });
  c.options = {"-source:ROOT/in", "-dest:ROOT/" + dest, "-ext:" + ext, "-width:20", "-height:16"};
  if (chance(50)) c.options.push_back("-override");
  if (chance(50)) c.options.push_back("-samedir");
  if (chance(20)) c.options.push_back("-prefix:p_");
  if (chance(20)) c.options.push_back("-zeropadding:0");
  if (chance(20)) c.options.push_back("-mode:r");
  return c;
}

TEST(ParallelRun, ThreadsOneTwoAndFourGiveTheSameReportResultAndFiles) {
  std::mt19937 random(20261208);
  TempDir dir;
  int failedRuns = 0, collisions = 0;
  for (int trial = 0; trial < 250; ++trial) {
    const Case c = RandomCase(random);
    std::vector<Outcome> outcomes;
    std::vector<std::map<std::string, std::string>> trees;
    for (const char* threads : {"1", "2", "4"}) {
      const std::string root = dir / (std::string("t") + threads);
      fs::remove_all(root);
      for (const auto& [path, source] : c.files) {
        fs::create_directories(fs::path(root + "/" + path).parent_path());
        fs::copy_file(PoolFolder() + "/" + source, root + "/" + path, fs::copy_options::overwrite_existing);
      }
      std::vector<std::string> tokens;
      for (const std::string& option : c.options) tokens.push_back(ReplaceAll(option, "ROOT", root));
      tokens.push_back(std::string("-threads:") + threads);
      Outcome outcome = RunCaptured(tokens, dir / "report.txt");
      outcome.report = ReplaceAll(outcome.report, root, "ROOT");
      outcomes.push_back(outcome);
      trees.push_back(Contents(root));
    }
    std::string options;
    for (const std::string& option : c.options) options += option + " ";
    for (std::size_t i = 1; i < outcomes.size(); ++i) {
      ASSERT_EQ(outcomes[i].report, outcomes[0].report) << "trial " << trial << ": " << options;
      ASSERT_EQ(outcomes[i].result, outcomes[0].result) << "trial " << trial;
      ASSERT_EQ(trees[i], trees[0]) << "trial " << trial << ": " << options;
    }
    for (const auto& [path, bytes] : trees[0]) EXPECT_EQ(path.find(".tmp-"), std::string::npos) << path;
    failedRuns += Failed(outcomes[0].result);
    collisions += outcomes[0].report.find("already exists") != std::string::npos;
  }
  // The random cases must reach the interesting paths, not only clean runs.
  EXPECT_GT(failedRuns, 50);
  EXPECT_GT(collisions, 30);
}

}  // namespace
