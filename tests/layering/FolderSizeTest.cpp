// Keeps every folder of Src/ small enough to walk: a folder past about 25 files is split by
// concern, and 30 is the hard limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

TEST(FolderSize, NoFolderOfSrcHoldsMoreThanThirtyFiles) {
  const fs::path root = fs::path(BM_SOURCE_DIR) / "Src";
  std::vector<fs::path> folders{root};
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_directory()) folders.push_back(entry.path());
  for (const fs::path& folder : folders) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file();
    EXPECT_LE(files, 30) << fs::relative(folder, root).string();
  }
}

}  // namespace
