// Folder listings in the manner the job expects of the platform: every entry of a folder
// with its name, size, attributes and times, sorted by name (byte order) so that a run's
// order, and its report, are the same on every file system. Entries are described by
// what they lead to (links followed); an entry that leads nowhere is left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File attribute bits, as the job and the conversion list keep them.
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;  // no other attribute

// Where an entry lives: equal identities are the same file or folder.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

struct FileEntry {
  std::string name;  // file name only, without the folder
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;
  // File times: 100-nanosecond intervals since 1601-01-01 UTC.
  std::uint64_t creationTime = 0;
  std::uint64_t lastAccessTime = 0;
  std::uint64_t lastWriteTime = 0;
  FileIdentity identity;
  bool regular = false;  // a regular file (not a FIFO, socket, device or folder)
  bool IsDirectory() const { return (attributes & kAttributeDirectory) != 0; }
};

// The entries of `folder` except "." and "..", sorted by name. False when the folder
// cannot be read (then `entries` is empty).
bool ListFolder(const std::string& folder, std::vector<FileEntry>& entries);

// The entry that `path` leads to (links followed), its name being the path's last
// component. False when nothing is there.
bool DescribeEntry(const std::string& path, FileEntry& entry);

// Seconds and nanoseconds since 1970 as a file time counted from 1601.
std::uint64_t ToFileTime(std::int64_t seconds, std::int64_t nanoseconds);
