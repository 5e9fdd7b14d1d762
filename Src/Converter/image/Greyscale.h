// Turns the whole picture grey.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// Works on a 32-bit picture. Sets *result to a new picture that replaces it, or leaves
// *result null when the step changed the picture in place (or had nothing to do).
HRESULT ConvertToGrey(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
