// Reads every #include of Src/ and fails on one that runs against the layering:
// ui -> cmdline -> job -> (image, settings), platform usable by all, the string table a
// leaf usable by all, no wxWidgets header below ui, and the launcher sharing nothing. A
// layer is the first folder of a path: image/codec is image, ui/list is ui.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kStringTable = "strings/StringTable.h";

// The folders each layer may include from, besides its own, platform and the string table.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"platform", {}},
    {"settings", {"image"}},
    {"image", {"settings"}},
    {"job", {"image", "settings"}},
    {"cmdline", {"job", "image", "settings"}},
    {"ui", {"cmdline", "job", "image", "settings"}},
};

struct Include {
  std::string file;  // relative to Src/Converter (or Src/DualMode)
  int line;
  std::string target;  // the quoted path, or <...> for system headers
  bool system;
};

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> found;
  std::ifstream in(file);
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    std::smatch m;
    if (std::regex_search(text, m, kInclude))
      found.push_back({fs::relative(file, root).string(), number, m[2].str(), m[1].str() == "<"});
  }
  return found;
}

std::vector<fs::path> SourcesUnder(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) files.push_back(entry.path());
  }
  return files;
}

std::string LayerOf(const std::string& path) {
  if (path == kStringTable || path == "strings/StringTable.cpp") return "strings";
  return path.substr(0, path.find('/'));
}

// An empty text when the include is allowed, else why not.
std::string Violation(const Include& inc) {
  const std::string from = LayerOf(inc.file);
  if (inc.system) {
    const bool wx = inc.target.rfind("wx/", 0) == 0;
    return wx && from != "ui" ? "a wxWidgets header below ui" : "";
  }
  if (inc.target.find('/') == std::string::npos) return "";  // a file beside it
  const std::string to = LayerOf(inc.target);
  if (to == from || to == "platform" || to == "strings") return "";
  if (from == "strings") return "the string table includes nothing of the program";
  const auto allowed = kAllowed.find(from);
  if (allowed == kAllowed.end()) return "unknown layer " + from;
  return allowed->second.count(to) ? "" : from + " may not include " + to;
}

}  // namespace

TEST(IncludeDirection, EveryIncludeOfTheConverterFollowsTheLayers) {
  const fs::path root = fs::path(BM_SOURCE_DIR) / "Src" / "Converter";
  std::vector<std::string> faults;
  for (const fs::path& file : SourcesUnder(root))
    for (const Include& inc : IncludesOf(root, file)) {
      const std::string why = Violation(inc);
      if (!why.empty())
        faults.push_back(inc.file + ":" + std::to_string(inc.line) + ": " + inc.target + " (" +
                         why + ")");
    }
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

TEST(IncludeDirection, TheLauncherIncludesNothingOfTheConverter) {
  const fs::path root = fs::path(BM_SOURCE_DIR) / "Src" / "DualMode";
  for (const fs::path& file : SourcesUnder(root))
    for (const Include& inc : IncludesOf(root, file))
      EXPECT_TRUE(inc.system || inc.target.find('/') == std::string::npos)
          << inc.file << ":" << inc.line << ": " << inc.target;
}

// Each folder of the converter belongs to a layer the rules know, so a new folder cannot
// slip past them.
TEST(IncludeDirection, EveryFolderIsAKnownLayer) {
  const fs::path root = fs::path(BM_SOURCE_DIR) / "Src" / "Converter";
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    const std::string layer = entry.path().filename().string();
    EXPECT_TRUE(layer == "strings" || kAllowed.count(layer)) << layer;
  }
}

TEST(IncludeDirection, RulesCatchAPlantedInclude) {
  EXPECT_EQ(Violation({"job/X.cpp", 1, "ui/frame/MainFrame.h", false}), "job may not include ui");
  EXPECT_EQ(Violation({"cmdline/X.cpp", 1, "ui/toolkit/WxText.h", false}),
            "cmdline may not include ui");
  EXPECT_EQ(Violation({"strings/StringTable.cpp", 1, "ui/resources/ResourceIds.h", false}),
            "the string table includes nothing of the program");
  EXPECT_EQ(Violation({"ui/list/X.cpp", 1, "ui/frame/MainFrame.h", false}), "");
  EXPECT_EQ(Violation({"ui/colour/X.cpp", 1, "wx/window.h", true}), "");
  EXPECT_EQ(Violation({"image/codec/X.cpp", 1, "wx/string.h", true}),
            "a wxWidgets header below ui");
  EXPECT_EQ(Violation({"image/X.cpp", 1, "job/ConversionItem.h", false}),
            "image may not include job");
  EXPECT_EQ(Violation({"settings/X.cpp", 1, "wx/string.h", true}), "a wxWidgets header below ui");
  EXPECT_EQ(Violation({"platform/X.cpp", 1, "settings/AppSettings.h", false}),
            "platform may not include settings");
  EXPECT_EQ(Violation({"job/X.cpp", 1, kStringTable, false}), "");
  EXPECT_EQ(Violation({"image/X.cpp", 1, "settings/ConversionSettings.h", false}), "");
}
