// The README's Slurm script, taken from the README itself and run without Slurm: every task
// of the array over one file list, as the array would run them; and the README's GNU
// parallel command over that script, on this machine instead of others.
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

// The README's GNU parallel command with two job slots on this machine for its machines and
// `shared` for its shared folder; empty when the README no longer has it as written here.
std::string ParallelCommand(const std::string& shared) {
  const std::string readme = ReadFile(std::string(BM_SOURCE_DIR) + "/README.md");
  const auto begin = readme.find("seq 0 99 | parallel ");
  const std::string machines = "--sshlogin 1/node1,1/node2,1/node3";
  if (begin == std::string::npos) return {};
  std::string command = readme.substr(begin, readme.find("```", begin) - begin);
  const auto at = command.find(machines);
  if (at == std::string::npos) return {};
  command.replace(at, machines.size(), "--sshlogin 2/:");
  for (auto slash = command.find("/shared/"); slash != std::string::npos;
       slash = command.find("/shared/", slash + shared.size()))
    command.replace(slash, 7, shared);
  return command;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
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
    const std::string script = ShardScript();
    ASSERT_FALSE(script.empty()) << "the README lost its convert-shard.sh markers";
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

  // The script's settings for this test's folders.
  RunOptions ScriptEnvironment() {
    RunOptions options;
    options.environment = {{"PICTURES", dir / "pics"},
                           {"LIST", dir / "lists/pictures.txt"},
                           {"DEST", dir / "thumbs"},
                           {"BRINDLEMARK", BinPath("Brindlemark.exe")}};
    return options;
  }

  // Runs task `k` of the array over the list of every file below pics.
  RunResult Task(int k) {
    RunOptions options = ScriptEnvironment();
    options.environment.push_back({"SLURM_ARRAY_TASK_ID", std::to_string(k)});
    options.environment.push_back({"TASKS", std::to_string(kTasks)});
    return RunProgram("/bin/bash", {dir / "convert-shard.sh"}, options);
  }

  // The files a single run over pics gives, with the script's options.
  std::map<std::string, std::string> OneRun() {
    const RunResult one = RunProgram(BinPath("Brindlemark.exe"),
                                     {"-source:" + dir / "pics", "-dest:" + dir / "one", "-samedir",
                                      "-mode:m", "-width:1024", "-height:768"});
    EXPECT_EQ(one.exitCode, 0) << one.out;
    return Tree(dir / "one");
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
  const auto expected = OneRun();
  EXPECT_EQ(expected.size(), 6u);
  EXPECT_EQ(Tree(dir / "thumbs"), expected);

  // The array run again (a resumed job) converts only the missing file and succeeds.
  fs::remove(dir / "thumbs/2021/d.jpg");
  std::string again;
  for (int k = 0; k < kTasks; ++k) {
    const RunResult r = Task(k);
    EXPECT_EQ(r.exitCode, 0) << "task " << k << "\n" << r.out << r.err;
    again += r.out;
  }
  EXPECT_EQ(Tree(dir / "thumbs"), expected);
  EXPECT_EQ(Count(again, "SKIPPED: "), 5u) << again;
  EXPECT_NE(again.find("SUCCESS: converted file 2021/d.png to "), std::string::npos) << again;
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

// The README's GNU parallel command: parallel's status counts the task with a broken
// picture; once the picture is mended, the same command with --resume-failed runs that task
// alone, and the tasks together have given the files of one run.
TEST_F(SlurmRecipe, GnuParallelCountsTheFailedTaskAndResumesOnlyIt) {
  WriteFile(dir / "pics/2021/a-broken.jpg", "not a JPEG at all");
  ListEveryFile();
  fs::create_directories(dir / "shared/lists");
  fs::copy_file(dir / "convert-shard.sh", dir / "shared/convert-shard.sh");
  fs::permissions(dir / "shared/convert-shard.sh", fs::perms::owner_exec, fs::perm_options::add);
  const std::string command = ParallelCommand(dir / "shared");
  ASSERT_FALSE(command.empty()) << "the README's parallel command changed";

  const RunResult first = RunProgram("/bin/sh", {"-c", command}, ScriptEnvironment());
  EXPECT_EQ(first.exitCode, 1) << first.out << first.err;
  EXPECT_EQ(Count(first.out, "SUCCESS: "), 6u) << first.out;
  EXPECT_NE(first.out.find("Reason: Failed to load image 2021/a-broken.jpg"), std::string::npos)
      << first.out;

  fs::remove(dir / "pics/2021/a-broken.jpg");
  const RunResult made =
      RunProgram("/usr/bin/convert", {"-size", "7x5", "xc:orange", dir / "pics/2021/a-broken.jpg"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  std::string resume = command;
  resume.insert(resume.find("parallel ") + 9, "--resume-failed ");
  const RunResult again = RunProgram("/bin/sh", {"-c", resume}, ScriptEnvironment());
  EXPECT_EQ(again.exitCode, 0) << again.out << again.err;
  // Only the folder 2021 ran again: its two other pictures are skipped.
  EXPECT_EQ(Count(again.out, "SUCCESS: converted file 2021/a-broken.jpg to "), 1u) << again.out;
  EXPECT_EQ(Count(again.out, "SUCCESS: "), 1u) << again.out;
  EXPECT_EQ(Count(again.out, "SKIPPED: 2021/"), 2u) << again.out;
  EXPECT_EQ(Count(again.out, "SKIPPED: "), 2u) << again.out;
  const auto expected = OneRun();
  EXPECT_EQ(expected.size(), 7u);
  EXPECT_EQ(Tree(dir / "thumbs"), expected);
}

}  // namespace
