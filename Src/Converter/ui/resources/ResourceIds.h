// The windowed program's resource numbers (menus, commands, dialogs, bitmaps, controls) in
// one table, and the one rule that turns a number into a wxWidgets window or command id.
// wx menus refuse ids above 0x7FFF, so command numbers from 0x8000 up are moved down by
// 0x7000 (0x8003 becomes 0x1003, 0xE141 becomes 0x7141): the results stay below 0x7FFF
// and clear of wx's own stock range (wxID_LOWEST 4999 to wxID_HIGHEST 5999), and numbers
// below 0x8000 (dialog controls) keep their value.
#pragma once

namespace Res {

// Menu, accelerators, icon and title of the main window.
constexpr int MainFrame = 128;
// Dialog templates.
constexpr int AboutBox = 100;
constexpr int SelectFilesPage = 130;
constexpr int ResizeOptionPage = 140;
constexpr int ShadowOverlayPage = 149;
// Toolbar image strips: normal and hot.
constexpr int ToolbarImages = 134;
constexpr int ToolbarHotImages = 135;
// Row icons of the conversion list (one cell per item status).
constexpr int StatusIcons = 142;
constexpr int SearchingDialog = 137;

// Controls of the file selection page and the searching dialog.
constexpr int ConvList = 1000;
constexpr int AddDirectoryField = 1001;
constexpr int AddAllFilesButton = 1002;
constexpr int AddDirectoryLabel = 1005;
constexpr int SearchStatusText = 1006;

// Commands.
constexpr int AddFiles = 32771;
constexpr int RemoveSelected = 32772;
constexpr int StartConversion = 32773;
constexpr int AddFolder = 32774;
constexpr int RemoveAll = 32811;
constexpr int ViewConverted = 32813;
constexpr int ViewOriginal = 32814;
constexpr int AddFolderRecursively = 32818;
constexpr int RotateUpright = 32819;
constexpr int KeepCameraData = 32820;
constexpr int About = 57664;
constexpr int Exit = 57665;
constexpr int HelpContents = 57666;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;

// The Presets menu: its commands, then one command per preset shown (in name order), and
// the preview window's switch in the View menu.
constexpr int SavePresetAs = 32840;
constexpr int DeletePreset = 32841;
constexpr int OpenPresetsFolder = 32842;
constexpr int ViewPreview = 32843;
constexpr int FirstPreset = 32850;
constexpr int PresetCommands = 100;

// Windows of the main frame.
constexpr int FirstPane = 59648;  // the ConfigurationBar fills the client area
constexpr int TabControl = 1;     // child of the ConfigurationBar

// Texts without a command of their own.
constexpr int IdleMessage = 57345;  // "Ready"

}  // namespace Res

// The wx id of a resource number (see the rule above).
constexpr int ToWxId(int resourceId) {
  return resourceId >= 0x8000 ? resourceId - 0x7000 : resourceId;
}
