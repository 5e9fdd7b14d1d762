// HEIF files, HEIC and AVIF alike, read through libheif: one of a file's top-level images
// (each is one page, numbered in file order like a TIFF's pages; HeifPageCount counts them)
// as a picture with its colour profile and camera data. Deep samples (10 and 12 bits) are reduced
// to 8 by their high bits; libheif applies the file's rotation, mirroring and crop.
#pragma once

#include <string>

#include "image/codec/DecodedPicture.h"
#include "platform/Result.h"

// Whether this libheif has a decoder for HEVC (HEIC) or AV1 (AVIF) coded pictures.
bool CanDecodeHeic();
bool CanDecodeAvif();

// Decodes top-level image `index` (from 0) into `out` (its EXIF and XMP only when
// `withCameraData`): 0; E_IMG_TRUNCATED or E_IMG_CORRUPT when libheif finds the file cut
// short or damaged; E_IMG_LOAD when it cannot be read otherwise, has no such image or
// declares a picture over the budget. `out` is left empty on failure.
HRESULT LoadHeifImage(const std::string& path, int index, bool withCameraData, DecodedPicture& out);
