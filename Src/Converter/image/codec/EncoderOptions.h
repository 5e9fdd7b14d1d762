// EncoderOptions: what the encoders are told besides the picture and the destination's
// type, gathered once from a run's settings. A new encoder choice is a field here, filled
// in EncoderOptionsFor and read by the encoder it concerns; nothing else changes.
#pragma once

#include "settings/ConversionSettings.h"

struct EncoderOptions {
  int quality = 80;          // 1 to 100, for every type that takes a quality
  bool greyScale = false;    // the output is grey: no colour profile goes with it
  bool progressive = false;  // JPEG: written progressive
  bool gifDither = false;    // GIF: Floyd-Steinberg error diffusion onto the palette
};

inline EncoderOptions EncoderOptionsFor(const ConversionSettings& settings) {
  EncoderOptions options;
  options.quality = settings.jpegQualityNew;
  options.greyScale = settings.greyScale;
  options.progressive = settings.progressive;
  options.gifDither = settings.gifDither;
  return options;
}
