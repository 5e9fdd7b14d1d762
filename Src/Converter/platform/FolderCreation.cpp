#include "platform/FolderCreation.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/PathStatus.h"

bool MakeFolder(const std::string& path, unsigned mode) {
  if (path.empty()) return false;
  if (mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0) return true;
  return errno == EEXIST && IsFolder(path);
}
