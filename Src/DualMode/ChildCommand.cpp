#include "ChildCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

std::string ChildPathFor(std::string_view launcherPath) {
  const std::size_t slash = launcherPath.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = launcherPath.rfind('.');
  std::string path(launcherPath);
  if (launcherPath.empty()) return path;
  if (dot != std::string_view::npos && dot >= nameStart) path.resize(dot);
  return path + ".exe";
}

std::string OwnPath() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

bool HoldsOptions(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments)
    for (char c : argument)
      if (c != '"' && c != ' ' && c != '\t') return true;
  return false;
}

bool NamesOnlyFilesAndFolders(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  for (const std::string& argument : arguments) {
    struct stat status {};
    if (argument.empty() || stat(argument.c_str(), &status) != 0) return false;
    if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) return false;
  }
  return true;
}
