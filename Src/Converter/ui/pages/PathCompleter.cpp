#include "ui/pages/PathCompleter.h"

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/textctrl.h>

void PathCompleter::GetCompletions(const wxString& prefix, wxArrayString& result) {
  const int slash = prefix.Find('/', true);
  if (slash == wxNOT_FOUND) return;
  const wxString folder = prefix.Left(static_cast<size_t>(slash) + 1);
  const wxString start = prefix.Mid(static_cast<size_t>(slash) + 1);
  wxDir dir(folder);
  if (!dir.IsOpened()) return;
  wxString name;
  const int flags = foldersOnly_ ? wxDIR_DIRS : wxDIR_DIRS | wxDIR_FILES;
  for (bool more = dir.GetFirst(&name, wxString(), flags); more; more = dir.GetNext(&name)) {
    if (!name.StartsWith(start)) continue;
    const wxString path = folder + name;
    result.push_back(wxDirExists(path) ? path + '/' : path);
  }
  result.Sort();
}

void EnablePathCompletion(wxTextCtrl* field, bool foldersOnly) {
  field->AutoComplete(new PathCompleter(foldersOnly));
}
