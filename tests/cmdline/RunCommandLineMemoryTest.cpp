// A long run keeps one working picture: its peak memory must not grow with the number
// of items (only the small item records do).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

// Peak resident set of one run of Brindlemark.exe on a folder, in KiB; -1 on failure.
long PeakKiB(const std::string& source, const std::string& dest) {
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(60);  // kept across exec: the run cannot hang the suite
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    const std::string program = BinPath("Brindlemark.exe");
    const std::string from = "-source:" + source, to = "-dest:" + dest;
    execl(program.c_str(), program.c_str(), from.c_str(), to.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_maxrss;
}

TEST(RunCommandLineMemory, PeakDoesNotGrowPerItem) {
  TempDir dir;
  std::filesystem::create_directories(dir / "few");
  std::filesystem::create_directories(dir / "many");
  for (int i = 0; i < 600; ++i) {
    const std::string name = std::to_string(i) + ".png";
    const std::string many = dir.path() + "/many/" + name;
    WritePicture(many, 40, 30);
    if (i < 20) std::filesystem::copy_file(many, dir.path() + "/few/" + name);
  }
  const long few = PeakKiB(dir / "few", dir / "out-few");
  const long many = PeakKiB(dir / "many", dir / "out-many");
  ASSERT_GT(few, 0);
  ASSERT_GT(many, 0);
  // A leaked 150 x 100 picture per item would add about 35 MB over 580 items.
  EXPECT_LT(many - few, 4 * 1024) << "few: " << few << " KiB, many: " << many << " KiB";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out-many"), {}), 600);
}

}  // namespace
