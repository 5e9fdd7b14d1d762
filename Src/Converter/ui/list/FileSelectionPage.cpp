#include "ui/list/FileSelectionPage.h"

#include <wx/button.h>
#include <wx/dir.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "job/PathFunctions.h"
#include "platform/PathStatus.h"
#include "settings/AppSettings.h"
#include "ui/list/ConvListCtrl.h"
#include "ui/list/FileDropTarget.h"
#include "ui/frame/MainFrame.h"
#include "ui/list/SearchDialog.h"
#include "ui/pages/PathCompleter.h"
#include "ui/resources/AdviceTexts.h"
#include "ui/toolkit/WxText.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"

namespace {

FileSelectionPage* thePage = nullptr;

constexpr const char* kImagePatterns[] = {"bmp", "gif", "ico", "jpg", "jpeg", "koa", "lbm",
                                          "mng", "pcd", "pcx", "pgm", "pbm",  "pnm", "ppm",
                                          "png", "psd", "ras", "tga", "tif",  "tiff"};

}  // namespace

FileSelectionPage* TheFileSelectionPage() { return thePage; }

FileSelectionPage::FileSelectionPage(wxWindow* parent, ConversionList& list, AppSettings& settings)
    : PageDialog(parent, Res::SelectFilesPage), model_(list), settings_(settings) {
  thePage = this;
}

FileSelectionPage::~FileSelectionPage() {
  if (thePage == this) thePage = nullptr;
}

bool FileSelectionPage::CreateControls() {
  auto* label = new wxStaticText(this, Res::AddDirectoryLabel, "Add Directory");
  // The field sees Enter itself: the page swallows the OK command that Enter makes.
  field_ = new wxTextCtrl(this, Res::AddDirectoryField, wxString::FromUTF8(settings_.CurrentFolder),
                          wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
  EnablePathCompletion(field_, false);
  auto* button = new wxButton(this, Res::AddAllFilesButton, "&Add All Files");
  list_ = new CConvListCtrl(this, Res::ConvList, model_, settings_);
  if (!list_->InitControl()) return false;

  field_->Bind(wxEVT_KEY_DOWN, &FileSelectionPage::OnFieldKey, this);
  field_->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
    settings_.CurrentFolder = field_->GetValue().utf8_string();
    e.Skip();
  });
  button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddFromField(); });
  Bind(wxEVT_PAINT, &FileSelectionPage::OnFirstPaint, this);

  // The row of label, field and button on top, the list filling the rest, with the
  // template's margins.
  const int gap = ConvertDialogToPixels(wxSize(3, 0)).x;
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2 * gap);
  row->Add(field_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2 * gap);
  row->Add(button, 0, wxALIGN_CENTER_VERTICAL);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(row, 0, wxEXPAND | wxALL, gap);
  top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
  SetSizer(top);
  return true;
}

// The drop target is registered once, when the page is first on screen.
void FileSelectionPage::OnFirstPaint(wxPaintEvent& event) {
  event.Skip();
  if (dropTargetRegistered_) return;
  dropTargetRegistered_ = true;
  list_->SetDropTarget(new FileDropTarget(model_));
}

// Enter adds once the key has been handled: a message box run inside the toolkit's key
// handling would leave the field's completion believing its popup open, and it would take
// every later Enter. The key goes on to the completion, which closes an open popup.
void FileSelectionPage::OnFieldKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers())
    CallAfter(&FileSelectionPage::AddFromField);
  event.Skip();
}

void FileSelectionPage::ConnectFrame(CMainFrame& frame) {
  FrameCommandHooks& hooks = frame.Hooks();
  hooks.addFiles = [] {
    if (FileSelectionPage* page = TheFileSelectionPage()) page->AddFiles();
  };
  hooks.addSourceFolder = [] {
    if (FileSelectionPage* page = TheFileSelectionPage()) page->AddSourceFolder();
  };
  hooks.saveColumnWidths = [] {
    if (CConvListCtrl* list = TheConvListCtrl()) list->SaveColumnWidths();
  };
}

