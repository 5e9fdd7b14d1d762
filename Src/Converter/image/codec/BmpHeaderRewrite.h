// Loading BMP files. FreeImage refuses the larger info headers (52, 56, 108 or 124 bytes,
// as many current encoders write them); such a file is rewritten in memory with the
// classic 40-byte header, bit-field masks and palette kept, so FreeImage decodes the same
// pixels, top-down rows included.
#pragma once

#include <FreeImage.h>

#include <string>

// The file's bytes with a 40-byte info header; false (out untouched) when the bytes are
// not such a BMP or are inconsistent (sizes past the end, absurd dimensions).
bool RewriteBmpHeader(const std::string& bytes, std::string* out);
// Loads a BMP file, one with a larger header through that rewrite. A 32-bit file whose
// fourth bytes are unused (no alpha mask) gives an opaque picture. nullptr when FreeImage
// cannot decode it.
FIBITMAP* LoadBmp(const std::string& path);
