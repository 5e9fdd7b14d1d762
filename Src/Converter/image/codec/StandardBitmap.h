// Turns any picture FreeImage can decode into an ordinary bitmap (FIT_BITMAP), so that
// every later step reads 1-, 4-, 8-, 16-, 24- or 32-bit pixels and never floats or 16-bit
// samples. Deep samples keep their tones: 16-bit channels by their high byte, floats
// 0..1 mapped to 0..255; alpha is kept.
#pragma once

#include <FreeImage.h>

// `picture` itself when it is already ordinary; otherwise a new ordinary bitmap (the
// caller still owns and unloads `picture`), or nullptr when no conversion exists.
FIBITMAP* ToStandardBitmap(FIBITMAP* picture);

// A new ordinary bitmap from a TIFF page of 16-bit float samples. FreeImage turns RGB half
// floats into 32-bit floats itself but holds grey, grey and alpha, and RGBA half floats as
// raw 16-bit words under a wrong type; those words are converted as float samples are.
// nullptr when the layout is none of these or the memory cannot be had.
FIBITMAP* FromHalfFloatPage(FIBITMAP* page);
