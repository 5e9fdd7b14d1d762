#include "LauncherHarness.h"

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;

void CopyExecutable(const std::string& from, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::perms::owner_all);
}

bool ProcessRunsFrom(const std::string& path) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    std::error_code linkError;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", linkError);
    if (!linkError && exe == path) return true;
  }
  return false;
}

std::string InstallLauncherWithFakeChild(const TempDir& dir) {
  CopyExecutable(BinPath("Brindlemark.com"), dir / "Brindlemark.com");
  CopyExecutable(BM_FAKE_CHILD, dir / "Brindlemark.exe");
  mkdir((dir / "run").c_str(), 0700);
  return dir / "Brindlemark.com";
}

RunOptions FakeOptions(const TempDir& dir, const std::string& mode) {
  RunOptions options;
  options.environment = {{"XDG_RUNTIME_DIR", dir / "run"}, {"BM_FAKE_MODE", mode}};
  return options;
}
