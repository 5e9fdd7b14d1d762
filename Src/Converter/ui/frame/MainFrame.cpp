#include "ui/frame/MainFrame.h"

#include <wx/menu.h>
#include <wx/stdpaths.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "settings/SettingsSerializer.h"
#include "ui/frame/AboutBox.h"
#include "ui/run/ConversionRun.h"
#include "ui/run/ModalDialogs.h"
#include "ui/run/StopRequest.h"
#include "ui/list/FileSelectionPage.h"
#include "ui/frame/HelpFile.h"
#include "ui/frame/PresetMenu.h"
#include "ui/preview/PreviewWindow.h"
#include "ui/frame/ProgramIcon.h"
#include "ui/frame/ToolbarImages.h"
#include "ui/resources/FrameTexts.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"
#include "ui/toolkit/DesktopOpener.h"
#include "ui/toolkit/WxText.h"

namespace {

CMainFrame* theFrame = nullptr;

constexpr int kMinWidth = 680;
constexpr int kMinHeight = 535;

wxString Text(int id) { return WxText(LoadText(id)); }

// The toolbar's buttons, left to right; a label of 0 shows no text.
struct ToolButton {
  int image;
  int command;
  int label;
};
constexpr ToolButton kButtons[] = {
    {6, Res::AddFiles, Ids::AddFilesLabel},
    {9, Res::AddFolder, Ids::AddFolderLabel},
    {7, Res::RemoveSelected, Ids::RemoveSelectedLabel},
    {10, Res::RemoveAll, Ids::RemoveAllLabel},
    {11, Res::AddFolderRecursively, 0},
    {-1, 0, 0},  // separator
    {8, Res::StartConversion, Ids::StartLabel},
};

int ImageOfTool(int command) {
  for (const ToolButton& b : kButtons)
    if (b.command != 0 && ToWxId(b.command) == command) return b.image;
  return -1;
}

}  // namespace

CMainFrame* TheMainFrame() { return theFrame; }

#define BM_COMMAND(res, handler) EVT_MENU(ToWxId(res), CMainFrame::handler)
#define BM_UPDATE(res, handler) EVT_UPDATE_UI(ToWxId(res), CMainFrame::handler)

wxBEGIN_EVENT_TABLE(CMainFrame, wxFrame)
  EVT_CLOSE(CMainFrame::OnClose)
  EVT_IDLE(CMainFrame::OnIdle)
  EVT_SET_FOCUS(CMainFrame::OnFocus)
  EVT_TOOL_ENTER(wxID_ANY, CMainFrame::OnToolEnter)
  BM_COMMAND(Res::Exit, OnExit)
  BM_COMMAND(Res::AddFiles, OnAddFiles)
  BM_COMMAND(Res::AddFolder, OnAddFolder)
  BM_COMMAND(Res::RemoveSelected, OnRemoveSelected)
  BM_COMMAND(Res::RemoveAll, OnRemoveAll)
  BM_COMMAND(Res::ViewOriginal, OnViewOriginal)
  BM_COMMAND(Res::ViewConverted, OnViewConverted)
  BM_COMMAND(Res::AddFolderRecursively, OnAddFolderRecursively)
  BM_COMMAND(Res::RotateUpright, OnRotateUpright)
  BM_COMMAND(Res::KeepCameraData, OnKeepCameraData)
  BM_COMMAND(Res::StartConversion, OnStartConversion)
  BM_COMMAND(Res::ViewToolbar, OnViewToolbar)
  BM_COMMAND(Res::ViewStatusBar, OnViewStatusBar)
  BM_COMMAND(Res::HelpContents, OnHelpContents)
  BM_COMMAND(Res::About, OnAbout)
  BM_UPDATE(Res::RemoveSelected, OnUpdateRemoveSelected)
  BM_UPDATE(Res::RemoveAll, OnUpdateNeedsItems)
  BM_UPDATE(Res::StartConversion, OnUpdateNeedsItems)
  BM_UPDATE(Res::ViewOriginal, OnUpdateViewOriginal)
  BM_UPDATE(Res::ViewConverted, OnUpdateViewConverted)
  BM_UPDATE(Res::AddFolderRecursively, OnUpdateAddFolderRecursively)
  BM_UPDATE(Res::RotateUpright, OnUpdateRotateUpright)
  BM_UPDATE(Res::KeepCameraData, OnUpdateKeepCameraData)
  BM_UPDATE(Res::ViewToolbar, OnUpdateViewToolbar)
  BM_UPDATE(Res::ViewStatusBar, OnUpdateViewStatusBar)
