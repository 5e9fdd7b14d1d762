#include "platform/PathArguments.h"

#include <sys/stat.h>

bool NamesExistingPaths(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  for (const std::string& argument : arguments) {
    struct stat status {};
    if (argument.empty() || stat(argument.c_str(), &status) != 0) return false;
    if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) return false;
  }
  return true;
}
