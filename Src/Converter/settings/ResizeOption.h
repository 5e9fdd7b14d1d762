// The ten resize modes: their stored values, command-line letters, GUI texts, help phrases
// and which target fields each uses. One table holds them all; the parser, the help text, the
// checks and the resize page's enabling rules read it.
#pragma once

#include <optional>
#include <string_view>

enum ResizeOption : int {
  FixedCrop = 0,
  FixedPad = 1,
  MaxSize = 2,
  FixedWidthKeepRatio = 3,
  FixedHeightKeepRatio = 4,
  ByRatio = 5,
  NoResize = 6,
  FixedSize = 7,
  FixedWidth = 8,
  FixedHeight = 9,
};

constexpr int kResizeOptionCount = 10;

// The settings fields a mode reads besides the file ones.
struct ResizeModeUse {
  bool width = false, height = false;  // and their portrait twins
  bool cropPosition = false;           // cropLeftRatio and cropTopRatio
  bool ratio = false;
  bool paddingColor = false;  // fills the target's free margin
};

// The command-line letter of a mode ("fc", "fp", ...); empty for a value outside 0..9.
std::string_view ResizeOptionLetter(int mode);
// The GUI text of a mode; empty for a value outside 0..9.
std::string_view ResizeOptionText(int mode);
// What the help says a mode does ("maximum size"); empty for a value outside 0..9.
std::string_view ResizeOptionPhrase(int mode);
// The mode a command-line letter names, matched exactly.
std::optional<ResizeOption> ResizeOptionFromLetter(std::string_view letter);
// The fields a mode uses; none for a value outside 0..9 (as read from a damaged store).
ResizeModeUse ResizeModeUses(int mode);

// The JPEG quality a command-line word names ("bad" 10 ... "superb" 100), matched exactly.
std::optional<int> JpegQualityFromWord(std::string_view word);
