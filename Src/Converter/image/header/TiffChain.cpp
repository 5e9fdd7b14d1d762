#include "image/header/TiffChain.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kWidthTag = 256, kLengthTag = 257, kBitsTag = 258, kSamplesTag = 277;
// Directories larger than this are read only this far (the size tags come first, sorted).
constexpr std::uint64_t kMaxEntriesRead = 4096;
constexpr std::uint64_t kMaxValue = std::uint64_t{1} << 32;

int TypeSize(std::uint32_t type) {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7: return 1;  // bytes, ASCII
    case 3:
    case 8: return 2;  // SHORT, SSHORT
    case 4:
    case 9:
    case 11:
    case 13: return 4;
    case 5:
    case 10:
    case 12:
    case 16:
    case 17:
    case 18: return 8;
    default: return 0;
  }
}

}  // namespace

bool TiffChain::Start(ByteSource& bytes) {
  bytes_ = &bytes;
  HeaderReader in(bytes, false);
  const std::uint32_t order = in.U16(0);
  if (order != 0x4949 && order != 0x4D4D) return false;
  bigEndian_ = order == 0x4D4D;
  in.SetBigEndian(bigEndian_);
  const std::uint32_t version = in.U16(2);
  if (version == 43 && (in.U16(4) != 8 || in.U16(6) != 0)) return false;
  if (version != 42 && version != 43) return false;
  big_ = version == 43;
  const std::uint64_t first = in.Uint(static_cast<std::uint64_t>(FirstOffsetAt()), OffsetSize());
  offsets_.clear();
  seen_.clear();
  ended_ = !in.ok() || first == 0;
  if (!ended_) {
    offsets_.push_back(first);
    seen_.insert(first);
  }
  return in.ok();
}

bool TiffChain::Step() {
  HeaderReader in = Reader();
  const int countSize = big_ ? 8 : 2, entrySize = big_ ? 20 : 12;
  const std::uint64_t dir = offsets_.back();
  const std::uint64_t entries = in.Uint(dir, countSize);
  // The directory stands whole when its count, its entries and its link are in the file;
  // one without entries is no directory either.
  const bool countFits = in.ok() && entries <= in.Size() / static_cast<std::uint64_t>(entrySize);
  const std::uint64_t linkAt =
      countFits ? dir + static_cast<std::uint64_t>(countSize) + entries * entrySize : 0;
  const bool fits = countFits && linkAt + static_cast<std::uint64_t>(OffsetSize()) <= in.Size();
  if (!fits || entries == 0) {
    lastCut_ = true;
    cutPastTheEnd_ = !fits;
    ended_ = true;
    return false;
  }
  const std::uint64_t next = in.Uint(linkAt, OffsetSize());
  if (!in.ok() || next == 0 || !seen_.insert(next).second) {  // the end, or a loop
    ended_ = true;
    return false;
  }
  offsets_.push_back(next);
  return true;
}

std::optional<std::uint64_t> TiffChain::DirectoryOf(int page) {
  if (page < 0 || !bytes_) return std::nullopt;
  while (static_cast<std::size_t>(page) >= offsets_.size() && !ended_ && Step()) {}
  if (static_cast<std::size_t>(page) >= offsets_.size()) return std::nullopt;
  return offsets_[static_cast<std::size_t>(page)];
}

TiffChain::Extent TiffChain::Walk(int most) {
  Extent extent;
  if (!bytes_ || offsets_.empty()) return extent;
  while (!ended_ && offsets_.size() < static_cast<std::size_t>(most) && Step()) {}
  // The last directory found counts when it could be read whole, or was not read at all
  // because the walk stopped at `most`.
  extent.pages = static_cast<int>(offsets_.size()) - (lastCut_ ? 1 : 0);
  extent.brokenAfter = lastCut_;
  extent.pastTheEnd = cutPastTheEnd_;
  return extent;
}

std::optional<TiffChain::Field> TiffChain::PageField(int page, std::uint16_t tag) {
  const std::optional<std::uint64_t> dir = DirectoryOf(page);
  if (!dir) return std::nullopt;
  HeaderReader in = Reader();
  const int countSize = big_ ? 8 : 2, entrySize = big_ ? 20 : 12, valueSize = OffsetSize();
  const std::uint64_t entries = std::min(in.Uint(*dir, countSize), kMaxEntriesRead);
  for (std::uint64_t e = 0; e < entries && in.ok(); ++e) {
    const std::uint64_t at = *dir + static_cast<std::uint64_t>(countSize) + e * entrySize;
    if (in.U16(at) != tag) continue;
    Field field;
    field.type = in.U16(at + 2);
    const int size = TypeSize(field.type);
    if (size == 0 || size > valueSize) return std::nullopt;
    field.count = in.Uint(at + 4, valueSize);
    const std::uint64_t valueAt = at + 4 + static_cast<std::uint64_t>(valueSize);
    // A value longer than the field stands elsewhere; only the first one is read.
    const bool inField = field.count <= static_cast<std::uint64_t>(valueSize / size);
    const std::uint64_t first = inField ? valueAt : in.Uint(valueAt, valueSize);
    field.first = std::min(in.Uint(first, size), kMaxValue);
    if (!in.ok()) return std::nullopt;
    return field;
  }
  return std::nullopt;
}

std::optional<DeclaredPicture> TiffChain::PageHeader(int page) {
  const std::optional<Field> width = PageField(page, kWidthTag);
  const std::optional<Field> length = PageField(page, kLengthTag);
  if (!width || !length) return std::nullopt;
  const std::optional<Field> bits = PageField(page, kBitsTag);
  const std::optional<Field> samples = PageField(page, kSamplesTag);
  // Both default to 1; clamped so that the product stays far from overflow.
  const auto atLeastOne = [](const std::optional<Field>& f) {
    return std::clamp<std::int64_t>(f ? static_cast<std::int64_t>(f->first) : 1, 1, 1 << 12);
  };
  DeclaredPicture picture;
  picture.width = static_cast<std::int64_t>(width->first);
  picture.height = static_cast<std::int64_t>(length->first);
  picture.bpp = static_cast<int>(atLeastOne(bits) * atLeastOne(samples));
  return picture;
}
