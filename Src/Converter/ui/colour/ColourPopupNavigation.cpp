#include "ui/colour/ColourPopupNavigation.h"

#include "ui/colour/ColourPopupLayout.h"
#include "ui/colour/ColourTable.h"

namespace {

constexpr int LastCell = ColourCount - 1;

// A (row, column) position names a cell only inside the grid.
int CellAt(int row, int column) {
  if (row < 0 || column < 0 || row >= ColourRows || column >= ColourColumns) return NoBox;
  const int index = row * ColourColumns + column;
  return index < ColourCount ? index : NoBox;
}

struct Boxes {
  bool hasDefault;
  bool hasCustom;
  // Where Down and Right go when they leave the grid.
  int Fallback() const { return hasCustom ? CustomBox : hasDefault ? DefaultBox : 0; }
  // Where Up and Left go when they leave the top of the grid.
  int AboveGrid() const { return hasDefault ? DefaultBox : hasCustom ? CustomBox : LastCell; }
  int AfterDefault() const { return 0; }
  int AfterCustom() const { return hasDefault ? DefaultBox : 0; }
  int BeforeDefault() const { return hasCustom ? CustomBox : LastCell; }
};

int Down(int hot, const Boxes& b) {
  if (hot == DefaultBox) return b.AfterDefault();
  if (hot == CustomBox) return b.AfterCustom();
  if (hot == NoBox) return b.Fallback();
  const int below = CellAt(hot / ColourColumns + 1, hot % ColourColumns);
  return below != NoBox ? below : b.Fallback();
}

int Up(int hot, const Boxes& b) {
  if (hot == DefaultBox) return b.BeforeDefault();
  if (hot == CustomBox) return LastCell;
  if (hot != NoBox && hot / ColourColumns > 0) return hot - ColourColumns;
  return b.AboveGrid();
}

int Right(int hot, const Boxes& b) {
  if (hot == DefaultBox) return b.AfterDefault();
  if (hot == CustomBox) return b.AfterCustom();
  if (hot == NoBox) return b.Fallback();
  const int row = hot / ColourColumns;
  const int column = hot % ColourColumns;
  const int next = column == ColourColumns - 1 ? CellAt(row + 1, 0) : CellAt(row, column + 1);
  return next != NoBox ? next : b.Fallback();
}

int Left(int hot, const Boxes& b) {
  if (hot == DefaultBox) return b.BeforeDefault();
  if (hot == CustomBox) return LastCell;
  if (hot == NoBox || hot == 0) return b.AboveGrid();
  // One column left, or the last column of the row above from column 0: both are the
  // previous index in row-by-row order.
  return hot - 1;
}

}  // namespace

int NextColourBox(int hot, ColourArrow arrow, bool hasDefault, bool hasCustom) {
  const Boxes boxes{hasDefault, hasCustom};
  switch (arrow) {
    case ColourArrow::Down: return Down(hot, boxes);
    case ColourArrow::Up: return Up(hot, boxes);
    case ColourArrow::Right: return Right(hot, boxes);
    case ColourArrow::Left: return Left(hot, boxes);
  }
  return hot;
}
