#include "ui/colour/ColourPopupLayout.h"

#include <algorithm>

#include "ui/colour/ColourTable.h"

int ColourBoxSize(int margin) {
  constexpr int preferred = 18;
  return preferred - (2 * margin + 2) < 5 ? 2 * margin + 7 : preferred;
}

ColourPopupLayout LayOutColourPopup(int margin, bool hasDefault, wxSize defaultText, bool hasCustom,
                                    wxSize customText) {
  ColourPopupLayout layout;
  const int m = margin;
  layout.margin = m;
  layout.boxSize = ColourBoxSize(m);
  layout.hasDefault = hasDefault;
  layout.hasCustom = hasCustom;
  int textWidth = 0;
  if (hasDefault || hasCustom) {
    textWidth = std::max(defaultText.x, customText.x) + 2 * m;
    layout.textBoxHeight = std::max(defaultText.y, customText.y) + 4 * m + 2;
  }
  const int tbh = layout.textBoxHeight;
  int width = ColourColumns * layout.boxSize + 2 * m;
  int height = ColourRows * layout.boxSize + 2 * m;
  if (hasDefault) {
    width = std::max(width, textWidth);
    layout.defaultRect = wxRect(wxPoint(m, m), wxPoint(width - m - 1, tbh + 2 * m - 1));
    height += tbh + 3 * m;
  }
  if (hasCustom) {
    width = std::max(width, textWidth);
    layout.customRect = wxRect(wxPoint(m, height), wxPoint(width - m - 1, height + m + tbh - 1));
    height += tbh + 3 * m;
  }
  layout.size = wxSize(width, height);
  return layout;
}

wxRect ColourPopupLayout::CellRect(int index) const {
  const int column = index % ColourColumns;
  const int row = index / ColourColumns;
  int top = row * boxSize + margin;
  if (hasDefault) top += textBoxHeight + 2 * margin;
  return wxRect(column * boxSize + margin, top, boxSize, boxSize);
}

wxRect ColourPopupLayout::BoxRect(int box) const {
  if (box == CustomBox) return customRect;
  if (box == DefaultBox) return defaultRect;
  if (box >= 0 && box < ColourCount) return CellRect(box);
  return wxRect();
}

std::optional<int> ColourPopupLayout::HitTest(wxPoint client) const {
  // The text boxes are tested with the point taken relative to the margin, as the cells
  // are; the cell arithmetic then drops the automatic box's height.
  wxPoint p = client - wxPoint(margin, margin);
  if (hasCustom && customRect.Contains(p)) return CustomBox;
  if (hasDefault && defaultRect.Contains(p)) return DefaultBox;
  if (hasDefault) p.y -= defaultRect.height;
  // Points left of or above the grid (the popup holds the mouse, so they arrive) would
  // otherwise truncate into column or row 0, or into negative box numbers.
  if (p.x < 0 || p.y < 0) return std::nullopt;
  const int row = p.y / boxSize;
  const int column = p.x / boxSize;
  if (row >= ColourRows || column >= ColourColumns) return std::nullopt;
  const int index = row * ColourColumns + column;
  if (index >= ColourCount) return std::nullopt;
  return index;
}

wxPoint PlaceColourPopup(wxPoint wanted, wxSize size, int pickerTop, const wxRect& screen) {
  wxPoint at = wanted;
  const int screenRight = screen.x + screen.width;
  const int screenBottom = screen.y + screen.height;
  if (at.x + size.x > screenRight) at.x -= at.x + size.x - screenRight;
  if (at.x < screen.x) at.x = screen.x;
  if (at.y + size.y > screenBottom) at.y = pickerTop - size.y;
  return at;
}
