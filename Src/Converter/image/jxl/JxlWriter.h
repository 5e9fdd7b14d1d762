// JPEG XL files written through libjxl at the encoder options' quality (1 to 100, as for
// JPEG); quality 100 writes the pixels losslessly.
#pragma once

#include <FreeImage.h>

#include <string>

#include "image/codec/EncoderOptions.h"
#include "platform/Result.h"

// Writes an 8-bit grey, 24-bit or 32-bit picture (alpha kept) with the ICC profile it
// carries (none: sRGB): 0, or E_IMG_SAVE when the picture has another depth, the encoder
// fails or the file cannot be written whole.
HRESULT WriteJxl(FIBITMAP* picture, const std::string& path, const EncoderOptions& options);
