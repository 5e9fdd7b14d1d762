// The bit depths each destination type is written with: one table, read by the Resize
// Option page to offer the depths of the chosen type and by validation to refuse a depth
// the type cannot hold before the first picture is converted (FreeImage would write a
// broken file and report success, as for PNG or TIFF of 16 bits).
#pragma once

#include <span>
#include <string_view>
#include <vector>

struct DepthChoice {
  int bpp;
  std::string_view label;  // the page's text
};

// The depths a type of the page's list (jpg, gif, bmp, tif, png, tga, and their other
// extensions such as jpeg or tiff, in any case) holds, in the page's order (the first is
// the one to choose when neither the asked depth nor 24 bits is held); empty for every
// other type.
std::span<const DepthChoice> DepthChoicesFor(std::string_view extension);

// The depth a picture is written with when `bpp` is asked: JPEG 8 (grey) or else 24, GIF 1
// or else 8, every other type `bpp` itself.
int WrittenDepth(std::string_view extension, int bpp);

// The depths among 1, 8, 16, 24 and 32 a type is written with, ascending: those of its
// choices, or for a type without choices those FreeImage's writer takes; empty for a type
// that cannot be written.
std::vector<int> DepthsHeld(std::string_view extension);

// Whether asking for `bpp` gives a file of the type that holds what was asked.
bool HoldsDepth(std::string_view extension, int bpp);
