#include "cmdline/ConsoleSequence.h"

#include <unistd.h>

#include <cstdio>

#include "cmdline/RunCommandLine.h"

bool ConnectConsolePipes() { return true; }  // the rendezvous comes with the launcher

void RunConsoleSequence(const std::vector<std::string>& tokens) {
  ConnectConsolePipes();
  const HRESULT result = RunCommandLine(tokens);
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(result < 0 ? 1 : 0);
}
