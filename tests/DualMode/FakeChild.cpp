// A stand-in for Brindlemark.exe in the launcher's tests. It binds its standard streams
// to the rendezvous FIFOs exactly as the real program does, then behaves as the variable
// BM_FAKE_MODE says: echo its arguments, write much output, end by a signal, never
// connect, close its streams early; started detached (as a window) it notes its start and
// its arguments.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Folder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/brindlemark";
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/brindlemark-" +
         std::to_string(geteuid());
}

bool OpenOnto(const std::string& path, int flags, int target) {
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool ours = fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode) && st.st_uid == geteuid();
  if (ours) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool bound = ours && dup2(fd, target) == target;
  close(fd);
  return bound;
}

bool Connect() {
  const int saved[3] = {dup(0), dup(1), dup(2)};
  const std::string stem = Folder() + "/" + std::to_string(getpid());
  const bool all = OpenOnto(stem + "cout", O_WRONLY, 1) && OpenOnto(stem + "cin", O_RDONLY, 0) &&
                   OpenOnto(stem + "cerr", O_WRONLY, 2);
  for (int fd = 0; fd < 3; ++fd) {
    if (!all) dup2(saved[fd], fd);
    close(saved[fd]);
  }
  return all;
}

bool IsFifo(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode);
}

void Say(int fd, const std::string& text) { (void)!write(fd, text.data(), text.size()); }

int ExitCode() {
  const char* code = std::getenv("BM_FAKE_EXIT");
  return code ? std::atoi(code) : 0;
}

// Numbered lines, so that a lost, doubled or reordered chunk shows.
void WriteLines(int fd, const char* tag, int count) {
  for (int i = 0; i < count; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%s line %06d of the fake child's report\n", tag, i);
    Say(fd, line);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = std::getenv("BM_FAKE_MODE") ? std::getenv("BM_FAKE_MODE") : "echo";
  // Started as a window (detached: it leads a session of its own): record the start and the
  // arguments, and keep running a while.
  if (getsid(0) == getpid()) {
    for (int fd = 0; fd < 3; ++fd) close(fd);  // so the test's reader sees the launcher end
    std::string note = "window\n";
    for (int i = 1; i < argc; ++i) note += std::string(argv[i]) + "\n";
    const int fd = open(std::getenv("BM_FAKE_MARKER"), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    Say(fd, note);
    close(fd);
    sleep(1);
    return 0;
  }
  if (mode == "noconnect") {
    usleep(300 * 1000);
    return ExitCode();
  }
  const bool connected = Connect();
  Say(1, std::string("connected ") + (connected ? "1" : "0") + " fifo " +
             std::to_string(IsFifo(0)) + std::to_string(IsFifo(1)) + std::to_string(IsFifo(2)) +
             "\n");
  if (mode == "echo") {
    for (int i = 1; i < argc; ++i) Say(1, std::string("<") + argv[i] + ">\n");
    Say(2, "to standard error\n");
  } else if (mode == "big") {
    const char* lines = std::getenv("BM_FAKE_LINES");
    WriteLines(1, "out", lines ? std::atoi(lines) : 4000);
    WriteLines(2, "err", 1500);
  } else if (mode == "nul") {
    Say(1, std::string("a\0b\n", 4));
  } else if (mode == "kill") {
    raise(SIGKILL);
  } else if (mode == "closeearly") {
    for (int fd = 0; fd < 3; ++fd) close(fd);
    usleep(300 * 1000);
  } else if (mode == "sleep") {
    sleep(10);
  }
  return ExitCode();
}
