// Files that appear whole or not at all: a new file is written under a temporary name in
// its destination folder and then moved over the destination in one rename, so a failed
// or interrupted write never leaves a half-written destination nor destroys the old one.
#pragma once

#include <string>
#include <string_view>

// Creates an empty file, exclusively, under a fresh name in `folder`:
// "." + stem + ".tmp-XXXXXX" + suffix (the stem cut so that the name stays within the
// file-name limit). The suffix is kept whole so that the name ends with the extension of
// the file it stands for. Returns the new path, or an empty string on failure (errno then
// tells why).
// With `lockFd`, the file stays open there under a write lock of its own open file
// description: other processes see that its writer lives (TempFileSweep.h) until the
// descriptor is closed, which the writer's death does too.
std::string CreateTempFile(const std::string& folder, const std::string& stem,
                           const std::string& suffix, int* lockFd = nullptr);

// Whether a file name has the form CreateTempFile gives.
bool IsTempFileName(std::string_view name);

enum class MoveResult { Moved, DestinationExists, Failed };

// Renames `temp` to `dest`. With `replace` an existing file at dest is replaced (taking
// over its permission bits); without it an existing entry is never touched and the
// result is DestinationExists. `temp` is removed whenever the move did not happen.
MoveResult MoveIntoPlace(const std::string& temp, const std::string& dest, bool replace);

// Removes a file entry; quiet when there is none.
void RemoveFileEntry(const std::string& path);
