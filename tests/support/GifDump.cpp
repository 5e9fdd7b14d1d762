#include "support/GifDump.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "support/TestFiles.h"

namespace {

class DumpParser {
 public:
  explicit DumpParser(const std::string& text) : in_(text) {}

  std::optional<GifDump> Parse() {
    std::string line;
    while (Next(line)) {
      if (!Header(line) && !Block(line)) return std::nullopt;
    }
    if (inImage_) return std::nullopt;  // an image without its raster
    return dump_;
  }

 private:
  bool Next(std::string& line) {
    while (std::getline(in_, line)) {
      const auto start = line.find_first_not_of(" \t");
      if (start == std::string::npos || line[start] == '#') continue;
      line = line.substr(start);
      return true;
    }
    return false;
  }

  bool Header(const std::string& line) {
    int v = 0;
    if (std::sscanf(line.c_str(), "screen width %d", &v) == 1)
      dump_.width = v;
    else if (std::sscanf(line.c_str(), "screen height %d", &v) == 1)
      dump_.height = v;
    else if (line.rfind("screen colors", 0) == 0 || line.rfind("screen background", 0) == 0 ||
             line.rfind("pixel aspect", 0) == 0 || line.rfind("netscape loop", 0) == 0) {
    } else if (line == "screen map") {
      dump_.hasGlobalTable = true;
      return Table(dump_.globalTable, globalKeys_);
    } else {
      return false;
    }
    return true;
  }

  bool Block(const std::string& line) {
    if (line == "graphics control") return Control();
    if (line.rfind("image #", 0) == 0) {
      dump_.blocks.push_back(GifDumpBlock());
      dump_.blocks.back().isImage = true;
      inImage_ = true;
      return true;
    }
    if (line.rfind("comment", 0) == 0 || line.rfind("plaintext", 0) == 0 ||
        line.rfind("extension", 0) == 0)
      return SkipToEnd();
    if (!inImage_) return false;
    GifDumpBlock& image = dump_.blocks.back();
    int a = 0, b = 0;
    if (std::sscanf(line.c_str(), "image left %d", &a) == 1)
      image.left = a;
    else if (std::sscanf(line.c_str(), "image top %d", &a) == 1)
      image.top = a;
    else if (line == "image interlaced") {
    } else if (line == "image map") {
      image.hasLocalTable = true;
      return Table(image.localTable, localKeys_);
    } else if (std::sscanf(line.c_str(), "image bits %d by %d", &a, &b) == 2) {
      image.width = a;
      image.height = b;
      inImage_ = false;
      return Raster(image, line.find("hex") != std::string::npos);
    } else {
      return false;
    }
    return true;
  }

  bool Table(std::vector<std::uint32_t>& table, std::map<char, int>& keys) {
    table.clear();
    keys.clear();
    std::string line;
    while (Next(line)) {
      if (line == "end") return true;
      unsigned r = 0, g = 0, b = 0;
      char key = 0;
      const int n = std::sscanf(line.c_str(), "rgb %u %u %u is %c", &r, &g, &b, &key);
      if (n >= 3) {
        if (n == 4) keys[key] = static_cast<int>(table.size());
        table.push_back(r << 16 | g << 8 | b);
      } else if (line.rfind("sort flag", 0) != 0) {
        return false;
      }
    }
    return false;
  }

  bool Control() {
    GifDumpBlock block;
    std::string line;
    while (Next(line)) {
      int v = 0;
      if (line == "end") {
        dump_.blocks.push_back(block);
        return true;
      }
      if (std::sscanf(line.c_str(), "disposal mode %d", &v) == 1)
        block.disposal = v;
      else if (std::sscanf(line.c_str(), "transparent index %d", &v) == 1)
        block.transparentIndex = v;
    }
    return false;
  }

  bool SkipToEnd() {
    std::string line;
    while (Next(line))
      if (line == "end") return true;
    return false;
  }

  bool Raster(GifDumpBlock& image, bool hex) {
    const std::map<char, int>& keys = image.hasLocalTable ? localKeys_ : globalKeys_;
    std::string row;
    for (int y = 0; y < image.height; ++y) {
      if (!std::getline(in_, row)) return false;
      if (row.size() < static_cast<std::size_t>(image.width) * (hex ? 2 : 1)) return false;
      for (int x = 0; x < image.width; ++x) {
        if (hex) {
          image.indices.push_back(
              std::stoi(row.substr(static_cast<std::size_t>(x) * 2, 2), nullptr, 16));
          continue;
        }
        const auto found = keys.find(row[static_cast<std::size_t>(x)]);
        if (found == keys.end()) return false;
        image.indices.push_back(found->second);
      }
    }
    return true;
  }

  std::istringstream in_;
  GifDump dump_;
  std::map<char, int> globalKeys_, localKeys_;
  bool inImage_ = false;
};

}  // namespace

int GifDump::ImageCount() const {
  int n = 0;
  for (const auto& b : blocks) n += b.isImage ? 1 : 0;
  return n;
}

std::optional<GifDump> ParseGifDump(const std::string& text) { return DumpParser(text).Parse(); }

std::optional<GifDump> DumpWithGiflib(const std::string& path) {
  const RunResult r = RunProgram("/usr/bin/gifbuild", {"-d", path});
  if (r.exitCode != 0) return std::nullopt;
  return ParseGifDump(r.out);
}
