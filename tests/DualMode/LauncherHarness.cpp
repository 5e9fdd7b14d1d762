#include "LauncherHarness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

TempDir::TempDir() {
  std::string pattern = "/tmp/bm-dualmode-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

namespace {

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

[[noreturn]] void ExecChild(const std::string& program, const std::vector<std::string>& args,
                            const RunOptions& options, int out, int err) {
  dup2(out, 1);
  dup2(err, 2);
  const int devNull = open("/dev/null", O_RDONLY);
  dup2(devNull, 0);
  for (const auto& [name, value] : options.environment) setenv(name.c_str(), value.c_str(), 1);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Reads both pipes until both are closed or the time is up.
void Drain(pid_t pid, int outFd, int errFd, const RunOptions& options, Clock::time_point start,
           RunResult& r) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&r.out, &r.err};
  bool signalled = options.signalAfter.empty();
  char buffer[65536];
  for (int open = 2; open > 0;) {
    const int left = options.timeoutMs - MillisecondsSince(start);
    if (left <= 0) {
      r.timedOut = true;
      kill(pid, SIGKILL);
      return;
    }
    if (poll(fds, 2, left) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
    if (!signalled && r.out.find(options.signalAfter) != std::string::npos) {
      kill(pid, options.signalNumber);
      signalled = true;
    }
  }
}

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options) {
  RunResult result;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return result;
  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) ExecChild(program, args, options, out[1], err[1]);
  close(out[1]);
  close(err[1]);
  if (options.readDelayMs > 0) usleep(static_cast<useconds_t>(options.readDelayMs) * 1000);
  Drain(pid, out[0], err[0], options, start, result);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.seconds = MillisecondsSince(start) / 1000.0;
  return result;
}

std::string BinPath(const std::string& name) { return std::string(BM_BIN_DIR) + "/" + name; }

void CopyExecutable(const std::string& from, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::perms::owner_all);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  return names;
}

bool ProcessRunsFrom(const std::string& path) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    std::error_code linkError;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", linkError);
    if (!linkError && exe == path) return true;
  }
  return false;
}

std::string InstallLauncherWithFakeChild(const TempDir& dir) {
  CopyExecutable(BinPath("Brindlemark.com"), dir / "Brindlemark.com");
  CopyExecutable(BM_FAKE_CHILD, dir / "Brindlemark.exe");
  mkdir((dir / "run").c_str(), 0700);
  return dir / "Brindlemark.com";
}

RunOptions FakeOptions(const TempDir& dir, const std::string& mode) {
  RunOptions options;
  options.environment = {{"XDG_RUNTIME_DIR", dir / "run"}, {"BM_FAKE_MODE", mode}};
  return options;
}
