// The destination types this build writes, the depths each is written at and how. Only these
// are accepted as destinations: FreeImage claims to write formats it cannot write from an
// ordinary picture (EXR, HDR, PFM) or at all in this build (JPEG XR, ICO), writes others at
// some depths only (WebP at 24 and 32 bits), and writes PBM and PGM files with whatever
// content the picture has, so those take only the depth their name says.
#pragma once

#include <string>
#include <vector>

struct OutputType {
  std::string extension;    // lower case, as the window offers it
  std::vector<int> depths;  // the depths it is written at, of 1, 8, 16, 24 and 32
  bool takesQuality;        // whether its encoder takes the quality setting
};

// Whether a destination of extension `ext` (no dot, any case) is written at `bpp` bits per
// pixel. A depth other than 1, 8, 16, 24 and 32 is not judged here: any type passes with it,
// and the conversion refuses it.
bool WritesType(const std::string& ext, int bpp);
// The depths a destination of extension `ext` is written at, ascending; empty for a type
// this build does not write.
std::vector<int> WrittenDepths(const std::string& ext);
// Whether the type of extension `ext` is written by an encoder that takes the quality.
bool TakesQuality(const std::string& ext);
// The types this build writes, in the order the window offers them, each under one name.
std::vector<OutputType> WritableOutputTypes();

// The picture a destination is written from, by its extension and the asked depth: JPEG
// files are 8-bit grey or 24-bit, 8 bits means grey for PGM and JPEG XL, else the depth
// asked for.
struct OutputDepth {
  int bpp = 24;
  bool grey = false;  // 8-bit grey rather than an 8-bit palette
};
OutputDepth OutputDepthFor(const std::string& ext, int bpp);