wxEND_EVENT_TABLE()

CMainFrame::CMainFrame(AppSession& session) : session_(session), list_(*session.list) {
  theFrame = this;
  hooks_.openFile = [this](const wxString& path) { OpenWithDesktop(path, this); };
  hooks_.startConversion = [this] { StartConversion(*this); };
}

CMainFrame::~CMainFrame() {
  list_.onChanged = nullptr;
  if (theFrame == this) theFrame = nullptr;
}

bool CMainFrame::Build(std::vector<ConfigurationBar::PageFactory> pages) {
  if (!wxFrame::Create(nullptr, wxID_ANY, Text(Ids::AppTitle), wxDefaultPosition,
                       wxSize(kMinWidth, kMinHeight), wxDEFAULT_FRAME_STYLE))
    return false;
  SetMinSize(wxSize(kMinWidth, kMinHeight));
  SetIcons(ProgramIcons());
  if (!CreateMenu()) return false;

  bar_ = new ConfigurationBar(this, ToWxId(Res::FirstPane), std::move(pages));
  if (!bar_->IsValid()) return false;
  if (FileSelectionPage* page = TheFileSelectionPage()) page->ConnectFrame(*this);

  // Message pane, then the keyboard indicators.
  wxStatusBar* status = CreateStatusBar(4);
  if (!status) return false;
  const int widths[] = {-1, 40, 40, 40};
  status->SetStatusWidths(4, widths);

  if (!CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxTB_HORZ_LAYOUT | wxTB_NODIVIDER))
    return false;
  if (!CreateToolbarButtons()) return false;

  list_.onChanged = [this] { RefreshIdleText(); };
  RefreshIdleText();
  presets_->Start();
  preview_ = new PreviewWindow(*this);
  return true;
}

