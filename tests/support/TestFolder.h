// Files and folders for tests of every program: a private temporary folder and whole-file
// reads and writes. Nothing here needs the engine, so the launcher's tests share it.
#pragma once

#include <string>
#include <vector>

// A fresh folder (mode 0700) under the temporary directory, removed with everything in it
// at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// True when something (a dangling link too) stands at the path.
bool FileExists(const std::string& path);
// The names in a folder; empty when it does not exist.
std::vector<std::string> FolderEntries(const std::string& folder);
