#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

FileEntry EntryFromStat(std::string name, const struct stat& st) {
  FileEntry entry;
  entry.name = std::move(name);
  entry.size = static_cast<std::uint64_t>(st.st_size);
  if (S_ISDIR(st.st_mode)) entry.attributes |= kAttributeDirectory;
  entry.regular = S_ISREG(st.st_mode);
  if ((st.st_mode & 0222) == 0) entry.attributes |= kAttributeReadOnly;
  if (entry.attributes == 0) entry.attributes = kAttributeNormal;
  // Linux keeps no creation time in struct stat; the status-change time stands in.
  entry.creationTime = ToFileTime(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
  entry.lastAccessTime = ToFileTime(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  entry.lastWriteTime = ToFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  entry.identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return entry;
}

std::string LastComponent(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::uint64_t ToFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
  const std::int64_t since1601 = seconds + kSecondsFrom1601To1970;
  if (since1601 < 0) return 0;
  return static_cast<std::uint64_t>(since1601) * 10000000u +
         static_cast<std::uint64_t>(nanoseconds / 100);
}

bool ListFolder(const std::string& folder, std::vector<FileEntry>& entries) {
  entries.clear();
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  const int dirFd = dirfd(dir);
  while (const dirent* d = readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (fstatat(dirFd, d->d_name, &st, 0) != 0) continue;  // a dangling link leads nowhere
    entries.push_back(EntryFromStat(name, st));
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
  return true;
}

bool DescribeEntry(const std::string& path, FileEntry& entry) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  entry = EntryFromStat(LastComponent(path), st);
  return true;
}
