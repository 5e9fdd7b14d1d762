#include "platform/FileVersion.h"

#include <sys/stat.h>

namespace {

std::int64_t Nanoseconds(const timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileVersion VersionOf(const struct stat& info) {
  FileVersion v;
  v.device = info.st_dev;
  v.inode = info.st_ino;
  v.size = info.st_size;
  v.modifiedNs = Nanoseconds(info.st_mtim);
  v.changedNs = Nanoseconds(info.st_ctim);
  return v;
}

}  // namespace

std::optional<FileVersion> FileVersionOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return VersionOf(info);
}

std::optional<FileVersion> FileVersionOf(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return std::nullopt;
  return VersionOf(info);
}
