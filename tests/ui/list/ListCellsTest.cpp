// What the list shows of an item without a window: cell texts, the row's info tip, and
// the order of two items under each column.
#include <gtest/gtest.h>
#include <wx/string.h>

#include "ui/list/ColumnFit.h"
#include "ui/list/ListCells.h"

namespace {

TEST(ListCells, SizeCellRoundsUpToWholeKilobytes) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 KB"},
      {1, "1 KB"},
      {1024, "1 KB"},
      {1025, "2 KB"},
      {1048576, "1024 KB"},
      // Kept as 32 bits: the sum wraps as it always did.
      {0xFFFFFFFFull, "0 KB"},
  };
  for (const auto& c : cases) {
    ConversionItem item;
    item.fileSize = c.bytes;
    EXPECT_EQ(CellText(item, 3), c.text) << c.bytes;
  }
}

TEST(ListCells, UnknownNumbersAreBlankCells) {
  ConversionItem item;
  item.sourcePath = "/p/a b.png";
  item.relativePath = "a b.png";
  item.extension = "png";
  item.pageIndex = 2;
  item.width = 640;
  item.bitDepth = 0;
  item.newHeight = 12;
  item.status = ItemStatus::Succeeded;
  item.log = "Failed to load image /p/a b.png";
  const char* expected[kListColumnCount] = {
      "/p/a b.png", "2", "a b.png", "0 KB", "png", "640",
      "",           "0", "",        "12",   "",    "Failed to load image /p/a b.png"};
  for (int c = 0; c < kListColumnCount; ++c)
    EXPECT_EQ(CellText(item, c), expected[c]) << "column " << c;
}

TEST(ListCells, InfoTipHasTheTenFieldsInOrder) {
  ConversionItem item;
  item.sourcePath = "/p/x.png";
  item.relativePath = "x.png";
  item.fileSize = 1025;
  // 2024-03-05 06:07:08 UTC as 100-ns intervals since 1601.
  item.lastWriteTime = (1709618828ull + 11644473600ull) * 10000000ull;
  item.width = 640;  // height unknown: no original size
  item.bitDepth = 24;
  item.newWidth = 320;
  item.newHeight = 200;
  item.status = ItemStatus::Failed;
  item.log = "why";
  EXPECT_EQ(InfoTipText(item, 4096),
            "File Name:     \t/p/x.png\nFile Size:     \t2 KB\nRelative Path: \tx.png\n"
            "Last Modified: \t03/05/2024 06:07:08 \nOriginal Size: \t\nBit Depth:     \t24\n"
            "New Size:      \t\nNew Bit Depth: \t\nStatus:        \tFailed\nLog:          "
            " \twhy");
}

