#include "platform/TempFileSweep.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <memory>

#include "platform/TempFile.h"

namespace {

// True when no process holds a write lock on the file: a read lock can be had.
bool Unlocked(int fd) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool Abandoned(const std::string& path, int minAgeSeconds) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened;
  struct stat named;
  const bool abandoned = fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                         opened.st_mtime <= std::time(nullptr) - minAgeSeconds && Unlocked(fd) &&
                         // Still the file that was checked, not one made under its name since.
                         lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino &&
                         named.st_dev == opened.st_dev;
  close(fd);
  return abandoned;
}

}  // namespace

int RemoveAbandonedTempFiles(const std::string& folder, int minAgeSeconds) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return 0;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  int removed = 0;
  while (const dirent* entry = readdir(dir.get())) {
    if (!IsTempFileName(entry->d_name)) continue;
    const std::string path = prefix + entry->d_name;
    if (Abandoned(path, minAgeSeconds) && unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}
