// Rotation by quarter turns clockwise. Every pixel moves whole, fourth byte included, so
// four quarter turns give the original picture back bit for bit.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// Rotates a 32-bit picture by `degrees` clockwise: 90 and 270 give a height x width
// picture, 180 one of the same size, in *result. 0 and any other angle leave the picture
// as it is (*result null, result 0). E_IMG_NOT_32BIT for a picture of another depth,
// E_OUTOFMEMORY when the new picture cannot be allocated.
HRESULT RotatePicture(FIBITMAP* picture, int degrees, FIBITMAP** result);

// The rotate step: RotatePicture by settings.rotateDegree.
HRESULT Rotate(FIBITMAP* picture, const ConversionSettings& settings, FIBITMAP** result);
