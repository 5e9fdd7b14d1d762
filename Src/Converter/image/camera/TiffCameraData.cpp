#include "image/camera/TiffCameraData.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <limits>

#include "image/camera/ExifBlock.h"
#include "image/camera/TiffDirectory.h"
#include "platform/ByteCodes.h"

namespace {

constexpr std::uint16_t kXmp = 700;
constexpr std::uint16_t kIptc = 33723;

// The file's entries with the camera's added; for a tag both have, the file's layout
// wins (sizes, resolution it wrote) except the orientation, which FreeImage always
// writes as 1.
std::vector<TiffEntry> Merged(std::vector<TiffEntry> file, const std::vector<TiffEntry>& camera) {
  for (const TiffEntry& entry : camera) {
    auto same = std::find_if(file.begin(), file.end(),
                             [&](const TiffEntry& e) { return e.tag == entry.tag; });
    if (same == file.end()) {
      file.push_back(entry);
    } else if (entry.tag == kOrientationTag) {
      *same = entry;
    }
  }
  return file;
}

// Tags that only describe JPEG-compressed data: a TIFF file's own directory says these.
CameraData WithoutJpegTags(CameraData data) {
  const auto drop = [](CameraTags& tags, std::initializer_list<std::uint16_t> ids) {
    std::erase_if(tags, [&](const CameraTag& t) {
      return std::find(ids.begin(), ids.end(), t.id) != ids.end();
    });
  };
  drop(data.main, {0x0213});                          // YCbCrPositioning
  drop(data.exif, {0x9101, 0x9102, 0xA002, 0xA003});  // components, compression, pixel sizes
  return data;
}

std::vector<TiffEntry> PacketsOf(const CameraData& data) {
  std::vector<TiffEntry> packets;
  if (!data.xmp.empty())
    packets.push_back(
        {kXmp, 1, static_cast<std::uint32_t>(data.xmp.size()), {data.xmp.begin(), data.xmp.end()}});
  // The records go as LONGs, as readers expect them: padded to a multiple of four bytes.
  std::vector<std::uint8_t> iptc = IptcRecords(data.iptc);
  iptc.resize((iptc.size() + 3) / 4 * 4, 0);
  if (!iptc.empty())
    packets.push_back(
        {kIptc, kTiffLong, static_cast<std::uint32_t>(iptc.size() / 4), std::move(iptc)});
  return packets;
}

}  // namespace

bool AddCameraDataToTiff(const std::string& path, const CameraData& described) {
  if (described.Empty()) return true;
  const CameraData data = WithoutJpegTags(described);
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return false;
  std::uint32_t first = 0, next = 0;
  std::vector<TiffEntry> entries;
  bool ok =
      ReadFirstTiffDirectory(file, first, entries, next) && std::fseek(file, 0, SEEK_END) == 0;
  const long end = ok ? std::ftell(file) : -1;
  ok = ok && end > 0 && end < std::numeric_limits<std::int32_t>::max();
  if (ok) {
    const auto base = static_cast<std::uint32_t>(end);
    std::vector<std::uint8_t> tail;
    std::vector<TiffEntry> camera = AppendCameraDirectories(tail, base, data);
    for (TiffEntry& packet : PacketsOf(data)) camera.push_back(std::move(packet));
    std::uint8_t offset[4];
    WriteLE32(offset, AppendTiffDirectory(tail, base, Merged(std::move(entries), camera), next));
    ok = std::fwrite(tail.data(), 1, tail.size(), file) == tail.size() &&
         std::fseek(file, 4, SEEK_SET) == 0 && std::fwrite(offset, 1, 4, file) == 4;
  }
  ok = std::fflush(file) == 0 && ok;
  return std::fclose(file) == 0 && ok;
}
