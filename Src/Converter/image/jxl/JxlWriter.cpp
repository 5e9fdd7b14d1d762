#include "image/jxl/JxlWriter.h"

#include <jxl/encode.h>
#include <jxl/encode_cxx.h>
#include <jxl/thread_parallel_runner.h>
#include <jxl/thread_parallel_runner_cxx.h>

#include <algorithm>
#include <vector>

#include "image/ImageResult.h"
#include "image/codec/CheckedSave.h"
#include "image/codec/ColourProfile.h"
#include "image/codec/RgbRows.h"

namespace {

bool Ok(JxlEncoderStatus status) { return status == JXL_ENC_SUCCESS; }

// The Butteraugli distance libjxl is given for a quality below 100: 0.1 + (100 - q) x 0.09
// from 30 up, and a parabola meeting it at 30 below (as libjxl's own tools map it).
float JxlDistanceFor(int quality) {
  const float q = static_cast<float>(std::clamp(quality, 1, 99));
  if (q >= 30) return 0.1f + (100.0f - q) * 0.09f;
  return 53.0f / 3000.0f * q * q - 23.0f / 20.0f * q + 25.0f;
}

// Describes the picture: its size, channels and colour space, 8 bits a sample.
bool SetPictureInfo(JxlEncoder* encoder, FIBITMAP* picture, int channels, bool lossless) {
  JxlBasicInfo info;
  JxlEncoderInitBasicInfo(&info);
  info.xsize = FreeImage_GetWidth(picture);
  info.ysize = FreeImage_GetHeight(picture);
  info.bits_per_sample = 8;
  info.num_color_channels = channels == 1 ? 1 : 3;
  info.alpha_bits = channels == 4 ? 8 : 0;
  info.num_extra_channels = channels == 4 ? 1 : 0;
  info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
  if (!Ok(JxlEncoderSetBasicInfo(encoder, &info))) return false;
  const ColourProfile profile = ProfileOf(picture);
  if (!profile.empty()) return Ok(JxlEncoderSetICCProfile(encoder, profile.data(), profile.size()));
  JxlColorEncoding srgb;
  JxlColorEncodingSetToSRGB(&srgb, channels == 1 ? JXL_TRUE : JXL_FALSE);
  return Ok(JxlEncoderSetColorEncoding(encoder, &srgb));
}

bool SetQuality(JxlEncoderFrameSettings* settings, int quality) {
  if (quality >= 100)
    return Ok(JxlEncoderSetFrameLossless(settings, JXL_TRUE)) &&
           Ok(JxlEncoderSetFrameDistance(settings, 0.0f));
  return Ok(JxlEncoderSetFrameDistance(settings, JxlDistanceFor(quality)));
}

bool Encode(FIBITMAP* picture, int quality, std::vector<std::uint8_t>& bytes) {
  const int channels = RgbChannelsOf(picture);
  if (channels == 0) return false;
  const JxlEncoderPtr encoder = JxlEncoderMake(nullptr);
  const JxlThreadParallelRunnerPtr runner =
      JxlThreadParallelRunnerMake(nullptr, JxlThreadParallelRunnerDefaultNumWorkerThreads());
  if (!encoder || !runner ||
      !Ok(JxlEncoderSetParallelRunner(encoder.get(), JxlThreadParallelRunner, runner.get())) ||
      !SetPictureInfo(encoder.get(), picture, channels, quality >= 100))
    return false;
  JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
  if (!settings || !SetQuality(settings, quality)) return false;

  const std::size_t stride = std::size_t{FreeImage_GetWidth(picture)} * channels;
  std::vector<std::uint8_t> rows(stride * FreeImage_GetHeight(picture));
  CopyToRgbRows(picture, rows.data(), stride);
  const JxlPixelFormat format{static_cast<std::uint32_t>(channels), JXL_TYPE_UINT8,
                              JXL_NATIVE_ENDIAN, 0};
  if (!Ok(JxlEncoderAddImageFrame(settings, &format, rows.data(), rows.size()))) return false;
  JxlEncoderCloseInput(encoder.get());

  bytes.resize(64 * 1024);
  std::uint8_t* next = bytes.data();
  std::size_t room = bytes.size();
  for (;;) {
    const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder.get(), &next, &room);
    if (status == JXL_ENC_SUCCESS) break;
    if (status != JXL_ENC_NEED_MORE_OUTPUT) return false;
    const std::size_t used = static_cast<std::size_t>(next - bytes.data());
    bytes.resize(bytes.size() * 2);
    next = bytes.data() + used;
    room = bytes.size() - used;
  }
  bytes.resize(static_cast<std::size_t>(next - bytes.data()));
  return true;
}

}  // namespace

HRESULT WriteJxl(FIBITMAP* picture, const std::string& path, const EncoderOptions& options) {
  try {
    std::vector<std::uint8_t> bytes;
    if (!Encode(picture, options.quality, bytes)) return E_IMG_SAVE;
    return WriteFileChecked(path, bytes.data(), bytes.size()) ? S_OK : E_IMG_SAVE;
  } catch (...) {
    return E_IMG_SAVE;
  }
}
