// ConversionRun: the windowed program's "Start Conversion". It commits the option pages,
// validates the settings (a failure selects the page and focuses the field that holds
// the fault, then shows the message), offers to create a missing destination folder,
// resets earlier results and converts the list's items inside the modal ProgressDialog,
// then recounts the list and refreshes the status bar's totals. While the dialog runs the
// list is busy: drops and removals are refused, and the run works on a snapshot.
#pragma once

#include <wx/string.h>

#include <functional>

class CMainFrame;
class ProgressDialog;

// Where the sequence asks the user; tests answer in place of the real boxes.
struct ConversionRunPrompts {
  // A question with Yes and No; true for Yes.
  std::function<bool(const wxString& text)> askYesNo;
  // An error message box.
  std::function<void(const wxString& text)> showError;
  // Runs the dialog modally; the default is its ShowModal.
  std::function<void(ProgressDialog& dialog)> showProgress;
  // Shows the destination folder ("Open Destination Folder"); the default is the desktop's
  // opener.
  std::function<void(const wxString& folder)> openFolder;
};

// Runs the whole sequence on the frame's list and settings.
void StartConversion(CMainFrame& frame, const ConversionRunPrompts& prompts = {});
