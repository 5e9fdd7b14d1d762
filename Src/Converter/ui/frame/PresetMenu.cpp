#include "ui/frame/PresetMenu.h"

#include <wx/choicdlg.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include <algorithm>
#include <cstdio>

#include "job/ImageConverter.h"
#include "platform/PathStatus.h"
#include "settings/PresetFile.h"
#include "settings/SettingsSerializer.h"
#include "strings/StringTable.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/OptionPages.h"
#include "ui/resources/ResourceIds.h"
#include "ui/toolkit/WxText.h"

namespace {

// The Window key's value that names the current preset between sessions.
constexpr std::string_view kCurrentPresetValue = "currentPreset";

wxString AppTitle() { return WxText(LoadText(Ids::AppTitle)); }

// A name as a menu label: "&" would mark a mnemonic.
wxString MenuLabel(const std::string& name) {
  wxString label = wxString::FromUTF8(name);
  label.Replace("&", "&&");
  return label;
}

void AppendItem(wxMenu* menu, int command, const char* label) {
  menu->Append(ToWxId(command), wxString::FromUTF8(label), WxText(PromptStatusText(command)));
}

}  // namespace

PresetMenu::PresetMenu(CMainFrame& frame) : frame_(frame), watch_(this) {
  askName = [this](const wxString& suggested) {
    wxTextEntryDialog dialog(&frame_, "Preset name:", "Save Preset As", suggested);
    return dialog.ShowModal() == wxID_OK ? dialog.GetValue() : wxString();
  };
  choosePreset = [this](const std::vector<wxString>& names, const wxString& current) {
    wxArrayString choices;
    for (const wxString& name : names) choices.Add(name);
    wxSingleChoiceDialog dialog(&frame_, "Preset to delete:", "Delete Preset", choices);
    if (const int at = choices.Index(current); at != wxNOT_FOUND) dialog.SetSelection(at);
    return dialog.ShowModal() == wxID_OK ? dialog.GetStringSelection() : wxString();
  };
  askYesNo = [this](const wxString& question) {
    return wxMessageBox(question, AppTitle(), wxYES_NO | wxICON_QUESTION, &frame_) == wxYES;
  };
  showError = [this](const wxString& text) {
    wxMessageBox(text, AppTitle(), wxOK | wxICON_ERROR, &frame_);
  };
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { CheckModified(); });
}

void PresetMenu::Start() {
  RestoreCurrent();
  watch_.Start(kWatchMs);
}

PresetMenu::~PresetMenu() { watch_.Stop(); }

wxMenu* PresetMenu::CreateMenu() {
  menu_ = new wxMenu;
  AppendItem(menu_, Res::SavePresetAs, "Save Preset &As...");
  menu_->AppendSeparator();
  namesEnd_ = menu_->AppendSeparator();
  AppendItem(menu_, Res::DeletePreset, "&Delete Preset...");
  AppendItem(menu_, Res::OpenPresetsFolder, "Open Presets &Folder");
  RefillNames();
  const int first = ToWxId(Res::FirstPreset);
  frame_.Bind(wxEVT_MENU, &PresetMenu::OnCommand, this, ToWxId(Res::SavePresetAs),
              ToWxId(Res::OpenPresetsFolder));
  frame_.Bind(wxEVT_MENU, &PresetMenu::OnCommand, this, first, first + Res::PresetCommands - 1);
  frame_.Bind(wxEVT_MENU_OPEN, &PresetMenu::OnMenuOpen, this);
  return menu_;
}

std::string PresetMenu::ShownText() const {
  ConversionSettings shown = frame_.Session().settings.conversion;
  if (frame_.Bar()) ReadShownSettings(*frame_.Bar(), shown);
  return PresetText(shown);
}

wxString PresetMenu::TitleText() const {
  if (current_.empty()) return AppTitle();
  return AppTitle() + " - " + wxString::FromUTF8(current_) + (modified_ ? " (modified)" : "");
}

void PresetMenu::UpdateTitle() {
  const wxString title = TitleText();
  if (frame_.GetTitle() != title) frame_.SetTitle(title);
}

void PresetMenu::CheckModified() {
  if (current_.empty()) return;
  const bool modified = baseline_.empty() || ShownText() != baseline_;
  if (modified == modified_) return;
  modified_ = modified;
  UpdateTitle();
}

void PresetMenu::SetCurrent(const std::string& name) {
  current_ = name;
  baseline_ = name.empty() ? std::string() : ShownText();
  modified_ = false;
  frame_.Session().store.SetString(StoreKeys::Window, kCurrentPresetValue, name);
  UpdateTitle();
  RefillNames();
}

