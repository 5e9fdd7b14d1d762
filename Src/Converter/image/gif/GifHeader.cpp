#include "image/gif/GifHeader.h"

#include <cstring>

bool ReadColourTable(GifCursor& in, int sizeBits, GifColourTable& table) {
  table = GifColourTable();
  const int count = 1 << ((sizeBits & 7) + 1);
  const std::uint8_t* rgb = nullptr;
  if (!in.Bytes(static_cast<std::size_t>(count) * 3, rgb)) return false;
  for (int i = 0; i < count; ++i, rgb += 3)
    table.entries[static_cast<std::size_t>(i)] = (static_cast<std::uint32_t>(rgb[0]) << 16) |
                                                 (static_cast<std::uint32_t>(rgb[1]) << 8) | rgb[2];
  table.size = count;
  return true;
}

bool ReadGifHeader(GifCursor& in, GifScreen& screen) {
  screen = GifScreen();
  const std::uint8_t* head = nullptr;
  if (!in.Bytes(13, head) || std::memcmp(head, "GIF8", 4) != 0) return false;
  screen.width = Get16(head + 6);
  screen.height = Get16(head + 8);
  const std::uint8_t packed = head[10];
  screen.hasGlobalTable = (packed & 0x80) != 0;
  return !screen.hasGlobalTable || ReadColourTable(in, packed & 7, screen.globalTable);
}
