// The bit-depth step: a picture at 1, 8, 16, 24 or 32 bits per pixel, and the 8-bit grey
// picture of JPEG destinations. FreeImage converts between depths; 8 bits from a deeper
// picture is a palette of up to 256 colours by Wu's quantiser, and 1 bit is black for the
// dark pixels. Each entry leaves `picture` as it is and puts what it makes in *result,
// which stays null when the picture already has what was asked.
#pragma once

#include <FreeImage.h>

#include "platform/Result.h"

// `picture` at `bpp` bits per pixel (16: 5-5-5). E_INVALIDARG for another depth, E_FAIL
// when FreeImage makes nothing, E_OUTOFMEMORY when the 1-bit picture cannot be had.
HRESULT ConvertBitDepth(FIBITMAP* picture, int bpp, FIBITMAP** result);

// `picture` (of more than 8 bits) at 8 bits on Wu's palette of it, with the rounding error
// of each pixel spread onto its neighbours (Dither.h). E_FAIL when FreeImage makes nothing,
// E_OUTOFMEMORY when the dithered picture cannot be had.
HRESULT ConvertToDitheredPalette(FIBITMAP* picture, FIBITMAP** result);

// `picture` as an 8-bit grey picture; palette pictures are turned grey by their colours,
// not by their indexes. E_FAIL when FreeImage makes nothing.
HRESULT ConvertToGrey8(FIBITMAP* picture, FIBITMAP** result);