bool FileSelectionPage::AddPaths(const std::vector<std::string>& paths) {
  if (model_.Busy()) return false;
  {
    SearchDialog search(wxGetTopLevelParent(this), paths, settings_.addDirRecursive, model_, list_);
    search.ShowModal();
  }
  for (const auto& item : model_.Items()) item->listFlags = 0;
  model_.RecountStatus();
  list_->ApplyPendingChanges();
  if (CMainFrame* frame = TheMainFrame()) frame->RefreshIdleText();
  return true;
}

void FileSelectionPage::AddFiles() {
  wxString start;
  if (!settings_.lastSelFileDir.empty() && FolderExists(settings_.lastSelFileDir))
    start = wxString::FromUTF8(settings_.lastSelFileDir);
  wxFileDialog dialog(wxGetTopLevelParent(this), "Select Image Files", start, wxString(),
                      ImageFileFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
  if (dialog.ShowModal() != wxID_OK) return;
  wxArrayString chosen;
  dialog.GetPaths(chosen);
  std::vector<std::string> paths;
  for (const wxString& path : chosen) paths.push_back(path.utf8_string());
  const ChosenFiles result = ReadChosenFiles(paths, dialog.GetDirectory().utf8_string());
  if (result.files.empty()) return;
  settings_.lastSelFileDir = result.folder;
  AddPaths(result.files);
  SetFolderText(wxString::FromUTF8(settings_.lastSelFileDir));
}

std::string FileSelectionPage::AddSourceFolder() {
  const std::string folder =
      BrowseForFolder(wxGetTopLevelParent(this), settings_.lastSelFileDir, "Select the folder");
  if (folder.empty()) return {};
  AddPaths({folder});
  settings_.lastSelFileDir = folder;
  SetFolderText(wxString::FromUTF8(folder));
  return folder;
}

// What the field names is looked at without opening it: a pipe or a device would block
// the window on the open. Only folders and regular files that can be read are added.
void FileSelectionPage::AddFromField() {
  const std::string text = field_->GetValue().utf8_string();
  std::string_view problem;
  if (text.empty() || !TargetIdentity(text))
    problem = "Directory/file '%s' doesn't exist.";
  else if (IsFolder(text))
    problem = {};
  else if (!IsRegularFile(text))
    problem = AdviceTexts::NotFileOrFolder;
  else if (!OpensAsRegularFile(text))
    problem = AdviceTexts::CannotReadFile;
  if (problem.empty()) {
    AddPaths({text});
    return;
  }
  wxMessageBox(WxText(FillText(problem, text, {})), WxText(LoadText(Ids::AppTitle)),
               wxOK | wxICON_ERROR, this);
}

// Set without the field's change event, so the completion does not open its popup over the
// list; the settings follow as they do when the user types.
void FileSelectionPage::SetFolderText(const wxString& text) {
  field_->ChangeValue(text);
  settings_.CurrentFolder = text.utf8_string();
}

wxString FileSelectionPage::FolderText() const { return field_->GetValue(); }

ChosenFiles ReadChosenFiles(const std::vector<std::string>& paths,
                            const std::string& dialogFolder) {
  ChosenFiles result;
  result.files = paths;
  if (paths.size() > 1)
    result.folder = dialogFolder;
  else if (paths.size() == 1)
    result.folder = DirectoryOf(paths.front());
  return result;
}

wxString ImageFileFilter() {
  wxString patterns;
  for (const char* ext : kImagePatterns) {
    if (!patterns.empty()) patterns += ";";
    patterns += wxString("*.") + ext;
  }
  for (const char* ext : kImagePatterns) patterns += ";*." + wxString(ext).Upper();
  return "All Supported Image Files (*.jpg, *.gif, ...) |" + patterns + "|All files (*.*)|*";
}

// The chooser always starts in a folder: without one the desktop's chooser opens on its
// recent places, where a typed path is not reliably taken.
std::string BrowseForFolder(wxWindow* owner, const std::string& startFolder,
                            const wxString& title) {
  const wxString start =
      FolderExists(startFolder) ? wxString::FromUTF8(startFolder) : wxGetHomeDir();
  wxDirDialog dialog(owner, title, start, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return {};
  return dialog.GetPath().utf8_string();
}
