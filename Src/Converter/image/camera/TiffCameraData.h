// Writes camera data into a TIFF file FreeImage has just written (its TIFF writer drops
// the Exif and GPS directories and the IPTC records): a new first directory with the
// file's own entries and the camera's goes at the end of the file, the header points to
// it, and the old directory is left unreferenced.
#pragma once

#include <string>

#include "image/camera/CameraData.h"

// True when the file holds the data; false when it is not a little-endian TIFF or a write
// failed (the file is then not to be used).
bool AddCameraDataToTiff(const std::string& path, const CameraData& data);
