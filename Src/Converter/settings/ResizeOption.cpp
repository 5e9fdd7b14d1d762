#include "settings/ResizeOption.h"

#include <array>

namespace {

// The fields each kind of mode uses, named for the table below.
constexpr ResizeModeUse kCrop{.width = true, .height = true, .cropPosition = true};
constexpr ResizeModeUse kPad{
    .width = true, .height = true, .cropPosition = true, .paddingColor = true};
constexpr ResizeModeUse kSize{.width = true, .height = true};
constexpr ResizeModeUse kWidth{.width = true};
constexpr ResizeModeUse kHeight{.height = true};
constexpr ResizeModeUse kRatio{.ratio = true};
constexpr ResizeModeUse kNothing{};

struct ModeInfo {
  std::string_view letter;
  std::string_view text;    // the resize page's list
  std::string_view phrase;  // the command-line help
  ResizeModeUse use;
};

// Indexed by ResizeOption.
constexpr std::array<ModeInfo, kResizeOptionCount> kModes = {{
    {"fc", "Fixed width and height, keep aspect ratio by cropping",
     "fixed size cropped to keep the aspect", kCrop},
    {"fp", "Fixed width and height, keep aspect ratio by padding",
     "fixed size padded to keep the aspect", kPad},
    {"m", "Maximum width and height", "maximum size", kSize},
    {"w", "Fixed width, keep aspect ratio", "fixed width keeping the aspect", kWidth},
    {"h", "Fixed Height, keep aspect ratio", "fixed height keeping the aspect", kHeight},
    {"r", "Change by ratio", "by ratio", kRatio},
    {"n", "No resize", "none", kNothing},
    {"f", "Fixed width and height", "fixed size", kSize},
    {"fw", "Fixed width", "fixed width", kWidth},
    {"fh", "Fixed height", "fixed height", kHeight},
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
std::string_view ResizeOptionPhrase(int mode) { return Valid(mode) ? kModes[mode].phrase : ""; }

std::optional<ResizeOption> ResizeOptionFromLetter(std::string_view letter) {
  for (int i = 0; i < kResizeOptionCount; ++i)
    if (kModes[i].letter == letter) return static_cast<ResizeOption>(i);
  return std::nullopt;
}

ResizeModeUse ResizeModeUses(int mode) { return Valid(mode) ? kModes[mode].use : kNothing; }

std::optional<int> JpegQualityFromWord(std::string_view word) {
  for (const auto& q : kQualityWords)
    if (q.word == word) return q.quality;
  return std::nullopt;
}
