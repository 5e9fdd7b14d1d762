// The child's path, the rule that tells a command-line start from a window start, and
// the child's handling when there is no child.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "ChildCommand.h"
#include "ChildProcess.h"
#include "platform/PathArguments.h"
#include "support/TestFolder.h"

namespace {

// The launcher's copy of the program's "Open With" rule gives the program's answers: files
// and folders (absolute, relative, through a link) open the window; anything else, or one
// such argument among them, is a command line.
TEST(OpenWithRule, TheLauncherAndTheProgramAgree) {
  TempDir dir;
  WriteFile(dir / "a.jpg", "a picture");
  std::filesystem::create_directories(dir / "album");
  mkfifo((dir / "pipe.jpg").c_str(), 0600);
  std::filesystem::create_symlink(dir / "a.jpg", dir / "link.jpg");
  std::filesystem::create_symlink(dir / "gone.jpg", dir / "dangling.jpg");
  const std::string relative = std::filesystem::relative(dir / "a.jpg").string();
  const struct {
    std::vector<std::string> args;
    bool paths;
  } cases[] = {
      {{dir / "a.jpg"}, true},
      {{dir / "a.jpg", dir / "album", relative}, true},
      {{dir / "link.jpg"}, true},
      {{}, false},
      {{""}, false},
      {{dir / "dangling.jpg"}, false},
      {{dir / "pipe.jpg"}, false},
      {{dir / "a.jpg", "/width:100"}, false},
      {{"-source:" + (dir / "album")}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
    EXPECT_EQ(NamesOnlyFilesAndFolders(c.args), c.paths);
    EXPECT_EQ(NamesExistingPaths(c.args), c.paths);
  }
}

TEST(ChildPath, ReplacesTheExtensionOfTheLastComponentOnly) {
  const struct {
    const char* launcher;
    const char* child;
  } cases[] = {
      {"/opt/bm/Brindlemark.com", "/opt/bm/Brindlemark.exe"},
      {"/opt/app.d/brindlemark", "/opt/app.d/brindlemark.exe"},  // the folder's dot stays
      {"/opt/a/b.c.com", "/opt/a/b.c.exe"},
      {"/opt/a\\b.d/x\\y.com", "/opt/a\\b.d/x\\y.exe"},  // a backslash is a name character
      {"Brindlemark.com", "Brindlemark.exe"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChildPathFor(c.launcher), c.child) << c.launcher;
  const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(250, 'n');
  EXPECT_EQ(ChildPathFor(deep + ".com"), deep + ".exe");
}

TEST(ChildPath, OwnPathIsThisExecutable) {
  const std::string own = OwnPath();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(own.substr(own.rfind('/') + 1), "bm_dualmode_tests");
}

// The same vectors that make Brindlemark.exe open its window (arguments of blanks and
// quotes only) make the launcher start the window; every other one is a command line.
TEST(HoldsOptions, FollowsTheProgramsRule) {
  const struct {
    std::vector<std::string> arguments;
    bool options;
  } cases[] = {
      {{}, false},
      {{""}, false},
      {{" ", "\t", "\"\"", "\" \""}, false},
      {{"\n"}, true},  // not a blank to the program: refused there as a wrong argument
      {{"", "/width:5"}, true},
      {{"-override -samedir"}, true},
      {{"x"}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(HoldsOptions(c.arguments), c.options) << c.arguments.size();
}

// Without a child there is nothing to continue or wait for: no signal to pid -1 (every
// process of the user), no reaping of some other child of the caller.
TEST(ChildProcess, WithoutAChildContinueAndWaitTouchNoOtherProcess) {
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) _exit(3);
  usleep(50 * 1000);  // it has ended and waits to be reaped
  ChildProcess none;
  EXPECT_FALSE(none.Continue());
  EXPECT_EQ(none.Wait(), 1);
  int status = 0;
  ASSERT_EQ(waitpid(other, &status, 0), other);  // still ours to reap
  EXPECT_EQ(WEXITSTATUS(status), 3);
}

}  // namespace
