#include "ui/list/ListCells.h"

#include <array>
#include <cstdio>
#include <ctime>

#include <wx/string.h>

#include "strings/StringTable.h"
#include "ui/resources/AdviceTexts.h"

namespace {

constexpr std::array<ListColumn, kListColumnCount> kColumns{{
    {Ids::ColumnFileName, false, 200},
    {Ids::ColumnPageIndex, true, 25},
    {Ids::ColumnRelativePath, false, 70},
    {Ids::ColumnSize, true, 50},
    {Ids::ColumnType, false, 40},
    {Ids::ColumnWidth, true, 120},
    {Ids::ColumnHeight, true, 40},
    {Ids::ColumnBitDepth, true, 40},
    {Ids::ColumnNewWidth, true, 25},
    {Ids::ColumnNewHeight, true, 40},
    {Ids::ColumnNewBitDepth, true, 40},
    {Ids::ColumnLog, false, 25},
}};

std::string KnownNumber(int value) { return value < 0 ? std::string() : std::to_string(value); }

// A new size and depth are shown only for a picture that was written: a failed save may
// have measured them.
int Written(const ConversionItem& item, int value) {
  return item.status == ItemStatus::Succeeded ? value : -1;
}

// The log, with what to do beside a result that already exists.
std::string ShownLog(const ConversionItem& item) {
  if (item.status != ItemStatus::Failed || item.log != FormatText(Ids::FileExists, item.destPath))
    return item.log;
  return item.log + ". " + std::string(AdviceTexts::TickOverride);
}

std::string SizePair(int w, int h) {
  return w >= 0 && h >= 0 ? std::to_string(w) + " x " + std::to_string(h) : std::string();
}

std::uint32_t RoundedKb(std::uint64_t fileSize) {
  // The size is kept as 32 bits and rounded up in 32-bit arithmetic, as the column always did.
  return (static_cast<std::uint32_t>(fileSize) + 1023u) / 1024u;
}

int Sign(long long a, long long b) { return a < b ? -1 : (a == b ? 0 : 1); }

// Case-insensitive for ASCII letters, other letters whole (UTF-8) by code point.
int CompareText(const std::string& a, const std::string& b) {
  return wxString::FromUTF8(a).CmpNoCase(wxString::FromUTF8(b));
}

// Case-insensitive byte by byte, folding ASCII letters only.
int CompareBytes(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const int ca = fold(static_cast<unsigned char>(a[i])),
              cb = fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(static_cast<long long>(a.size()), static_cast<long long>(b.size()));
}

}  // namespace

const ListColumn& ListColumnAt(int column) { return kColumns[static_cast<std::size_t>(column)]; }

std::string SizeCellText(std::uint64_t fileSize) {
  return std::to_string(RoundedKb(fileSize)) + " KB";
}

std::string CellText(const ConversionItem& item, int column) {
  switch (column) {
    case 0: return item.sourcePath;
    case 1: return std::to_string(item.pageIndex);
    case 2: return item.relativePath;
    case 3: return SizeCellText(item.fileSize);
    case 4: return item.extension;
    case 5: return KnownNumber(item.width);
    case 6: return KnownNumber(item.height);
    case 7: return KnownNumber(item.bitDepth);
    case 8: return KnownNumber(Written(item, item.newWidth));
    case 9: return KnownNumber(Written(item, item.newHeight));
    case 10: return KnownNumber(Written(item, item.newBitDepth));
    case 11: return ShownLog(item);
    default: return {};
  }
}

int CompareItems(const ConversionItem& a, const ConversionItem& b, int column) {
  switch (column) {
    case 0: {
      int r = CompareText(a.baseFolder, b.baseFolder);
      if (r == 0) r = CompareText(a.relativePath, b.relativePath);
      if (r == 0) r = CompareText(a.sourcePath, b.sourcePath);
      return r != 0 ? r : Sign(a.pageIndex, b.pageIndex);
    }
    case 1: return Sign(a.pageIndex, b.pageIndex);
    case 2: return CompareText(a.relativePath, b.relativePath);
    case 3:
      return Sign(static_cast<std::uint32_t>(a.fileSize), static_cast<std::uint32_t>(b.fileSize));
    case 4: return CompareBytes(a.extension, b.extension);
    case 5: return Sign(a.width, b.width);
    case 6: return Sign(a.height, b.height);
    case 7: return Sign(a.bitDepth, b.bitDepth);
    case 8: return Sign(a.newWidth, b.newWidth);
    case 9: return Sign(a.newHeight, b.newHeight);
    case 10: return Sign(a.newBitDepth, b.newBitDepth);
    case 11: return CompareText(a.log, b.log);
    default: return 0;
  }
}

std::string LastModifiedText(std::uint64_t fileTime) {
  if ((fileTime & 0xFFFFFFFFu) == 0 || (fileTime >> 32) == 0) return {};
  // 100-ns intervals since 1601 to seconds since 1970, shown as stored (UTC).
  constexpr std::int64_t kEpochDelta = 11644473600LL;
  const std::time_t seconds =
      static_cast<std::time_t>(static_cast<std::int64_t>(fileTime / 10000000u) - kEpochDelta);
  std::tm t{};
  if (!gmtime_r(&seconds, &t)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d ", t.tm_mon + 1, t.tm_mday,
                t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

std::string InfoTipText(const ConversionItem& item, std::size_t capacity) {
  const std::string status = item.status >= 0 && item.status <= ItemStatus::Skipped
                                 ? std::string(LoadText(ItemStatusTextId(item.status)))
                                 : std::string();
  std::string tip;
  auto line = [&tip](const char* label, const std::string& value) {
    if (!tip.empty()) tip += '\n';
    tip += label;
    tip += value;
  };
  line("File Name:     \t", item.sourcePath);
  line("File Size:     \t", std::to_string(RoundedKb(item.fileSize)) + " KB");
  line("Relative Path: \t", item.relativePath);
  line("Last Modified: \t", LastModifiedText(item.lastWriteTime));
  line("Original Size: \t", SizePair(item.width, item.height));
  line("Bit Depth:     \t", KnownNumber(item.bitDepth));
  line("New Size:      \t", SizePair(Written(item, item.newWidth), Written(item, item.newHeight)));
  line("New Bit Depth: \t", KnownNumber(Written(item, item.newBitDepth)));
  line("Status:        \t", status);
  line("Log:           \t", ShownLog(item));
  if (tip.size() <= capacity) return tip;
  std::size_t cut = capacity;
  // Back off continuation bytes so the cut text stays valid UTF-8.
  while (cut > 0 && (static_cast<unsigned char>(tip[cut]) & 0xC0) == 0x80) --cut;
  tip.resize(cut);
  return tip;
}

std::string ElidedPath(const std::string& path, int width,
                       const std::function<int(std::string_view)>& measure) {
  if (measure(path) <= width) return path;
  static const std::string kElided = "\xE2\x80\xA6";  // "…"
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return path;
  // Widen the tail one folder at a time while it fits.
  std::string best = kElided + path.substr(slash);
  while (slash > 0) {
    const std::size_t previous = path.rfind('/', slash - 1);
    if (previous == std::string::npos || previous == 0) break;
    const std::string wider = kElided + path.substr(previous);
    if (measure(wider) > width) break;
    best = wider;
    slash = previous;
  }
  return best;
}
