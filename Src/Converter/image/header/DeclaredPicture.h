// The size of the picture a file declares, read by our own small header readers for the
// formats whose header FreeImage cannot read apart from the pixels, and the check that
// refuses a picture whose conversion would not fit the per-picture budget before any
// decoder allocates for it.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <optional>
#include <string>

#include "image/header/ByteSource.h"

struct DeclaredPicture {
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bpp = 0;  // bits per pixel over all channels, as the file stores them
};

// Whether one of our own readers judges files of this type (FreeImage's header-only load
// judges the others where it can).
bool HasOwnHeaderReader(int type);
// The picture that page `page` of a file of this type declares (page counts for TIFF
// only); none when the type has no reader of its own or the header cannot be read.
std::optional<DeclaredPicture> ReadDeclaredPicture(int type, ByteSource& bytes, int page);

// Whether converting the declared picture stays within the per-picture budget.
bool DeclaredPictureAllowed(int type, const DeclaredPicture& picture);

// Whether the picture that would be decoded from `path` (page `page` of a TIFF, else the
// file's one picture) fits the budget, judged from its header alone. A header that cannot
// be read passes, and the decode then reports the fault.
bool DeclaredSizeAllowed(FREE_IMAGE_FORMAT fif, const std::string& path, int page);
