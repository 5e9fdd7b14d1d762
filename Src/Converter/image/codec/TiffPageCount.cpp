#include "image/codec/TiffPageCount.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include <sys/stat.h>

namespace {

// Integers in the file's byte order.
class Order {
 public:
  explicit Order(bool little) : little_(little) {}
  std::uint64_t Read(const std::uint8_t* p, int bytes) const {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (little_ ? i : bytes - 1 - i);
      value |= std::uint64_t{p[i]} << shift;
    }
    return value;
  }

 private:
  bool little_;
};

// The shape of a classic or a big TIFF's directories.
struct Layout {
  int countBytes;   // the entry count at the directory's start
  int entryBytes;   // one entry
  int offsetBytes;  // the next-directory offset after the entries
};
constexpr Layout kClassic{2, 12, 4};
constexpr Layout kBig{8, 20, 8};

}  // namespace

TiffPageChain WalkTiffPages(const TiffByteReader& read, std::uint64_t fileSize) {
  TiffPageChain chain;
  std::uint8_t header[16];
  if (fileSize < 8 || !read(0, 8, header)) return chain;
  const bool little = header[0] == 'I' && header[1] == 'I';
  if (!little && !(header[0] == 'M' && header[1] == 'M')) return chain;
  const Order order(little);
  const std::uint64_t version = order.Read(header + 2, 2);
  Layout layout = kClassic;
  std::uint64_t offset = 0;
  if (version == 42) {
    offset = order.Read(header + 4, 4);
  } else if (version == 43) {
    // BigTIFF: offset size 8, a zero, then the 64-bit offset of the first directory.
    if (fileSize < 16 || !read(8, 8, header + 8) || order.Read(header + 4, 2) != 8) return chain;
    layout = kBig;
    offset = order.Read(header + 8, 8);
  } else {
    return chain;
  }
  std::unordered_set<std::uint64_t> seen;
  std::uint8_t field[8];
  // Ends the walk at a next directory that cannot be read whole.
  const auto broken = [&](bool pastTheEnd) {
    chain.brokenAfter = true;
    chain.pastTheEnd = pastTheEnd;
    return chain;
  };
  while (offset != 0 && chain.pages < kMaxTiffPages) {
    if (!seen.insert(offset).second) return chain;  // a loop names no page not read yet
    // The whole directory must lie within the file: its count, its entries, its link.
    if (offset < 8 || offset > fileSize || fileSize - offset < std::uint64_t(layout.countBytes))
      return broken(offset >= 8);
    if (!read(offset, layout.countBytes, field)) return broken(true);
    const std::uint64_t entries = order.Read(field, layout.countBytes);
    if (entries == 0) return broken(false);
    const std::uint64_t room = fileSize - offset - layout.countBytes;
    if (entries > room / layout.entryBytes ||
        room - entries * layout.entryBytes < std::uint64_t(layout.offsetBytes))
      return broken(true);
    const std::uint64_t link = offset + layout.countBytes + entries * layout.entryBytes;
    if (!read(link, layout.offsetBytes, field)) return broken(true);
    ++chain.pages;
    offset = order.Read(field, layout.offsetBytes);
  }
  return chain;
}

int CountTiffPages(const TiffByteReader& read, std::uint64_t fileSize) {
  return WalkTiffPages(read, fileSize).pages;
}

int CountTiffPages(const std::uint8_t* data, std::size_t size) {
  return CountTiffPages(
      [&](std::uint64_t offset, std::size_t length, std::uint8_t* out) {
        if (offset > size || size - offset < length) return false;
        std::memcpy(out, data + offset, length);
        return true;
      },
      size);
}

TiffPageChain WalkTiffPagesInFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {-1, false, false};
  struct stat st;
  const std::uint64_t size = fstat(fileno(file), &st) == 0 ? std::uint64_t(st.st_size) : 0;
  const TiffPageChain chain = WalkTiffPages(
      [&](std::uint64_t offset, std::size_t length, std::uint8_t* out) {
        return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
               std::fread(out, 1, length, file) == length;
      },
      size);
  std::fclose(file);
  return chain;
}

int CountTiffPagesInFile(const std::string& path) { return WalkTiffPagesInFile(path).pages; }
