// THE CONSOLE RENDEZVOUS CONTRACT between Brindlemark.exe (the child) and Brindlemark.com
// (the launcher). Both sides implement it independently, so it is followed exactly.
//
// Folder: "$XDG_RUNTIME_DIR/brindlemark" when $XDG_RUNTIME_DIR is set, non-empty and
//   absolute. Otherwise "$TMPDIR/brindlemark-<uid>" when $TMPDIR is set, non-empty and
//   absolute, else "/tmp/brindlemark-<uid>" (<uid> = geteuid() in decimal). The launcher
//   creates it (mkdir mode 0700) when missing. Both sides accept it only when lstat shows
//   a real directory (not a symlink), owned by geteuid(), with no group or other
//   permission bits; otherwise the launcher reports "ERROR: Could not create named
//   pipes." and the child keeps its own streams.
// Names: "<folder>/<pid>cout", "<folder>/<pid>cin", "<folder>/<pid>cerr", <pid> being the
//   child's process id in decimal (the child reads it with getpid(); fork + exec keep it).
// Directions: cout and cerr carry the child's standard output and error to the launcher;
//   cin is the child's standard input (the launcher never writes into it).
// Launcher order: fork; the child raises SIGSTOP on itself before exec; the launcher waits
//   (waitpid WUNTRACED) until it has stopped; removes any stale entries of the three names
//   that it owns; creates the three FIFOs with mkfifo mode 0600 in the order cout, cin,
//   cerr; opens the read ends of cout and cerr with O_RDONLY|O_NONBLOCK|O_CLOEXEC and
//   holds cin open with O_RDWR|O_NONBLOCK|O_CLOEXEC; only then sends SIGCONT, and the
//   child execs Brindlemark.exe. An exec failure comes back through a close-on-exec pipe
//   and counts as "could not create process". The launcher relays cout to its stdout and
//   cerr to its stderr until end of file (which counts only after a writer has
//   connected), and removes the three FIFOs when the child has ended and on every error
//   path. It ends with the child's exit status, 128 + the signal for a killed child.
// Child order (ConnectConsolePipes): save fds 0, 1, 2 with dup; open "<pid>cout" with
//   O_WRONLY|O_NONBLOCK|O_CLOEXEC (ENXIO = no reader = absent), check with fstat that it
//   is a FIFO owned by geteuid() (else close it: absent), clear O_NONBLOCK, dup2 onto 1;
//   then "<pid>cin" with O_RDONLY|O_NONBLOCK|O_CLOEXEC, same checks, onto 0; then
//   "<pid>cerr" with O_WRONLY|O_NONBLOCK|O_CLOEXEC, same checks, onto 2. The first
//   failure stops; unless all three succeeded, fds 0, 1 and 2 are restored to the saved
//   ones. Each name is tried once, without waiting or retrying.
#include "platform/process/ConsoleRendezvous.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// The variable's value when it is set, non-empty and an absolute path.
const char* AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? value : nullptr;
}

}  // namespace

std::string RendezvousFolder() {
  if (const char* runtime = AbsoluteVariable("XDG_RUNTIME_DIR"))
    return std::string(runtime) + "/brindlemark";
  const char* temp = AbsoluteVariable("TMPDIR");
  const std::string base = temp ? temp : "/tmp";
  return base + "/brindlemark-" + std::to_string(geteuid());
}

bool RendezvousFolderUsable(const std::string& folder) {
  struct stat st;
  if (lstat(folder.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

std::string RendezvousPipeName(const std::string& folder, int pid, const char* kind) {
  return folder + "/" + std::to_string(pid) + kind;
}

int OpenOwnFifo(const std::string& path, int flags) {
  // O_NOFOLLOW: the launcher makes real FIFOs; a link in their place is not ours.
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return -1;
  struct stat st;
  const bool own = fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode) && st.st_uid == geteuid();
  const int status = own ? fcntl(fd, F_GETFL) : -1;
  if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}
