#include "ui/list/ColumnFit.h"

#include <algorithm>

namespace {
constexpr int kFileNameColumn = 0;
constexpr int kLogColumn = kListColumnCount - 1;
}  // namespace

bool HoldsDefaultWidths(const std::array<int, kColumnCount>& slots) {
  const auto defaults = AppSettings::DefaultColumnWidths();
  return std::equal(slots.begin(), slots.begin() + kListColumnCount, defaults.begin());
}

ColumnWidths FitWidths(const ColumnWidths& needed, int available, int fileNameCap) {
  ColumnWidths widths = needed;
  widths[kFileNameColumn] = std::min(widths[kFileNameColumn], std::max(fileNameCap, 1));
  int used = 0;
  for (int c = 0; c < kLogColumn; ++c) used += widths[static_cast<std::size_t>(c)];
  widths[kLogColumn] = std::max(widths[kLogColumn], available - used);
  for (int& w : widths) w = std::clamp(w, 1, kMaxColumnWidth);
  return widths;
}

ColumnWidths UsableStoredWidths(const std::array<int, kColumnCount>& slots,
                                const ColumnWidths& fitted) {
  ColumnWidths widths{};
  for (std::size_t c = 0; c < widths.size(); ++c)
    widths[c] = slots[c] >= 1 && slots[c] <= kMaxColumnWidth ? slots[c] : fitted[c];
  return widths;
}
