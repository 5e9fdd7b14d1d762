#include "image/codec/OutputTypes.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "image/codec/ImageType.h"

namespace {

enum class DepthRule {
  AsAsked,    // converted to the asked depth
  GreyOrRgb,  // JPEG: 8 bits grey, any other depth 24 bits
  GreyEight,  // 8 bits grey, other depths as asked
};

struct Row {
  std::vector<const char*> extensions;  // the first one is offered in the window
  std::vector<int> depths;
  DepthRule rule = DepthRule::AsAsked;
  bool quality = false;
};

const std::vector<int> kAnyDepth = {1, 8, 16, 24, 32};

// Each depth of each row is written by this build and read back by the formats' own tools in
// the tests; the order is the window's.
const Row kRows[] = {
    {{"jpg", "jpeg", "jpe", "jif"}, kAnyDepth, DepthRule::GreyOrRgb, true},
    {{"gif"}, kAnyDepth},
    {{"bmp"}, kAnyDepth},
    {{"tif", "tiff"}, {1, 8, 24, 32}},
    {{"png"}, {1, 8, 24, 32}},
    {{"tga", "targa"}, {8, 16, 24, 32}},
    {{"webp"}, {24, 32}, DepthRule::AsAsked, true},
    {{"avif"}, {24, 32}, DepthRule::AsAsked, true},
    {{"jxl"}, {8, 24, 32}, DepthRule::GreyEight, true},
    {{"jp2"}, {24, 32}},
    {{"j2k", "j2c"}, {24, 32}},
    {{"jng"}, {24, 32}},
    {{"pbm"}, {1}},
    {{"pgm"}, {8}, DepthRule::GreyEight},
    {{"ppm"}, {24}},
    {{"wbmp", "wbm", "wap"}, {1}},
    {{"psd"}, {24, 32}},
    {{"xpm"}, {8, 24}},
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

template <typename List, typename Value>
bool Holds(const List& list, const Value& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The row of an extension this build can write; nullptr for none. As for a file name, the
// type is the text after the last dot.
const Row* RowFor(const std::string& ext) {
  const std::string lower = Lower(ext.substr(ext.rfind('.') + 1));
  for (const Row& row : kRows)
    if (std::any_of(row.extensions.begin(), row.extensions.end(),
                    [&](const char* e) { return lower == e; }))
      return IsSupportedType("abc." + lower, false) ? &row : nullptr;
  return nullptr;
}

}  // namespace

bool WritesType(const std::string& ext, int bpp) {
  const Row* row = RowFor(ext);
  return row && (!Holds(kAnyDepth, bpp) || Holds(row->depths, bpp));
}

std::vector<int> WrittenDepths(const std::string& ext) {
  const Row* row = RowFor(ext);
  return row ? row->depths : std::vector<int>{};
}

bool TakesQuality(const std::string& ext) {
  const Row* row = RowFor(ext);
  return row && row->quality;
}

std::vector<OutputType> WritableOutputTypes() {
  std::vector<OutputType> types;
  for (const Row& row : kRows)
    if (RowFor(row.extensions.front()))
      types.push_back({row.extensions.front(), row.depths, row.quality});
  return types;
}

OutputDepth OutputDepthFor(const std::string& ext, int bpp) {
  const Row* row = RowFor(ext);
  const DepthRule rule = row ? row->rule : DepthRule::AsAsked;
  if (rule == DepthRule::GreyOrRgb) return {bpp == 8 ? 8 : 24, bpp == 8};
  return {bpp, rule == DepthRule::GreyEight && bpp == 8};
}
