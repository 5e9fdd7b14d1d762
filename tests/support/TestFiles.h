// Helpers shared by the engine tests: a private temporary folder, small synthetic
// pictures, running the real executables.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the temporary directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A 32-bit picture whose pixels (top-down rows, 0xAARRGGBB) are given.
FIBITMAP* MakePicture32(int width, int height, const std::vector<std::uint32_t>& pixels);
// A 32-bit picture filled by f(x, y).
template <typename F>
FIBITMAP* MakePicture32(int width, int height, F f) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = f(x, y);
  return MakePicture32(width, height, pixels);
}
// The pixels of a 32-bit picture, top-down rows.
std::vector<std::uint32_t> PixelsOf(FIBITMAP* picture);
// Writes a picture through FreeImage by the file's extension.
bool SavePicture(FIBITMAP* picture, const std::string& path, int flags = 0);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};
// Runs a program with arguments (no shell), capturing its output and error.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args);
// The path of a built executable, e.g. BinPath("Brindlemark.exe").
std::string BinPath(const std::string& name);
