// The list view under a real main window: sorting by every column both ways, the header
// click rule, the keys and the context menu reaching the frame, the row icons and tips.
#include <wx/uiaction.h>

#include <functional>

#include "ListTestSupport.h"
#include "UiTestSupport.h"
#include "ui/resources/ResourceIds.h"

namespace {

using ConvListCtrlTest = ListTest;

std::unique_ptr<ConversionItem> Named(const std::string& name,
                                      const std::function<void(ConversionItem&)>& set) {
  auto item = MakeItem(name, ItemStatus::NotStarted);
  set(*item);
  return item;
}

TEST_F(ConvListCtrlTest, EveryColumnSortsBothWaysWithUnknownValuesFirst) {
  OpenListFrame();
  using Setter = std::function<void(ConversionItem&, int)>;
  // Per column: how the three items a, b, c get the values 10, unknown, 5 (or their text
  // equivalents); ascending must read b, c, a.
  auto number = [](int ConversionItem::*field) {
    return Setter([field](ConversionItem& item, int v) { item.*field = v; });
  };
  auto text = [](std::string ConversionItem::*field) {
    return Setter([field](ConversionItem& item, int v) {
      item.*field = v < 0 ? "" : v == 5 ? "Mid" : "top";
    });
  };
  const struct {
    int column;
    Setter set;
  } columns[] = {
      {1, number(&ConversionItem::pageIndex)},
      {2, text(&ConversionItem::relativePath)},
      {3, [](ConversionItem& item,
             int v) { item.fileSize = v < 0 ? 0 : static_cast<std::uint64_t>(v) * 4000; }},
      {4, text(&ConversionItem::extension)},
      {5, number(&ConversionItem::width)},
      {6, number(&ConversionItem::height)},
      {7, number(&ConversionItem::bitDepth)},
      {8, number(&ConversionItem::newWidth)},
      {9, number(&ConversionItem::newHeight)},
      {10, number(&ConversionItem::newBitDepth)},
      {11, text(&ConversionItem::log)},
  };
  for (const auto& c : columns) {
    session_->list->RemoveAll();
    AddItem(Named("a", [&](ConversionItem& i) { c.set(i, 10); }));
    AddItem(Named("b", [&](ConversionItem& i) { c.set(i, -1); }));
    AddItem(Named("c", [&](ConversionItem& i) { c.set(i, 5); }));
    list_->SortBy(c.column, false);
    EXPECT_EQ(RowNames(),
              (std::vector<std::string>{"/pictures/b.png", "/pictures/c.png", "/pictures/a.png"}))
        << "column " << c.column << " ascending";
    list_->SortBy(c.column, true);
    EXPECT_EQ(RowNames(),
              (std::vector<std::string>{"/pictures/a.png", "/pictures/c.png", "/pictures/b.png"}))
        << "column " << c.column << " descending";
  }
  // Column 0: two pages of one file sort by page index.
  session_->list->RemoveAll();
  AddItem(Named("p", [](ConversionItem& i) {
    i.pageIndex = 1;
    i.log = "second";
  }));
  AddItem(Named("p", [](ConversionItem& i) {
    i.pageIndex = 0;
    i.log = "first";
  }));
  AddItem(Named("a", [](ConversionItem&) {}));
  list_->SortBy(0, false);
  EXPECT_EQ(list_->ItemAt(0)->sourcePath, "/pictures/a.png");
  EXPECT_EQ(list_->ItemAt(1)->log, "first");
  EXPECT_EQ(list_->ItemAt(2)->log, "second");
}

TEST_F(ConvListCtrlTest, HeaderClicksSortAscendingDescendingAscending) {
  OpenListFrame();
  for (int w : {30, -1, 20})
    AddItem(Named("w" + std::to_string(w), [w](ConversionItem& i) { i.width = w; }));
  // The header of column 5 (Width): right of the five columns before it.
  int x = 0;
  for (int c = 0; c < 5; ++c) x += list_->GetColumnWidth(c);
  const wxPoint header = list_->ClientToScreen(wxPoint(x + list_->GetColumnWidth(5) / 2, 8));
  wxUIActionSimulator mouse;
  std::vector<std::pair<int, bool>> seen;
  for (int click = 0; click < 3; ++click) {
    mouse.MouseMove(header);
    PumpEvents(100);
    mouse.MouseClick();
    PumpEvents(500);  // spaced past the double-click time
    seen.emplace_back(list_->SortColumn(), list_->SortDescending());
    // The header shows the arrow of that column and order.
    EXPECT_EQ(list_->GetSortIndicator(), 5);
    EXPECT_EQ(list_->IsAscendingSortIndicator(), !list_->SortDescending());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{5, false}, {5, true}, {5, false}}));
  EXPECT_EQ(list_->ItemAt(0)->width, -1);
  EXPECT_EQ(list_->ItemAt(2)->width, 30);
}

