// The resize step: resize, crop or pad to the target by the resize mode, and add the
// frame, all in one resample into a new picture, with the filter the settings name (box
// unless it is Lanczos). The fill colour (paddingColor) shows in
// the frame and in the bands of the padding mode.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// Works on a 32-bit picture, or on a 24-bit one as if it were its 32-bit copy (decoded
// JPEGs are 24-bit: the copy would cost more than the resample), and sets *result to the
// new 32-bit picture that replaces it. E_IMG_NOT_32BIT for any other picture; E_IMG_TOO_SMALL when
// the canvas would have no pixel; E_OUTOFMEMORY when it is larger than a picture may be or cannot
// be allocated. On failure *result stays null and the picture is unchanged.
HRESULT ResizeAndFrame(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
