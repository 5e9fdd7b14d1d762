// PresetMenu: the main window's "Presets" menu and the current preset. "Save Preset As..."
// commits the option pages and writes the whole settings record under a name; choosing a
// preset by name reads it and shows its values on every page (and in the Convert menu's
// checks); "Delete Preset..." removes one; "Open Presets Folder" shows the folder. The
// window's title names the current preset, "Brindlemark - web", and adds " (modified)"
// once what the pages show differs from what the preset gave them. The current preset's
// name is kept in the store between sessions; at the next start it counts as unmodified
// only while the preset file still holds the settings the window starts with.
#pragma once

#include <wx/event.h>
#include <wx/menu.h>
#include <wx/timer.h>

#include <functional>
#include <string>
#include <vector>

class CMainFrame;

class PresetMenu : public wxEvtHandler {
 public:
  // How often the pages are read to see whether the current preset was changed.
  static constexpr int kWatchMs = 250;

  explicit PresetMenu(CMainFrame& frame);
  ~PresetMenu() override;

  // The menu, made once; the frame's menu bar owns it.
  wxMenu* CreateMenu();
  // Once the pages exist: takes up the last session's preset and starts watching them.
  void Start();

  // What the commands ask and tell; tests may replace them. askName returns an empty
  // text when cancelled.
  std::function<wxString(const wxString& suggested)> askName;
  std::function<wxString(const std::vector<wxString>& names, const wxString& current)> choosePreset;
  std::function<bool(const wxString& question)> askYesNo;
  std::function<void(const wxString& text)> showError;

  // The commands, as the menu gives them.
  bool SaveAs();
  bool Load(const std::string& name);
  bool Delete();

  const std::string& Current() const { return current_; }
  bool Modified() const { return modified_; }
  // "Brindlemark", or "Brindlemark - <name>" with " (modified)" when changed.
  wxString TitleText() const;
  // Reads the pages now (as the watch does) and updates the title.
  void CheckModified();

 private:
  std::string ShownText() const;
  void SetCurrent(const std::string& name);
  void RestoreCurrent();
  void RefillNames();
  void UpdateTitle();
  void OnMenuOpen(wxMenuEvent& event);
  void OnCommand(wxCommandEvent& event);

  CMainFrame& frame_;
  wxMenu* menu_ = nullptr;
  std::vector<std::string> names_;      // the names the menu lists, in its order
  std::vector<wxMenuItem*> nameItems_;  // their items
  wxMenuItem* namesEnd_ = nullptr;      // the separator after them
  std::string current_;
  std::string baseline_;  // what the pages showed when the preset was loaded or saved
  bool modified_ = false;
  wxTimer watch_;
};
