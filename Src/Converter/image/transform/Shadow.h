// The drop shadow step: the picture on a larger canvas of the background colour, above a
// rectangular shadow offset away from the light, with a solid core and a soft edge whose
// strength falls off linearly over the blur width (see ShadowLayout, ShadowFalloff).
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// Works on a 32-bit picture and sets *result to the larger picture that replaces it. The
// picture's own pixels are copied whole; shadow and background pixels are opaque.
// E_IMG_NOT_32BIT for a picture of another depth; E_OUTOFMEMORY when the canvas is larger
// than a picture may be or cannot be allocated (then *result stays null).
HRESULT AddShadow(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
