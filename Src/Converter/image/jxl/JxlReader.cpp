#include "image/jxl/JxlReader.h"

#include <jxl/decode.h>
#include <jxl/decode_cxx.h>
#include <jxl/encode.h>  // JxlColorEncodingSetToSRGB
#include <jxl/thread_parallel_runner.h>
#include <jxl/thread_parallel_runner_cxx.h>

#include <vector>

#include "image/ImageResult.h"
#include "image/codec/PictureMemory.h"
#include "image/codec/RgbRows.h"
#include "platform/FileRead.h"
#include "platform/QuietStandardError.h"

namespace {

constexpr std::size_t kMaxJxlFileBytes = static_cast<std::size_t>(kMaxPictureBytes);

bool IsSrgb(const JxlColorEncoding& c) {
  return c.color_space == JXL_COLOR_SPACE_RGB && c.white_point == JXL_WHITE_POINT_D65 &&
         c.primaries == JXL_PRIMARIES_SRGB && c.transfer_function == JXL_TRANSFER_FUNCTION_SRGB;
}

// The profile of the decoded pixels: none for sRGB (what a picture without one means),
// else the ICC profile libjxl gives for them.
ColourProfile PixelProfile(const JxlDecoder* decoder) {
  JxlColorEncoding encoding;
  if (JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                         &encoding) == JXL_DEC_SUCCESS &&
      IsSrgb(encoding))
    return {};
  std::size_t size = 0;
  if (JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) !=
          JXL_DEC_SUCCESS ||
      size == 0)
    return {};
  ColourProfile profile(size);
  if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                     profile.data(), size) != JXL_DEC_SUCCESS)
    return {};
  return profile;
}

// Lossy pictures are held in libjxl's own colour space, and one whose profile it can only
// describe by ICC would come out in linear light: asked for sRGB instead, which 8-bit
// samples hold without banding.
void PreferSrgbOutput(JxlDecoder* decoder, const JxlBasicInfo& info) {
  JxlColorEncoding original;
  if (info.uses_original_profile ||
      JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL,
                                         &original) == JXL_DEC_SUCCESS)
    return;
  JxlColorEncoding srgb;
  JxlColorEncodingSetToSRGB(&srgb, info.num_color_channels == 1 ? JXL_TRUE : JXL_FALSE);
  JxlDecoderSetPreferredColorProfile(decoder, &srgb);
}

// 16-bit samples reduced to their high byte, in place: the bytes end up at the front.
void KeepHighBytes(std::vector<std::uint8_t>& samples) {
  const std::size_t count = samples.size() / 2;
  const auto* wide = reinterpret_cast<const std::uint16_t*>(samples.data());
  for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::uint8_t>(wide[i] >> 8);
  samples.resize(count);
}

HRESULT Decode(const std::vector<std::uint8_t>& bytes, DecodedPicture& out) {
  const JxlDecoderPtr decoder = JxlDecoderMake(nullptr);
  const JxlThreadParallelRunnerPtr runner =
      JxlThreadParallelRunnerMake(nullptr, JxlThreadParallelRunnerDefaultNumWorkerThreads());
  JxlDecoder* dec = decoder.get();
  if (!dec || !runner ||
      JxlDecoderSubscribeEvents(dec, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING |
                                         JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
      JxlDecoderSetParallelRunner(dec, JxlThreadParallelRunner, runner.get()) != JXL_DEC_SUCCESS ||
      JxlDecoderSetUnpremultiplyAlpha(dec, JXL_TRUE) != JXL_DEC_SUCCESS ||
      JxlDecoderSetInput(dec, bytes.data(), bytes.size()) != JXL_DEC_SUCCESS)
    return E_IMG_LOAD;
  // The input is left open: a decoder that runs out of it before the picture is complete
  // asks for more, which tells a cut file from a damaged one.

  JxlBasicInfo info{};
  JxlPixelFormat format{};
  std::vector<std::uint8_t> samples;
  for (;;) {
    switch (JxlDecoderProcessInput(dec)) {
      case JXL_DEC_BASIC_INFO: {
        if (JxlDecoderGetBasicInfo(dec, &info) != JXL_DEC_SUCCESS ||
            !PictureSizeAllowed(info.xsize, info.ysize))
          return E_IMG_LOAD;
        const bool deep = info.bits_per_sample > 8;
        format = {info.alpha_bits > 0 ? 4u : 3u, deep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8,
                  JXL_NATIVE_ENDIAN, 0};
        break;
      }
      case JXL_DEC_COLOR_ENCODING: PreferSrgbOutput(dec, info); break;
      case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
        std::size_t size = 0;
        if (JxlDecoderImageOutBufferSize(dec, &format, &size) != JXL_DEC_SUCCESS) return E_IMG_LOAD;
        samples.resize(size);
        if (JxlDecoderSetImageOutBuffer(dec, &format, samples.data(), size) != JXL_DEC_SUCCESS)
          return E_IMG_LOAD;
        break;
      }
      case JXL_DEC_FULL_IMAGE: {
        // The first frame is the picture; an animation's later frames are not read.
        if (format.data_type == JXL_TYPE_UINT16) KeepHighBytes(samples);
        const int channels = static_cast<int>(format.num_channels);
        out.picture = PictureFromRgbRows(samples.data(), std::size_t{info.xsize} * channels,
                                         static_cast<int>(info.xsize), static_cast<int>(info.ysize),
                                         channels);
        if (!out.picture) return E_IMG_LOAD;
        out.profile = PixelProfile(dec);
        return S_OK;
      }
      // Everything was given at once: asking for more means the file is cut short.
      case JXL_DEC_NEED_MORE_INPUT: return E_IMG_TRUNCATED;
      case JXL_DEC_ERROR: return E_IMG_CORRUPT;
      default: return E_IMG_LOAD;
    }
  }
}

}  // namespace

HRESULT LoadJxlPicture(const std::string& path, DecodedPicture& out) {
  out = {};
  try {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxJxlFileBytes, bytes)) return E_IMG_LOAD;
    const QuietStandardError quiet;  // libjxl traces what it finds wrong in a damaged file
    const HRESULT hr = Decode(bytes, out);
    if (Failed(hr)) out = {};
    return hr;
  } catch (...) {
    if (out.picture) FreeImage_Unload(out.picture);
    out = {};
    return E_IMG_LOAD;
  }
}
