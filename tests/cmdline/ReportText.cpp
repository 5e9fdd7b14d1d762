#include "cmdline/ReportText.h"

#include <algorithm>
#include <filesystem>

namespace {

const std::string kBanner =
    "Brindlemark 2.9 Command Line Processor\nCopyright (C) Orrinvale. All rights reserved.\n\n";

}  // namespace

RunResult RunIn(const std::string& folder, const std::string& arguments) {
  return RunProgram("/usr/bin/timeout",
                    {"60", "/bin/sh", "-c", "cd \"$1\" && exec \"$2\" " + arguments, "sh", folder,
                     BinPath("Brindlemark.exe")});
}

std::string Report(const RunResult& r) {
  if (r.out.size() < kBanner.size() + 1 || r.out.compare(0, kBanner.size(), kBanner) != 0)
    return "no banner: " + r.out;
  return r.out.substr(kBanner.size(), r.out.size() - kBanner.size() - 1);
}

std::string Success(const std::string& from, const std::string& to) {
  return "SUCCESS: converted file " + from + " to " + to + "\n";
}

std::string Failure(const std::string& from, const std::string& to, const std::string& reason) {
  return "ERROR: failed to convert file " + from + " to " + to + " Reason: " + reason + "\n";
}

std::string Skipped(const std::string& from, const std::string& to) {
  return "SKIPPED: " + from + " to " + to + ": the destination exists\n";
}

std::string Summary(int ok, int bad, int skipped) {
  std::string text = std::to_string(ok) + " images were successfully converted. " +
                     std::to_string(bad) + " images failed.\n";
  if (skipped != 0) text += std::to_string(skipped) + " images were skipped.\n";
  return text;
}

std::vector<std::string> FilesBelow(const std::string& root) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}
