// The forty named colours of the colour popup, row by row in eight columns, and the
// automatic colour. Colours are COLORREF values 0x00BBGGRR.
#pragma once

#include <array>

#include "settings/ConversionSettings.h"

// The "automatic" colour: painted as the system button face, never a real RGB value.
constexpr COLORREF DefaultColour = 0xFF000000;

constexpr COLORREF MakeColourRef(unsigned red, unsigned green, unsigned blue) {
  return red | (green << 8) | (blue << 16);
}
constexpr unsigned RedOf(COLORREF c) { return c & 0xFF; }
constexpr unsigned GreenOf(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr unsigned BlueOf(COLORREF c) { return (c >> 16) & 0xFF; }

struct NamedColour {
  const char* name;  // the cell's tooltip text
  COLORREF colour;
};

constexpr int ColourCount = 40;
constexpr int ColourColumns = 8;
constexpr int ColourRows = ColourCount / ColourColumns + (ColourCount % ColourColumns ? 1 : 0);

extern const std::array<NamedColour, ColourCount> ColourTable;

// The first table index whose colour equals `colour` exactly, or -1.
int FindColourIndex(COLORREF colour);
