// ColumnFit: how wide the list's columns are. While the widths in the settings are the
// defaults (the user never sized a column) the columns fit what they show: every header
// whole, every column as wide as its widest cell, the File Name column as wide as the longest
// file name (its folder is elided), and Log taking whatever width is left. Once the user has
// dragged a border the settings' widths hold, with a stored width no column can use (zero,
// negative, or past kMaxColumnWidth) replaced by the fitted one.
#pragma once

#include <array>
#include <cstddef>

#include "settings/AppSettings.h"
#include "ui/list/ListCells.h"

using ColumnWidths = std::array<int, kListColumnCount>;

constexpr int kMaxColumnWidth = 4000;

// Whether slots 0-11 hold the default widths.
bool HoldsDefaultWidths(const std::array<int, kColumnCount>& slots);

// The fitted widths: each column's `needed` width, the File Name column at most
// `fileNameCap`, and Log widened to fill `available` when the others leave room.
ColumnWidths FitWidths(const ColumnWidths& needed, int available, int fileNameCap);

// The stored widths where a column can use them, the fitted ones elsewhere.
ColumnWidths UsableStoredWidths(const std::array<int, kColumnCount>& slots,
                                const ColumnWidths& fitted);
