#include "image/heif/HeifReader.h"

#include <cstring>
#include <vector>

#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "image/codec/RgbRows.h"
#include "image/heif/HeifLibrary.h"
#include "platform/FileRead.h"
#include "platform/QuietStandardError.h"

namespace {

// libheif reads its files from memory: bounded, and never blocking on a FIFO.
constexpr std::size_t kMaxHeifFileBytes = static_cast<std::size_t>(kMaxPictureBytes);

using OptionsPtr = std::unique_ptr<heif_decoding_options, decltype(&heif_decoding_options_free)>;

// An opened HEIF file: its bytes stay alive while the context reads them.
struct HeifFile {
  std::vector<std::uint8_t> bytes;
  HeifContextPtr context{nullptr, heif_context_free};
};

// Reads the file and its boxes: 0, or the load code of what went wrong.
HRESULT Open(const std::string& path, HeifFile& file) {
  StartLibheif();
  if (!ReadWholeFile(path, kMaxHeifFileBytes, file.bytes)) return E_IMG_LOAD;
  file.context.reset(heif_context_alloc());
  if (!file.context) return E_IMG_LOAD;
  return LoadCodeOf(heif_context_read_from_memory_without_copy(
      file.context.get(), file.bytes.data(), file.bytes.size(), nullptr));
}

std::vector<heif_item_id> TopLevelImages(heif_context* context) {
  const int count = heif_context_get_number_of_top_level_images(context);
  std::vector<heif_item_id> ids(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (!ids.empty())
    heif_context_get_list_of_top_level_image_IDs(context, ids.data(), static_cast<int>(ids.size()));
  return ids;
}

std::vector<heif_item_id> MetadataBlocks(heif_image_handle* handle, const char* type) {
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
  std::vector<heif_item_id> ids(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (!ids.empty())
    heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(),
                                                     static_cast<int>(ids.size()));
  return ids;
}

std::vector<std::uint8_t> MetadataBytes(heif_image_handle* handle, heif_item_id id) {
  std::vector<std::uint8_t> bytes(heif_image_handle_get_metadata_size(handle, id));
  if (bytes.empty() || !HeifOk(heif_image_handle_get_metadata(handle, id, bytes.data()))) return {};
  return bytes;
}

// The first EXIF block as a bare TIFF block: HEIF puts a 4-byte big-endian offset to the
// TIFF header before it.
std::vector<std::uint8_t> ExifOf(heif_image_handle* handle) {
  for (heif_item_id id : MetadataBlocks(handle, "Exif")) {
    const std::vector<std::uint8_t> block = MetadataBytes(handle, id);
    if (block.size() < 4) continue;
    const std::uint64_t skip = 4 + (std::uint64_t{block[0]} << 24 | std::uint64_t{block[1]} << 16 |
                                    std::uint64_t{block[2]} << 8 | block[3]);
    if (skip < block.size())
      return {block.begin() + static_cast<std::ptrdiff_t>(skip), block.end()};
  }
  return {};
}

std::string XmpOf(heif_image_handle* handle) {
  for (heif_item_id id : MetadataBlocks(handle, "mime")) {
    const char* type = heif_image_handle_get_metadata_content_type(handle, id);
    if (!type || std::strcmp(type, "application/rdf+xml") != 0) continue;
    const std::vector<std::uint8_t> packet = MetadataBytes(handle, id);
    return {packet.begin(), packet.end()};
  }
  return {};
}

// An ICC profile stored with the picture; a profile given as colour codes (nclx) is none.
ColourProfile ProfileOf(heif_image_handle* handle) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
  ColourProfile profile(heif_image_handle_get_raw_color_profile_size(handle));
  if (profile.empty() || !HeifOk(heif_image_handle_get_raw_color_profile(handle, profile.data())))
    return {};
  return profile;
}

HRESULT Decode(heif_context* context, int index, bool withCameraData, DecodedPicture& out) {
  const std::vector<heif_item_id> ids = TopLevelImages(context);
  if (index < 0 || static_cast<std::size_t>(index) >= ids.size()) return E_IMG_LOAD;
  heif_image_handle* rawHandle = nullptr;
  const HRESULT found = LoadCodeOf(
      heif_context_get_image_handle(context, ids[static_cast<std::size_t>(index)], &rawHandle));
  if (Failed(found)) return found;
  const HeifHandlePtr handle(rawHandle, heif_image_handle_release);
  // The declared size is judged before libheif allocates anything for the pixels.
  if (!PictureSizeAllowed(heif_image_handle_get_width(rawHandle),
                          heif_image_handle_get_height(rawHandle)))
    return E_IMG_LOAD;
  const bool alpha = heif_image_handle_has_alpha_channel(rawHandle) != 0;
  const OptionsPtr options(heif_decoding_options_alloc(), heif_decoding_options_free);
  heif_image* rawImage = nullptr;
  // Deep samples come out as bytes: libheif keeps their high bits.
  if (!options) return E_IMG_LOAD;
  const HRESULT decoded = LoadCodeOf(heif_decode_image(
      rawHandle, &rawImage, heif_colorspace_RGB,
      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()));
  if (Failed(decoded)) return decoded;
  const HeifImagePtr image(rawImage, heif_image_release);
  int stride = 0;
  const std::uint8_t* rows =
      heif_image_get_plane_readonly(rawImage, heif_channel_interleaved, &stride);
  const int width = heif_image_get_width(rawImage, heif_channel_interleaved);
  const int height = heif_image_get_height(rawImage, heif_channel_interleaved);
  if (!rows || stride <= 0 ||
      heif_image_get_bits_per_pixel_range(rawImage, heif_channel_interleaved) != 8)
    return E_IMG_LOAD;
  out.picture =
      PictureFromRgbRows(rows, static_cast<std::size_t>(stride), width, height, alpha ? 4 : 3);
  if (!out.picture) return E_IMG_LOAD;
  out.profile = ProfileOf(rawHandle);
  if (withCameraData) out.camera = CameraDataOfBlocks(ExifOf(rawHandle), XmpOf(rawHandle));
  return S_OK;
}

}  // namespace

bool CanDecodeHeic() {
  static const bool can = LibheifDecodes(heif_compression_HEVC);
  return can;
}

bool CanDecodeAvif() {
  static const bool can = LibheifDecodes(heif_compression_AV1);
  return can;
}

HRESULT LoadHeifImage(const std::string& path, int index, bool withCameraData,
                      DecodedPicture& out) {
  out = {};
  try {
    HeifFile file;
    const HRESULT opened = Open(path, file);
    if (Failed(opened)) return opened;
    const QuietStandardError quiet;  // the AV1 decoder traces what it finds wrong
    const HRESULT hr = Decode(file.context.get(), index, withCameraData, out);
    if (Failed(hr) && out.picture) FreeImage_Unload(out.picture);
    if (Failed(hr)) out = {};
    return hr;
  } catch (...) {
    if (out.picture) FreeImage_Unload(out.picture);
    out = {};
    return E_IMG_LOAD;
  }
}
