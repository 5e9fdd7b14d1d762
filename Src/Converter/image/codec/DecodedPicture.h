// A picture decoded by one of the libraries beside FreeImage (libheif, libjxl), with what its
// file says about it. These libraries turn a picture by the file's own rotation and mirroring
// while decoding, so the picture is upright and the camera data's orientation is not to be
// applied again.
#pragma once

#include <FreeImage.h>

#include "image/camera/CameraData.h"
#include "image/codec/ColourProfile.h"

struct DecodedPicture {
  FIBITMAP* picture = nullptr;  // 24- or 32-bit; the receiver owns it
  ColourProfile profile;        // the ICC profile of the pixels; empty for sRGB or none
  CameraData camera;            // the file's EXIF and XMP, when they were asked for
};
