#include "cmdline/WindowModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace {

constexpr const char* kModuleName = "Brindlemark.window.so";

// The module's path: beside the executable this process runs.
std::string ModulePath() {
  char own[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", own, sizeof own - 1);
  if (n <= 0) return {};
  std::string path(own, static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/') + 1) + kModuleName;
}

// The module's entry `name`, or nullptr. The module stays loaded for the process's life.
void* ModuleEntry(const char* name) {
  const std::string path = ModulePath();
  if (path.empty() || access(path.c_str(), R_OK) != 0) return nullptr;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  return module ? dlsym(module, name) : nullptr;
}

}  // namespace

int RunWindowModule(int argc, char** argv) {
  auto run = reinterpret_cast<int (*)(int, char**)>(ModuleEntry("BrindlemarkWindowMain"));
  return run ? run(argc, argv) : -1;
}

std::string WindowToolkitVersion() {
  auto version = reinterpret_cast<const char* (*)()>(ModuleEntry("BrindlemarkToolkitVersion"));
  return version ? version() : std::string{};
}
