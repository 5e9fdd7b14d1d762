#include "platform/FolderCreation.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/PathStatus.h"

bool MakeFolder(const std::string& path) {
  if (path.empty()) return false;
  if (mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && IsFolder(path);
}
