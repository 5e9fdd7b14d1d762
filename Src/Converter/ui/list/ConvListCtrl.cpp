#include "ui/list/ConvListCtrl.h"

#include <wx/menu.h>

#include <algorithm>

#include "job/PathFunctions.h"
#include "ui/list/ListCells.h"
#include "ui/frame/MainFrame.h"
#include "ui/list/StatusIcons.h"
#include "ui/toolkit/WxText.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"

namespace {
CConvListCtrl* theListCtrl = nullptr;
// The longest info tip shown, in bytes; every field can be a path.
constexpr std::size_t kInfoTipCapacity = 1024;
const wxColour kListBackground(254, 242, 218);
// Room around a header's text (its margins, and the sort arrow's when it is the sorted one)
// and a cell's text.
constexpr int kHeaderPadding = 22;
constexpr int kSortArrowRoom = 14;
constexpr int kCellPadding = 14;
// The File Name column's icon with its margins, left of the text.
constexpr int kFileNameInset = 36;
// A fitted column (but Log) never grows past this for one long cell.
constexpr int kMaxFittedWidth = 320;
const std::string kElidedFolder = "\xE2\x80\xA6/";  // "…/"
}  // namespace

CConvListCtrl* TheConvListCtrl() { return theListCtrl; }

// The child that draws the rows (the other one is the header); the control itself when
// the toolkit draws both.
wxWindow* CConvListCtrl::RowsWindow() {
  for (wxWindow* child : GetChildren())
    if (static_cast<const void*>(child) != static_cast<const void*>(m_headerWin)) return child;
  return this;
}

CConvListCtrl::CConvListCtrl(wxWindow* parent, wxWindowID id, ConversionList& list,
                             AppSettings& settings)
    : wxListCtrl(
          parent, id, wxDefaultPosition, wxDefaultSize,
          wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN | wxWANTS_CHARS),
      list_(list),
      settings_(settings) {
  theListCtrl = this;
  list_.SetView(this);
  Bind(wxEVT_KEY_DOWN, &CConvListCtrl::OnKeyDown, this);
  Bind(wxEVT_LIST_COL_CLICK, &CConvListCtrl::OnColumnClick, this);
  Bind(wxEVT_LIST_ITEM_ACTIVATED, &CConvListCtrl::OnActivated, this);
  Bind(wxEVT_LIST_ITEM_SELECTED, &CConvListCtrl::OnSelectionEvent, this);
  Bind(wxEVT_LIST_ITEM_DESELECTED, &CConvListCtrl::OnSelectionEvent, this);
  Bind(wxEVT_CONTEXT_MENU, &CConvListCtrl::OnContextMenu, this);
  // The rows window has no info tips of its own: its tooltip follows the row under the mouse.
  wxWindow* rows = RowsWindow();
  rows->Bind(wxEVT_MOTION, &CConvListCtrl::OnRowsMotion, this);
  rows->Bind(wxEVT_LEAVE_WINDOW, &CConvListCtrl::OnRowsLeave, this);
  rows->Bind(wxEVT_LEFT_DOWN, &CConvListCtrl::OnRowsLeftDown, this);
  rows->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
    ScheduleSync();
    e.Skip();
  });
  Bind(wxEVT_LIST_COL_END_DRAG, &CConvListCtrl::OnColumnSized, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    ScheduleFit();
    e.Skip();
  });
}

CConvListCtrl::~CConvListCtrl() {
  if (list_.View() == this) list_.SetView(nullptr);
  if (theListCtrl == this) theListCtrl = nullptr;
}

bool CConvListCtrl::InitControl() {
  AssignImageList(MakeStatusImageList(), wxIMAGE_LIST_SMALL);
  SetBackgroundColour(kListBackground);
  for (int c = 0; c < kListColumnCount; ++c) {
    const ListColumn& column = ListColumnAt(c);
    if (InsertColumn(c, WxText(LoadText(column.textId)),
                     column.rightAligned ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT,
                     column.defaultWidth) < 0)
      return false;
  }
  // Items already in the list when the view is made get their rows.
  for (const auto& item : list_.Items()) rows_.push_back(item.get());
  SetItemCount(RowCount());
  ShowSortIndicator(sortColumn_, !sortDescending_);
  userSizedColumns_ = !HoldsDefaultWidths(settings_.columnWidths);
  if (!userSizedColumns_) {
    FitColumns();
    return true;
  }
  // The user's widths; one no column can use is replaced in the settings too, so it is
  // never written back.
  const ColumnWidths widths =
      UsableStoredWidths(settings_.columnWidths, FitWidths(NeededWidths(), 0, kMaxFittedWidth));
  for (int c = 0; c < kListColumnCount; ++c) {
    const int width = widths[static_cast<std::size_t>(c)];
    SetColumnWidth(c, width);
    settings_.columnWidths[static_cast<std::size_t>(c)] = width;
  }
  return true;
}

