// FileSelectionPage: the "Select Files" page, through which every source enters the
// conversion list: the list view itself, the "Add Directory" field (path completion,
// Enter adds) with its "&Add All Files" button, the main frame's Add Files and Add Folder
// commands, and drops on the list. All of them end in AddPaths, which runs the searching
// dialog over the paths and brings the list up to date. One instance, reached through
// TheFileSelectionPage().
#pragma once

#include <string>
#include <vector>

#include "ui/pages/PageDialog.h"

class CConvListCtrl;
class CMainFrame;
class ConversionList;
struct AppSettings;
class wxTextCtrl;

class FileSelectionPage : public PageDialog {
 public:
  FileSelectionPage(wxWindow* parent, ConversionList& list, AppSettings& settings);
  ~FileSelectionPage() override;

  // Collects the paths (recursively when the settings say so) into the list, then clears
  // the items' marks, recounts and re-sorts. False, adding nothing, while the list is busy.
  bool AddPaths(const std::vector<std::string>& paths);
  // The file dialog (several files at once) and the folder chooser.
  void AddFiles();
  std::string AddSourceFolder();
  // Adds the folder or regular file the field names, or says why it cannot.
  void AddFromField();
  // Shows `text` in the field (and keeps it as CurrentFolder) without opening completions.
  void SetFolderText(const wxString& text);
  wxString FolderText() const;

  // The frame's Add Files, Add Folder and close-time column widths come here.
  void ConnectFrame(CMainFrame& frame);

  CConvListCtrl* List() const { return list_; }
  AppSettings& Settings() const { return settings_; }

 protected:
  bool CreateControls() override;

 private:
  void OnFirstPaint(wxPaintEvent& event);
  void OnFieldKey(wxKeyEvent& event);

  ConversionList& model_;
  AppSettings& settings_;
  wxTextCtrl* field_ = nullptr;
  CConvListCtrl* list_ = nullptr;
  bool dropTargetRegistered_ = false;
};

// The result of a file dialog: the chosen files in the dialog's order, and the folder to
// remember (the dialog's folder for several files, the file's folder for one).
struct ChosenFiles {
  std::vector<std::string> files;
  std::string folder;
};
ChosenFiles ReadChosenFiles(const std::vector<std::string>& paths, const std::string& dialogFolder);

// The file dialog's filter: the supported types (in both letter cases, as the desktop's
// matching is case-sensitive), then every file.
wxString ImageFileFilter();

// A folder chooser starting at `startFolder` (the home folder when that is no folder);
// the chosen path, or empty on cancel.
std::string BrowseForFolder(wxWindow* owner, const std::string& startFolder, const wxString& title);

// The page, or nullptr while there is none.
FileSelectionPage* TheFileSelectionPage();
