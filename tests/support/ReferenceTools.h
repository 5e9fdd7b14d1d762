// The formats' own tools in the tests: they make the test pictures (heif-enc, cjxl, cwebp,
// ImageMagick) and judge what Brindlemark wrote (heif-convert, djxl, dwebp, Pillow), each
// run as a program with a time limit.
#pragma once

#include <string>
#include <vector>

// The tools of this set that are not installed, joined by blanks; empty when all are.
std::string MissingTools(const std::vector<std::string>& tools);
// Runs a tool by its absolute path; true when it ended with 0.
bool RunTool(const std::string& tool, const std::vector<std::string>& args);

// Decodes a picture to PNG with its format's own tool: dwebp for WebP, heif-convert for
// HEIC and AVIF, djxl for JPEG XL, Pillow for TGA, ImageMagick for the rest. True when the
// tool succeeded.
bool DecodeToPng(const std::string& picture, const std::string& png);

// How two picture files differ as Pillow reads them at 8 bits a sample (16-bit samples by
// their high byte), alpha included when both have it: the largest difference of one
// channel and the mean of all. largest is -1 when either cannot be read or their sizes
// differ.
struct PictureDifference {
  int largest = -1;
  double mean = 0;
};
PictureDifference DifferenceOf(const std::string& a, const std::string& b);
// DifferenceOf(a, b).largest.
int LargestDifference(const std::string& a, const std::string& b);

// Writes <folder>/wide.png, a 64 x 48 picture carrying an ICC profile (Pillow's sRGB one
// under another name, so it is no default), and the profile alone as <folder>/wide.icc.
bool WriteProfiledPicture(const std::string& folder);
// The ICC profile a picture file carries, as its format's readers give it: Pillow, from the
// PNG djxl decodes a JPEG XL file to, exiftool for AVIF. Empty when it has none.
std::string ProfileOfFile(const std::string& path);
