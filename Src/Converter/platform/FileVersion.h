// Which file a path leads to and which version of it: device, inode, size and the
// modification and change times. A reader that keeps what it decoded of a file between
// calls compares versions to know whether what it kept still describes the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct FileVersion {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;
  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The version of what the path leads to (links followed); none when nothing is there.
std::optional<FileVersion> FileVersionOf(const std::string& path);
// The version of an open file.
std::optional<FileVersion> FileVersionOf(int fd);
