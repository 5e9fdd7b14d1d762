#include "support/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

using Clock = std::chrono::steady_clock;

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