TEST_F(ConvListCtrlTest, KeysActOnTheSelectionThroughTheFrame) {
  OpenListFrame();
  wxUIActionSimulator keys;
  list_->SetFocus();
  PumpEvents(100);
  // An empty list: nothing happens.
  for (int key : {WXK_DELETE, WXK_RETURN}) keys.Char(key);
  keys.Char(WXK_RETURN, wxMOD_CONTROL);
  PumpEvents(100);
  EXPECT_TRUE(opened_.empty());

  const int statuses[] = {2, 1, 0, 2, 1, 0};
  std::vector<ConversionItem*> items;
  for (int i = 0; i < 6; ++i)
    items.push_back(&AddItem(MakeItem(std::string(1, static_cast<char>('a' + i)), statuses[i])));
  // Three rows chosen with Ctrl+click.
  for (int row : {1, 3, 4}) {
    keys.MouseMove(RowPoint(row));
    PumpEvents(50);
    keys.KeyDown(WXK_CONTROL);
    keys.MouseClick();
    keys.KeyUp(WXK_CONTROL);
    PumpEvents(450);
  }
  ASSERT_TRUE(WaitFor([&] { return session_->list->SelectedCount() == 3; }))
      << session_->list->SelectedCount();
  keys.Char(WXK_DELETE);
  ASSERT_TRUE(WaitFor([&] { return session_->list->Count() == 3; }));
  EXPECT_EQ(RowNames(),
            (std::vector<std::string>{"/pictures/a.png", "/pictures/c.png", "/pictures/f.png"}));
  EXPECT_EQ(list_->RowCount(), 3);
  PumpEvents(100);
  EXPECT_EQ(frame_->GetStatusBar()->GetStatusText(0), "Total files: 3 Succeeded: 0 Failed: 1");

  keys.Char('A', wxMOD_CONTROL);
  ASSERT_TRUE(WaitFor([&] { return session_->list->SelectedCount() == 3; }));

  // Enter on a failed row does nothing; Ctrl+Enter opens its source.
  list_->SelectItems({items[0]});
  keys.Char(WXK_RETURN);
  PumpEvents(100);
  EXPECT_TRUE(opened_.empty());
  keys.Char(WXK_RETURN, wxMOD_CONTROL);
  ASSERT_TRUE(WaitFor([&] { return opened_.size() == 1; }));
  EXPECT_EQ(opened_[0], "/pictures/a.png");
  // Enter on a succeeded row opens the converted picture.
  ConversionItem& done = AddItem(MakeItem("g", ItemStatus::Succeeded));
  list_->SelectItems({&done});
  keys.Char(WXK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return opened_.size() == 2; }));
  EXPECT_EQ(opened_[1], "/converted/g.jpg");
  // A double-click on a row of a fresh selection opens that row's picture only.
  ConversionItem& other = AddItem(MakeItem("h", ItemStatus::Succeeded));
  list_->SelectItems({});
  keys.MouseMove(RowPoint(list_->RowOf(&other)));
  PumpEvents(450);
  keys.MouseDblClick();
  ASSERT_TRUE(WaitFor([&] { return opened_.size() == 3; }));
  EXPECT_EQ(opened_[2], "/converted/h.jpg");
  PumpEvents(100);
  EXPECT_EQ(opened_.size(), 3u);
  EXPECT_EQ(session_->list->SelectedCount(), 1);
}

