// The popup's geometry worked out by hand for a 2-pixel edge: box sizes, where the text
// boxes and cells lie, which box a mouse point is over (points outside the grid arrive
// too, since the popup holds the mouse), and where the popup goes near screen edges.
#include <gtest/gtest.h>

#include "ui/colour/ColourPopupLayout.h"

namespace {

// Texts of 80 x 15 and 95 x 15 pixels: text box height 15 + 4 x 2 + 2 = 25.
ColourPopupLayout BothBoxes() {
  return LayOutColourPopup(2, true, wxSize(80, 15), true, wxSize(95, 15));
}

}  // namespace

TEST(ColourPopupLayout, BoxSizeGrowsOnlyWhenTheColourWouldBeTooSmall) {
  EXPECT_EQ(ColourBoxSize(1), 18);
  EXPECT_EQ(ColourBoxSize(2), 18);
  EXPECT_EQ(ColourBoxSize(5), 18);  // 18 - 12 = 6 pixels of colour
  EXPECT_EQ(ColourBoxSize(6), 19);  // 18 - 14 = 4 would be too few: 2 x 6 + 7
  EXPECT_EQ(ColourBoxSize(8), 23);
}

TEST(ColourPopupLayout, BothTextBoxes) {
  const ColourPopupLayout l = BothBoxes();
  EXPECT_EQ(l.boxSize, 18);
  EXPECT_EQ(l.textBoxHeight, 25);
  // 8 x 18 + 4 wide; 5 x 18 + 4 for the grid, plus (25 + 6) for each text box.
  EXPECT_EQ(l.size, wxSize(148, 156));
  EXPECT_EQ(l.defaultRect, wxRect(2, 2, 144, 27));
  EXPECT_EQ(l.customRect, wxRect(2, 125, 144, 27));
  EXPECT_EQ(l.CellRect(0), wxRect(2, 31, 18, 18));
  EXPECT_EQ(l.CellRect(7), wxRect(128, 31, 18, 18));
  EXPECT_EQ(l.CellRect(8), wxRect(2, 49, 18, 18));
  EXPECT_EQ(l.CellRect(39), wxRect(128, 103, 18, 18));
  EXPECT_EQ(l.BoxRect(CustomBox), l.customRect);
  EXPECT_EQ(l.BoxRect(DefaultBox), l.defaultRect);
  EXPECT_EQ(l.BoxRect(NoBox), wxRect());
}

TEST(ColourPopupLayout, WideTextWidensThePopup) {
  const ColourPopupLayout l = LayOutColourPopup(2, true, wxSize(200, 15), true, wxSize(60, 15));
  EXPECT_EQ(l.size.x, 204);
  EXPECT_EQ(l.defaultRect, wxRect(2, 2, 200, 27));
  EXPECT_EQ(l.customRect.width, 200);
  EXPECT_EQ(l.CellRect(7).x, 128);  // the grid stays at the left
}

TEST(ColourPopupLayout, WithoutTextBoxes) {
  const ColourPopupLayout l = LayOutColourPopup(2, false, wxSize(), false, wxSize());
  EXPECT_EQ(l.textBoxHeight, 0);
  EXPECT_EQ(l.size, wxSize(148, 94));
  EXPECT_EQ(l.CellRect(0), wxRect(2, 2, 18, 18));
  EXPECT_EQ(l.CellRect(39), wxRect(128, 74, 18, 18));
  EXPECT_TRUE(l.defaultRect.IsEmpty());
  EXPECT_TRUE(l.customRect.IsEmpty());
}

TEST(ColourPopupLayout, OnlyTheCustomBox) {
  const ColourPopupLayout l = LayOutColourPopup(2, false, wxSize(), true, wxSize(95, 15));
  EXPECT_EQ(l.textBoxHeight, 25);
  EXPECT_EQ(l.CellRect(0), wxRect(2, 2, 18, 18));
  EXPECT_EQ(l.customRect, wxRect(2, 94, 144, 27));
  EXPECT_EQ(l.size, wxSize(148, 125));
}

struct HitCase {
  wxPoint client;
  std::optional<int> box;
};

