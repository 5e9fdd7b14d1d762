// giflib's reading of a GIF file, taken from the text that `gifbuild -d` prints: the
// screen, the global colour table, and in file order every graphic control block and
// every image with its offset, size, local table and palette indices (rows in display
// order, interlacing undone). The reader's tests compare their decodes against it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GifDumpBlock {
  bool isImage = false;
  // Graphic control: the disposal method and the transparent index (-1: flag off).
  int disposal = 0;
  int transparentIndex = -1;
  // Image.
  int left = 0, top = 0, width = 0, height = 0;
  bool hasLocalTable = false;
  std::vector<std::uint32_t> localTable;  // 0xRRGGBB
  std::vector<int> indices;               // top-down rows
};

struct GifDump {
  int width = 0, height = 0;
  bool hasGlobalTable = false;
  std::vector<std::uint32_t> globalTable;
  std::vector<GifDumpBlock> blocks;
  int ImageCount() const;
};

// Parses the text of `gifbuild -d`; nothing when it is not such a text.
std::optional<GifDump> ParseGifDump(const std::string& text);
// Runs /usr/bin/gifbuild -d on the file; nothing when giflib cannot read it.
std::optional<GifDump> DumpWithGiflib(const std::string& path);
