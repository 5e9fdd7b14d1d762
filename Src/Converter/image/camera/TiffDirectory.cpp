#include "image/camera/TiffDirectory.h"

#include <algorithm>

#include "platform/ByteCodes.h"

int TiffTypeSize(std::uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7: return 1;
    case 3:
    case 8: return 2;
    case 4:
    case 9:
    case 11: return 4;
    case 5:
    case 10:
    case 12: return 8;
    default: return 0;
  }
}

std::uint32_t AppendTiffDirectory(std::vector<std::uint8_t>& out, std::uint32_t base,
                                  std::vector<TiffEntry> entries, std::uint32_t next) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  if ((base + out.size()) % 2) out.push_back(0);  // directories and values start on a word
  const auto at = [&] { return static_cast<std::uint32_t>(base + out.size()); };
  const std::uint32_t directory = at();
  const std::size_t first = out.size() + 2;
  AppendLE16(out, static_cast<std::uint32_t>(entries.size()));
  out.resize(first + 12 * entries.size() + 4, 0);
  WriteLE32(out.data() + first + 12 * entries.size(), next);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TiffEntry& e = entries[i];
    std::uint8_t* slot = out.data() + first + 12 * i;
    slot[0] = static_cast<std::uint8_t>(e.tag), slot[1] = static_cast<std::uint8_t>(e.tag >> 8);
    slot[2] = static_cast<std::uint8_t>(e.type), slot[3] = static_cast<std::uint8_t>(e.type >> 8);
    WriteLE32(slot + 4, e.count);
    if (e.placed || e.value.size() <= 4) {
      std::copy_n(e.value.begin(), std::min<std::size_t>(4, e.value.size()), slot + 8);
      continue;
    }
    if ((base + out.size()) % 2) out.push_back(0);
    WriteLE32(out.data() + first + 12 * i + 8, at());  // `slot` may have moved
    out.insert(out.end(), e.value.begin(), e.value.end());
  }
  return directory;
}

namespace {

bool ReadAt(std::FILE* file, std::uint32_t offset, std::uint8_t* bytes, std::size_t size) {
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(bytes, 1, size, file) == size;
}

}  // namespace

bool ReadFirstTiffDirectory(std::FILE* file, std::uint32_t& offset, std::vector<TiffEntry>& entries,
                            std::uint32_t& next) {
  std::uint8_t header[8];
  if (!ReadAt(file, 0, header, 8) || header[0] != 'I' || header[1] != 'I' ||
      ReadLE16(header + 2) != 42)
    return false;
  offset = ReadLE32(header + 4);
  std::uint8_t count[2];
  if (!ReadAt(file, offset, count, 2)) return false;
  std::vector<std::uint8_t> bytes(12u * ReadLE16(count) + 4);
  if (!ReadAt(file, offset + 2, bytes.data(), bytes.size())) return false;
  entries.clear();
  for (std::size_t i = 0; i + 4 < bytes.size(); i += 12) {
    const std::uint8_t* e = bytes.data() + i;
    entries.push_back({ReadLE16(e), ReadLE16(e + 2), ReadLE32(e + 4), {e + 8, e + 12}, true});
  }
  next = ReadLE32(bytes.data() + bytes.size() - 4);
  return true;
}
