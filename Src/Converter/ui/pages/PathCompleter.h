// PathCompleter: file-system completion for a path field. Offers the entries of the
// folder named before the last '/' that start with the text after it; folders get a
// trailing '/'. Made for folders only, it offers folders only.
#pragma once

#include <wx/textcompleter.h>

class wxTextCtrl;

class PathCompleter : public wxTextCompleterSimple {
 public:
  explicit PathCompleter(bool foldersOnly) : foldersOnly_(foldersOnly) {}
  void GetCompletions(const wxString& prefix, wxArrayString& result) override;

 private:
  bool foldersOnly_;
};

// Turns on completion for `field` (the field owns the completer).
void EnablePathCompletion(wxTextCtrl* field, bool foldersOnly);
