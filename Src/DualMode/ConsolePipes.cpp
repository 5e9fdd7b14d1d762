#include "ConsolePipes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// Stale entries are removed only when this user owns them; anything else stays and
// makes the FIFO's creation fail.
void RemoveStale(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid()) unlink(path.c_str());
}

}  // namespace

std::string RendezvousFolderFor(const char* xdgRuntimeDir, const char* tmpDir, uid_t uid) {
  if (IsAbsolute(xdgRuntimeDir)) return std::string(xdgRuntimeDir) + "/brindlemark";
  const std::string base = IsAbsolute(tmpDir) ? tmpDir : "/tmp";
  return base + "/brindlemark-" + std::to_string(uid);
}

std::string RendezvousFolder() {
  return RendezvousFolderFor(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), geteuid());
}

bool PrepareRendezvousFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st;
  if (lstat(folder.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

ConsolePipes::~ConsolePipes() {
  Close();
  Remove();
}

bool ConsolePipes::Create(const std::string& folder, pid_t childPid) {
  static const char* const kSuffixes[kCount] = {"cout", "cin", "cerr"};
  const std::string stem = folder + "/" + std::to_string(childPid);
  for (int i = 0; i < kCount; ++i) {
    paths_[i] = stem + kSuffixes[i];
    RemoveStale(paths_[i]);
    if (mkfifo(paths_[i].c_str(), 0600) != 0) return false;
    made_[i] = true;
  }
  const int readFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW;
  fds_[kOut] = open(paths_[kOut].c_str(), readFlags);
  // Held open for reading and writing so the child's read-only open finds a writer.
  fds_[kIn] = open(paths_[kIn].c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  fds_[kErr] = open(paths_[kErr].c_str(), readFlags);
  return fds_[kOut] >= 0 && fds_[kIn] >= 0 && fds_[kErr] >= 0;
}

void ConsolePipes::Close() {
  for (int i : {kOut, kErr, kIn}) {
    if (fds_[i] >= 0) close(fds_[i]);
    fds_[i] = -1;
  }
}

void ConsolePipes::Remove() {
  for (int i = 0; i < kCount; ++i) {
    if (made_[i]) unlink(paths_[i].c_str());
    made_[i] = false;
  }
}
