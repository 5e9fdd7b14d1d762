// Plays the launcher's side of the console rendezvous (fork, stop, FIFOs, continue,
// read) against ConnectConsolePipes in a child, and against the real Brindlemark.exe.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

#include "cmdline/ConsoleSequence.h"
#include "platform/process/ConsoleRendezvous.h"
#include "support/TestFiles.h"

namespace {

struct LauncherSetup {
  bool cout = true, cin = true, cerr = true;  // which FIFOs the launcher makes
  bool openReaders = true;                    // false: stale FIFOs nobody reads
  mode_t folderMode = 0700;
  bool coutIsRegularFile = false;
  bool cerrForeignOwner = false;
  int pidOffset = 0;              // nonzero: the FIFOs carry another process's id
  const char* program = nullptr;  // exec this instead of calling ConnectConsolePipes
  std::vector<std::string> args;
};

struct Outcome {
  int exitCode = -1;
  std::string fifoOut, fifoErr;  // what reached the launcher
  std::string ownOut, ownErr;    // what reached the streams the child already had
};

std::string DrainFd(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

// The child's side without exec: bind, write through every layer, report by exit code
// (bit 0: bound, bit 1: standard input is a FIFO).
[[noreturn]] void ChildBody() {
  const bool bound = ConnectConsolePipes();
  struct stat in;
  const bool stdinFifo = fstat(0, &in) == 0 && S_ISFIFO(in.st_mode);
  std::fputs("stdio out\n", stdout);
  std::fflush(stdout);
  std::cout << "stream out" << std::endl;
  std::fputs("stdio err\n", stderr);
  _exit(0x40 | (bound ? 1 : 0) | (stdinFifo ? 2 : 0));
}

Outcome PlayLauncher(const LauncherSetup& setup) {
  TempDir runtime;
  const std::string folder = runtime / "brindlemark";
  mkdir(folder.c_str(), setup.folderMode);
  chmod(folder.c_str(), setup.folderMode);
  const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = oldRuntime ? oldRuntime : "";
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);

  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) std::abort();
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(20);
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(err[0]);
    raise(SIGSTOP);
    if (!setup.program) ChildBody();
    std::vector<char*> argv{const_cast<char*>(setup.program)};
    for (const auto& a : setup.args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(setup.program, argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  int status = 0;
  waitpid(pid, &status, WUNTRACED);

  auto name = [&](const char* kind) {
    return RendezvousPipeName(folder, pid + setup.pidOffset, kind);
  };
  if (setup.coutIsRegularFile) {
    WriteFile(name("cout"), "");
    chmod(name("cout").c_str(), 0600);
  } else if (setup.cout) {
    mkfifo(name("cout").c_str(), 0600);
  }
  if (setup.cin) mkfifo(name("cin").c_str(), 0600);
  if (setup.cerr) mkfifo(name("cerr").c_str(), 0600);
  if (setup.cerrForeignOwner) chown(name("cerr").c_str(), 65534, 65534);
  int coutFd = -1, cinFd = -1, cerrFd = -1;
  if (setup.openReaders) {
    coutFd = open(name("cout").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    cinFd = open(name("cin").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    cerrFd = open(name("cerr").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  kill(pid, SIGCONT);

  Outcome outcome;
  // The outputs are small: they wait in the FIFO and pipe buffers until the child ends.
  waitpid(pid, &status, 0);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (coutFd >= 0) outcome.fifoOut = DrainFd(coutFd);
  if (cerrFd >= 0) outcome.fifoErr = DrainFd(cerrFd);
  outcome.ownOut = DrainFd(out[0]);
  outcome.ownErr = DrainFd(err[0]);
  for (int fd : {coutFd, cinFd, cerrFd, out[0], err[0]})
    if (fd >= 0) close(fd);
  if (setup.coutIsRegularFile) {
    EXPECT_EQ(ReadFile(name("cout")), "");
  }
  if (oldRuntime) {
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
  return outcome;
}

constexpr const char* kWritten = "stdio out\nstream out\n";

TEST(ConsoleSequence, AllThreeFifosCarryTheStreams) {
  const Outcome o = PlayLauncher({});
  EXPECT_EQ(o.exitCode, 0x43);
  EXPECT_EQ(o.fifoOut, kWritten);
  EXPECT_EQ(o.fifoErr, "stdio err\n");
  EXPECT_EQ(o.ownOut, "");
  EXPECT_EQ(o.ownErr, "");
}

TEST(ConsoleSequence, AnyMissingOrUntrustedFifoKeepsTheOwnStreams) {
  struct Case {
    const char* what;
    std::function<void(LauncherSetup&)> change;
  };
  std::vector<Case> cases = {
      {"no fifos", [](LauncherSetup& s) { s.cout = s.cin = s.cerr = false; }},
      {"cout only", [](LauncherSetup& s) { s.cin = s.cerr = false; }},
      {"no cerr", [](LauncherSetup& s) { s.cerr = false; }},
      {"no cin", [](LauncherSetup& s) { s.cin = false; }},
      {"stale fifos without a reader", [](LauncherSetup& s) { s.openReaders = false; }},
      {"cout is a regular file", [](LauncherSetup& s) { s.coutIsRegularFile = true; }},
      {"folder open to others", [](LauncherSetup& s) { s.folderMode = 0755; }},
      {"fifos of another process", [](LauncherSetup& s) { s.pidOffset = 1; }},
  };
  if (geteuid() == 0)
    cases.push_back(
        {"cerr owned by another user", [](LauncherSetup& s) { s.cerrForeignOwner = true; }});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherSetup setup;
    c.change(setup);
    const Outcome o = PlayLauncher(setup);
    EXPECT_EQ(o.exitCode, 0x41);  // bound to its own streams; stdin is not a FIFO
    EXPECT_EQ(o.ownOut, kWritten);
    EXPECT_EQ(o.ownErr, "stdio err\n");
    EXPECT_EQ(o.fifoOut, "");
    EXPECT_EQ(o.fifoErr, "");
  }
}

const std::string kBanner =
    "Brindlemark 2.9 Command Line Processor\nCopyright (C) Orrinvale. All rights reserved.\n\n";

TEST(ConsoleSequence, RealProgramReportsThroughTheLauncher) {
  TempDir out;
  const std::string program = BinPath("Brindlemark.exe");
  LauncherSetup setup;
  setup.program = program.c_str();
  setup.args = {"-dest:" + out / "x"};
  Outcome o = PlayLauncher(setup);
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.fifoOut, kBanner + "0 images were successfully converted. 0 images failed.\n\n");
  EXPECT_EQ(o.ownOut, "");

  setup.args = {"-bogus:1"};
  o = PlayLauncher(setup);
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.fifoOut, kBanner + "ERROR: Wrong command line argument -bogus:1\n\n");
}

// A reader that has gone away makes writes fail, not kill the program: the run still
// ends with its own exit code.
TEST(ConsoleSequence, ClosedReaderDoesNotKillTheRun) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(20);
    close(out[0]);
    dup2(out[1], 1);
    signal(SIGPIPE, SIG_DFL);
    const std::string program = BinPath("Brindlemark.exe");
    execl(program.c_str(), program.c_str(), "-bogus:1", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