TEST_F(ConvListCtrlTest, ContextMenuCommandsReachTheFrame) {
  OpenListFrame();
  std::unique_ptr<wxMenu> menu(CConvListCtrl::CreateContextMenu());
  ASSERT_EQ(menu->GetMenuItemCount(), 5u);
  const std::pair<int, const char*> entries[] = {{Res::RemoveSelected, "&Remove\t"},
                                                 {Res::RemoveAll, "R&emove All"},
                                                 {0, ""},
                                                 {Res::ViewOriginal, "&View Original Image"},
                                                 {Res::ViewConverted, "View &Converted Image"}};
  for (std::size_t i = 0; i < 5; ++i) {
    const wxMenuItem* item = menu->FindItemByPosition(i);
    if (entries[i].first == 0) {
      EXPECT_TRUE(item->IsSeparator());
      continue;
    }
    EXPECT_EQ(item->GetId(), ToWxId(entries[i].first));
    // The toolkit keeps what stands before the tab (an empty accelerator).
    EXPECT_EQ(item->GetItemLabel(), wxString(entries[i].second).BeforeFirst('\t'));
  }
  // A chosen entry is a menu command of the list; it bubbles to the frame.
  auto choose = [&](int resourceId) {
    wxCommandEvent command(wxEVT_MENU, ToWxId(resourceId));
    command.SetEventObject(list_);
    list_->GetEventHandler()->ProcessEvent(command);
  };
  ConversionItem& done = AddItem(MakeItem("done", ItemStatus::Succeeded));
  AddItem(MakeItem("other", ItemStatus::NotStarted));
  list_->SelectItems({&done});
  choose(Res::ViewOriginal);
  choose(Res::ViewConverted);
  EXPECT_EQ(opened_, (std::vector<std::string>{"/pictures/done.png", "/converted/done.jpg"}));
  choose(Res::RemoveSelected);
  EXPECT_EQ(RowNames(), std::vector<std::string>{"/pictures/other.png"});
  choose(Res::RemoveAll);
  EXPECT_EQ(list_->RowCount(), 0);
  EXPECT_EQ(session_->list->Count(), 0);
}

TEST_F(ConvListCtrlTest, RowsShowIconsCellsAndTipsOfTheirItems) {
  OpenListFrame();
  auto item = MakeItem("a", ItemStatus::Failed);
  item->width = 640;
  item->fileSize = 1025;
  ConversionItem& a = AddItem(std::move(item));
  AddItem(MakeItem("b", ItemStatus::Succeeded));
  AddItem(MakeItem("c", 7));
  EXPECT_EQ(list_->IconAt(0), 2);
  EXPECT_EQ(list_->IconAt(1), 1);
  EXPECT_EQ(list_->IconAt(2), -1);
  EXPECT_EQ(list_->CellAt(0, 3), "2 KB");
  EXPECT_EQ(list_->CellAt(0, 5), "640");
  EXPECT_EQ(list_->CellAt(0, 6), "");
  EXPECT_EQ(list_->GetBackgroundColour(), wxColour(254, 242, 218));
  // A run's result reaches the row through UpdateRow; an item without a row changes nothing.
  a.status = ItemStatus::Succeeded;
  EXPECT_TRUE(list_->UpdateRow(&a));
  EXPECT_EQ(list_->IconAt(0), 1);
  ConversionItem stranger;
  EXPECT_FALSE(list_->UpdateRow(&stranger));
  // The tooltip follows the row under the mouse.
  wxUIActionSimulator mouse;
  mouse.MouseMove(RowPoint(1));
  PumpEvents(200);
  wxWindow* rows = nullptr;
  for (wxWindow* child : list_->GetChildren())
    if (child->GetToolTip()) rows = child;
  ASSERT_TRUE(rows);
  EXPECT_TRUE(rows->GetToolTipText().StartsWith("File Name:     \t/pictures/b.png\n"));
  EXPECT_TRUE(rows->GetToolTipText().Contains("Status:        \tSucceeded\n"));
}

