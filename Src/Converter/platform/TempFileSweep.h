// Removing the temporary files that a writer left behind when it died (SIGKILL, a power
// cut, a crashed machine). A live writer holds a lock on each of its temporary files
// (CreateTempFile with a lock descriptor); the lock ends with the writer's process, also on
// a file system shared between machines. A temporary file is abandoned when nobody holds
// that lock and it has not been written to for `minAgeSeconds`: the age also covers
// writers that take no lock.
#pragma once

#include <string>

constexpr int kAbandonedTempAgeSeconds = 60;

// Removes the abandoned temporary files directly in `folder` (names of the form
// IsTempFileName accepts; nothing else is touched). Returns how many were removed.
int RemoveAbandonedTempFiles(const std::string& folder,
                             int minAgeSeconds = kAbandonedTempAgeSeconds);
