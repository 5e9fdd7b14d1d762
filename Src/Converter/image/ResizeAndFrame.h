// Resize, crop, pad and frame: the geometry of the resize mode and the frame.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// Works on a 32-bit picture. Sets *result to a new picture that replaces it, or leaves
// *result null when the step changed the picture in place (or had nothing to do).
HRESULT ResizeAndFrame(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