// A failed item shows no new size even where its save measured one; a result that exists
// already says how to replace it, in the cell and the tip alike.
TEST(ListCells, FailedRowsShowNoNewSizeAndAnExistingResultSaysWhatToDo) {
  const std::string exists = "File /out/x.jpg already exists";
  const std::string hint =
      exists +
      ". Tick \"Override existing files\" on the Resize Option page to replace it, or \"Skip "
      "existing files\" to leave it.";
  const struct {
    int status;
    std::string log;
    const char* newWidth;
    std::string shownLog;
  } cases[] = {
      {ItemStatus::Succeeded, "Converted", "320", "Converted"},
      {ItemStatus::Failed, "Failed to save /out/x.jpg", "", "Failed to save /out/x.jpg"},
      {ItemStatus::Failed, exists, "", hint},
      {ItemStatus::Failed, "File /out/other.jpg already exists", "",
       "File /out/other.jpg already exists"},  // not this item's result: left as it is
      {ItemStatus::NotStarted, "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    ConversionItem item;
    item.sourcePath = "/p/x.png";
    item.destPath = "/out/x.jpg";
    item.newWidth = 320;
    item.newHeight = 200;
    item.newBitDepth = 24;
    item.status = c.status;
    item.log = c.log;
    EXPECT_EQ(CellText(item, 8), c.newWidth);
    EXPECT_EQ(CellText(item, 10), *c.newWidth ? "24" : "");
    EXPECT_EQ(CellText(item, 11), c.shownLog);
    const std::string tip = InfoTipText(item, 4096);
    EXPECT_EQ(tip.substr(tip.rfind("Log:")), "Log:           \t" + c.shownLog);
    EXPECT_NE(tip.find(*c.newWidth ? "New Size:      \t320 x 200\n" : "New Size:      \t\n"),
              std::string::npos);
  }
}

TEST(ListCells, LastModifiedNeedsBothHalves) {
  EXPECT_EQ(LastModifiedText(0), "");
  EXPECT_EQ(LastModifiedText(0x00000001FFFFFFFFull & 0xFFFFFFFF00000000ull), "");  // low half zero
  EXPECT_EQ(LastModifiedText(0x12345678ull), "");                                  // high half zero
  EXPECT_EQ(LastModifiedText((946684800ull + 11644473600ull) * 10000000ull + 1),
            "01/01/2000 00:00:00 ");
}

TEST(ListCells, StatusTextOfAnUnknownStatusIsEmpty) {
  ConversionItem item;
  for (auto [status, text] :
       {std::pair{0, "Not Started"}, {1, "Succeeded"}, {2, "Failed"}, {7, ""}, {-1, ""}}) {
    item.status = status;
    const std::string tip = InfoTipText(item, 4096);
    const std::size_t from = tip.find("Status:        \t") + 16;
    EXPECT_EQ(tip.substr(from, tip.find("\nLog:") - from), text);
  }
}

TEST(ListCells, InfoTipIsCutToCapacityOnALetterBoundary) {
  ConversionItem item;
  item.sourcePath = "/" + std::string(3000, 'a');
  EXPECT_EQ(InfoTipText(item, 1024).size(), 1024u);
  item.sourcePath = "/\xC3\xA9\xC3\xA9";  // "/éé": the cut falls inside the second letter
  const std::string cut = InfoTipText(item, 20);
  EXPECT_EQ(cut, "File Name:     \t/\xC3\xA9");
  EXPECT_TRUE(wxString::FromUTF8(cut).length() > 0);
}

TEST(ListCells, FileNameColumnComparesFolderThenPathThenNameThenPage) {
  auto make = [](const char* base, const char* rel, const char* src, int page) {
    auto item = std::make_unique<ConversionItem>();
    item->baseFolder = base;
    item->relativePath = rel;
    item->sourcePath = src;
    item->pageIndex = page;
    return item;
  };
  const auto a = make("/B", "a", "/B/a", 0);
  const auto b = make("/a", "z", "/a/z", 0);
  const auto c = make("/a", "Y", "/a/Y", 0);
  const auto page1 = make("/a", "Y", "/a/Y", 1);
  EXPECT_LT(CompareItems(*b, *a, 0), 0);  // "/a" before "/B" ignoring case
  EXPECT_LT(CompareItems(*c, *b, 0), 0);  // "Y" before "z" ignoring case
  EXPECT_LT(CompareItems(*c, *page1, 0), 0);
  EXPECT_EQ(CompareItems(*c, *c, 0), 0);
  // The rule chosen for other letters: whole letters by code point ("É" U+00C9 before
  // "é" U+00E9, both after every ASCII letter), never split into bytes.
  const auto upper = make("", "\xC3\x89t\xC3\xA9.png", "", 0),
             lower = make("", "\xC3\xA9t\xC3\xA9.png", "", 0);
  const auto plain = make("", "zeta.png", "", 0);
  EXPECT_LT(CompareItems(*upper, *lower, 2), 0);
  EXPECT_LT(CompareItems(*plain, *upper, 2), 0);
  // The type column folds ASCII only.
  const auto jpg = make("", "", "", 0), JPG = make("", "", "", 0);
  jpg->extension = "jpg";
  JPG->extension = "JPG";
  EXPECT_EQ(CompareItems(*jpg, *JPG, 4), 0);
}

// Seven pixels a byte: "…" counts three bytes, like a wide letter.
int SevenPerByte(std::string_view text) { return static_cast<int>(text.size()) * 7; }

TEST(ListCells, ElidedPathGivesUpFoldersFromTheLeftAndKeepsTheName) {
  const std::string path = "/home/ann/Pictures/2025/beach.jpg";  // 33 bytes, 231 px
  const struct {
    int width;
    const char* shown;
  } cases[] = {
      {231, "/home/ann/Pictures/2025/beach.jpg"},
      {230, "\xE2\x80\xA6/ann/Pictures/2025/beach.jpg"},  // 31 bytes, 217 px
      {217, "\xE2\x80\xA6/ann/Pictures/2025/beach.jpg"},
      {216, "\xE2\x80\xA6/Pictures/2025/beach.jpg"},
      {188, "\xE2\x80\xA6/2025/beach.jpg"},
      {125, "\xE2\x80\xA6/beach.jpg"},
      {10, "\xE2\x80\xA6/beach.jpg"},  // the name stays whole; the list cuts its end
  };
  for (const auto& c : cases)
    EXPECT_EQ(ElidedPath(path, c.width, SevenPerByte), c.shown) << c.width;
  EXPECT_EQ(ElidedPath("beach.jpg", 7, SevenPerByte), "beach.jpg");
  EXPECT_EQ(ElidedPath("/beach.jpg", 7, SevenPerByte), "/beach.jpg");
}

TEST(ColumnFit, LogTakesTheSpareWidthAndFileNameIsCapped) {
  ColumnWidths needed{};
  needed.fill(50);
  needed[0] = 400;
  // 11 columns of 50 and File Name capped at 300: 800 used, Log takes the other 400.
  const ColumnWidths wide = FitWidths(needed, 1200, 300);
  EXPECT_EQ(wide[0], 300);
  EXPECT_EQ(wide[1], 50);
  EXPECT_EQ(wide[11], 400);
  // Too narrow for all: Log keeps what it needs, the list scrolls sideways.
  const ColumnWidths narrow = FitWidths(needed, 600, 300);
  EXPECT_EQ(narrow[11], 50);
  EXPECT_EQ(FitWidths(needed, 0, 0)[0], 1);
}

TEST(ColumnFit, StoredWidthsHoldWhereAColumnCanUseThem) {
  auto slots = AppSettings::DefaultColumnWidths();
  EXPECT_TRUE(HoldsDefaultWidths(slots));
  slots[15] = 99;  // a slot no column uses
  EXPECT_TRUE(HoldsDefaultWidths(slots));
  ColumnWidths fitted{};
  fitted.fill(60);
  const struct {
    int stored;
    int shown;
  } cases[] = {{1, 1},
               {77, 77},
               {kMaxColumnWidth, kMaxColumnWidth},
               {kMaxColumnWidth + 1, 60},
               {0x7fffffff, 60},
               {0, 60},
               {-1, 60},
               {-2, 60}};
  for (const auto& c : cases) {
    slots[3] = c.stored;
    EXPECT_FALSE(HoldsDefaultWidths(slots));
    EXPECT_EQ(UsableStoredWidths(slots, fitted)[3], c.shown) << c.stored;
    EXPECT_EQ(UsableStoredWidths(slots, fitted)[0], 200);
  }
}

}  // namespace
