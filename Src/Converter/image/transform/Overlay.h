// The overlay step: a second picture (settings.overlayImage, loaded by validation) laid
// over the converted picture at a position given as fractions of the free space, blended
// with the transparency weight, skipping overlay pixels equal to the transparent key.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// In place on a 32-bit picture (*result stays null). The overlay's top-left corner goes
// to (trunc((W - OW) x overlayHAlignRatio), trunc((H - OH) x overlayVAlignRatio)), which is
// negative when the overlay is larger, cutting it by the same fractions. A covered pixel
// p under overlay pixel q becomes BlendColor(p, q, overlayTransparency), opaque, unless q
// equals overlayTransparentClr in all 32 bits. E_IMG_NOT_32BIT when either picture is
// missing or not 32-bit.
HRESULT ApplyOverlay(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
