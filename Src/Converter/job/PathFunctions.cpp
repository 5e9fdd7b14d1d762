#include "job/PathFunctions.h"

#include "platform/PathStatus.h"

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
  const auto mark = path.find_last_of("./");
  if (mark == std::string::npos || path[mark] == '/') return {};
  return path.substr(mark + 1);
}

std::string TitleOf(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string DirectoryOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  if (slash > 0 && path[slash - 1] == '/') --slash;
  return path.substr(0, slash);
}

std::string JoinPath(const std::string& a, const std::string& b) {
  if (!a.empty() && a.back() == '/') return a + b;
  return a + "/" + b;
}

std::string RelativePath(const std::string& path, const std::string& base) {
  if (base.size() >= path.size()) return FileNameOf(path);
  std::string rest = path.substr(base.size());
  if (rest.front() == '/') rest.erase(0, 1);
  return rest;
}

bool FolderExists(const std::string& path) { return IsFolder(path); }
