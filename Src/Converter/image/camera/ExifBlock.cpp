#include "image/camera/ExifBlock.h"

#include <algorithm>
#include <string>

#include "platform/ByteCodes.h"

namespace {

constexpr std::uint16_t kExifPointer = 0x8769;
constexpr std::uint16_t kGpsPointer = 0x8825;

std::vector<TiffEntry> EntriesOf(const CameraTags& tags) {
  std::vector<TiffEntry> entries;
  for (const CameraTag& t : tags) entries.push_back({t.id, t.type, t.count, t.value});
  return entries;
}

TiffEntry Pointer(std::uint16_t tag, std::uint32_t offset) {
  TiffEntry entry{tag, kTiffLong, 1, {}};
  AppendLE32(entry.value, offset);
  return entry;
}

// Datasets that may repeat, held by FreeImage as one text joined by ';'.
bool Repeats(std::uint16_t id) {
  return id == 0x0219 || id == 0x0214 || id == 0x020C || id == 0x0250 || id == 0x0276;
}

void AppendDataset(std::vector<std::uint8_t>& out, std::uint16_t id, const std::uint8_t* data,
                   std::size_t size) {
  if (size > 0x7FFF) return;  // longer datasets take an extended length nobody writes
  out.insert(out.end(), {0x1C, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id),
                         static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
  out.insert(out.end(), data, data + size);
}

}  // namespace

std::vector<TiffEntry> AppendCameraDirectories(std::vector<std::uint8_t>& out, std::uint32_t base,
                                               const CameraData& data) {
  std::vector<TiffEntry> first = EntriesOf(data.main);
  std::vector<TiffEntry> exif = EntriesOf(data.exif);
  if (!data.interop.empty()) {
    if (exif.empty()) exif.push_back({0x9000, kTiffUndefined, 4, {'0', '2', '3', '2'}});
    exif.push_back(
        Pointer(kInteropPointerTag, AppendTiffDirectory(out, base, EntriesOf(data.interop), 0)));
  }
  if (!data.gps.empty())
    first.push_back(Pointer(kGpsPointer, AppendTiffDirectory(out, base, EntriesOf(data.gps), 0)));
  if (!exif.empty())
    first.push_back(Pointer(kExifPointer, AppendTiffDirectory(out, base, std::move(exif), 0)));
  return first;
}

std::vector<std::uint8_t> ExifBlock(const CameraData& data) {
  if (data.main.empty() && data.exif.empty() && data.gps.empty() && data.interop.empty()) return {};
  std::vector<std::uint8_t> tiff = {'I', 'I', 42, 0, 0, 0, 0, 0};
  std::vector<TiffEntry> first = AppendCameraDirectories(tiff, 0, data);
  WriteLE32(tiff.data() + 4, AppendTiffDirectory(tiff, 0, std::move(first), 0));
  std::vector<std::uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
  block.insert(block.end(), tiff.begin(), tiff.end());
  return block;
}

std::vector<std::uint8_t> IptcRecords(const CameraTags& iptc) {
  CameraTags sorted = iptc;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const CameraTag& a, const CameraTag& b) { return a.id < b.id; });
  std::vector<std::uint8_t> out;
  for (const CameraTag& t : sorted) {
    if (t.type == 2 && Repeats(t.id)) {
      const std::string text(t.value.begin(), t.value.end());
      for (std::size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find(';', start), text.size());
        AppendDataset(out, t.id, t.value.data() + start, end - start);
      }
    } else if (t.value.size() == 2 && (t.type == 3 || t.type == 8)) {
      const std::uint8_t big[2] = {t.value[1], t.value[0]};  // numbers are big-endian here
      AppendDataset(out, t.id, big, 2);
    } else {
      AppendDataset(out, t.id, t.value.data(), t.value.size());
    }
  }
  return out;
}
