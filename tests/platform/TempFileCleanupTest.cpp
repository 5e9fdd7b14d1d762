#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TempFileCleanup.h"
#include "support/Sanitizers.h"
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

// Other signals that end the process, and faults, remove the noted files too and end it as
// they would have.
TEST(TempFileCleanup, FatalSignalsAndFaultsRemoveTheNotedFile) {
  for (const int signal : {SIGQUIT, SIGUSR1, SIGXCPU, SIGABRT, SIGSEGV, SIGBUS}) {
    SCOPED_TRACE(signal);
    // The sanitizer keeps its own fault handlers, which the program then leaves in place.
    if ((signal == SIGSEGV || signal == SIGBUS) && kUnderAddressSanitizer) continue;
    TempDir dir;
    WriteFile(dir / "noted.tmp", "half");
    const pid_t pid = fork();
    if (pid == 0) {
      alarm(10);
      RemoveTempFilesOnFatalSignals();
      ForgetTempFileNote(NoteTempFileNote(dir / "other.tmp"));
      NoteTempFileNote(dir / "noted.tmp");
      if (signal == SIGSEGV) {  // a real fault, not a raised signal
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;
      }
      raise(signal);
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_FALSE(FileExists(dir / "noted.tmp"));
  }
}

}  // namespace
