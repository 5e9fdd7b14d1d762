// CConvListCtrl: the view of the conversion list, a report list of twelve columns with one
// row per item and the item's status as the row icon. The rows are virtual: the control
// keeps only the display order (item pointers), so filling and sorting many thousands of
// rows stays fast. It sorts by a clicked column (the header shows which, and which way),
// offers the context menu whose commands go to the main frame, handles Delete, Ctrl+A,
// Enter, Ctrl+Enter and double-click, shows the details of the row under the mouse as the
// tooltip (kept current as rows change), and sizes its columns as ColumnFit says, keeping
// them in the settings once the user has sized one. One instance, reached through
// TheConvListCtrl().
#pragma once

#include <wx/listctrl.h>

#include <vector>

#include "settings/AppSettings.h"
#include "ui/list/ColumnFit.h"
#include "ui/list/ConversionList.h"

class wxMenu;

class CConvListCtrl : public wxListCtrl, public ConversionListView {
 public:
  CConvListCtrl(wxWindow* parent, wxWindowID id, ConversionList& list, AppSettings& settings);
  ~CConvListCtrl() override;

  // Icons, colours and the twelve columns, fitted or with the user's widths.
  bool InitControl();

  // Adds a row for the item at the end and clears its marks; the list follows the new
  // row unless the user has scrolled away from the end.
  void AppendRow(ConversionItem* item);
  // Repaints the item's row (found by item when `index` is negative); false without a row.
  bool UpdateRow(ConversionItem* item, int index = -1);
  void DeleteRow(ConversionItem* item);

  void ApplyPendingChanges() override;
  void DeleteRemovedRows() override;
  void DeleteAllRows() override;

  // Sorts by the column unless it is already sorted that way.
  void SortBy(int column, bool descending);
  int SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return sortDescending_; }

  int RowCount() const { return static_cast<int>(rows_.size()); }
  ConversionItem* ItemAt(int row) const;
  int RowOf(const ConversionItem* item) const;
  // Whether the row's cell shows `text` (what a user reads), and its icon.
  wxString CellAt(int row, int column) const { return OnGetItemText(row, column); }
  int IconAt(int row) const { return OnGetItemImage(row); }

  // Selects the rows of the given items only (and reports it to the model).
  void SelectItems(const std::vector<const ConversionItem*>& items);
  // Hands the control's selection to the model.
  void SyncSelection();

  // The info tip of a row, as the tooltip shows it.
  wxString InfoTipAt(int row) const;
  // The tooltip shown now over the rows (empty for none).
  wxString ShownTip();

  // Whether the columns keep the user's widths (else they fit their content).
  bool ColumnsSizedByUser() const { return userSizedColumns_; }

  // The context menu as a right-click shows it; the caller owns it.
  static wxMenu* CreateContextMenu();

  // Stores the widths once the user has sized a column; fitted widths are not kept.
  void SaveColumnWidths();

 private:
  wxString OnGetItemText(long row, long column) const override;
  int OnGetItemImage(long row) const override;

  wxWindow* RowsWindow();
  void Resort();
  void ShowSelection();
  void SelectRowRange(long from, long to);
  void ScheduleSync();
  void RouteCommand(int resourceId);
  ColumnWidths NeededWidths();
  void FitColumns();
  void ScheduleFit();
  void ShowTipAt(const wxPoint& rowsPoint);
  void RefreshTip();

  void OnKeyDown(wxKeyEvent& event);
  void OnColumnClick(wxListEvent& event);
  void OnActivated(wxListEvent& event);
  void OnSelectionEvent(wxListEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnRowsLeftDown(wxMouseEvent& event);
  void OnRowsMotion(wxMouseEvent& event);
  void OnRowsLeave(wxMouseEvent& event);
  void OnColumnSized(wxListEvent& event);

  ConversionList& list_;
  AppSettings& settings_;
  std::vector<ConversionItem*> rows_;  // display order
  int sortColumn_ = 0;
  bool sortDescending_ = false;
  bool syncPending_ = false;
  bool showingSelection_ = false;
  long codeAnchor_ = -1;  // first row of a selection made in code, until the user clicks
  int tipRow_ = -1;
  bool userSizedColumns_ = false;
  bool fitPending_ = false;
};

// The list view, or nullptr while there is none.
CConvListCtrl* TheConvListCtrl();