TEST_F(ConvListCtrlTest, ResetForRunClearsResultsOfEarlierRuns) {
  OpenListFrame();
  ConversionItem& done = AddItem(MakeItem("done", ItemStatus::Succeeded));
  done.width = 10;
  done.log = "Successfully converted";
  session_->list->ResetForRun();
  EXPECT_EQ(list_->IconAt(0), 0);
  EXPECT_EQ(list_->CellAt(0, 5), "");
  EXPECT_EQ(list_->CellAt(0, 11), "");
  EXPECT_EQ(done.listFlags, 0);
}

// Clicks after the program chose the selection (Ctrl+A, a re-sort, a command): the control
// and the model must both end with what the user clicked, or Delete removes other rows.
TEST_F(ConvListCtrlTest, ClicksReplaceASelectionMadeInCode) {
  OpenListFrame();
  std::vector<ConversionItem*> items;
  for (int i = 0; i < 6; ++i)
    items.push_back(&AddItem(MakeItem(std::string(1, static_cast<char>('a' + i)), 0)));
  auto controlRows = [&] {
    std::vector<long> rows;
    for (long r = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); r >= 0;
         r = list_->GetNextItem(r, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
      rows.push_back(r);
    return rows;
  };
  auto modelRows = [&] {
    std::vector<long> rows;
    for (int r = 0; r < list_->RowCount(); ++r)
      if (session_->list->IsSelected(list_->ItemAt(r))) rows.push_back(r);
    return rows;
  };
  wxUIActionSimulator mouse;
  auto click = [&](int row, int modifier) {
    mouse.MouseMove(RowPoint(row));
    PumpEvents(50);
    if (modifier) mouse.KeyDown(modifier);
    mouse.MouseClick();
    if (modifier) mouse.KeyUp(modifier);
    PumpEvents(450);  // apart from the next click, so no double click
  };
  auto expectRows = [&](const std::vector<long>& want, const char* step) {
    EXPECT_TRUE(WaitFor([&] { return controlRows() == want && modelRows() == want; }, 2000))
        << step;
    EXPECT_EQ(controlRows(), want) << step << ": control";
    EXPECT_EQ(modelRows(), want) << step << ": model";
  };
  list_->SetFocus();
  PumpEvents(100);

  list_->SelectItems({items[3]});
  click(4, 0);
  expectRows({4}, "plain click after one row selected in code");

  list_->SelectItems({items[1], items[2]});
  click(5, 0);
  expectRows({5}, "plain click after two rows selected in code");

  mouse.Char('A', wxMOD_CONTROL);
  ASSERT_TRUE(WaitFor([&] { return session_->list->SelectedCount() == 6; }));
  click(2, 0);
  expectRows({2}, "plain click on a row of Ctrl+A");

  click(4, WXK_SHIFT);
  expectRows({2, 3, 4}, "Shift-click after a click");

  list_->SelectItems({items[1]});
  click(3, WXK_SHIFT);
  expectRows({1, 2, 3}, "Shift-click after one row selected in code");

  // A double-click replaces the selection too, after Ctrl-clicks or after code.
  click(0, WXK_CONTROL);
  click(2, WXK_CONTROL);
  mouse.MouseMove(RowPoint(5));
  PumpEvents(50);
  mouse.MouseDblClick();
  PumpEvents(450);
  expectRows({5}, "double-click after Ctrl-clicks");
  list_->SelectItems({items[2]});
  mouse.MouseMove(RowPoint(4));
  PumpEvents(50);
  mouse.MouseDblClick();
  PumpEvents(450);
  expectRows({4}, "double-click after one row selected in code");

  // Delete acts on what the user clicked, not on an earlier selection.
  list_->SelectItems({items[0]});
  click(5, 0);
  mouse.Char(WXK_DELETE);
  ASSERT_TRUE(WaitFor([&] { return session_->list->Count() == 5; }));
  EXPECT_EQ(RowNames(),
            (std::vector<std::string>{"/pictures/a.png", "/pictures/b.png", "/pictures/c.png",
                                      "/pictures/d.png", "/pictures/e.png"}));
}

}  // namespace
