// Which code reads or writes a file, decided by its name: the program's own GIF code, the
// HEIF and JPEG XL libraries, or one of FreeImage's formats.
#pragma once

#include <string>

constexpr int ImageTypeOwnGif = 100;
constexpr int ImageTypeHeic = 101;  // HEIC and HEIF through libheif; read only
constexpr int ImageTypeAvif = 102;  // AVIF through libheif
constexpr int ImageTypeJxl = 103;   // JPEG XL through libjxl

// The program's own types by the text after the path's last "." in any case (GIF, HEIC,
// HEIF, HIF, AVIF, JXL), else FreeImage's format for the path (-1 when it knows none).
int GetImageType(const std::string& path);
// Whether files of the path's type can be read (or written) by this build.
bool IsSupportedType(const std::string& path, bool forReading);
// Whether the type is decoded by libheif or libjxl, which turn the picture by the file's
// own orientation as they decode it.
bool DecodedUpright(int type);
// Pages of a TIFF (-1 when it cannot be opened, 0 when it is no TIFF), frames of a GIF (0
// when undecodable), top-level pictures of a HEIF file (1 when its boxes show none, so that
// its load reports the fault), 0 for an unknown type, 1 for every other type. No count runs
// a decoder: all are our own readers, safe on any bytes.
int GetPageCount(const std::string& path);

// The pages of a file as GetPageCount counts them, and, when the file claims more pages
// than can be read (a TIFF whose chain of pages breaks off), why the rest cannot be read,
// as "the pages after page 2 cannot be read: the file is truncated".
struct PageCount {
  int pages = 0;
  std::string unreadableRest;  // empty when every page the file claims is counted
};
PageCount CountPages(const std::string& path);

// For a file whose extension names a picture type this build cannot read (SVG, CR3, HEIC
// without its decoder, ...), that type's name in capitals; empty for a readable type and
// for a file that is no picture by its name.
std::string UnreadablePictureType(const std::string& path);
