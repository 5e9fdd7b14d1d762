// Assembles GIF files byte by byte for the reader's tests: header and tables, extensions,
// image descriptors and LZW data from a small packer of its own, so that every rule can
// be met by a file a few dozen bytes long, including files no encoder would write.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// LZW codes (code, width in bits) packed least significant bit first.
std::string PackCodes(const std::vector<std::pair<int, int>>& codes);
// Data split into sub-blocks of at most 255 bytes, then the 0x00 terminator.
std::string SubBlocks(const std::string& data, std::size_t blockSize = 255);
// Dictionary LZW of the indices with a clear code first and whenever 4096 codes are
// used, then the end code; the packed bytes without sub-blocks.
std::string LzwCompress(const std::vector<std::uint8_t>& indices, int codeSize);
// Rows of a width x height picture (top-down) in the order an interlaced image stores them.
std::vector<std::uint8_t> InterlaceRows(const std::vector<std::uint8_t>& indices, int width,
                                        int height);

struct GifTestImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;      // top-down rows, width x height
  std::vector<std::uint32_t> localTable;  // 0xRRGGBB; empty: none
  bool interlaced = false;
  int codeSize = 0;  // 0: the smallest that holds the table (at least 2)
  // When set, replaces the minimum code size byte and the data sub-blocks.
  std::string rawData;
};

// An image of the given rectangle and top-down indices, with an optional local table.
GifTestImage ImageAt(int left, int top, int width, int height, std::vector<std::uint8_t> indices,
                     std::vector<std::uint32_t> localTable = {});

class GifBuilder {
 public:
  GifBuilder(int screenWidth, int screenHeight, std::vector<std::uint32_t> globalTable = {});

  GifBuilder& Control(int disposal, int transparentIndex = -1, int delay = 0);
  GifBuilder& Comment(const std::string& text);
  GifBuilder& Loop(int count);
  GifBuilder& Image(const GifTestImage& image);
  // A picture filling the whole image with one index.
  GifBuilder& Fill(int left, int top, int width, int height, std::uint8_t index,
                   std::vector<std::uint32_t> localTable = {});
  GifBuilder& Raw(const std::string& bytes);

  // The file so far, with or without the trailer.
  std::string Bytes(bool trailer = true) const;

 private:
  std::string out_;
};

// A colour table of `count` entries: entry i gets colour f(i).
template <typename F>
std::vector<std::uint32_t> Table(int count, F f) {
  std::vector<std::uint32_t> t(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) t[static_cast<std::size_t>(i)] = f(i);
  return t;
}
// A table of `count` distinct colours (0xRRGGBB) that differ in every channel.
std::vector<std::uint32_t> DistinctTable(int count);
