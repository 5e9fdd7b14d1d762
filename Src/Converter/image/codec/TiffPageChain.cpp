#include "image/codec/TiffPageChain.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>

namespace {

constexpr int kMostDirectories = 65536;  // a bound for chains that loop

class TiffReader {
 public:
  explicit TiffReader(const std::string& path)
      : file_(std::fopen(path.c_str(), "rb"), std::fclose) {
    if (!file_ || std::fseek(file_.get(), 0, SEEK_END) != 0) return;
    size_ = std::ftell(file_.get());
  }
  long size() const { return size_; }
  void SetByteOrder(bool bigEndian) { bigEndian_ = bigEndian; }

  // The unsigned value of `bytes` (2 or 4) bytes at `offset`; false past the end.
  bool Read(long offset, int bytes, std::uint32_t& value) {
    if (!file_ || offset < 0 || offset + bytes > size_) return false;
    unsigned char b[4];
    if (std::fseek(file_.get(), offset, SEEK_SET) != 0 ||
        std::fread(b, 1, static_cast<std::size_t>(bytes), file_.get()) !=
            static_cast<std::size_t>(bytes))
      return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) {
      const int shift = bigEndian_ ? 8 * (bytes - 1 - i) : 8 * i;
      value |= static_cast<std::uint32_t>(b[i]) << shift;
    }
    return true;
  }

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  long size_ = -1;
  bool bigEndian_ = false;
};

}  // namespace

TiffPageChain ReadTiffPageChain(const std::string& path) {
  TiffPageChain chain;
  TiffReader reader(path);
  std::uint32_t order = 0, magic = 0, offset = 0;
  if (!reader.Read(0, 2, order) || (order != 0x4949 && order != 0x4D4D)) return chain;
  reader.SetByteOrder(order == 0x4D4D);
  if (!reader.Read(2, 2, magic) || magic != 42 || !reader.Read(4, 4, offset)) return chain;
  std::set<std::uint32_t> seen;
  while (offset != 0 && chain.complete < kMostDirectories) {
    std::uint32_t entries = 0, next = 0;
    const long start = static_cast<long>(offset);
    if (!seen.insert(offset).second) break;  // a loop claims no more pages
    // A directory: a 2-byte count, 12 bytes per entry, the 4-byte offset of the next.
    if (!reader.Read(start, 2, entries) || !reader.Read(start + 2 + 12L * entries, 4, next)) {
      chain.brokenAfter = true;
      chain.pastTheEnd = start + 2 + 12L * entries + 4 > reader.size();
      break;
    }
    ++chain.complete;
    offset = next;
  }
  return chain;
}
