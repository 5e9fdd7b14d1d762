// Camera data: the EXIF directories, IPTC records and XMP packet of a loaded picture, held
// apart from its pixels so that an output made by any steps can still carry them, updated
// to describe the picture written (its orientation and sizes). Two things are never
// carried: an embedded thumbnail, which would show the old picture, and the maker note,
// whose private offsets point into the source's own block.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

struct CameraTag {
  std::string key;  // FreeImage's name, kept so that the tag can be handed back to it
  std::uint16_t id = 0;
  std::uint16_t type = 0;  // TIFF field type, 1 (BYTE) to 12 (DOUBLE)
  std::uint32_t count = 0;
  std::vector<std::uint8_t> value;  // little-endian, as FreeImage holds it on this machine
};
using CameraTags = std::vector<CameraTag>;

struct CameraData {
  CameraTags main;     // the first directory: camera, date, author, orientation, resolution
  CameraTags exif;     // the Exif directory: capture date and settings, sizes
  CameraTags gps;      // the GPS directory
  CameraTags interop;  // the interoperability directory
  CameraTags iptc;     // IPTC datasets, id = record << 8 | dataset
  std::string xmp;     // the XMP packet, empty when none

  bool Empty() const {
    return main.empty() && exif.empty() && gps.empty() && interop.empty() && iptc.empty() &&
           xmp.empty();
  }
};

// What FreeImage read of the loaded `picture`'s camera data.
CameraData CameraDataOf(FIBITMAP* picture);
// The camera data of a bare EXIF block (a TIFF header and its directories, as HEIF files
// carry it) and an XMP packet, read as FreeImage reads a JPEG's; empty parts give nothing,
// and an EXIF block larger than one JPEG segment holds is left out.
CameraData CameraDataOfBlocks(const std::vector<std::uint8_t>& tiff, const std::string& xmp);

// Makes the entries describe a written picture of `width` x `height` whose pixels show in
// `orientation` (1 to 8): the orientation tag (and XMP's), the Exif pixel sizes.
void Describe(CameraData& data, int width, int height, int orientation);

// Removes every piece of camera data and the thumbnail from `picture`.
void ClearCameraData(FIBITMAP* picture);

// Gives `picture`, about to be written as JPEG, exactly `data`: EXIF as the raw block the
// JPEG writer copies, IPTC and XMP as tags. False when FreeImage refuses a tag.
bool AttachForJpeg(FIBITMAP* picture, const CameraData& data);
