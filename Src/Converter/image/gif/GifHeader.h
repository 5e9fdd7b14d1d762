// The start of a GIF file: the signature, the logical screen descriptor and the global
// colour table, and the reading of a colour table wherever one appears.
#pragma once

#include <array>
#include <cstdint>

#include "image/gif/GifCursor.h"

// A colour table as palette entries 0x00RRGGBB (blue in the low byte, fourth byte 0);
// entries past `size` are 0.
struct GifColourTable {
  std::array<std::uint32_t, 256> entries{};
  int size = 0;
};

struct GifScreen {
  int width = 0;
  int height = 0;
  bool hasGlobalTable = false;
  GifColourTable globalTable;
};

// Reads 2^(sizeBits + 1) entries of three bytes (red, green, blue). False when the data
// ends first.
bool ReadColourTable(GifCursor& in, int sizeBits, GifColourTable& table);
// Reads the 13 bytes of header and screen descriptor and the global colour table. False
// when the file does not start with "GIF8" or ends inside these.
bool ReadGifHeader(GifCursor& in, GifScreen& screen);
