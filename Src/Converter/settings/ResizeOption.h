// The ten resize modes: their stored values, command-line letters, GUI texts and which
// target fields each needs.
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

// The command-line letter of a mode ("fc", "fp", ...); empty for a value outside 0..9.
std::string_view ResizeOptionLetter(int mode);
// The GUI text of a mode; empty for a value outside 0..9.
std::string_view ResizeOptionText(int mode);
// The mode a command-line letter names, matched exactly.
std::optional<ResizeOption> ResizeOptionFromLetter(std::string_view letter);

bool ModeNeedsWidth(int mode);
bool ModeNeedsHeight(int mode);
bool ModeNeedsCropPosition(int mode);

// The JPEG quality a command-line word names ("bad" 10 ... "superb" 100), matched exactly.
std::optional<int> JpegQualityFromWord(std::string_view word);
