// Which code reads or writes a file, decided by its name: the program's own GIF code
// or one of FreeImage's formats.
#pragma once

#include <string>

constexpr int ImageTypeOwnGif = 100;

// ImageTypeOwnGif when the text after the path's last "." is "GIF" in any case, else
// FreeImage's format for the path (-1 when it knows none).
int GetImageType(const std::string& path);
// Whether files of the path's type can be read (or written).
bool IsSupportedType(const std::string& path, bool forReading);
// Pages of a TIFF (-1 when it cannot be opened, 0 when it is no TIFF), frames of a GIF (0
// when undecodable), 0 for an unknown type, 1 for every other type. Neither count runs a
// decoder: both are our own readers, safe on any bytes.
int GetPageCount(const std::string& path);

// The pages of a file as GetPageCount counts them, and, when the file claims more pages
// than can be read (a TIFF whose chain of pages breaks off), why the rest cannot be read,
// as "the pages after page 2 cannot be read: the file is truncated".
struct PageCount {
  int pages = 0;
  std::string unreadableRest;  // empty when every page the file claims is counted
};
PageCount CountPages(const std::string& path);
