#include "image/heif/HeifLibrary.h"

#include <mutex>

void StartLibheif() {
  static std::once_flag started;
  std::call_once(started, [] { heif_init(nullptr); });
}

bool HeifOk(const heif_error& error) { return error.code == heif_error_Ok; }

bool LibheifDecodes(heif_compression_format format) {
  StartLibheif();
  return heif_have_decoder_for_format(format) != 0;
}

bool LibheifEncodes(heif_compression_format format) {
  StartLibheif();
  return heif_have_encoder_for_format(format) != 0;
}
