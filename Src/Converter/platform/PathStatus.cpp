#include "platform/PathStatus.h"

#include <sys/stat.h>

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
