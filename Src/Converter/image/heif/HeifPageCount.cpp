#include "image/heif/HeifPageCount.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace {

std::uint64_t Big(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

bool IsType(const std::uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// One box: its type and where its contents lie.
struct Box {
  const std::uint8_t* type = nullptr;
  std::uint64_t start = 0;  // the first byte after the header
  std::uint64_t end = 0;    // one past the last byte
};

// The box whose header starts at `at` (before `limit`), read by `header`; false when it does
// not fit. A size of 0 runs to `limit`, a size of 1 is given in 64 bits after the type.
bool ReadBox(const std::uint8_t* header, std::size_t available, std::uint64_t at,
             std::uint64_t limit, Box& box) {
  if (available < 8 || limit - at < 8) return false;
  std::uint64_t size = Big(header, 4), headerBytes = 8;
  if (size == 1) {
    if (available < 16 || limit - at < 16) return false;
    size = Big(header + 8, 8), headerBytes = 16;
  } else if (size == 0) {
    size = limit - at;
  }
  if (size < headerBytes || size > limit - at) return false;
  box = {header + 4, at + headerBytes, at + size};
  return true;
}

// The boxes directly inside `bytes[from, to)`; stops at the first that does not fit.
std::vector<Box> Children(const std::vector<std::uint8_t>& bytes, std::uint64_t from,
                          std::uint64_t to) {
  std::vector<Box> boxes;
  Box box;
  while (from < to && ReadBox(bytes.data() + from, bytes.size() - from, from, to, box)) {
    boxes.push_back(box);
    from = box.end;
  }
  return boxes;
}

// Item types of pictures, coded or derived.
bool IsImageType(const std::uint8_t* type) {
  for (const char* image : {"hvc1", "av01", "grid", "iden", "iovl", "jpeg", "j2k1", "avc1", "unci"})
    if (IsType(type, image)) return true;
  return false;
}

// The visible image items of an 'iinf' box (a full box: version, flags, entry count, 'infe'
// boxes).
std::vector<std::uint64_t> VisibleImages(const std::vector<std::uint8_t>& meta, const Box& iinf) {
  std::vector<std::uint64_t> images;
  if (iinf.end - iinf.start < 6) return images;
  const std::uint64_t countBytes = meta[iinf.start] == 0 ? 2 : 4;
  for (const Box& infe : Children(meta, iinf.start + 4 + countBytes, iinf.end)) {
    if (!IsType(infe.type, "infe") || infe.end - infe.start < 4) continue;
    const std::uint8_t* p = meta.data() + infe.start;
    const int version = p[0];
    const bool hidden = (p[3] & 1) != 0;
    // Versions 2 and 3 carry the item type: ID (16 or 32 bits), protection index, type.
    const int idBytes = version == 2 ? 2 : version == 3 ? 4 : 0;
    if (idBytes == 0 || infe.end - infe.start < std::uint64_t(4 + idBytes + 2 + 4)) continue;
    if (!hidden && IsImageType(p + 4 + idBytes + 2)) images.push_back(Big(p + 4, idBytes));
  }
  return images;
}

// The items that are thumbnails or auxiliary images of another, from an 'iref' box: a full
// box of references, each a box header, a from-ID, a count and the to-IDs (IDs of 16 bits in
// version 0, else 32). As libheif does, the references are read one after another whatever
// sizes their headers give, and they end at the first one that does not fit.
std::unordered_set<std::uint64_t> Dependents(const std::vector<std::uint8_t>& meta,
                                             const Box& iref) {
  std::unordered_set<std::uint64_t> dependents;
  if (iref.end - iref.start < 4) return dependents;
  const std::uint64_t idBytes = meta[iref.start] == 0 ? 2 : 4;
  std::uint64_t at = iref.start + 4;
  const auto take = [&](std::uint64_t bytes) {
    if (iref.end - at < bytes) return false;
    at += bytes;
    return true;
  };
  while (at < iref.end) {
    const std::uint8_t* header = meta.data() + at;
    if (!take(8)) break;
    if (Big(header, 4) == 1 && !take(8)) break;          // a 64-bit size follows
    if (IsType(header + 4, "uuid") && !take(16)) break;  // an extended type follows
    const std::uint8_t* ids = meta.data() + at;
    if (!take(idBytes + 2)) break;
    const std::uint64_t count = Big(ids + idBytes, 2);
    if (count > (iref.end - at) / idBytes) break;
    at += count * idBytes;
    if (IsType(header + 4, "thmb") || IsType(header + 4, "auxl"))
      dependents.insert(Big(ids, static_cast<int>(idBytes)));
  }
  return dependents;
}

int CountInMeta(const std::vector<std::uint8_t>& meta) {
  // 'meta' is a full box: its children follow its version and flags.
  // Of a box that is there twice, the first counts.
  std::vector<std::uint64_t> images;
  std::unordered_set<std::uint64_t> dependents;
  bool haveItems = false, haveReferences = false;
  for (const Box& child : Children(meta, 4, meta.size())) {
    if (IsType(child.type, "iinf") && !haveItems) {
      images = VisibleImages(meta, child);
      haveItems = true;
    }
    if (IsType(child.type, "iref") && !haveReferences) {
      dependents = Dependents(meta, child);
      haveReferences = true;
    }
  }
  return static_cast<int>(std::count_if(
      images.begin(), images.end(), [&](std::uint64_t id) { return dependents.count(id) == 0; }));
}

}  // namespace

int CountHeifPages(const HeifByteReader& read, std::uint64_t fileSize) {
  std::uint64_t at = 0;
  std::uint8_t header[16];
  // The top-level boxes, up to the 'meta' box.
  while (at < fileSize) {
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(16, fileSize - at));
    Box box;
    if (!read(at, available, header) || !ReadBox(header, available, at, fileSize, box)) return -1;
    if (IsType(box.type, "meta")) {
      const std::uint64_t size = box.end - box.start;
      if (size < 4 || size > kMaxHeifMetaBytes) return -1;
      std::vector<std::uint8_t> meta(static_cast<std::size_t>(size));
      if (!read(box.start, meta.size(), meta.data())) return -1;
      return CountInMeta(meta);
    }
    at = box.end;
  }
  return -1;
}

int CountHeifPages(const std::uint8_t* data, std::size_t size) {
  return CountHeifPages(
      [&](std::uint64_t offset, std::size_t length, std::uint8_t* out) {
        if (offset > size || size - offset < length) return false;
        std::memcpy(out, data + offset, length);
        return true;
      },
      size);
}

int CountHeifPagesInFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  struct stat st;
  const std::uint64_t size = fstat(fileno(file), &st) == 0 ? std::uint64_t(st.st_size) : 0;
  const int pages = CountHeifPages(
      [&](std::uint64_t offset, std::size_t length, std::uint8_t* out) {
        return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
               std::fread(out, 1, length, file) == length;
      },
      size);
  std::fclose(file);
  return pages;
}
