// ConversionList: the windowed program's model of the conversion list, the ordered items
// that a run converts (the list owns them) with the number of items of each status. The
// list's view keeps the selection here through SetSelected, so the main frame's commands
// and their enabling rules read it without knowing the view. One instance lives for the
// whole windowed session, reached through TheConversionList().
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "job/ConversionItem.h"

// What the list's view does when the model changes under it: rows go before their items
// are freed, pending marks are applied before they are cleared.
class ConversionListView {
 public:
  virtual ~ConversionListView() = default;
  // Deletes the rows whose items carry the Removed mark, then re-sorts.
  virtual void DeleteRemovedRows() = 0;
  virtual void DeleteAllRows() = 0;
  // Applies every item's pending marks (add, remove, refresh), then re-sorts.
  virtual void ApplyPendingChanges() = 0;
};

class ConversionList {
 public:
  ConversionList();
  ~ConversionList();
  ConversionList(const ConversionList&) = delete;
  ConversionList& operator=(const ConversionList&) = delete;

  const ItemList& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Number of items whose status is `status` (0, 1 or 2) at the last RecountStatus.
  int StatusCount(int status) const;
  // Counts every item by its status afresh.
  void RecountStatus();

  // Appends an item (it keeps its listFlags) and recounts.
  ConversionItem& Add(std::unique_ptr<ConversionItem> item);
  // Appends without recounting or telling the listeners: a search adds thousands of items
  // and recounts once at its end.
  ConversionItem& Append(std::unique_ptr<ConversionItem> item);

  // Selection, as the view reports it; items not in the list are ignored.
  void SetSelected(const ConversionItem* item, bool selected);
  int SelectedCount() const { return static_cast<int>(selected_.size()); }
  bool IsSelected(const ConversionItem* item) const { return selected_.count(item) != 0; }
  // Replaces the whole selection (the view reports it in one go); items not in the list
  // are ignored.
  void ReplaceSelection(const std::vector<const ConversionItem*>& items);
  bool HasSelection() const { return FirstSelectedItem() != nullptr; }
  // The selected item that comes first in list order, or nullptr.
  ConversionItem* FirstSelectedItem() const;
  // True when there is a selected item and the first one has succeeded.
  bool SelectionSucceeded() const;

  // Frees the selected items (nothing without a selection), then recounts. Refused (false)
  // while the list is busy.
  bool RemoveSelected();
  // Frees every item, then recounts. Refused (false) while the list is busy.
  bool RemoveAll();

  // Before a run: every item converted before goes back to Not Started with its results
  // cleared and is marked Changed; the listeners apply that, then the marks are cleared.
  void ResetForRun();

  // True while a search or a run iterates the items. Nothing may then remove items, and
  // drops are refused; the search itself still adds what it finds.
  bool Busy() const { return busyDepth_ > 0; }
  // Marks the list busy for its lifetime.
  class BusyScope {
   public:
    explicit BusyScope(ConversionList& list) : list_(list) { ++list_.busyDepth_; }
    ~BusyScope() { --list_.busyDepth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    ConversionList& list_;
  };

  // Called after each change of the items (removals, additions): the view drops or adds
  // its rows and the frame refreshes its idle text. Empty until someone listens.
  std::function<void()> onChanged;

  // The view that shows the items (nullptr: none); it must outlive its registration.
  void SetView(ConversionListView* view) { view_ = view; }
  ConversionListView* View() const { return view_; }

 private:
  void Changed();

  ItemList items_;
  std::set<const ConversionItem*> selected_;
  std::array<int, 3> statusCounts_{};
  int busyDepth_ = 0;
  ConversionListView* view_ = nullptr;
};

// The session's list, or nullptr outside a windowed session.
ConversionList* TheConversionList();
