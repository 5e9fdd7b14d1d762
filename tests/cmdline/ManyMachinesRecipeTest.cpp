// The README's Slurm script, taken from the README itself and run without Slurm: every task
// of the array over one file list, as the array would run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTasks = 3;

// The script between the README's markers, without its code fence.
std::string ShardScript() {
  const std::string readme = ReadFile(std::string(BM_SOURCE_DIR) + "/README.md");
  const auto begin = readme.find("<!-- convert-shard.sh begins -->");
  const auto end = readme.find("<!-- convert-shard.sh ends -->");
  if (begin == std::string::npos || end == std::string::npos) return {};
  std::string block = readme.substr(begin, end - begin);
  block = block.substr(block.find("```bash\n") + 8);
  return block.substr(0, block.rfind("```"));
}

// Every file below `root` with its bytes.
std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  return files;
}

class SlurmRecipe : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string script = ShardScript();
    ASSERT_FALSE(script.empty()) << "the README lost its convert-shard.sh markers";
    // -skipexisting is written into the recipe ahead of the program that reads it; until
    // the program knows it, the script runs without it.
    const RunResult help = RunProgram(BinPath("Brindlemark.exe"), {"--help"});
    if (help.out.find("-skipexisting") == std::string::npos) {
      const auto at = script.find(" -skipexisting");
      if (at != std::string::npos) script.erase(at, 14);
    }
    WriteFile(dir / "convert-shard.sh", script);
    for (const char* folder : {"pics/2020/trip", "pics/2020/other", "pics/2021", "lists"})
      fs::create_directories(dir / folder);
    WritePicture(dir / "pics/top.png", 12, 8);
    WritePicture(dir / "pics/2020/trip/IMG_0001.JPG", 10, 6);
    WritePicture(dir / "pics/2020/trip/b.Bmp", 6, 10);
    WritePicture(dir / "pics/2020/other/c.tif", 9, 7);
    WritePicture(dir / "pics/2021/d.png", 8, 8);
    WritePicture(dir / "pics/2021/e.TGA", 5, 5);
    WriteFile(dir / "pics/2021/notes.txt", "not a picture");
  }

  // Runs task `k` of the array over the list of every file below pics.
  RunResult Task(int k) {
    RunOptions options;
    options.environment = {{"SLURM_ARRAY_TASK_ID", std::to_string(k)},
                           {"TASKS", std::to_string(kTasks)},
                           {"PICTURES", dir / "pics"},
                           {"LIST", dir / "lists/pictures.txt"},
                           {"DEST", dir / "thumbs"},
                           {"BRINDLEMARK", BinPath("Brindlemark.exe")}};
    return RunProgram("/bin/bash", {dir / "convert-shard.sh"}, options);
  }

  void ListEveryFile() {
    const RunResult listed =
        RunProgram("/bin/sh", {"-c", "cd \"$1\" && find . -type f > \"$2\"", "sh", dir / "pics",
                               dir / "lists/pictures.txt"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
  }

  TempDir dir;
};

TEST_F(SlurmRecipe, EveryTaskTogetherGiveTheFilesOfOneRun) {
  ListEveryFile();
  for (int k = 0; k < kTasks; ++k) {
    const RunResult r = Task(k);
    EXPECT_EQ(r.exitCode, 0) << "task " << k << "\n" << r.out << r.err;
  }
  const RunResult one =
      RunProgram(BinPath("Brindlemark.exe"), {"-source:" + dir / "pics", "-dest:" + dir / "one",
                                              "-samedir", "-mode:m", "-width:1024", "-height:768"});
  ASSERT_EQ(one.exitCode, 0) << one.out;
  const auto expected = Tree(dir / "one");
  EXPECT_EQ(expected.size(), 6u);
  EXPECT_EQ(Tree(dir / "thumbs"), expected);
}

// A broken picture fails its task, whatever its place in the shard; two pictures of one
// folder that map to one name meet in one task, which reports it and fails too.
TEST_F(SlurmRecipe, ATaskWithABrokenFileOrACollisionFails) {
  WriteFile(dir / "pics/2021/a-broken.jpg", "not a JPEG at all");
  WritePicture(dir / "pics/2020/other/c.png", 4, 4);  // c.tif and c.png both give c.jpg
  ListEveryFile();
  int failedTasks = 0;
  std::string reports;
  for (int k = 0; k < kTasks; ++k) {
    const RunResult r = Task(k);
    reports += r.out;
    if (r.exitCode != 0) ++failedTasks;
    const bool broken = r.out.find("a-broken.jpg") != std::string::npos;
    const bool collision = r.out.find(" already exists") != std::string::npos;
    EXPECT_EQ(r.exitCode != 0, broken || collision) << "task " << k << "\n" << r.out;
  }
  EXPECT_GE(failedTasks, 1);
  EXPECT_NE(reports.find("Reason: Failed to load image 2021/a-broken.jpg"), std::string::npos)
      << reports;
  EXPECT_NE(reports.find("/2020/other/c.jpg already exists"), std::string::npos) << reports;
}

}  // namespace
