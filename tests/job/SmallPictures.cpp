#include "job/SmallPictures.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "support/TestFiles.h"

void WritePicture(const std::string& path, int width, int height, std::uint32_t colour) {
  FIBITMAP* picture = MakePicture32(width, height, [&](int, int) { return colour; });
  FIBITMAP* saved = FreeImage_ConvertTo24Bits(picture);
  SavePicture(saved, path);
  FreeImage_Unload(saved);
  FreeImage_Unload(picture);
}

void CopySample(const std::string& sample, const std::string& path) {
  WriteFile(path, ReadFile(std::string(BM_SOURCE_DIR) + "/samples/" + sample));
}

std::string NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& n : names) joined += (joined.empty() ? "" : " ") + n;
  return joined;
}
