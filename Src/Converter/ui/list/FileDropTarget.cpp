#include "ui/list/FileDropTarget.h"

#include "job/PathFunctions.h"
#include "settings/AppSettings.h"
#include "ui/list/ConversionList.h"
#include "ui/list/FileSelectionPage.h"

wxDragResult FileDropTarget::OnEnter(wxCoord, wxCoord, wxDragResult) {
  return list_.Busy() ? wxDragNone : wxDragCopy;
}

wxDragResult FileDropTarget::OnDragOver(wxCoord, wxCoord, wxDragResult) {
  return list_.Busy() ? wxDragNone : wxDragCopy;
}

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
  if (list_.Busy()) return false;
  std::vector<std::string> paths;
  for (const wxString& name : names) paths.push_back(name.utf8_string());
  return AddDroppedFiles(paths);
}

bool AddDroppedFiles(const std::vector<std::string>& names) {
  FileSelectionPage* page = TheFileSelectionPage();
  if (names.empty() || !page) return false;
  if (!page->AddPaths(names)) return false;
  const std::string folder = DirectoryOf(names.front());
  page->Settings().lastSelFileDir = folder;
  page->SetFolderText(wxString::FromUTF8(folder));
  return true;
}
