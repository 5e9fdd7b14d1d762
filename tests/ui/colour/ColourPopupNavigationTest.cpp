// Arrow-key movement in the colour popup: whole walks from "nothing highlighted" through
// the grid and the text boxes, and the ends of the grid with either text box missing.
#include <gtest/gtest.h>

#include <vector>

#include "ui/colour/ColourPopupLayout.h"
#include "ui/colour/ColourPopupNavigation.h"

namespace {

std::vector<int> Walk(ColourArrow arrow, int steps, bool hasDefault = true, bool hasCustom = true) {
  std::vector<int> visited;
  int hot = NoBox;
  for (int i = 0; i < steps; ++i) {
    hot = NextColourBox(hot, arrow, hasDefault, hasCustom);
    visited.push_back(hot);
  }
  return visited;
}

constexpr int D = DefaultBox;
constexpr int C = CustomBox;

}  // namespace

TEST(ColourPopupNavigation, DownWalksTheFirstColumnAndWraps) {
  EXPECT_EQ(Walk(ColourArrow::Down, 9), (std::vector<int>{C, D, 0, 8, 16, 24, 32, C, D}));
}

TEST(ColourPopupNavigation, UpWalksTheLastColumnAndWraps) {
  EXPECT_EQ(Walk(ColourArrow::Up, 9), (std::vector<int>{D, C, 39, 31, 23, 15, 7, D, C}));
}

TEST(ColourPopupNavigation, RightWalksEveryCellRowByRow) {
  std::vector<int> expected{C, D};
  for (int i = 0; i < 40; ++i) expected.push_back(i);
  expected.push_back(C);
  EXPECT_EQ(Walk(ColourArrow::Right, 43), expected);
}

TEST(ColourPopupNavigation, LeftWalksEveryCellBackwards) {
  std::vector<int> expected{D, C};
  for (int i = 39; i >= 0; --i) expected.push_back(i);
  expected.push_back(D);
  EXPECT_EQ(Walk(ColourArrow::Left, 43), expected);
}

struct Step {
  int from;
  ColourArrow arrow;
  bool hasDefault;
  bool hasCustom;
  int to;
};

TEST(ColourPopupNavigation, SingleSteps) {
  const Step steps[] = {
      {7, ColourArrow::Right, true, true, 8},
      {8, ColourArrow::Left, true, true, 7},
      {33, ColourArrow::Down, true, true, C},
      {D, ColourArrow::Up, true, true, C},
      {C, ColourArrow::Down, true, true, D},
      {12, ColourArrow::Down, true, true, 20},
      {12, ColourArrow::Up, true, true, 4},
      {3, ColourArrow::Up, true, true, D},
      {0, ColourArrow::Left, true, true, D},
      {39, ColourArrow::Right, true, true, C},
      {C, ColourArrow::Right, true, true, D},
      {C, ColourArrow::Left, true, true, 39},
      {D, ColourArrow::Right, true, true, 0},
      {D, ColourArrow::Left, true, true, C},
      // Only the automatic box.
      {33, ColourArrow::Down, true, false, D},
      {NoBox, ColourArrow::Down, true, false, D},
      {D, ColourArrow::Up, true, false, 39},
      {D, ColourArrow::Left, true, false, 39},
      {39, ColourArrow::Right, true, false, D},
      {5, ColourArrow::Up, true, false, D},
      // Only the custom box.
      {C, ColourArrow::Down, false, true, 0},
      {C, ColourArrow::Right, false, true, 0},
      {0, ColourArrow::Left, false, true, C},
      {5, ColourArrow::Up, false, true, C},
      {NoBox, ColourArrow::Left, false, true, C},
      // No text boxes: the grid wraps onto itself.
      {33, ColourArrow::Down, false, false, 0},
      {39, ColourArrow::Right, false, false, 0},
      {0, ColourArrow::Left, false, false, 39},
      {5, ColourArrow::Up, false, false, 39},
      {NoBox, ColourArrow::Down, false, false, 0},
      {NoBox, ColourArrow::Up, false, false, 39},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(NextColourBox(s.from, s.arrow, s.hasDefault, s.hasCustom), s.to)
        << "from " << s.from << " arrow " << static_cast<int>(s.arrow) << " default "
        << s.hasDefault << " custom " << s.hasCustom;
  }
}
