// The toolbar's images: strips 134 (normal) and 135 (hot) of twelve 20x20 cells, with
// magenta as the transparent colour.
#pragma once

#include <wx/bitmap.h>

constexpr int kToolImageSize = 20;
constexpr int kToolImageCount = 12;

// Cell `index` of strip `stripId` (Res::ToolbarImages or Res::ToolbarHotImages), masked.
wxBitmap ToolbarImage(int stripId, int index);
