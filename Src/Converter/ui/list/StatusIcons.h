// StatusIcons: the conversion list's row icons, strip 142 of five 16x16 cells (not
// started, succeeded, failed, two blank), magenta transparent; the cell index is the
// item's status.
#pragma once

#include <wx/imaglist.h>

constexpr int kStatusIconSize = 16;
constexpr int kStatusIconCount = 5;

// A new image list with the five cells, masked; the caller owns it.
wxImageList* MakeStatusImageList();
