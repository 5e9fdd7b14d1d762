// Floyd-Steinberg error diffusion onto a palette: smooth gradients (skies) reduced to a
// palette of 256 colours keep their look instead of breaking into bands.
#pragma once

#include <FreeImage.h>

// A new 8-bit picture with the palette of `paletted` (a quantisation of `picture`, such as
// FreeImage's Wu quantiser makes) whose pixels are those of the 24-bit `picture` with each
// pixel's rounding error spread onto its right and lower neighbours (7/16, 3/16, 5/16,
// 1/16), rows taken alternately left to right and right to left. Only the palette entries
// `paletted` uses are chosen. Null when the pictures do not fit (depths, sizes) or memory
// is short.
FIBITMAP* DitherOntoPalette(FIBITMAP* picture, FIBITMAP* paletted);
