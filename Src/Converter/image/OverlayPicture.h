// Loading the overlay picture of a run: page 0 of its file as a 32-bit picture. A logo
// read by the GIF reader has the fourth byte 0 in every pixel, so that a six-digit key
// (RRGGBB) keys it out; the key comparison is the only reader of that byte, so outputs
// stay opaque.
#pragma once

#include <string>

#include "image/ImageBuffer.h"

// Load's result; on success the picture is converted to 32 bits (a failed conversion is
// left for the overlay step to report per item).
HRESULT LoadOverlayPicture(ImageBuffer& overlay, const std::string& path);