bool CMainFrame::CreateMenu() {
  auto item = [](wxMenu* menu, int command, const char* label, wxItemKind kind = wxITEM_NORMAL) {
    menu->Append(ToWxId(command), wxString::FromUTF8(label), WxText(PromptStatusText(command)),
                 kind);
  };
  auto* file = new wxMenu;
  item(file, Res::Exit, "E&xit");
  auto* edit = new wxMenu;
  // The function keys show beside their items; the menu takes them while its item is
  // enabled, the accelerator table below when the item looks disabled.
  item(edit, Res::AddFiles, "&Add Files\tF4");
  item(edit, Res::AddFolder, "Add &Folder\tF7");
  item(edit, Res::RemoveSelected, "&Remove Selected Files");
  item(edit, Res::RemoveAll, "Re&move All Files\tF8");
  edit->AppendSeparator();
  item(edit, Res::ViewOriginal, "&View Original Image");
  item(edit, Res::ViewConverted, "View &Converted Image");
  edit->AppendSeparator();
  item(edit, Res::AddFolderRecursively, "Add Folder Recursively", wxITEM_CHECK);
  auto* convert = new wxMenu;
  item(convert, Res::StartConversion, "&Start Conversion\tF9");
  convert->AppendSeparator();
  item(convert, Res::RotateUpright, "Rotate Upright by Camera Orientation", wxITEM_CHECK);
  item(convert, Res::KeepCameraData, "Keep Camera Data", wxITEM_CHECK);
  auto* view = new wxMenu;
  item(view, Res::ViewToolbar, "&Toolbar", wxITEM_CHECK);
  item(view, Res::ViewStatusBar, "&Status Bar", wxITEM_CHECK);
  item(view, Res::ViewPreview, "&Preview", wxITEM_CHECK);
  auto* help = new wxMenu;
  item(help, Res::HelpContents, "&Contents");
  help->AppendSeparator();
  item(help, Res::About, "&About Brindlemark...");

  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(edit, "&Edit");
  bar->Append(convert, "&Convert");
  presets_ = std::make_unique<PresetMenu>(*this);
  bar->Append(presets_->CreateMenu(), "&Presets");
  bar->Append(view, "&View");
  bar->Append(help, "&Help");
  SetMenuBar(bar);
  bar->Check(ToWxId(Res::AddFolderRecursively), session_.settings.addDirRecursive);
  bar->Check(ToWxId(Res::RotateUpright), session_.settings.conversion.autoRotate);
  bar->Check(ToWxId(Res::KeepCameraData), session_.settings.conversion.keepMetadata);
  bar->Check(ToWxId(Res::ViewToolbar), true);
  bar->Check(ToWxId(Res::ViewStatusBar), true);

  // The four command keys. The editing and pane keys (copy, paste, cut, undo, F6) are left
  // to the focused control: in a frame table they would take them from the text fields.
  wxAcceleratorEntry keys[] = {
      {wxACCEL_NORMAL, WXK_F4, ToWxId(Res::AddFiles)},
      {wxACCEL_NORMAL, WXK_F7, ToWxId(Res::AddFolder)},
      {wxACCEL_NORMAL, WXK_F8, ToWxId(Res::RemoveAll)},
      {wxACCEL_NORMAL, WXK_F9, ToWxId(Res::StartConversion)},
  };
  SetAcceleratorTable(wxAcceleratorTable(4, keys));
  return true;
}

bool CMainFrame::CreateToolbarButtons() {
  wxToolBar* tools = GetToolBar();
  tools->SetToolBitmapSize(wxSize(kToolImageSize, kToolImageSize));
  // Labels in the bar's smaller face, so that every button fits at the minimum width.
  tools->SetFont(bar_->GetFont());
  for (const ToolButton& b : kButtons) {
    if (b.command == 0) {
      tools->AddSeparator();
      continue;
    }
    const wxString label = b.label ? WxText(LoadText(b.label).substr(0, 260)) : wxString();
    const wxItemKind kind = b.command == Res::AddFolderRecursively ? wxITEM_CHECK : wxITEM_NORMAL;
    if (!tools->AddTool(ToWxId(b.command), label, ToolbarImage(Res::ToolbarImages, b.image),
                        wxNullBitmap, kind, WxText(PromptToolTip(b.command)),
                        WxText(PromptStatusText(b.command))))
      return false;
  }
  tools->ToggleTool(ToWxId(Res::AddFolderRecursively), session_.settings.addDirRecursive);
  return tools->Realize();
}

wxString CMainFrame::IdleText() const {
  return wxString::FromUTF8(FillNumbers(FrameTexts::IdleStatus, list_.Count(),
                                        list_.StatusCount(ItemStatus::Succeeded),
                                        list_.StatusCount(ItemStatus::Failed)));
}

void CMainFrame::RefreshIdleText() {
  wxStatusBar* status = GetStatusBar();
  if (!status || showingPrompt_) return;
  const wxString text = IdleText();
  if (status->GetStatusText(0) != text) status->SetStatusText(text, 0);
}

// A command's prompt while a menu item or tool is highlighted; the idle text (in place of
// "Ready") otherwise.
void CMainFrame::DoGiveHelp(const wxString& text, bool show) {
  showingPrompt_ = show && !text.empty();
  if (showingPrompt_) {
    if (wxStatusBar* status = GetStatusBar()) status->SetStatusText(text, 0);
  } else {
    RefreshIdleText();
  }
}

