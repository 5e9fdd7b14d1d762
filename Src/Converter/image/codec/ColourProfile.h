// The ICC colour profile a picture carries, as bytes: read from a FreeImage bitmap and
// written onto one, so that the profile of a loaded file can follow it through steps that
// make new bitmaps.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <vector>

using ColourProfile = std::vector<std::uint8_t>;

// The profile of `picture`; empty when it has none.
ColourProfile ProfileOf(FIBITMAP* picture);
// Whether the profile describes RGB data (its header's colour space is 'RGB '): the only
// kind that fits the 24- and 32-bit pictures the program writes in colour.
bool DescribesRgb(const ColourProfile& profile);
// Gives `picture` exactly `profile`: an empty one removes what it had.
void SetProfile(FIBITMAP* picture, const ColourProfile& profile);