// The preset of the last session, unmodified while its file holds the settings the window
// started with.
void PresetMenu::RestoreCurrent() {
  const RegValue* stored = frame_.Session().store.Query(StoreKeys::Window, kCurrentPresetValue);
  if (!stored || stored->data.empty()) return;
  const auto* text = reinterpret_cast<const char*>(stored->data.data());
  const std::string name(text, strnlen(text, stored->data.size()));
  std::string path, message;
  if (!PresetNameProblem(name).empty() || Failed(ResolvePresetPath(name, path, message))) return;
  const ConversionSettings& session = frame_.Session().settings.conversion;
  ConversionSettings preset = session;
  if (Failed(ReadPresetFile(path, preset, message))) return SetCurrent({});
  SetCurrent(name);
  if (PresetText(preset) != PresetText(session)) {
    baseline_.clear();  // changed before the last session ended: modified until reloaded
    modified_ = true;
    UpdateTitle();
  }
}

void PresetMenu::RefillNames() {
  if (!menu_) return;
  for (wxMenuItem* item : nameItems_) menu_->Destroy(item);
  nameItems_.clear();
  names_ = PresetNames(PresetsFolder());
  if (names_.size() > static_cast<std::size_t>(Res::PresetCommands))
    names_.resize(Res::PresetCommands);
  const std::size_t at = static_cast<std::size_t>(menu_->GetMenuItems().IndexOf(namesEnd_));
  for (std::size_t i = 0; i < names_.size(); ++i) {
    wxMenuItem* item = menu_->InsertCheckItem(
        at + i, ToWxId(Res::FirstPreset) + static_cast<int>(i), MenuLabel(names_[i]));
    item->Check(names_[i] == current_);
    nameItems_.push_back(item);
  }
}

void PresetMenu::OnMenuOpen(wxMenuEvent& event) {
  if (event.GetMenu() == menu_) RefillNames();
  event.Skip();
}

void PresetMenu::OnCommand(wxCommandEvent& event) {
  const int id = event.GetId();
  const int first = ToWxId(Res::FirstPreset);
  if (id == ToWxId(Res::SavePresetAs)) {
    SaveAs();
  } else if (id == ToWxId(Res::DeletePreset)) {
    Delete();
  } else if (id == ToWxId(Res::OpenPresetsFolder)) {
    const std::string folder = PresetsFolder();
    if (!folder.empty() && ImageConverter::CreateFolderPath(folder) && frame_.Hooks().openFile)
      frame_.Hooks().openFile(wxString::FromUTF8(folder));
  } else if (id >= first && id < first + static_cast<int>(names_.size())) {
    // The check item flips itself; the current preset decides what is checked.
    Load(names_[static_cast<std::size_t>(id - first)]);
    RefillNames();
  }
}

bool PresetMenu::SaveAs() {
  ConfigurationBar* bar = frame_.Bar();
  if (!bar || !CommitOptionPages(*bar)) return false;
  wxString suggested = wxString::FromUTF8(current_);
  while (true) {
    const std::string name = Utf8(askName(suggested).Trim(true).Trim(false));
    if (name.empty()) return false;
    // A name only: a "/" is refused as a character, not taken as a path.
    std::string path, message = PresetNameProblem(name);
    if (!message.empty() || Failed(ResolvePresetPath(name, path, message))) {
      showError(WxText(message));
      suggested = wxString::FromUTF8(name);
      continue;
    }
    if (EntryExists(path) &&
        !askYesNo(WxText("A preset named \"" + name + "\" exists already. Replace it?"))) {
      suggested = wxString::FromUTF8(name);
      continue;
    }
    if (Failed(WritePresetFile(path, frame_.Session().settings.conversion, message))) {
      showError(WxText(message));
      return false;
    }
    SetCurrent(name);
    return true;
  }
}

bool PresetMenu::Load(const std::string& name) {
  ConfigurationBar* bar = frame_.Bar();
  ConversionSettings& settings = frame_.Session().settings.conversion;
  ConversionSettings read = settings;
  std::string message;
  if (!bar || Failed(LoadPreset(name, read, message))) {
    showError(WxText(message));
    return false;
  }
  settings = read;
  ShowOnOptionPages(*bar, settings);
  SetCurrent(name);
  return true;
}

bool PresetMenu::Delete() {
  RefillNames();
  if (names_.empty()) {
    showError("There are no presets to delete.");
    return false;
  }
  std::vector<wxString> names;
  for (const std::string& name : names_) names.push_back(wxString::FromUTF8(name));
  const std::string name = Utf8(choosePreset(names, wxString::FromUTF8(current_)));
  if (name.empty() || !askYesNo(WxText("Delete the preset \"" + name + "\"?"))) return false;
  std::string path, message;
  if (Failed(ResolvePresetPath(name, path, message)) || std::remove(path.c_str()) != 0) {
    showError(WxText("The preset \"" + name + "\" could not be deleted."));
    return false;
  }
  if (name == current_) SetCurrent({});
  RefillNames();
  return true;
}
