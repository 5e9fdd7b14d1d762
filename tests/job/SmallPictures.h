// Small real picture files for the job and command-line tests, written through FreeImage.
#pragma once

#include <cstdint>
#include <string>

// A width x height picture of one colour (0xAARRGGBB), saved by the path's extension.
void WritePicture(const std::string& path, int width = 8, int height = 6,
                  std::uint32_t colour = 0xFF336699);
// Copies one of the repository's sample pictures (e.g. "scan-3-pages.tif") to `path`.
void CopySample(const std::string& sample, const std::string& path);
// The entry names of a folder, sorted, "." and ".." left out.
std::string NamesIn(const std::string& folder);
