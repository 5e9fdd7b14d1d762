// JPEG XL files written through libjxl at a quality of 1 to 100 like JPEG's; quality 100
// writes the pixels losslessly.
#pragma once

#include <FreeImage.h>

#include <string>

#include "platform/Result.h"

// Writes an 8-bit grey, 24-bit or 32-bit picture (alpha kept) with the ICC profile it
// carries (none: sRGB): 0, or E_IMG_SAVE when the picture has another depth, the encoder
// fails or the file cannot be written whole.
HRESULT WriteJxl(FIBITMAP* picture, const std::string& path, int quality);

// The Butteraugli distance libjxl is given for a quality below 100: 0.1 + (100 - q) x 0.09
// from 30 up, and a parabola through the same point below (as libjxl's own tools map it).
float JxlDistanceFor(int quality);
