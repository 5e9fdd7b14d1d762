// Helpers for the launcher's tests: a private folder, copies of the executables, and
// running a program under a time limit with its output, error and exit code captured.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

// A fresh folder (mode 0700) under /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct RunOptions {
  std::vector<std::pair<std::string, std::string>> environment;  // set in the child
  int timeoutMs = 20000;  // the program is killed after this
  int readDelayMs = 0;    // nothing is read before this has passed
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

std::string BinPath(const std::string& name);
void CopyExecutable(const std::string& from, const std::string& to);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The names in a folder; empty when it does not exist.
std::vector<std::string> FolderEntries(const std::string& folder);
// True when some process (running or stopped) was started from the executable at `path`.
bool ProcessRunsFrom(const std::string& path);
// The Brindlemark.com copied beside a fake child (as Brindlemark.exe) into `dir`, and
// options pointing the rendezvous at "<dir>/run" with BM_FAKE_MODE set to `mode`.
std::string InstallLauncherWithFakeChild(const TempDir& dir);
RunOptions FakeOptions(const TempDir& dir, const std::string& mode);
