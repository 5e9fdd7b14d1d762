// AppSettings: the windowed program's one record of what it remembers between starts:
// the conversion list's column widths, folder memory, the main window's placement and
// the ConversionSettings that the option pages edit. A plain value record; the
// SettingsSerializer moves it to and from the store.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/ConversionSettings.h"

constexpr int kColumnCount = 20;

// The window placement record as the store keeps it: eleven 32-bit fields, 44 bytes,
// little-endian in the order length, flags, showCmd, minimised position, maximised
// position, normal rectangle (left, top, right, bottom).
struct WindowPlacement {
  static constexpr std::size_t kBytes = 44;
  static constexpr std::int32_t kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;

  std::int32_t length = static_cast<std::int32_t>(kBytes);
  std::int32_t flags = 0;
  std::int32_t showCmd = kShowNormal;
  std::int32_t minX = -1, minY = -1;
  std::int32_t maxX = -1, maxY = -1;
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;

  std::array<std::uint8_t, kBytes> ToBytes() const;
  static WindowPlacement FromBytes(const std::uint8_t* bytes);  // reads kBytes bytes
  bool operator==(const WindowPlacement&) const = default;
};

struct AppSettings {
  std::array<int, kColumnCount> columnWidths = DefaultColumnWidths();
  bool addDirRecursive = true;
  std::string CurrentFolder;
  std::string lastSelFileDir;
  WindowPlacement MainFramePlacement;
  bool placementValid = false;
  ConversionSettings conversion;

  static std::array<int, kColumnCount> DefaultColumnWidths();
};
