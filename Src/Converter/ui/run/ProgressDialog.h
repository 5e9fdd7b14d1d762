// ProgressDialog: the modal "Brindlemark" dialog of a conversion run, itself the run's
// ImageConverter. It shows the current item's source and destination, a bar for the
// current file and one for the whole run, and the Total, Succeeded and Failed counts.
// The run starts once the dialog has painted; the conversion works on a thread of its own
// over private copies of the items, with the automatic number of worker processes (the
// settings' `threads`, 0 in the window), and every hook's step is shown on the GUI thread
// in the order the hooks were called: items in list order, the source shown being the
// oldest item still in flight. Each finished item is copied back into the list's item and
// its row refreshed. Cancel (button, close box, Escape) stops after the item shown; the
// work done ahead on later items is dropped and they stay Not Started. After the run a line
// says how far it went ("Stopped after 13 of 60"), "Open Destination Folder" shows the
// folder through the desktop's opener, and the button reads "&OK" and closes the dialog.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

#include "job/ImageConverter.h"

class wxGauge;
class wxStaticText;
class wxButton;

class ProgressDialog : public wxDialog, public ImageConverter {
 public:
  // Control ids of the dialog's template.
  enum : int {
    kCurrentBar = 1036,
    kTotalBar = 1037,
    kSource = 1038,
    kDest = 1039,
    kSucceeded = 1042,
    kFailed = 1043,
    kTotal = 1044,
    kSummary = 1045,
    kOpenFolder = 1046
  };

  // `rowChanged` is called on the GUI thread for every finished item of `items`;
  // `openFolder` shows a folder (the default: the desktop's opener, a message when it fails).
  ProgressDialog(wxWindow* parent, std::vector<ConversionItem*> items,
                 const ConversionSettings& settings,
                 std::function<void(ConversionItem&)> rowChanged,
                 std::function<void(const wxString& folder)> openFolder = {});
  ~ProgressDialog() override;

  bool Started() const { return started_; }
  bool Running() const { return running_; }
  bool Finished() const { return finished_; }

  // Cancel as the user gives it: stops a running conversion after its current item,
  // closes the dialog otherwise.
  void Cancel();
  // A stop of the program: as Cancel, and the dialog also closes once the run has ended.
  void RequestClose();

  wxString SourceText() const;
  wxString DestText() const;
  wxString CountText(int id) const;
  int CurrentBarValue() const;
  int TotalBarValue() const;
  wxString ButtonLabel() const;
  // The line written when the run has ended; empty before.
  wxString SummaryText() const;

 protected:
  // Called on the conversion thread; each posts its step to the GUI thread.
  void OnItemStart(ConversionItem& item, const std::string& destPath) override;
  void OnItemDone(ConversionItem& item) override;
  void OnProgress(ConversionItem& item, int percent) override;

 private:
  void CreateControls(int itemCount);
  void BeginRun();
  void EndRun();
  void ShowCounts(int succeededCount, int failedCount, int totalCount, int processedCount);
  void OnPaint(wxPaintEvent& event);
  void OnCancelButton(wxCommandEvent& event);
  void OnCloseBox(wxCloseEvent& event);
  void OnOpenFolder(wxCommandEvent& event);

  std::vector<ConversionItem*> items_;
  // Copies the conversion thread works on, so the list's items are only ever touched on
  // the GUI thread; `indexOf` maps a copy back to its position.
  std::vector<std::unique_ptr<ConversionItem>> copies_;
  std::unordered_map<const ConversionItem*, std::size_t> indexOf_;
  const ConversionSettings& settings_;
  std::function<void(ConversionItem&)> rowChanged_;
  std::function<void(const wxString&)> openFolder_;
  std::thread worker_;

  bool started_ = false;
  bool running_ = false;
  bool finished_ = false;
  bool closeAfterRun_ = false;

  wxStaticText* source_ = nullptr;
  wxStaticText* dest_ = nullptr;
  wxGauge* currentBar_ = nullptr;
  wxGauge* totalBar_ = nullptr;
  wxStaticText* total_ = nullptr;
  wxStaticText* succeeded_ = nullptr;
  wxStaticText* failed_ = nullptr;
  wxStaticText* summary_ = nullptr;
  wxButton* openFolderButton_ = nullptr;
  wxButton* button_ = nullptr;
};

// Copies an item's identity and results (everything but its list marks) into `to`.
void CopyItem(const ConversionItem& from, ConversionItem& to);
