// The small path functions that the job, the collector and the windowed program share.
// Paths are UTF-8 byte strings; "/" is the only separator (a backslash is an ordinary
// file-name character). Only FolderExists touches the file system.
#pragma once

#include <string>

// The text after the last "/"; the whole path when it has none.
std::string FileNameOf(const std::string& path);
// The text after the last "." of the last component; empty when that component has none.
std::string ExtensionOf(const std::string& path);
// The text before the last "." of a file name; the whole name when it has no dot.
std::string TitleOf(const std::string& name);
// The text before the last "/", dropping one more "/" just before it (so "a//b" gives
// "a"); empty when the path has no "/".
std::string DirectoryOf(const std::string& path);
// a + b when a ends with "/", else a + "/" + b (an empty a gives "/" + b: callers pass a
// non-empty folder).
std::string JoinPath(const std::string& a, const std::string& b);
// The part of path after the first base.size() bytes, less one leading "/", when base is
// shorter than path; else FileNameOf(path). Callers pass a base that is a prefix of path.
std::string RelativePath(const std::string& path, const std::string& base);
// Whether the path leads to a folder; false for an empty path.
bool FolderExists(const std::string& path);
