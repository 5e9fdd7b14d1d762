#include "image/codec/TiffPageTags.h"

#include <fstream>

namespace {

constexpr std::uint16_t kBitsPerSampleTag = 258;
constexpr std::uint16_t kSampleFormatTag = 339;
constexpr std::uint32_t kIeeeFloatSamples = 3;

// Reads TIFF integers of either byte order at any offset; a short read leaves ok false.
class TiffReader {
 public:
  explicit TiffReader(const std::string& path) : in_(path, std::ios::binary) {
    char order[2] = {};
    in_.read(order, 2);
    ok_ = in_.good() && order[0] == order[1] && (order[0] == 'I' || order[0] == 'M');
    big_ = order[0] == 'M';
  }
  bool ok() const { return ok_; }
  std::uint32_t Read(std::uint64_t offset, int bytes) {
    unsigned char b[4] = {};
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(b), bytes);
    if (!in_.good()) ok_ = false;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
      v |= static_cast<std::uint32_t>(big_ ? b[i] : b[bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return v;
  }

 private:
  std::ifstream in_;
  bool ok_ = false;
  bool big_ = false;
};

}  // namespace

std::optional<std::uint32_t> TiffPageTag(const std::string& path, int pageIndex,
                                         std::uint16_t tag) {
  if (pageIndex < 0) return std::nullopt;
  TiffReader tiff(path);
  if (!tiff.ok() || tiff.Read(2, 2) != 42) return std::nullopt;
  std::uint64_t ifd = tiff.Read(4, 4);
  // Walk the chain of directories to the page; a chain shorter than that has no answer.
  for (int page = 0; page < pageIndex && tiff.ok() && ifd != 0; ++page)
    ifd = tiff.Read(ifd + 2 + 12ull * tiff.Read(ifd, 2), 4);
  if (!tiff.ok() || ifd == 0) return std::nullopt;
  const std::uint32_t entries = tiff.Read(ifd, 2);
  for (std::uint32_t i = 0; i < entries && tiff.ok(); ++i) {
    const std::uint64_t entry = ifd + 2 + 12ull * i;
    if (tiff.Read(entry, 2) != tag) continue;
    const std::uint32_t type = tiff.Read(entry + 2, 2), count = tiff.Read(entry + 4, 4);
    const int size = type == 3 ? 2 : type == 4 ? 4 : 0;  // SHORT or LONG
    if (size == 0 || count < 1) return std::nullopt;
    // Values longer than four bytes stand elsewhere; the entry holds their offset.
    const std::uint64_t at = std::uint64_t{count} * size <= 4 ? entry + 8 : tiff.Read(entry + 8, 4);
    const std::uint32_t value = tiff.Read(at, size);
    if (tiff.ok()) return value;
    return std::nullopt;
  }
  return std::nullopt;
}

bool HasHalfFloatSamples(const std::string& path, int pageIndex) {
  return TiffPageTag(path, pageIndex, kSampleFormatTag) == kIeeeFloatSamples &&
         TiffPageTag(path, pageIndex, kBitsPerSampleTag) == 16u;
}
