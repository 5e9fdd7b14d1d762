// CMainFrame: the windowed program's main window. It holds the status bar (idle text with
// the list's totals), the toolbar, and the ConfigurationBar that fills the client area;
// it routes the menu, toolbar and accelerator commands, enables them from the list and
// the settings, and at close records its placement and bar state and lets the pages
// commit. Commands that other parts of the program serve reach them through
// FrameCommandHooks.
#pragma once

#include <wx/frame.h>

#include <functional>
#include <memory>

#include "ui/frame/AppSession.h"
#include "ui/frame/ConfigurationBar.h"

class PresetMenu;
class PreviewWindow;

// What the frame's commands call outside the frame; empty hooks do nothing.
struct FrameCommandHooks {
  std::function<void()> addFiles;          // the file selection page's file dialog
  std::function<void()> addSourceFolder;   // its folder browser
  std::function<void()> startConversion;   // the conversion run
  std::function<void()> saveColumnWidths;  // the list view, when the window closes
  // Opens a file with the desktop's default application (help file, pictures); the default
  // says so when nothing can open it.
  std::function<void(const wxString& path)> openFile;
};

class CMainFrame : public wxFrame {
 public:
  explicit CMainFrame(AppSession& session);
  ~CMainFrame() override;

  // Creates the window with the bar (pages from `pages`), the status bar and the
  // toolbar; false when one of them fails.
  bool Build(std::vector<ConfigurationBar::PageFactory> pages = ConfigurationBar::DefaultPages());

  ConfigurationBar* Bar() const { return bar_; }
  FrameCommandHooks& Hooks() { return hooks_; }
  AppSession& Session() { return session_; }
  PresetMenu* Presets() const { return presets_.get(); }
  PreviewWindow* Preview() const { return preview_; }

  // "Total files: %d Succeeded: %d Failed: %d" for the list as it stands.
  wxString IdleText() const;
  // Shows the idle text unless a command's prompt is showing.
  void RefreshIdleText();

 protected:
  void DoGiveHelp(const wxString& text, bool show) override;

 private:
  bool CreateMenu();
  bool CreateToolbarButtons();
  void RecordPlacement();
  void UpdateIndicators();
  // Flips `setting` and checks the menu item `command` (a resource id) to match; returns it.
  bool ToggleSetting(bool& setting, int command);

  void OnClose(wxCloseEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnFocus(wxFocusEvent& event);
  void OnToolEnter(wxCommandEvent& event);

  void OnExit(wxCommandEvent& event);
  void OnAddFiles(wxCommandEvent& event);
  void OnAddFolder(wxCommandEvent& event);
  void OnRemoveSelected(wxCommandEvent& event);
  void OnRemoveAll(wxCommandEvent& event);
  void OnViewOriginal(wxCommandEvent& event);
  void OnViewConverted(wxCommandEvent& event);
  void OnAddFolderRecursively(wxCommandEvent& event);
  void OnRotateUpright(wxCommandEvent& event);
  void OnKeepCameraData(wxCommandEvent& event);
  void OnStartConversion(wxCommandEvent& event);
  void OnViewToolbar(wxCommandEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnHelpContents(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);

  void OnUpdateRemoveSelected(wxUpdateUIEvent& event);
  void OnUpdateNeedsItems(wxUpdateUIEvent& event);
  void OnUpdateViewOriginal(wxUpdateUIEvent& event);
  void OnUpdateViewConverted(wxUpdateUIEvent& event);
  void OnUpdateAddFolderRecursively(wxUpdateUIEvent& event);
  void OnUpdateRotateUpright(wxUpdateUIEvent& event);
  void OnUpdateKeepCameraData(wxUpdateUIEvent& event);
  void OnUpdateViewToolbar(wxUpdateUIEvent& event);
  void OnUpdateViewStatusBar(wxUpdateUIEvent& event);

  AppSession& session_;
  ConversionList& list_;
  FrameCommandHooks hooks_;
  ConfigurationBar* bar_ = nullptr;
  std::unique_ptr<PresetMenu> presets_;
  PreviewWindow* preview_ = nullptr;  // a child window, destroyed with the frame
  bool showingPrompt_ = false;
  int hotTool_ = wxID_NONE;

  wxDECLARE_EVENT_TABLE();
};

// The main window, or nullptr while there is none.
CMainFrame* TheMainFrame();
