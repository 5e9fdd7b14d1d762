#include "platform/PathStatus.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<FileIdentity> IdentityFrom(int rc, const struct stat& st) {
  if (rc != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

bool EntryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && lstat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<FileIdentity> EntryIdentity(const std::string& path) {
  struct stat st;
  if (path.empty()) return std::nullopt;
  const int rc = lstat(path.c_str(), &st);
  return IdentityFrom(rc, st);
}

std::optional<FileIdentity> TargetIdentity(const std::string& path) {
  struct stat st;
  if (path.empty()) return std::nullopt;
  const int rc = stat(path.c_str(), &st);
  return IdentityFrom(rc, st);
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool OpensAsRegularFile(const std::string& path) {
  if (path.empty()) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st;
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  close(fd);
  return regular;
}
