#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

int WaitFor(pid_t pid, int options) {
  int status = 0;
  while (waitpid(pid, &status, options) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

// Runs in the forked child: only async-signal-safe calls until exec. A console child is
// bound to the launcher's life: when the launcher dies (even by SIGKILL) the child gets
// SIGTERM, which ends a run after its current pages and removes its temporary files. The
// setting survives exec; a launcher gone before it was made is caught by the parent check.
[[noreturn]] void ExecChild(const char* path, char* const* argv, int statusFd, bool stopped,
                            pid_t launcher) {
  signal(SIGPIPE, SIG_DFL);  // the launcher ignores it; the child must not inherit that
  if (stopped) {
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != launcher) _exit(127);
    raise(SIGSTOP);
  } else {
    setsid();
  }
  execv(path, argv);
  const int error = errno;
  (void)!write(statusFd, &error, sizeof error);
  _exit(127);
}

}  // namespace

bool ChildProcess::Fork(const std::string& path, const std::vector<std::string>& arguments,
                        bool stopped) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int statusPipe[2];
  if (pipe2(statusPipe, O_CLOEXEC) != 0) return false;
  const pid_t launcher = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    close(statusPipe[0]);
    ExecChild(path.c_str(), argv.data(), statusPipe[1], stopped, launcher);
  }
  close(statusPipe[1]);
  if (pid_ < 0) {
    close(statusPipe[0]);
    return false;
  }
  execStatusFd_ = statusPipe[0];
  return true;
}

bool ChildProcess::ExecSucceeded() {
  int error = 0;
  ssize_t n;
  do {
    n = read(execStatusFd_, &error, sizeof error);
  } while (n < 0 && errno == EINTR);
  close(execStatusFd_);
  execStatusFd_ = -1;
  return n == 0;
}

bool ChildProcess::StartStopped(const std::string& path,
                                const std::vector<std::string>& arguments) {
  if (!Fork(path, arguments, true)) return false;
  const int status = WaitFor(pid_, WUNTRACED);
  if (status >= 0 && WIFSTOPPED(status)) return true;
  if (status >= 0) pid_ = -1;  // it ended before its stop and is reaped already
  Kill();
  return false;
}

bool ChildProcess::Continue() {
  if (pid_ <= 0) return false;  // kill(-1, ...) would signal every process of the user
  kill(pid_, SIGCONT);
  if (ExecSucceeded()) return true;
  WaitFor(pid_, 0);
  pid_ = -1;
  return false;
}

bool ChildProcess::StartDetached(const std::string& path,
                                 const std::vector<std::string>& arguments) {
  if (!Fork(path, arguments, false)) return false;
  if (ExecSucceeded()) return true;
  WaitFor(pid_, 0);
  pid_ = -1;
  return false;
}

void ChildProcess::Kill() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    WaitFor(pid_, 0);
  }
  if (execStatusFd_ >= 0) close(execStatusFd_);
  execStatusFd_ = -1;
  pid_ = -1;
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return 1;  // no child: waitpid(-1, ...) would reap any child at all
  const int status = WaitFor(pid_, 0);
  pid_ = -1;
  return status < 0 ? 1 : ExitCodeOf(status);
}

namespace {

volatile sig_atomic_t forwardTo = 0;

void Forward(int signalNumber) {
  if (forwardTo > 0) kill(static_cast<pid_t>(forwardTo), signalNumber);
}

}  // namespace

void ForwardTerminationSignals(pid_t child) {
  forwardTo = child;
  struct sigaction action {};
  action.sa_handler = Forward;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction previous {};
    sigaction(signalNumber, nullptr, &previous);
    // A signal the launcher was started with ignored stays ignored.
    if (previous.sa_handler != SIG_IGN) sigaction(signalNumber, &action, nullptr);
  }
}
