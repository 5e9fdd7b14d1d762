// Arrow-key movement between the boxes of the colour popup: the automatic box above the
// grid, the forty cells row by row, the "more colours" box below it, wrapping at the ends.
#pragma once

enum class ColourArrow { Up, Down, Left, Right };

// The box that becomes hot when `arrow` is pressed while `hot` is (a cell 0..39,
// CustomBox, DefaultBox or NoBox); the boxes that exist are given by the two flags.
int NextColourBox(int hot, ColourArrow arrow, bool hasDefault, bool hasCustom);
