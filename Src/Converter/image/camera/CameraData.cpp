#include "image/camera/CameraData.h"

#include <algorithm>
#include <regex>

#include "image/camera/ExifBlock.h"
#include "image/codec/FreeImageCall.h"
#include "image/camera/TiffDirectory.h"
#include "platform/ByteCodes.h"

namespace {

constexpr std::uint16_t kPixelXDimension = 0xA002;
constexpr std::uint16_t kPixelYDimension = 0xA003;
constexpr std::uint16_t kMakerNote = 0x927C;

// The first directory's tags that describe the picture rather than lay out its pixels:
// a TIFF source's strips, sizes and sample layout belong to that file alone.
bool Descriptive(std::uint16_t id) {
  static constexpr std::uint16_t kKept[] = {0x010E, 0x010F, 0x0110, 0x0112, 0x011A, 0x011B, 0x0128,
                                            0x0131, 0x0132, 0x013B, 0x0213, 0x4746, 0x4749, 0x8298,
                                            0x9C9B, 0x9C9C, 0x9C9D, 0x9C9E, 0x9C9F};
  return std::find(std::begin(kKept), std::end(kKept), id) != std::end(kKept);
}

CameraTags TagsOf(FIBITMAP* picture, FREE_IMAGE_MDMODEL model, bool (*keep)(std::uint16_t)) {
  CameraTags tags;
  FITAG* tag = nullptr;
  FIMETADATA* found = FreeImage_FindFirstMetadata(model, picture, &tag);
  if (!found) return tags;
  do {
    const auto type = static_cast<std::uint16_t>(FreeImage_GetTagType(tag));
    const auto* value = static_cast<const std::uint8_t*>(FreeImage_GetTagValue(tag));
    const DWORD length = FreeImage_GetTagLength(tag);
    const std::uint16_t id = FreeImage_GetTagID(tag);
    const bool wellFormed = TiffTypeSize(type) > 0 && value &&
                            length == FreeImage_GetTagCount(tag) * TiffTypeSize(type);
    if (wellFormed && keep(id))
      tags.push_back({FreeImage_GetTagKey(tag) ? FreeImage_GetTagKey(tag) : "",
                      id,
                      type,
                      FreeImage_GetTagCount(tag),
                      {value, value + length}});
  } while (FreeImage_FindNextMetadata(found, &tag));
  FreeImage_FindCloseMetadata(found);
  return tags;
}

bool Any(std::uint16_t) { return true; }
bool InExifDirectory(std::uint16_t id) { return id != kMakerNote && id != kInteropPointerTag; }

std::string XmpOf(FIBITMAP* picture) {
  FITAG* tag = nullptr;
  if (!FreeImage_GetMetadata(FIMD_XMP, picture, "XMLPacket", &tag) || !tag) return {};
  const char* text = static_cast<const char*>(FreeImage_GetTagValue(tag));
  if (!text) return {};
  std::string xmp(text, FreeImage_GetTagLength(tag));
  while (!xmp.empty() && xmp.back() == '\0') xmp.pop_back();
  return xmp;
}

// Sets tag `id` to one value of `type` (SHORT or LONG), adding it when `add`.
void SetNumber(CameraTags& tags, std::uint16_t id, const char* key, std::uint16_t type,
               std::uint32_t number, bool add) {
  auto tag = std::find_if(tags.begin(), tags.end(), [&](const CameraTag& t) { return t.id == id; });
  if (tag == tags.end()) {
    if (!add) return;
    tag = tags.insert(tags.end(), CameraTag{key, id, type, 1, {}});
  }
  tag->type = type, tag->count = 1, tag->value.clear();
  type == kTiffShort ? AppendLE16(tag->value, number) : AppendLE32(tag->value, number);
}

// Rewrites the number of an XMP property, written either as an attribute or as an element.
void SetXmpNumber(std::string& xmp, const std::string& property, int number) {
  const std::regex forms[] = {std::regex("(" + property + R"(\s*=\s*["']\s*)(\d+))"),
                              std::regex("(<" + property + R"(>\s*)(\d+))")};
  for (const std::regex& form : forms) {
    std::string made;
    auto rest = xmp.cbegin();
    for (std::sregex_iterator m(xmp.cbegin(), xmp.cend(), form), end; m != end; ++m) {
      made.append(rest, (*m)[2].first);
      made += std::to_string(number);
      rest = (*m)[2].second;
    }
    made.append(rest, xmp.cend());
    xmp = std::move(made);
  }
}

FITAG* MadeTag(const std::string& key, std::uint16_t id, std::uint16_t type, std::uint32_t count,
               const void* value, std::uint32_t length) {
  FITAG* tag = FreeImage_CreateTag();
  if (!tag) return nullptr;
  const bool made = FreeImage_SetTagKey(tag, key.c_str()) && FreeImage_SetTagID(tag, id) &&
                    FreeImage_SetTagType(tag, static_cast<FREE_IMAGE_MDTYPE>(type)) &&
                    FreeImage_SetTagCount(tag, count) && FreeImage_SetTagLength(tag, length) &&
                    FreeImage_SetTagValue(tag, value);
  if (made) return tag;
  FreeImage_DeleteTag(tag);
  return nullptr;
}

// Hands `tag` to the picture's `model` under its key; the picture keeps a copy.
bool Give(FIBITMAP* picture, FREE_IMAGE_MDMODEL model, FITAG* tag) {
  if (!tag) return false;
  const BOOL set = FreeImage_SetMetadata(model, picture, FreeImage_GetTagKey(tag), tag);
  FreeImage_DeleteTag(tag);
  return set != FALSE;
}

}  // namespace

CameraData CameraDataOf(FIBITMAP* picture) {
  CameraData data;
  if (!picture) return data;
  data.main = TagsOf(picture, FIMD_EXIF_MAIN, Descriptive);
  data.exif = TagsOf(picture, FIMD_EXIF_EXIF, InExifDirectory);
  data.gps = TagsOf(picture, FIMD_EXIF_GPS, Any);
  data.interop = TagsOf(picture, FIMD_EXIF_INTEROP, Any);
  data.iptc = TagsOf(picture, FIMD_IPTC, Any);
  data.xmp = XmpOf(picture);
  return data;
}

CameraData CameraDataOfBlocks(const std::vector<std::uint8_t>& tiff, const std::string& xmp) {
  // FreeImage reads camera data only out of the files it decodes: the blocks travel through a
  // one-pixel JPEG made in memory, so that they are read exactly as a JPEG's own would be.
  static constexpr std::uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
  std::vector<std::uint8_t> exif;
  if (!tiff.empty() && tiff.size() + sizeof kExifHeader <= kLargestExifBlock) {
    exif.assign(std::begin(kExifHeader), std::end(kExifHeader));
    exif.insert(exif.end(), tiff.begin(), tiff.end());
  }
  // An XMP segment holds its 29-byte name and the packet within 65,533 bytes.
  const bool withXmp = !xmp.empty() && xmp.size() <= 65533 - 29;
  if (exif.empty() && !withXmp) return {};
  return CallFreeImage(CameraData{}, [&] {
    CameraData data;
    FIBITMAP* pixel = FreeImage_Allocate(1, 1, 24);
    FIMEMORY* jpeg = FreeImage_OpenMemory();
    bool ready = pixel && jpeg;
    if (ready && !exif.empty())
      ready = Give(pixel, FIMD_EXIF_RAW,
                   MadeTag("ExifRaw", 0, 1, static_cast<std::uint32_t>(exif.size()), exif.data(),
                           static_cast<std::uint32_t>(exif.size())));
    if (ready && withXmp)
      ready = Give(pixel, FIMD_XMP,
                   MadeTag("XMLPacket", 0, 2, static_cast<std::uint32_t>(xmp.size()), xmp.data(),
                           static_cast<std::uint32_t>(xmp.size())));
    if (ready && FreeImage_SaveToMemory(FIF_JPEG, pixel, jpeg, 0) &&
        FreeImage_SeekMemory(jpeg, 0, SEEK_SET)) {
      if (FIBITMAP* header = FreeImage_LoadFromMemory(FIF_JPEG, jpeg, FIF_LOAD_NOPIXELS)) {
        data = CameraDataOf(header);
        FreeImage_Unload(header);
      }
    }
    if (jpeg) FreeImage_CloseMemory(jpeg);
    if (pixel) FreeImage_Unload(pixel);
    return data;
  });
}

void Describe(CameraData& data, int width, int height, int orientation) {
  SetNumber(data.main, kOrientationTag, "Orientation", kTiffShort,
            static_cast<std::uint32_t>(orientation), !data.main.empty() || orientation != 1);
  const bool exif = !data.exif.empty();
  SetNumber(data.exif, kPixelXDimension, "PixelXDimension", kTiffLong,
            static_cast<std::uint32_t>(width), exif);
  SetNumber(data.exif, kPixelYDimension, "PixelYDimension", kTiffLong,
            static_cast<std::uint32_t>(height), exif);
  if (data.xmp.empty()) return;
  SetXmpNumber(data.xmp, "tiff:Orientation", orientation);
  SetXmpNumber(data.xmp, "tiff:ImageWidth", width);
  SetXmpNumber(data.xmp, "tiff:ImageLength", height);
  SetXmpNumber(data.xmp, "exif:PixelXDimension", width);
  SetXmpNumber(data.xmp, "exif:PixelYDimension", height);
}

void ClearCameraData(FIBITMAP* picture) {
  if (!picture) return;
  for (FREE_IMAGE_MDMODEL model :
       {FIMD_EXIF_MAIN, FIMD_EXIF_EXIF, FIMD_EXIF_GPS, FIMD_EXIF_MAKERNOTE, FIMD_EXIF_INTEROP,
        FIMD_EXIF_RAW, FIMD_IPTC, FIMD_XMP})
    FreeImage_SetMetadata(model, picture, nullptr, nullptr);
  FreeImage_SetThumbnail(picture, nullptr);
}

bool AttachForJpeg(FIBITMAP* picture, const CameraData& data) {
  ClearCameraData(picture);
  bool ok = true;
  const std::vector<std::uint8_t> exif = ExifBlock(data);
  // One APP1 segment holds the block; a larger one could not be written whole.
  if (!exif.empty() && exif.size() <= kLargestExifBlock)
    ok &= Give(picture, FIMD_EXIF_RAW,
               MadeTag("ExifRaw", 0, 1, static_cast<std::uint32_t>(exif.size()), exif.data(),
                       static_cast<std::uint32_t>(exif.size())));
  for (const CameraTag& t : data.iptc)
    ok &= Give(picture, FIMD_IPTC,
               MadeTag(t.key, t.id, t.type, t.count, t.value.data(),
                       static_cast<std::uint32_t>(t.value.size())));
  if (!data.xmp.empty())
    ok &= Give(picture, FIMD_XMP,
               MadeTag("XMLPacket", 0, 2, static_cast<std::uint32_t>(data.xmp.size()),
                       data.xmp.data(), static_cast<std::uint32_t>(data.xmp.size())));
  return ok;
}
