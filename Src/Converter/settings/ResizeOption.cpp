#include "settings/ResizeOption.h"

#include <array>

namespace {

struct ModeInfo {
  std::string_view letter;
  std::string_view text;
  bool width;
  bool height;
};

constexpr std::array<ModeInfo, kResizeOptionCount> kModes = {{
    {"fc", "Fixed width and height, keep aspect ratio by cropping", true, true},
    {"fp", "Fixed width and height, keep aspect ratio by padding", true, true},
    {"m", "Maximum width and height", true, true},
    {"w", "Fixed width, keep aspect ratio", true, false},
    {"h", "Fixed Height, keep aspect ratio", false, true},
    {"r", "Change by ratio", false, false},
    {"n", "No resize", false, false},
    {"f", "Fixed width and height", true, true},
    {"fw", "Fixed width", true, false},
    {"fh", "Fixed height", false, true},
}};

struct QualityWord {
  std::string_view word;
  int quality;
};

constexpr std::array<QualityWord, 6> kQualityWords = {{
    {"bad", 10},
    {"average", 25},
    {"normal", 50},
    {"good", 80},
    {"better", 90},
    {"superb", 100},
}};

bool Valid(int mode) { return mode >= 0 && mode < kResizeOptionCount; }

}  // namespace

std::string_view ResizeOptionLetter(int mode) { return Valid(mode) ? kModes[mode].letter : ""; }
std::string_view ResizeOptionText(int mode) { return Valid(mode) ? kModes[mode].text : ""; }

std::optional<ResizeOption> ResizeOptionFromLetter(std::string_view letter) {
  for (int i = 0; i < kResizeOptionCount; ++i)
    if (kModes[i].letter == letter) return static_cast<ResizeOption>(i);
  return std::nullopt;
}

bool ModeNeedsWidth(int mode) { return Valid(mode) && kModes[mode].width; }
bool ModeNeedsHeight(int mode) { return Valid(mode) && kModes[mode].height; }
bool ModeNeedsCropPosition(int mode) { return mode == FixedCrop || mode == FixedPad; }

std::optional<int> JpegQualityFromWord(std::string_view word) {
  for (const auto& q : kQualityWords)
    if (q.word == word) return q.quality;
  return std::nullopt;
}
