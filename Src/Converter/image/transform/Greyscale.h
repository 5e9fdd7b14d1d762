// The greyscale step: every pixel becomes the plain average of its three colours.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// In place on a 32-bit picture (*result stays null): blue, green and red all become
// (blue + green + red) div 3; the fourth byte is unchanged. E_IMG_NOT_32BIT otherwise.
HRESULT ConvertToGrey(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