// What each column needs to show its header and its widest cell whole; the File Name
// column needs the longest file name (its folder elided), Log only its header.
ColumnWidths CConvListCtrl::NeededWidths() {
  std::array<std::string, kListColumnCount> widest;
  for (const ConversionItem* item : rows_) {
    for (int c = 0; c < kListColumnCount - 1; ++c) {
      std::string text = c == 0 ? kElidedFolder + FileNameOf(item->sourcePath) : CellText(*item, c);
      std::string& kept = widest[static_cast<std::size_t>(c)];
      if (text.size() > kept.size()) kept = std::move(text);
    }
  }
  ColumnWidths needed{};
  for (int c = 0; c < kListColumnCount; ++c) {
    const std::size_t i = static_cast<std::size_t>(c);
    const int header = GetTextExtent(WxText(LoadText(ListColumnAt(c).textId))).x + kHeaderPadding +
                       (c == sortColumn_ ? kSortArrowRoom : 0);
    int cell = widest[i].empty() ? 0 : GetTextExtent(WxText(widest[i])).x + kCellPadding;
    cell = c == 0 ? cell + kFileNameInset - kCellPadding : std::min(cell, kMaxFittedWidth);
    needed[i] = std::max(header, cell);
  }
  return needed;
}

// Fits the columns to their content and the list's width, until the user sizes one.
void CConvListCtrl::FitColumns() {
  fitPending_ = false;
  if (userSizedColumns_ || GetColumnCount() < kListColumnCount) return;
  const int available = RowsWindow()->GetClientSize().x;
  const ColumnWidths widths = FitWidths(NeededWidths(), available, available * 2 / 5);
  for (int c = 0; c < kListColumnCount; ++c)
    if (GetColumnWidth(c) != widths[static_cast<std::size_t>(c)])
      SetColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

// Sizes arrive in bursts while the window is laid out: fit once they are over.
void CConvListCtrl::ScheduleFit() {
  if (fitPending_ || userSizedColumns_) return;
  fitPending_ = true;
  CallAfter(&CConvListCtrl::FitColumns);
}

void CConvListCtrl::OnColumnSized(wxListEvent& event) {
  userSizedColumns_ = true;
  event.Skip();
}

ConversionItem* CConvListCtrl::ItemAt(int row) const {
  return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

int CConvListCtrl::RowOf(const ConversionItem* item) const {
  const auto at = std::find(rows_.begin(), rows_.end(), item);
  return at == rows_.end() ? -1 : static_cast<int>(at - rows_.begin());
}

void CConvListCtrl::AppendRow(ConversionItem* item) {
  const long before = RowCount();
  // Follow the end only while the last row is on screen (or there was none).
  const bool following = before == 0 || GetTopItem() + GetCountPerPage() >= before;
  rows_.push_back(item);
  SetItemCount(RowCount());
  item->listFlags = 0;
  if (following) EnsureVisible(RowCount() - 1);
  RefreshTip();
}

bool CConvListCtrl::UpdateRow(ConversionItem* item, int index) {
  if (index < 0) index = RowOf(item);
  if (index < 0 || index >= RowCount()) return false;
  RefreshItem(index);
  RefreshTip();
  return true;
}

void CConvListCtrl::DeleteRow(ConversionItem* item) {
  const int row = RowOf(item);
  if (row < 0) return;
  rows_.erase(rows_.begin() + row);
  SetItemCount(RowCount());
  Refresh();
  RefreshTip();
}

void CConvListCtrl::ApplyPendingChanges() {
  for (const auto& held : list_.Items()) {
    ConversionItem* item = held.get();
    if (item->listFlags == 0) continue;
    if (item->listFlags & ItemListFlag::Added)
      AppendRow(item);
    else if (item->listFlags & ItemListFlag::Removed)
      DeleteRow(item);
    else if (item->listFlags == ItemListFlag::Changed)
      UpdateRow(item, -1);
  }
  Resort();
  ScheduleFit();
}

// One repaint for the whole removal, however many rows go.
void CConvListCtrl::DeleteRemovedRows() {
  Freeze();
  std::erase_if(rows_, [](const ConversionItem* item) {
    return (item->listFlags & ItemListFlag::Removed) != 0;
  });
  SetItemCount(RowCount());
  Resort();
  Thaw();
  ScheduleFit();
}

void CConvListCtrl::DeleteAllRows() {
  rows_.clear();
  SetItemCount(0);
  Refresh();
  RefreshTip();
  ScheduleFit();
}

void CConvListCtrl::SortBy(int column, bool descending) {
  if (column == sortColumn_ && descending == sortDescending_) return;
  sortColumn_ = column;
  sortDescending_ = descending;
  ShowSortIndicator(column, !descending);
  Resort();
  ScheduleFit();
}

// Sorts the display order by the current column; the selected items stay selected (the
// model holds the selection; a change the control has not reported yet is taken first).
void CConvListCtrl::Resort() {
  if (syncPending_) SyncSelection();
  const int column = sortColumn_;
  const bool descending = sortDescending_;
  std::stable_sort(rows_.begin(), rows_.end(),
                   [column, descending](const ConversionItem* a, const ConversionItem* b) {
                     const int order = CompareItems(*a, *b, column);
                     return descending ? order > 0 : order < 0;
                   });
  ShowSelection();
  Refresh();
  RefreshTip();
}

// The generic control's plain click deselects a single selected row only when it is the
// focused one, and its Shift-click extends from an anchor that only its own clicks and keys
// set: so the first selected row becomes the focused row and our anchor for Shift-clicks.
void CConvListCtrl::ShowSelection() {
  showingSelection_ = true;
  codeAnchor_ = -1;
  if (GetItemCount() > 0) SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  for (int row = 0; row < RowCount(); ++row) {
    if (!list_.IsSelected(rows_[static_cast<std::size_t>(row)])) continue;
    SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (codeAnchor_ < 0) codeAnchor_ = row;
  }
  if (codeAnchor_ >= 0) SetItemState(codeAnchor_, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  showingSelection_ = false;
}

// Selects the rows from row to row inclusive, in either order, and nothing else.
void CConvListCtrl::SelectRowRange(long from, long to) {
  showingSelection_ = true;
  SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  for (long row = std::min(from, to); row <= std::max(from, to); ++row)
    SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  SetItemState(to, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  showingSelection_ = false;
  SyncSelection();
}

void CConvListCtrl::SelectItems(const std::vector<const ConversionItem*>& items) {
  list_.ReplaceSelection(items);
  ShowSelection();
}

void CConvListCtrl::SyncSelection() {
  syncPending_ = false;
  if (showingSelection_) return;
  std::vector<const ConversionItem*> selected;
  for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
       row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
    if (row < RowCount()) selected.push_back(rows_[static_cast<std::size_t>(row)]);
  list_.ReplaceSelection(selected);
}

// Selection events come one per row (or one for a whole range): read the outcome once.
void CConvListCtrl::ScheduleSync() {
  if (syncPending_ || showingSelection_) return;
  syncPending_ = true;
  CallAfter([this] {
    if (syncPending_) SyncSelection();
  });
}

// The File Name cell elides the path's folder rather than its end, so the file's name
// shows in a narrow column.
wxString CConvListCtrl::OnGetItemText(long row, long column) const {
  const ConversionItem* item = ItemAt(static_cast<int>(row));
  if (!item) return wxString();
  if (column != 0) return WxText(CellText(*item, static_cast<int>(column)));
  const int room = GetColumnWidth(0) - kFileNameInset;
  return WxText(ElidedPath(item->sourcePath, room, [this](std::string_view text) {
    return GetTextExtent(WxText(text)).x;
  }));
}

int CConvListCtrl::OnGetItemImage(long row) const {
  const ConversionItem* item = ItemAt(static_cast<int>(row));
  return item && item->status >= 0 && item->status < 3 ? item->status : -1;
}

wxString CConvListCtrl::InfoTipAt(int row) const {
  const ConversionItem* item = ItemAt(row);
  return item ? WxText(InfoTipText(*item, kInfoTipCapacity)) : wxString();
}

wxString CConvListCtrl::ShownTip() {
  wxWindow* rows = RowsWindow();
  return rows->GetToolTip() ? rows->GetToolTipText() : wxString();
}

wxMenu* CConvListCtrl::CreateContextMenu() {
  auto* menu = new wxMenu;
  menu->Append(ToWxId(Res::RemoveSelected), WxText(LoadText(Ids::MenuRemove)));
  menu->Append(ToWxId(Res::RemoveAll), WxText(LoadText(Ids::MenuRemoveAll)));
  menu->AppendSeparator();
  menu->Append(ToWxId(Res::ViewOriginal), WxText(LoadText(Ids::MenuViewOriginal)));
  menu->Append(ToWxId(Res::ViewConverted), WxText(LoadText(Ids::MenuViewConverted)));
  return menu;
}

void CConvListCtrl::SaveColumnWidths() {
  if (!userSizedColumns_) return;
  for (int c = 0; c < kListColumnCount && c < GetColumnCount(); ++c)
    settings_.columnWidths[static_cast<std::size_t>(c)] = GetColumnWidth(c);
}

// The frame handles and enables these as its menu commands; without a frame only the
// removal still works.
void CConvListCtrl::RouteCommand(int resourceId) {
  SyncSelection();
  if (CMainFrame* frame = TheMainFrame()) {
    wxCommandEvent command(wxEVT_MENU, ToWxId(resourceId));
    command.SetEventObject(this);
    frame->GetEventHandler()->ProcessEvent(command);
  } else if (resourceId == Res::RemoveSelected) {
    list_.RemoveSelected();
  }
}

void CConvListCtrl::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool ctrl = event.ControlDown();
  if (!event.ShiftDown()) codeAnchor_ = -1;  // the control's keys set its own anchor
  bool handled = false;
  if (key == WXK_DELETE || key == WXK_NUMPAD_DELETE) {
    RouteCommand(Res::RemoveSelected);
    handled = true;
  }
  if (ctrl && (key == 'A' || key == 'a')) {
    std::vector<const ConversionItem*> all(rows_.begin(), rows_.end());
    SelectItems(all);
    handled = true;
  } else if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    RouteCommand(ctrl ? Res::ViewOriginal : Res::ViewConverted);
    handled = true;
  }
  if (!handled) {
    ScheduleSync();
    event.Skip();
  }
}

void CConvListCtrl::OnColumnClick(wxListEvent& event) {
  const int column = event.GetColumn();
  if (column < 0) return;
  SortBy(column, column == sortColumn_ && !sortDescending_);
}

// Double-click (Enter is taken by the key handler first).
void CConvListCtrl::OnActivated(wxListEvent&) { RouteCommand(Res::ViewConverted); }

void CConvListCtrl::OnSelectionEvent(wxListEvent& event) {
  ScheduleSync();
  event.Skip();
}

void CConvListCtrl::OnContextMenu(wxContextMenuEvent&) {
  SyncSelection();
  // The row's tooltip would cover the menu.
  tipRow_ = -1;
  RowsWindow()->UnsetToolTip();
  std::unique_ptr<wxMenu> menu(CreateContextMenu());
  // The commands bubble from here through the page and the bar to the frame.
  PopupMenu(menu.get());
}

// A Shift-click after a selection made in code extends from that selection's first row;
// any other click hands the anchor back to the control.
void CConvListCtrl::OnRowsLeftDown(wxMouseEvent& event) {
  int flags = 0;
  const long row = HitTest(event.GetPosition(), flags);
  if (codeAnchor_ < 0 || !event.ShiftDown() || event.ControlDown() || row < 0 ||
      row >= RowCount()) {
    if (!event.ShiftDown()) codeAnchor_ = -1;
    event.Skip();
    return;
  }
  SetFocus();
  SelectRowRange(codeAnchor_, row);
}

void CConvListCtrl::OnRowsMotion(wxMouseEvent& event) {
  event.Skip();
  int flags = 0;
  const long row = HitTest(event.GetPosition(), flags);
  const int hit = (flags & wxLIST_HITTEST_ONITEM) ? static_cast<int>(row) : -1;
  if (hit != tipRow_) ShowTipAt(event.GetPosition());
}

void CConvListCtrl::OnRowsLeave(wxMouseEvent& event) {
  event.Skip();
  tipRow_ = -1;
  RowsWindow()->UnsetToolTip();
}

// The tooltip shows the details of the row at the point (rows-window coordinates), or
// nothing off the rows.
void CConvListCtrl::ShowTipAt(const wxPoint& rowsPoint) {
  int flags = 0;
  const long row = HitTest(rowsPoint, flags);
  tipRow_ = (flags & wxLIST_HITTEST_ONITEM) ? static_cast<int>(row) : -1;
  wxWindow* rows = RowsWindow();
  const wxString tip = tipRow_ < 0 ? wxString() : InfoTipAt(tipRow_);
  if (tip.empty()) {
    if (rows->GetToolTip()) rows->UnsetToolTip();
  } else if (!rows->GetToolTip() || rows->GetToolTipText() != tip) {
    rows->SetToolTip(tip);
  }
}

// After the rows changed under a resting mouse: the tooltip follows what is there now.
void CConvListCtrl::RefreshTip() {
  wxWindow* rows = RowsWindow();
  if (tipRow_ < 0 && !rows->GetToolTip()) return;
  const wxPoint at = rows->ScreenToClient(wxGetMousePosition());
  if (wxRect(rows->GetClientSize()).Contains(at)) {
    ShowTipAt(at);
  } else {
    tipRow_ = -1;
    rows->UnsetToolTip();
  }
}
