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

// The largest difference of one channel between two picture files as Pillow reads them at
// 8 bits a sample (16-bit samples by their high byte), alpha included when both have it;
// -1 when either cannot be read or their sizes differ.
int LargestDifference(const std::string& a, const std::string& b);
