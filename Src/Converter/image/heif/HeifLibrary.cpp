#include "image/heif/HeifLibrary.h"

#include <mutex>

#include "image/ImageResult.h"

void StartLibheif() {
  static std::once_flag started;
  std::call_once(started, [] { heif_init(nullptr); });
}

bool HeifOk(const heif_error& error) { return error.code == heif_error_Ok; }

HRESULT LoadCodeOf(const heif_error& error) {
  if (HeifOk(error)) return S_OK;
  if (error.subcode == heif_suberror_End_of_data) return E_IMG_TRUNCATED;
  if (error.code == heif_error_Invalid_input || error.code == heif_error_Decoder_plugin_error)
    return E_IMG_CORRUPT;
  return E_IMG_LOAD;
}

bool LibheifDecodes(heif_compression_format format) {
  StartLibheif();
  return heif_have_decoder_for_format(format) != 0;
}

bool LibheifEncodes(heif_compression_format format) {
  StartLibheif();
  return heif_have_encoder_for_format(format) != 0;
}
