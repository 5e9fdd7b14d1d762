#include "image/heif/AvifWriter.h"

#include <algorithm>
#include <vector>

#include "image/ImageResult.h"
#include "image/codec/CheckedSave.h"
#include "image/codec/ColourProfile.h"
#include "image/codec/RgbRows.h"
#include "image/heif/HeifLibrary.h"

namespace {

using EncoderPtr = std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)>;

// The picture as a libheif image of interleaved RGB(A) bytes, with its profile.
HeifImagePtr ImageOf(FIBITMAP* picture) {
  HeifImagePtr none(nullptr, heif_image_release);
  const int channels = RgbChannelsOf(picture);
  if (channels != 3 && channels != 4) return none;
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  heif_image* raw = nullptr;
  if (!HeifOk(heif_image_create(
          width, height, heif_colorspace_RGB,
          channels == 4 ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &raw)))
    return none;
  HeifImagePtr image(raw, heif_image_release);
  int stride = 0;
  if (!HeifOk(heif_image_add_plane(raw, heif_channel_interleaved, width, height, 8))) return none;
  std::uint8_t* plane = heif_image_get_plane(raw, heif_channel_interleaved, &stride);
  if (!plane || stride <= 0) return none;
  CopyToRgbRows(picture, plane, static_cast<std::size_t>(stride));
  const ColourProfile profile = ProfileOf(picture);
  if (!profile.empty() &&
      !HeifOk(heif_image_set_raw_color_profile(raw, "prof", profile.data(), profile.size())))
    return none;
  return image;
}

heif_error Collect(heif_context*, const void* data, std::size_t size, void* bytes) {
  const auto* from = static_cast<const std::uint8_t*>(data);
  static_cast<std::vector<std::uint8_t>*>(bytes)->insert(
      static_cast<std::vector<std::uint8_t>*>(bytes)->end(), from, from + size);
  return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

bool Encode(FIBITMAP* picture, int quality, std::vector<std::uint8_t>& bytes) {
  const HeifContextPtr context(heif_context_alloc(), heif_context_free);
  if (!context) return false;
  heif_encoder* raw = nullptr;
  if (!HeifOk(heif_context_get_encoder_for_format(context.get(), heif_compression_AV1, &raw)))
    return false;
  const EncoderPtr encoder(raw, heif_encoder_release);
  const HeifImagePtr image = ImageOf(picture);
  if (!image || !HeifOk(heif_encoder_set_lossy_quality(raw, std::clamp(quality, 1, 100))) ||
      !HeifOk(heif_context_encode_image(context.get(), image.get(), raw, nullptr, nullptr)))
    return false;
  heif_writer writer{1, Collect};
  return HeifOk(heif_context_write(context.get(), &writer, &bytes));
}

}  // namespace

bool CanEncodeAvif() {
  static const bool can = LibheifEncodes(heif_compression_AV1);
  return can;
}

HRESULT WriteAvif(FIBITMAP* picture, const std::string& path, const EncoderOptions& options) {
  StartLibheif();
  try {
    std::vector<std::uint8_t> bytes;
    if (!Encode(picture, options.quality, bytes)) return E_IMG_SAVE;
    return WriteFileChecked(path, bytes.data(), bytes.size()) ? S_OK : E_IMG_SAVE;
  } catch (...) {
    return E_IMG_SAVE;
  }
}