TEST(ColourPopupLayout, HitTestWithBothBoxes) {
  // The point is taken 2 pixels in from the client origin; the automatic box's height
  // (27) comes off y before the cells are counted in 18-pixel steps.
  const ColourPopupLayout l = BothBoxes();
  const HitCase cases[] = {
      {{10, 10}, DefaultBox},
      {{147, 10}, DefaultBox},    // x - 2 = 145, the automatic box's last column
      {{148, 10}, std::nullopt},  // one past it and past the last cell column
      {{3, 3}, std::nullopt},     // above and left of everything, not cell 0
      {{10, 40}, 0},
      {{19, 40}, 0},  // x - 2 = 17, still in the first column
      {{20, 40}, 1},
      {{133, 40}, 7},
      {{147, 40}, std::nullopt},  // column 8 does not exist
      {{10, 30}, DefaultBox},     // y - 2 = 28, the automatic box's last row
      {{10, 31}, 0},
      {{10, 46}, 0},  // y - 2 - 27 = 17
      {{10, 47}, 8},  // y - 2 - 27 = 18, the second row
      {{10, 110}, 32},
      {{133, 110}, 39},
      {{10, 120}, std::nullopt},  // row 5 does not exist
      {{10, 126}, std::nullopt},  // between the grid and the custom box
      {{10, 130}, CustomBox},
      {{147, 153}, CustomBox},
      {{10, 154}, std::nullopt},
      // Left of and above the popup: none of these may map to a cell or a box number.
      {{1, 40}, std::nullopt},  // x - 2 = -1 would truncate into column 0
      {{-5, 40}, std::nullopt},
      {{-20, 40}, std::nullopt},  // column -1 would be index -1, "none"
      {{-40, 40}, std::nullopt},  // column -2 would be -2, the custom box
      {{-60, 40}, std::nullopt},  // column -3 would be -3, the automatic box
      {{-80, 40}, std::nullopt},  // column -4 would read before the colour table
      {{-500, 110}, std::nullopt},
      {{10, -30}, std::nullopt},  // row -3
      {{-300, -300}, std::nullopt},
      {{5000, 40}, std::nullopt},
      {{10, 5000}, std::nullopt},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(l.HitTest(c.client), c.box) << "at " << c.client.x << ", " << c.client.y;
  }
}

TEST(ColourPopupLayout, HitTestWithoutTextBoxes) {
  const ColourPopupLayout l = LayOutColourPopup(2, false, wxSize(), false, wxSize());
  const HitCase cases[] = {
      {{10, 10}, 0},
      {{2, 2}, 0},
      {{1, 10}, std::nullopt},
      {{10, 1}, std::nullopt},
      {{145, 91}, 39},
      {{146, 91}, std::nullopt},
      {{145, 92}, std::nullopt},
      {{-17, 10}, std::nullopt},
      {{10, -17}, std::nullopt},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(l.HitTest(c.client), c.box) << "at " << c.client.x << ", " << c.client.y;
  }
}

struct PlaceCase {
  wxPoint wanted;
  int pickerTop;
  wxRect screen;
  wxPoint expected;
};

TEST(ColourPopupLayout, PlacementKeepsThePopupOnItsScreen) {
  const wxSize size(148, 156);
  const wxRect screen(0, 0, 1280, 1024);
  const wxRect second(1280, 0, 1024, 768);  // a display to the right of the first
  const PlaceCase cases[] = {
      {{100, 200}, 179, screen, {100, 200}},
      {{1132, 200}, 179, screen, {1132, 200}},  // right edge exactly at the screen's
      {{1200, 200}, 179, screen, {1132, 200}},  // moved left by the excess
      {{-10, 200}, 179, screen, {0, 200}},
      {{100, 868}, 847, screen, {100, 868}},   // bottom exactly at the screen's
      {{100, 1000}, 979, screen, {100, 823}},  // opens above the picker
      {{1250, 1000}, 979, screen, {1132, 823}},
      {{1250, 100}, 79, second, {1280, 100}},  // pulled onto its own display
      {{2250, 700}, 679, second, {2156, 523}},
  };
  for (const PlaceCase& c : cases) {
    EXPECT_EQ(PlaceColourPopup(c.wanted, size, c.pickerTop, c.screen), c.expected)
        << "wanted " << c.wanted.x << ", " << c.wanted.y;
  }
}
