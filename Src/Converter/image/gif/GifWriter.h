// The program's own GIF encoder: a picture of at most 8 bits per pixel becomes a
// single-image GIF89a file. The raster is taken straight from the picture's bits (no
// intermediate file), encoded in memory, and only then written; a write that fails
// leaves no partial file behind.
#pragma once

#include <FreeImage.h>

#include <string>

#include "platform/Result.h"

// Writes a picture of 1, 4 or 8 bits per pixel as a GIF file: 0 on success, E_FAIL otherwise.
HRESULT WriteGif(const std::string& path, FIBITMAP* picture);
