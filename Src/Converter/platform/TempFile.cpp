#include "platform/TempFile.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string_view>

namespace {

constexpr int kAttempts = 100;
constexpr std::size_t kRandomChars = 6;
constexpr std::string_view kMarker = ".tmp-";

bool IsRandomChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A write lock on the whole file, owned by the open file description: it conflicts with
// locks taken through any other opening of the file, also in this process.
bool LockForWriting(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

std::string RandomChars() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // One engine per thread: workers of a parallel run make temporary names at once.
  thread_local std::mt19937_64 engine{std::random_device{}() ^
                                      static_cast<std::uint64_t>(getpid())};
  std::string text(kRandomChars, 'x');
  for (char& c : text) c = kAlphabet[engine() % (sizeof kAlphabet - 1)];
  return text;
}

// "." + stem + ".tmp-" + six random characters + suffix, the stem cut so the name fits NAME_MAX.
std::string TempName(const std::string& stem, const std::string& suffix) {
  const std::size_t fixed = 1 + kMarker.size() + kRandomChars + suffix.size();
  const std::size_t room = fixed < NAME_MAX ? NAME_MAX - fixed : 0;
  std::string name(".");
  name.append(stem, 0, room);
  name.append(kMarker);
  name.append(RandomChars());
  name.append(suffix);
  return name;
}

// Renames without ever replacing an existing entry. Falls back to link + unlink on file
// systems that do not know RENAME_NOREPLACE.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (link(from.c_str(), to.c_str()) != 0) return -1;
  unlink(from.c_str());
  return 0;
}

}  // namespace

std::string CreateTempFile(const std::string& folder, const std::string& stem,
                           const std::string& suffix, int* lockFd) {
  if (lockFd) *lockFd = -1;
  if (folder.empty() || suffix.size() > NAME_MAX / 2) return {};
  const std::string prefix = folder.back() == '/' ? folder : folder + "/";
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string path = prefix + TempName(stem, suffix);
    // Close-on-exec: a helper started later must not inherit, and so hold, the lock.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      if (errno != EEXIST) return {};
      continue;
    }
    if (lockFd && LockForWriting(fd)) {
      *lockFd = fd;
    } else {
      close(fd);  // a file system without locks: the file's age alone guards it
    }
    return path;
  }
  return {};
}

bool IsTempFileName(std::string_view name) {
  // "." + stem + ".tmp-" + random characters + ("" or "." + an extension without dots)
  const auto marker = name.rfind(kMarker);
  if (name.empty() || name[0] != '.' || marker == std::string_view::npos || marker == 0)
    return false;
  std::string_view rest = name.substr(marker + kMarker.size());
  if (rest.size() < kRandomChars) return false;
  for (std::size_t i = 0; i < kRandomChars; ++i)
    if (!IsRandomChar(rest[i])) return false;
  rest.remove_prefix(kRandomChars);
  return rest.empty() || (rest[0] == '.' && rest.find('.', 1) == std::string_view::npos);
}

MoveResult MoveIntoPlace(const std::string& temp, const std::string& dest, bool replace) {
  if (!replace) {
    if (RenameNoReplace(temp, dest) == 0) return MoveResult::Moved;
    const bool exists = errno == EEXIST;
    unlink(temp.c_str());
    return exists ? MoveResult::DestinationExists : MoveResult::Failed;
  }
  struct stat old;
  if (lstat(dest.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    chmod(temp.c_str(), old.st_mode & 07777);
  if (rename(temp.c_str(), dest.c_str()) == 0) return MoveResult::Moved;
  unlink(temp.c_str());
  return MoveResult::Failed;
}

void RemoveFileEntry(const std::string& path) {
  if (!path.empty()) unlink(path.c_str());
}
