#include "cmdline/ConsoleSequence.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <iostream>

#include "cmdline/OptionHelp.h"
#include "cmdline/ProgramVersion.h"
#include "cmdline/RunCommandLine.h"
#include "platform/process/ConsoleRendezvous.h"
#include "platform/process/Process.h"
#include "platform/TempFileCleanup.h"

namespace {

bool commandLineMode = false;
bool boundToLauncher = false;  // the standard streams are the launcher's FIFOs

// The longest the end of a run waits for the launcher to read what is still in its FIFOs.
constexpr std::chrono::milliseconds kDrainPause{100};

// Bytes written to the descriptor's pipe that its reader has not taken yet.
int UnreadBytes(int fd) {
  int unread = 0;
  return ioctl(fd, FIONREAD, &unread) == 0 ? unread : 0;
}

// A launcher reads its FIFOs to their end even after this process is gone, so nothing
// is lost by ending at once; the pause is spent only while the launcher is still
// connected and has bytes left to read, and ends as soon as it has read them.
void LetLauncherDrain() {
  if (!boundToLauncher) return;
  const auto deadline = std::chrono::steady_clock::now() + kDrainPause;
  while ((UnreadBytes(1) > 0 || UnreadBytes(2) > 0) && std::chrono::steady_clock::now() < deadline)
    SleepMilliseconds(1);
}

// A closed standard descriptor is bound to /dev/null first, so that no descriptor opened
// later takes its number by accident.
void FillClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) continue;
    const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      close(null);
    }
  }
}

// Opens one rendezvous FIFO and puts it in place of `target`; false when it is absent.
bool BindPipe(const std::string& folder, const char* kind, int flags, int target) {
  const int fd = OpenOwnFifo(RendezvousPipeName(folder, CurrentProcessId(), kind), flags);
  if (fd < 0) return false;
  const bool bound = dup2(fd, target) == target;
  close(fd);
  return bound;
}

bool BindAllPipes() {
  const std::string folder = RendezvousFolder();
  if (!RendezvousFolderUsable(folder)) return false;
  return BindPipe(folder, "cout", O_WRONLY, 1) && BindPipe(folder, "cin", O_RDONLY, 0) &&
         BindPipe(folder, "cerr", O_WRONLY, 2);
}

void WriteText(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

bool HasToken(const std::vector<std::string>& tokens, std::string_view wanted) {
  for (const std::string& token : tokens)
    if (token == wanted) return true;
  return false;
}

// The text --help or --version asks for, or empty when the tokens are a conversion.
std::string InformationalText(const std::vector<std::string>& tokens,
                              std::string_view toolkitVersion) {
  if (HasToken(tokens, "--help")) return UsageText();
  if (HasToken(tokens, "--version")) return VersionText(toolkitVersion);
  return {};
}

}  // namespace

bool CommandLineMode() { return commandLineMode; }

bool ConnectConsolePipes() {
  std::fflush(nullptr);
  FillClosedStandardDescriptors();
  int saved[3];
  for (int fd = 0; fd <= 2; ++fd) saved[fd] = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  bool bound = BindAllPipes();
  boundToLauncher = bound;
  if (!bound) {
    // The fallback is the streams the process already has: a terminal, a pipe, a file.
    bound = true;
    for (int fd = 0; fd <= 2; ++fd)
      if (saved[fd] < 0 || dup2(saved[fd], fd) != fd) bound = false;
  }
  for (int fd : saved)
    if (fd >= 0) close(fd);
  std::ios::sync_with_stdio(true);
  return bound;
}

void RunConsoleSequence(const std::vector<std::string>& tokens, std::string_view toolkitVersion) {
  commandLineMode = true;
  IgnoreBrokenPipe();
  RemoveTempFileOnSignal();
  ConnectConsolePipes();
  // --help and --version answer alone, without the banner, so scripts can read them.
  if (const std::string info = InformationalText(tokens, toolkitVersion); !info.empty()) {
    WriteText(info.c_str());
    ExitNow(0);
  }
  WriteText("Brindlemark ");
  WriteText("2.9");
  WriteText(" Command Line Processor\n");
  WriteText("Copyright (C) Orrinvale. All rights reserved.\n");
  WriteText("\n");
  const HRESULT result = RunCommandLine(tokens);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  std::cout.flush();
  std::fflush(stderr);
  std::cerr.flush();
  LetLauncherDrain();
  ExitNow(result < 0 ? 1 : 0);
}
