// Turns any picture FreeImage can decode into an ordinary bitmap (FIT_BITMAP), so that
// every later step reads 1-, 4-, 8-, 16-, 24- or 32-bit pixels and never floats or 16-bit
// samples. Deep samples keep their tones: 16-bit channels by their high byte, floats
// 0..1 mapped to 0..255; alpha is kept.
#pragma once

#include <FreeImage.h>

// `picture` itself when it is already ordinary; otherwise a new ordinary bitmap (the
// caller still owns and unloads `picture`), or nullptr when no conversion exists.
FIBITMAP* ToStandardBitmap(FIBITMAP* picture);
