// FileDropTarget: lets the conversion list take files and folders dragged from the file
// manager. The full paths go to the file selection page's AddPaths; while the list is busy
// (a search or a run goes through it) drops are refused.
#pragma once

#include <wx/dnd.h>

#include <string>
#include <vector>

class ConversionList;

class FileDropTarget : public wxFileDropTarget {
 public:
  explicit FileDropTarget(ConversionList& list) : list_(list) {}

  wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
  wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;

 private:
  ConversionList& list_;
};

// Adds dropped names in their order through the page, remembers the first one's folder
// as the last folder chosen and shows it in the page's field. False (nothing added) for
// an empty drop or while the list is busy.
bool AddDroppedFiles(const std::vector<std::string>& names);
