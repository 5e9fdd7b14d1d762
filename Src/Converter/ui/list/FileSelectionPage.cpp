#include "ui/list/FileSelectionPage.h"

#include <wx/button.h>
#include <wx/dir.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textcompleter.h>
#include <wx/textctrl.h>

#include <cstdio>

#include "job/PathFunctions.h"
#include "settings/AppSettings.h"
#include "ui/list/ConvListCtrl.h"
#include "ui/list/FileDropTarget.h"
#include "ui/frame/MainFrame.h"
#include "ui/list/SearchDialog.h"
#include "ui/toolkit/WxText.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"

namespace {

FileSelectionPage* thePage = nullptr;

constexpr const char* kImagePatterns[] = {"bmp", "gif", "ico", "jpg", "jpeg", "koa", "lbm",
                                          "mng", "pcd", "pcx", "pgm", "pbm",  "pnm", "ppm",
                                          "png", "psd", "ras", "tga", "tif",  "tiff"};

// Completes the typed path with the names in its folder that begin with its last part.
class PathCompleter : public wxTextCompleterSimple {
 public:
  void GetCompletions(const wxString& prefix, wxArrayString& result) override {
    const int slash = prefix.Find('/', true);
    if (slash == wxNOT_FOUND) return;
    const wxString folder = slash == 0 ? wxString("/") : prefix.Left(static_cast<size_t>(slash));
    const wxString start = prefix.Mid(static_cast<size_t>(slash) + 1);
    wxDir dir;
    if (!wxDir::Exists(folder) || !dir.Open(folder)) return;
    wxString name;
    for (bool more = dir.GetFirst(&name); more && result.size() < 200; more = dir.GetNext(&name))
      if (name.StartsWith(start))
        result.push_back(prefix.Left(static_cast<size_t>(slash) + 1) + name);
  }
};

bool CanOpenForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

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
  field_->AutoComplete(new PathCompleter);
  auto* button = new wxButton(this, Res::AddAllFilesButton, "&Add All Files");
  list_ = new CConvListCtrl(this, Res::ConvList, model_, settings_);
  if (!list_->InitControl()) return false;

  field_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { AddFromField(); });
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

void FileSelectionPage::AddFromField() {
  const std::string text = field_->GetValue().utf8_string();
  if (!text.empty() && (FolderExists(text) || CanOpenForReading(text))) {
    AddPaths({text});
    return;
  }
  wxMessageBox(WxText(FillText("Directory/file '%s' doesn't exist.", text, {})),
               WxText(LoadText(Ids::AppTitle)), wxOK | wxICON_ERROR, this);
}

void FileSelectionPage::SetFolderText(const wxString& text) { field_->SetValue(text); }

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

std::string BrowseForFolder(wxWindow* owner, const std::string& startFolder,
                            const wxString& title) {
  wxDirDialog dialog(owner, title, wxString::FromUTF8(startFolder),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return {};
  return dialog.GetPath().utf8_string();
}
