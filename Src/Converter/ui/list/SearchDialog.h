// SearchDialog: the small modal "Searching file/folder" dialog in which the sources that
// enter the conversion list are collected. The collection starts once the dialog is on
// screen; each item found shows its path, gets its row at once and joins the list, and
// the window stays alive between items. Cancel or Escape stops the search; what was found
// stays. While it runs, the list is busy: nothing may remove items or drop new ones.
#pragma once

#include <wx/dialog.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "job/FileCollector.h"
#include "ui/list/ConversionList.h"

class CConvListCtrl;
class wxStaticText;

class SearchDialog : public wxDialog {
 public:
  SearchDialog(wxWindow* parent, std::vector<std::string> paths, bool recursive,
               ConversionList& list, CConvListCtrl* view);
  ~SearchDialog() override;

  // Stops a running search (it closes when the collector returns) or closes at once.
  void Cancel();
  bool Busy() const { return busy_; }
  // The status line: "..." until the first item, then the last path found.
  wxString StatusText() const;

 private:
  // The collector of the windowed program: items go to the view and the list at once.
  class Collector : public FileCollector {
   public:
    explicit Collector(SearchDialog& dialog) : dialog_(dialog) {}
    void AddItem(std::unique_ptr<ConversionItem> item) override;

   private:
    SearchDialog& dialog_;
  };

  void Found(std::unique_ptr<ConversionItem> item);
  void StartOnce();
  void Run();
  void OnCancel(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  Collector collector_{*this};
  ConversionList& list_;
  CConvListCtrl* view_;
  wxStaticText* status_ = nullptr;
  bool busy_ = false;
  bool started_ = false;
  static constexpr std::chrono::milliseconds kDrainInterval{40};
  std::chrono::steady_clock::time_point lastDrain_{};
};

// The dialog while a search runs, or nullptr.
SearchDialog* TheSearchDialog();
