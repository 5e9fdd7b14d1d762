// Reading the list without dragging anything: columns that fit their headers and cells the
// first time (the file's name shown, Log taking the spare width), then the user's widths
// from the first drag on; the sort arrow; and a row tooltip that follows the rows as they
// change, goes with them, and never covers the context menu.
#include <wx/uiaction.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ListTestSupport.h"
#include "UiTestSupport.h"
#include "XUser.h"
#include "job/PathFunctions.h"
#include "ui/list/ColumnFit.h"

namespace {

using ListReadingTest = ListTest;

constexpr const char* kElided = "\xE2\x80\xA6/";

int SumOfWidths(const CConvListCtrl* list) {
  int sum = 0;
  for (int c = 0; c < list->GetColumnCount(); ++c) sum += list->GetColumnWidth(c);
  return sum;
}

// The width the rows are drawn in (the list less its border and scroll bar).
int RowsWidth(CConvListCtrl* list) {
  for (wxWindow* child : list->GetChildren())
    if (child->GetPosition().y > 0) return child->GetClientSize().x;
  return 0;
}

TEST_F(ListReadingTest, ColumnsFitTheFirstTimeThenKeepTheUsersWidths) {
  // Pictures deep inside a long folder: the common folder would fill the File Name column.
  const std::string folder = dir_ / "Pictures/2025/Summer holiday by the sea/camera roll";
  std::vector<std::string> paths;
  for (const char* name : {"harbour at dawn.jpg", "IMG_20250712_183045.png", "a.png"})
    paths.push_back(folder + "/" + name);
  ASSERT_TRUE(WritePictures(paths));
  OpenListFrame();
  frame_->SetSize(1280, 700);
  page_->AddPaths({folder});
  ASSERT_TRUE(WaitFor([&] { return RowsWidth(list_) > 1000 && !TheSearchDialog(); }));
  PumpEvents(200);
  EXPECT_FALSE(list_->ColumnsSizedByUser());

  // Every header whole; the Log column takes what the others leave.
  for (int c = 0; c < kListColumnCount; ++c) {
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    list_->GetColumn(c, header);
    EXPECT_GE(list_->GetColumnWidth(c), list_->GetTextExtent(header.GetText()).x + 16)
        << header.GetText();
  }
  EXPECT_EQ(SumOfWidths(list_), RowsWidth(list_));
  EXPECT_GT(list_->GetColumnWidth(11), 200);
  // The File Name cells end with the file's whole name; the common folder is what gives way.
  for (int row = 0; row < list_->RowCount(); ++row) {
    const std::string cell = list_->CellAt(row, 0).utf8_string();
    const std::string name = FileNameOf(list_->ItemAt(row)->sourcePath);
    EXPECT_EQ(cell.substr(cell.size() - name.size()), name);
    EXPECT_EQ(cell.rfind(kElided, 0), 0u) << cell;
  }
  // A narrower window: Log gives its spare width back, the others keep theirs.
  const int fileName = list_->GetColumnWidth(0);
  frame_->SetSize(900, 700);
  ASSERT_TRUE(WaitFor([&] { return list_->GetColumnWidth(11) < 100; }));
  EXPECT_EQ(list_->GetColumnWidth(0), fileName);

  // The user drags the Type column's right border: from then on the widths are theirs.
  int edge = 0;
  for (int c = 0; c <= 4; ++c) edge += list_->GetColumnWidth(c);
  wxUIActionSimulator user;
  user.MouseMove(list_->ClientToScreen(wxPoint(edge - 1, 8)));
  PumpEvents(100);
  user.MouseDown();
  PumpEvents(50);
  for (int step = 1; step <= 6; ++step) {
    user.MouseMove(list_->ClientToScreen(wxPoint(edge - 1 + 5 * step, 8)));
    PumpEvents(30);
  }
  user.MouseUp();
  PumpEvents(200);
  EXPECT_TRUE(list_->ColumnsSizedByUser());
  std::vector<int> widths;
  for (int c = 0; c < kListColumnCount; ++c) widths.push_back(list_->GetColumnWidth(c));
  frame_->SetSize(1280, 700);
  PumpEvents(300);
  for (int c = 0; c < kListColumnCount; ++c) EXPECT_EQ(list_->GetColumnWidth(c), widths[c]);
  CloseFrame();
  for (int c = 0; c < kListColumnCount; ++c)
    EXPECT_EQ(session_->settings.columnWidths[static_cast<std::size_t>(c)], widths[c]);
}

TEST_F(ListReadingTest, FittedWidthsAreNotStoredAndAnUnusableStoredWidthIsReplaced) {
  OpenListFrame();
  AddItem(MakeItem("a", ItemStatus::NotStarted));
  PumpEvents(200);
  CloseFrame();
  EXPECT_EQ(session_->settings.columnWidths, AppSettings::DefaultColumnWidths());

  // A width no column can use (it blanked the header) gives way to the fitted one, also in
  // the settings, so it is never written back; the other stored widths stand.
  for (const int bad : {0x7fffffff, 0, -5}) {
    SCOPED_TRACE(bad);
    session_->settings.columnWidths[3] = bad;
    session_->settings.columnWidths[4] = 77;
    OpenListFrame();
    EXPECT_TRUE(list_->ColumnsSizedByUser());
    const int shown = list_->GetColumnWidth(3);
    EXPECT_GE(shown, list_->GetTextExtent("Size").x + 16);
    EXPECT_LE(shown, 320);
    EXPECT_EQ(list_->GetColumnWidth(4), 77);
    EXPECT_EQ(session_->settings.columnWidths[3], shown);
    CloseFrame();
    EXPECT_EQ(session_->settings.columnWidths[3], shown);
  }
}

TEST_F(ListReadingTest, TheRowTooltipFollowsTheRowsAndStaysOffTheMenu) {
  XUser user;
  ASSERT_TRUE(user.Ready()) << "XTest is needed to drive the window";
  OpenListFrame();
  ConversionItem& first = AddItem(MakeItem("first", ItemStatus::NotStarted));
  AddItem(MakeItem("second", ItemStatus::NotStarted));
  PumpEvents(100);
  const wxPoint row = RowPoint(0);
  // GTK shows a tooltip for a pointer that moves over a window that has one.
  auto hover = [&] {
    for (int dx : {0, 3, 6}) {
      user.MoveTo(row.x + dx, row.y);
      PumpEvents(100);
    }
    return WaitFor([&] { return user.Windows().size() == 2; }, 5000);
  };
  ASSERT_TRUE(hover()) << "no tooltip shown";
  EXPECT_TRUE(list_->ShownTip().Contains("Status:        \tNot Started\n"));
  // A run's result reaches the row under the resting mouse: the tooltip says it at once.
  first.status = ItemStatus::Failed;
  first.log = "Failed to load image";
  list_->UpdateRow(&first);
  EXPECT_TRUE(list_->ShownTip().Contains("Status:        \tFailed\n")) << list_->ShownTip();
  EXPECT_TRUE(list_->ShownTip().EndsWith("Log:           \tFailed to load image"));
  // The right button's menu: the tooltip goes (only the frame and the menu are on screen).
  std::atomic<int> windowsWithMenu{0};
  const wxPoint statusBar = frame_->GetStatusBar()->GetScreenRect().GetPosition() + wxPoint(9, 9);
  ASSERT_TRUE(RunAlongside([&] {
    user.Click(3);
    for (int i = 0; i < 100 && user.Windows().size() < 2; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // time for a tooltip
    windowsWithMenu = static_cast<int>(user.Windows().size());
    user.Key("Escape");
    for (int i = 0; i < 30 && user.Windows().size() > 1; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // A click beside the menu closes it too.
    if (user.Windows().size() > 1) {
      user.MoveTo(statusBar.x, statusBar.y);
      user.Click();
    }
  }));
  EXPECT_EQ(windowsWithMenu, 2);
  // Removing every row (Ctrl+A, Delete) takes the tooltip with the rows.
  ASSERT_TRUE(hover()) << "no tooltip shown";
  list_->SetFocus();
  user.Key("a", false, true);
  user.Key("Delete");
  ASSERT_TRUE(WaitFor([&] { return session_->list->Count() == 0; }));
  EXPECT_TRUE(list_->ShownTip().empty());
  EXPECT_TRUE(WaitFor([&] { return user.Windows().size() == 1; }, 3000));
}

}  // namespace
