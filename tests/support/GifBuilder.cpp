#include "support/GifBuilder.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

void Put16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

int TableBits(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

void PutTable(std::string& out, const std::vector<std::uint32_t>& table) {
  if (table.empty()) return;
  for (std::uint32_t c : table) {
    out.push_back(static_cast<char>((c >> 16) & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  // Pad a table to its power of two.
  for (std::size_t i = table.size(); i < (std::size_t{1} << TableBits(table.size())); ++i)
    out.append(3, '\0');
}

}  // namespace

std::string PackCodes(const std::vector<std::pair<int, int>>& codes) {
  std::string out;
  std::uint32_t acc = 0;
  int bits = 0;
  for (const auto& [code, width] : codes) {
    acc |= static_cast<std::uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      out.push_back(static_cast<char>(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) out.push_back(static_cast<char>(acc & 0xFF));
  return out;
}

std::string SubBlocks(const std::string& data, std::size_t blockSize) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); i += blockSize) {
    const std::size_t n = std::min(blockSize, data.size() - i);
    out.push_back(static_cast<char>(n));
    out.append(data, i, n);
  }
  out.push_back('\0');
  return out;
}

std::string LzwCompress(const std::vector<std::uint8_t>& indices, int codeSize) {
  const int clear = 1 << codeSize;
  std::vector<std::pair<int, int>> codes;
  int width = codeSize + 1;
  int next = clear + 2;
  std::map<std::pair<int, int>, int> dict;  // (prefix code, index) -> code
  codes.push_back({clear, width});
  if (indices.empty()) {
    codes.push_back({clear + 1, width});
    return PackCodes(codes);
  }
  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const int c = indices[i];
    const auto found = dict.find({prefix, c});
    if (found != dict.end()) {
      prefix = found->second;
      continue;
    }
    codes.push_back({prefix, width});
    if (next < 4096) {
      dict[{prefix, c}] = next++;
      // The decoder, one entry behind, widens when its table reaches 2^width entries.
      if (next > (1 << width) && width < 12) ++width;
    } else {
      codes.push_back({clear, width});
      dict.clear();
      width = codeSize + 1;
      next = clear + 2;
    }
    prefix = c;
  }
  codes.push_back({prefix, width});
  codes.push_back({clear + 1, width});
  return PackCodes(codes);
}

std::vector<std::uint8_t> InterlaceRows(const std::vector<std::uint8_t>& indices, int width,
                                        int height) {
  std::vector<std::uint8_t> out;
  const int start[4] = {0, 4, 2, 1};
  const int step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass])
      out.insert(out.end(), indices.begin() + static_cast<std::ptrdiff_t>(y) * width,
                 indices.begin() + static_cast<std::ptrdiff_t>(y + 1) * width);
  return out;
}

GifBuilder::GifBuilder(int screenWidth, int screenHeight, std::vector<std::uint32_t> globalTable) {
  out_ = "GIF89a";
  Put16(out_, screenWidth);
  Put16(out_, screenHeight);
  const int packed = globalTable.empty() ? 0 : 0x80 | (TableBits(globalTable.size()) - 1);
  out_.push_back(static_cast<char>(packed));
  out_.push_back('\0');  // background index
  out_.push_back('\0');  // aspect ratio
  PutTable(out_, globalTable);
}

GifBuilder& GifBuilder::Control(int disposal, int transparentIndex, int delay) {
  out_ += "\x21\xF9\x04";
  out_.push_back(static_cast<char>(((disposal & 7) << 2) | (transparentIndex >= 0 ? 1 : 0)));
  Put16(out_, delay);
  out_.push_back(static_cast<char>(transparentIndex >= 0 ? transparentIndex : 0));
  out_.push_back('\0');
  return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
  out_ += "\x21\xFE";
  out_ += SubBlocks(text);
  return *this;
}

GifBuilder& GifBuilder::Loop(int count) {
  out_ += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
  Put16(out_, count);
  out_.push_back('\0');
  return *this;
}

GifBuilder& GifBuilder::Image(const GifTestImage& image) {
  out_.push_back('\x2C');
  Put16(out_, image.left);
  Put16(out_, image.top);
  Put16(out_, image.width);
  Put16(out_, image.height);
  int packed = image.interlaced ? 0x40 : 0;
  if (!image.localTable.empty()) packed |= 0x80 | (TableBits(image.localTable.size()) - 1);
  out_.push_back(static_cast<char>(packed));
  PutTable(out_, image.localTable);
  if (!image.rawData.empty()) {
    out_ += image.rawData;
    return *this;
  }
  int codeSize = image.codeSize;
  if (codeSize == 0) {
    int maxIndex = 1;
    for (std::uint8_t i : image.indices) maxIndex = std::max<int>(maxIndex, i);
    codeSize = std::max(2, TableBits(static_cast<std::size_t>(maxIndex) + 1));
  }
  out_.push_back(static_cast<char>(codeSize));
  const auto order =
      image.interlaced ? InterlaceRows(image.indices, image.width, image.height) : image.indices;
  out_ += SubBlocks(LzwCompress(order, codeSize));
  return *this;
}

GifBuilder& GifBuilder::Fill(int left, int top, int width, int height, std::uint8_t index,
                             std::vector<std::uint32_t> localTable) {
  GifTestImage image;
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
  image.indices.assign(static_cast<std::size_t>(width) * height, index);
  image.localTable = std::move(localTable);
  return Image(image);
}

GifBuilder& GifBuilder::Raw(const std::string& bytes) {
  out_ += bytes;
  return *this;
}

std::string GifBuilder::Bytes(bool trailer) const { return trailer ? out_ + "\x3B" : out_; }

std::vector<std::uint32_t> DistinctTable(int count) {
  return Table(count, [](int i) {
    return static_cast<std::uint32_t>(((i * 37 + 11) & 0xFF) << 16 | ((i * 91 + 5) & 0xFF) << 8 |
                                      ((i * 53 + 200) & 0xFF));
  });
}

GifTestImage ImageAt(int left, int top, int width, int height, std::vector<std::uint8_t> indices,
                     std::vector<std::uint32_t> localTable) {
  GifTestImage image;
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
  image.indices = std::move(indices);
  image.localTable = std::move(localTable);
  return image;
}