void CMainFrame::UpdateIndicators() {
  wxStatusBar* status = GetStatusBar();
  if (!status) return;
  const std::pair<wxKeyCode, const char*> indicators[] = {
      {WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};
  for (int pane = 1; pane <= 3; ++pane) {
    const auto& [key, text] = indicators[pane - 1];
    const wxString shown = wxGetKeyState(key) ? wxString(text) : wxString();
    if (status->GetStatusText(pane) != shown) status->SetStatusText(shown, pane);
  }
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  RefreshIdleText();
  UpdateIndicators();
  event.Skip();
}

void CMainFrame::OnFocus(wxFocusEvent&) {
  if (bar_) bar_->SetFocus();
}

// GTK toolbars have no hot images: the tool under the mouse shows its hot image instead.
void CMainFrame::OnToolEnter(wxCommandEvent& event) {
  wxToolBar* tools = GetToolBar();
  const int entered = event.GetSelection();
  if (tools && entered != hotTool_) {
    if (hotTool_ != wxID_NONE)
      tools->SetToolNormalBitmap(hotTool_, ToolbarImage(Res::ToolbarImages, ImageOfTool(hotTool_)));
    hotTool_ = ImageOfTool(entered) >= 0 ? entered : wxID_NONE;
    if (hotTool_ != wxID_NONE)
      tools->SetToolNormalBitmap(hotTool_,
                                 ToolbarImage(Res::ToolbarHotImages, ImageOfTool(hotTool_)));
  }
  event.Skip();
}

void CMainFrame::RecordPlacement() {
  WindowPlacement& p = session_.settings.MainFramePlacement;
  p = WindowPlacement{};
  p.showCmd = IsIconized()    ? WindowPlacement::kShowMinimized
              : IsMaximized() ? WindowPlacement::kShowMaximized
                              : WindowPlacement::kShowNormal;
  const wxRect r = GetRect();
  p.left = r.x;
  p.top = r.y;
  p.right = r.x + r.width;
  p.bottom = r.y + r.height;
  session_.settings.placementValid = true;
}

// Placement, bar state, the pages' and the list's state go into the settings (saved at
// exit); a page that fails to commit does not stop the close. A close asked for while a
// modal dialog runs (a conversion, a message) is deferred, since deleting the window would
// free the dialog under its ShowModal: the dialogs end first, a run after its current item,
// and then the window closes as on a stop by signal (the close box reaches the same way
// through CloseBoxWatch).
void CMainFrame::OnClose(wxCloseEvent& event) {
  if (InnermostModalDialog() && event.CanVeto()) {
    event.Veto();
    RequestStop();
    return;
  }
  RecordPlacement();
  SaveBarState(session_.store, GetToolBar() && GetToolBar()->IsShown(),
               GetStatusBar() && GetStatusBar()->IsShown());
  if (bar_) {
    for (int i = 1; i < bar_->PageCount(); ++i) bar_->Page(i)->CommitOnClose();
  }
  if (hooks_.saveColumnWidths) hooks_.saveColumnWidths();
  if (bar_) bar_->CommitCurrentPage();
  Destroy();
}

// Every handler checks its own condition too: an accelerator reaches it while the menu
// item was never updated.
void CMainFrame::OnExit(wxCommandEvent&) { Close(); }

void CMainFrame::OnAddFiles(wxCommandEvent&) {
  if (hooks_.addFiles) hooks_.addFiles();
}

void CMainFrame::OnAddFolder(wxCommandEvent&) {
  if (hooks_.addSourceFolder) hooks_.addSourceFolder();
}

void CMainFrame::OnRemoveSelected(wxCommandEvent&) {
  if (list_.SelectedCount() > 0) list_.RemoveSelected();
}

void CMainFrame::OnRemoveAll(wxCommandEvent&) {
  if (list_.Count() > 0) list_.RemoveAll();
}

void CMainFrame::OnViewOriginal(wxCommandEvent&) {
  const ConversionItem* item = list_.FirstSelectedItem();
  if (item && hooks_.openFile) hooks_.openFile(wxString::FromUTF8(item->sourcePath));
}

void CMainFrame::OnViewConverted(wxCommandEvent&) {
  if (list_.SelectionSucceeded() && hooks_.openFile)
    hooks_.openFile(wxString::FromUTF8(list_.FirstSelectedItem()->destPath));
}

// The check item may have flipped itself already; it follows the setting either way.
bool CMainFrame::ToggleSetting(bool& setting, int command) {
  setting = !setting;
  GetMenuBar()->Check(ToWxId(command), setting);
  return setting;
}

void CMainFrame::OnAddFolderRecursively(wxCommandEvent&) {
  const bool recursive =
      ToggleSetting(session_.settings.addDirRecursive, Res::AddFolderRecursively);
  if (wxToolBar* tools = GetToolBar())
    tools->ToggleTool(ToWxId(Res::AddFolderRecursively), recursive);
}

void CMainFrame::OnRotateUpright(wxCommandEvent&) {
  ToggleSetting(session_.settings.conversion.autoRotate, Res::RotateUpright);
}

void CMainFrame::OnKeepCameraData(wxCommandEvent&) {
  ToggleSetting(session_.settings.conversion.keepMetadata, Res::KeepCameraData);
}

void CMainFrame::OnStartConversion(wxCommandEvent&) {
  if (list_.Count() > 0 && hooks_.startConversion) hooks_.startConversion();
}

void CMainFrame::OnViewToolbar(wxCommandEvent&) {
  if (wxToolBar* tools = GetToolBar()) {
    tools->Show(!tools->IsShown());
    GetMenuBar()->Check(ToWxId(Res::ViewToolbar), tools->IsShown());
    SendSizeEvent();
  }
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
  if (wxStatusBar* status = GetStatusBar()) {
    status->Show(!status->IsShown());
    GetMenuBar()->Check(ToWxId(Res::ViewStatusBar), status->IsShown());
    SendSizeEvent();
  }
}

void CMainFrame::OnHelpContents(wxCommandEvent&) {
  const std::string program(wxStandardPaths::Get().GetExecutablePath().utf8_str());
  if (hooks_.openFile) hooks_.openFile(wxString::FromUTF8(HelpFilePath(program)));
}

void CMainFrame::OnAbout(wxCommandEvent&) {
  AboutBox about(this);
  about.ShowModal();
}

void CMainFrame::OnUpdateRemoveSelected(wxUpdateUIEvent& event) {
  event.Enable(list_.SelectedCount() > 0);
}

void CMainFrame::OnUpdateNeedsItems(wxUpdateUIEvent& event) { event.Enable(list_.Count() > 0); }

void CMainFrame::OnUpdateViewOriginal(wxUpdateUIEvent& event) {
  event.Enable(list_.HasSelection());
}

void CMainFrame::OnUpdateViewConverted(wxUpdateUIEvent& event) {
  event.Enable(list_.SelectionSucceeded());
}

void CMainFrame::OnUpdateAddFolderRecursively(wxUpdateUIEvent& event) {
  event.Check(session_.settings.addDirRecursive);
}

void CMainFrame::OnUpdateRotateUpright(wxUpdateUIEvent& event) {
  event.Check(session_.settings.conversion.autoRotate);
}

void CMainFrame::OnUpdateKeepCameraData(wxUpdateUIEvent& event) {
  event.Check(session_.settings.conversion.keepMetadata);
}

void CMainFrame::OnUpdateViewToolbar(wxUpdateUIEvent& event) {
  event.Check(GetToolBar() && GetToolBar()->IsShown());
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event) {
  event.Check(GetStatusBar() && GetStatusBar()->IsShown());
}
