// Where everything of the colour popup lies: the automatic box at the top, the forty
// colour cells, the "more colours" box at the bottom, which box a mouse point is over,
// and where the popup goes so that it stays on the screen. Pure arithmetic, no windows.
#pragma once

#include <wx/gdicmn.h>

#include <optional>

// Box numbers besides the cells 0..39.
constexpr int NoBox = -1;
constexpr int CustomBox = -2;   // "More Colours..."
constexpr int DefaultBox = -3;  // "Automatic"

// Cell size for an edge width `margin`: 18 pixels, unless that leaves less than 5 pixels
// of colour inside the cell's insets.
int ColourBoxSize(int margin);

struct ColourPopupLayout {
  int margin = 2;
  int boxSize = 18;
  bool hasDefault = false;
  bool hasCustom = false;
  int textBoxHeight = 0;  // height of a text box's content, 0 without texts
  wxSize size;            // the popup's client and window size
  wxRect defaultRect;     // client coordinates, empty without the box
  wxRect customRect;

  wxRect CellRect(int index) const;
  // The area a box occupies (cell, custom or default box), for redrawing it.
  wxRect BoxRect(int box) const;
  // The box under a client point, or nothing when the point is over none of them
  // (between boxes, on the border, or outside the popup while it holds the mouse).
  std::optional<int> HitTest(wxPoint client) const;
};

// Lays out a popup whose texts measure `defaultText` and `customText` in its font; an
// empty text (size 0 x 0 and `has...` false) has no box.
ColourPopupLayout LayOutColourPopup(int margin, bool hasDefault, wxSize defaultText, bool hasCustom,
                                    wxSize customText);

// The top-left corner of a popup of `size` asked for at `wanted` (screen coordinates),
// kept inside `screen`: moved left off the right edge, right to the left edge, and above
// the picker (bottom at `pickerTop`) when it would reach below the screen.
wxPoint PlaceColourPopup(wxPoint wanted, wxSize size, int pickerTop, const wxRect& screen);
