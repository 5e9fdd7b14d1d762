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
