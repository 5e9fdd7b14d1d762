// AVIF files written through libheif and its AV1 encoder at the encoder options' quality
// (1 to 100, as for JPEG), colour at half resolution. HEIC is never written: its encoder
// (x265) is GPL-licensed.
#pragma once

#include <FreeImage.h>

#include <string>

#include "image/codec/EncoderOptions.h"
#include "platform/Result.h"

// Whether this libheif has an AV1 encoder.
bool CanEncodeAvif();

// Writes a 24-bit or 32-bit picture (alpha kept) with the ICC profile it carries: 0, or
// E_IMG_SAVE when the picture has another depth, the encoder fails or the file cannot be
// written whole.
HRESULT WriteAvif(FIBITMAP* picture, const std::string& path, const EncoderOptions& options);
