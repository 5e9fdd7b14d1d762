// What is at a path, asked without opening it: whether any entry exists there (a
// dangling link counts), whether it leads to a folder, and which file it is.
#pragma once

#include <optional>
#include <string>

#include "platform/FolderListing.h"

// Whether the path names any directory entry at all (lstat: links are not followed).
bool EntryExists(const std::string& path);
// Whether the path leads to a folder (links followed).
bool IsFolder(const std::string& path);
// Whether the path leads to a regular file (links followed), asked without opening it.
bool IsRegularFile(const std::string& path);
// Whether the path leads to a regular file that can be read, asked through a non-blocking open so
// that a FIFO or device named like a file cannot stall the caller.
bool OpensAsRegularFile(const std::string& path);
// The identity of the entry itself (links not followed), when there is one.
std::optional<FileIdentity> EntryIdentity(const std::string& path);
// The identity of what the path leads to (links followed), when there is one.
std::optional<FileIdentity> TargetIdentity(const std::string& path);
