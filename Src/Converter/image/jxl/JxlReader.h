// JPEG XL files read through libjxl: the first (or only) frame as a picture with the colour
// profile of its pixels. Deep samples (above 8 bits, floats too) are reduced to bytes by
// their high byte, as FreeImage's 16-bit types are; libjxl applies the file's orientation.
#pragma once

#include <string>

#include "image/codec/DecodedPicture.h"
#include "platform/Result.h"

// Decodes the picture into `out`: 0; E_IMG_TRUNCATED or E_IMG_CORRUPT when libjxl finds the
// file cut short or damaged; E_IMG_LOAD when it cannot be read otherwise or declares a
// picture over the budget. `out` is left empty on failure.
HRESULT LoadJxlPicture(const std::string& path, DecodedPicture& out);
