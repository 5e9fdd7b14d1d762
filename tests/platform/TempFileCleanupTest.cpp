#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TempFileCleanup.h"
#include "support/TestFiles.h"

namespace {

// Runs `body` in a child that then receives SIGTERM; returns the signal that ended it.
template <typename Body>
int TerminatedChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(10);
    RemoveTempFileOnSignal();
    body();
    raise(SIGTERM);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

TEST(TempFileCleanup, SignalRemovesTheNotedFileAndStillEndsTheProcess) {
  TempDir dir;
  WriteFile(dir / "noted.tmp", "half");
  WriteFile(dir / "forgotten.tmp", "whole");
  EXPECT_EQ(TerminatedChild([&] { NoteTempFile(dir / "noted.tmp"); }), SIGTERM);
  EXPECT_FALSE(FileExists(dir / "noted.tmp"));
  EXPECT_EQ(TerminatedChild([&] {
              NoteTempFile(dir / "forgotten.tmp");
              ForgetTempFile();
            }),
            SIGTERM);
  EXPECT_EQ(ReadFile(dir / "forgotten.tmp"), "whole");
}

}  // namespace
