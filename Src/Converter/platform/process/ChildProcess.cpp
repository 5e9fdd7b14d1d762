#include "platform/process/ChildProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// Moves `fd` to `target` in the child, clearing close-on-exec on it. Only async-signal-safe
// calls: the parent may have other threads.
bool PlaceAt(int fd, int target) {
  if (fd == target) return fcntl(fd, F_SETFD, 0) == 0;
  return dup2(fd, target) == target;
}

[[noreturn]] void RunChild(int requestRead, int replyWrite, const char* path, char** argv) {
  // Out of the way of 0..4 first, so placing one pipe never overwrites the other.
  const int request = fcntl(requestRead, F_DUPFD_CLOEXEC, 10);
  const int reply = fcntl(replyWrite, F_DUPFD_CLOEXEC, 10);
  const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (request < 0 || reply < 0 || null < 0 || !PlaceAt(null, 0) || dup2(2, 1) != 1 ||
      !PlaceAt(request, kChildRequestFd) || !PlaceAt(reply, kChildReplyFd))
    _exit(127);
  // Handlers do not survive exec; a blocked mask would, so the child starts with none.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execv(path, argv);
  _exit(127);
}

}  // namespace

HRESULT StartSelf(const std::vector<std::string>& arguments, ChildProcess& child) {
  child = {};
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return E_FAIL;
  self[length] = '\0';
  // Everything the child needs is built before the fork.
  std::vector<std::string> words = {self};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int requests[2], replies[2];
  if (pipe2(requests, O_CLOEXEC) != 0) return E_FAIL;
  if (pipe2(replies, O_CLOEXEC) != 0) {
    close(requests[0]);
    close(requests[1]);
    return E_FAIL;
  }
  const pid_t pid = fork();
  if (pid == 0) RunChild(requests[0], replies[1], self, argv.data());
  close(requests[0]);
  close(replies[1]);
  if (pid < 0) {
    close(requests[1]);
    close(replies[0]);
    return E_FAIL;
  }
  child = {pid, requests[1], replies[0]};
  return S_OK;
}

void KillChild(const ChildProcess& child) {
  if (child.pid > 0) kill(child.pid, SIGKILL);
}

ChildEnd ReapChild(ChildProcess& child) {
  if (child.requestFd >= 0) close(child.requestFd);
  if (child.replyFd >= 0) close(child.replyFd);
  ChildEnd end;
  if (child.pid <= 0) {
    child = {};
    return end;
  }
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(child.pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited == child.pid) {
    end.exited = WIFEXITED(status);
    end.code = end.exited ? WEXITSTATUS(status) : 0;
    end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }
  child = {};
  return end;
}
