// Between the picker's COLORREF values and the toolkit's colours. The automatic colour
// has no RGB value of its own: it shows as the system button face.
#pragma once

#include <wx/colour.h>
#include <wx/settings.h>

#include "ui/colour/ColourTable.h"

inline wxColour ToWxColour(COLORREF colour) {
  if (colour == DefaultColour) return wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  return wxColour(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

inline COLORREF ToColourRef(const wxColour& colour) {
  return MakeColourRef(colour.Red(), colour.Green(), colour.Blue());
}

// A caption colour that reads on `swatch`: `text` itself unless the two are close in
// brightness (black on a black swatch), then black or white, whichever stands out more.
inline wxColour ReadableOn(const wxColour& swatch, const wxColour& text) {
  auto brightness = [](const wxColour& c) {
    return (299 * c.Red() + 587 * c.Green() + 114 * c.Blue()) / 1000;
  };
  const int ground = brightness(swatch);
  const int difference =
      ground > brightness(text) ? ground - brightness(text) : brightness(text) - ground;
  if (difference >= 100) return text;
  return ground >= 128 ? *wxBLACK : *wxWHITE;
}
