// The program's own GIF decoder.
#pragma once

#include <FreeImage.h>

#include <string>

#include "platform/Result.h"

// The number of images (frames) in the file, or 0 when it cannot be decoded.
int CountGifFrames(const std::string& path);
// Decodes frame `index` (from 0) and returns it as a new 32-bit picture in *picture:
// 0 on success, E_IMG_LOAD when the file cannot be decoded or has no such frame.
HRESULT LoadGifFrame(const std::string& path, int index, FIBITMAP** picture);
