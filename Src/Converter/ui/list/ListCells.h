// ListCells: what the conversion list shows of an item, without any window: the column
// table (header text, alignment, default width), the text of each cell, the order of two
// items under each column, and the row's info tip. The list view and its tests share it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "job/ConversionItem.h"

constexpr int kListColumnCount = 12;

struct ListColumn {
  int textId;  // header text in the string table
  bool rightAligned;
  int defaultWidth;
};
const ListColumn& ListColumnAt(int column);

// Text of column `column` (0-11) for the item; empty for an unknown column. The new size
// and depth show only once the picture was written; a log saying the result already exists
// says what to do about it.
std::string CellText(const ConversionItem& item, int column);
// "%d KB" of the size rounded up to whole KB, in unsigned 32-bit arithmetic.
std::string SizeCellText(std::uint64_t fileSize);

// Negative, zero or positive as a sorts before, with or after b under the column,
// ascending (the caller negates for descending). Unknown values (-1) come first.
int CompareItems(const ConversionItem& a, const ConversionItem& b, int column);

// The row's info tip (ten labelled lines), cut to at most `capacity` bytes without
// splitting a UTF-8 letter.
std::string InfoTipText(const ConversionItem& item, std::size_t capacity);
// "MM/DD/YYYY hh:mm:ss " of a stored file time as stored (UTC); empty when either
// 32-bit half is zero.
std::string LastModifiedText(std::uint64_t fileTime);

// The path as it fits `width` when drawn (as `measure` says): whole when it fits, else "…/"
// and as many of its last parts as fit, the file name always whole.
std::string ElidedPath(const std::string& path, int width,
                       const std::function<int(std::string_view)>& measure);
