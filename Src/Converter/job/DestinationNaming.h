// Destination naming: the folder and the full path that one page of an item is written
// to, made from the item's relative path and the naming fields of the settings (folder,
// kept structure, prefix, suffix, page number, destination type).
#pragma once

#include <string>

#include "job/ConversionItem.h"
#include "settings/ConversionSettings.h"

// destFolder joined with the folder part of the relative path when sameDir is set, else
// destFolder unchanged.
std::string DestinationFolderFor(const ConversionItem& item, const ConversionSettings& settings);

// Empty for a single page; else pageIndex in decimal, zero-padded to zeroPadding digits.
std::string PageText(int pageIndex, int pageCount, int zeroPadding);

// folder / (prefix + title + page text + suffix + "." + destFileExt).
std::string BuildDestinationPath(const ConversionItem& item, const ConversionSettings& settings,
                                 int pageIndex, int pageCount);
