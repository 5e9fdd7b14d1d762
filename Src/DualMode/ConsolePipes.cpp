#include "ConsolePipes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// Stale entries are removed only when this user owns them; anything else stays and
// makes the FIFO's creation fail.
void RemoveStale(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid()) unlink(path.c_str());
}

std::string Reason(const char* call, const std::string& path) {
  return std::string(call) + " " + path.substr(path.rfind('/') + 1) + ": " + std::strerror(errno);
}

// The process id of a rendezvous name "<digits>cout|cin|cerr", or 0 for any other name.
pid_t PidOfPipeName(const std::string& name) {
  std::size_t digits = 0;
  while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
  const std::string rest = name.substr(digits);
  if (digits == 0 || digits > 9 || (rest != "cout" && rest != "cin" && rest != "cerr")) return 0;
  return static_cast<pid_t>(std::stol(name.substr(0, digits)));
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

bool PrepareRendezvousFolder(const std::string& folder, std::string* why) {
  std::string reason;
  struct stat st;
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    reason = std::string("cannot be made: ") + std::strerror(errno);
  else if (lstat(folder.c_str(), &st) != 0)
    reason = std::string("cannot be read: ") + std::strerror(errno);
  else if (!S_ISDIR(st.st_mode))
    reason = "is not a folder";
  else if (st.st_uid != geteuid())
    reason = "belongs to another user";
  else if ((st.st_mode & 077) != 0)
    reason = "is open to other users";
  if (why) *why = reason;
  return reason.empty();
}

void RemoveAbandonedPipes(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const pid_t pid = PidOfPipeName(entry->d_name);
    if (pid <= 0 || kill(pid, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to ask
    struct stat st;
    if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISFIFO(st.st_mode) &&
        st.st_uid == geteuid())
      unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
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
    if (mkfifo(paths_[i].c_str(), 0600) != 0) {
      failure_ = Reason("mkfifo", paths_[i]);
      return false;
    }
    made_[i] = true;
  }
  const int readFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW;
  // The input FIFO is held open for reading and writing so the child's read-only open
  // finds a writer.
  const int flags[kCount] = {readFlags, O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, readFlags};
  for (int i = 0; i < kCount; ++i) {
    fds_[i] = open(paths_[i].c_str(), flags[i]);
    if (fds_[i] < 0) {
      failure_ = Reason("open", paths_[i]);
      return false;
    }
  }
  return true;
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
