// Camera orientation: reads the EXIF orientation a camera recorded (1 to 8) and turns a
// picture so that it stands upright, mirrored orientations included. At most one quarter
// turn and one in-place flip per picture.
#pragma once

#include <FreeImage.h>

#include <string>

#include "image/header/TiffChain.h"

// The picture's recorded orientation, 1 (upright) when it has none or an invalid one.
int RecordedOrientation(FIBITMAP* picture);

// The orientation tag of page `pageIndex` of a TIFF file, read from the file itself since
// FreeImage does not report it; 1 when absent, invalid or unreadable.
int TiffOrientation(const std::string& path, int pageIndex);
// The same from a directory chain already open on the file.
int TiffOrientation(TiffChain& chain, int pageIndex);

// A new upright picture for `orientation` 2 to 8, nullptr for 1 or when FreeImage fails;
// `picture` itself is left alone.
FIBITMAP* TurnedUpright(FIBITMAP* picture, int orientation);
