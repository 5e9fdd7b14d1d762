// The program's own GIF decoder, as the image loading sees it: the number of frames of a
// file, and one frame as a 32-bit picture. The file is read into memory once and decoded
// from there.
#pragma once

#include <FreeImage.h>

#include <string>

#include "platform/Result.h"

// The number of images (frames) in the file, or 0 when its frame 0 cannot be decoded.
int CountGifFrames(const std::string& path);
// Decodes frame `index` (from 0) and returns it as a new 32-bit picture in *picture:
// 0 on success, E_IMG_LOAD when the file cannot be decoded or has no such frame.
HRESULT LoadGifFrame(const std::string& path, int index, FIBITMAP** picture);
