// Running a built program from a test: no shell, standard input from /dev/null, its output
// and error captured, killed after a time limit, optionally signalled when its output shows
// a given text.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct RunOptions {
  std::vector<std::pair<std::string, std::string>> environment;  // set in the child
  int timeoutMs = 240000;                                        // the program is killed after this
  int readDelayMs = 0;  // nothing is read before this has passed
  // When the output first contains this text, `signalNumber` is sent to the program.
  std::string signalAfter;
  int signalNumber = 0;
};

struct RunResult {
  int exitCode = -1;  // 128 + signal number when killed by a signal
  bool timedOut = false;
  double seconds = 0;
  std::string out;
  std::string err;
};

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options = {});

// The path of a built executable, e.g. BinPath("Brindlemark.exe").
std::string BinPath(const std::string& name);
