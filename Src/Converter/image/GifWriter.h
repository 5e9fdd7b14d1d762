// The program's own GIF encoder.
#pragma once

#include <FreeImage.h>

#include <string>

#include "platform/Result.h"

// Writes a picture of 8 bits per pixel or fewer as a GIF file: 0 on success, E_FAIL otherwise.
HRESULT WriteGif(const std::string& path, FIBITMAP* picture);
