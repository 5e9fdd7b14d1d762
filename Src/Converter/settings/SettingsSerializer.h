// SettingsSerializer: moves ConversionSettings and AppSettings to and from the
// RegistryStore. Every operation takes a SerializeMode: Load reads each value (a
// missing or malformed one gives the field's default), Save writes each field, Reset
// puts the defaults in memory without touching the store. Store errors are silent.
// Only the windowed program uses this; the command line never reads or writes the store.
#pragma once

#include <string_view>

#include "platform/RegistryStore.h"
#include "settings/AppSettings.h"
#include "settings/ConversionSettings.h"

enum SerializeMode { Load = 0, Save = 1, Reset = 2 };

namespace StoreKeys {
constexpr std::string_view Root = "Software\\Orrinvale\\Brindlemark";
constexpr std::string_view BatchSetting = "Software\\Orrinvale\\Brindlemark\\BatchSetting";
constexpr std::string_view Window = "Software\\Orrinvale\\Brindlemark\\Window";
// The main window's bar state, under the root with the profile name "Brindlemark".
constexpr std::string_view BarState = "Software\\Orrinvale\\Brindlemark\\Brindlemark";
}  // namespace StoreKeys

// The image-operation group of the settings, on "BatchSetting".
void SerializeImageOperations(RegistryStore& store, ConversionSettings& settings,
                              SerializeMode mode);
// The image-operation group, then the job group, on "BatchSetting".
void SerializeSettings(RegistryStore& store, ConversionSettings& settings, SerializeMode mode);
// The settings, then the folder memory and placement on "Window"; not the column widths.
void SerializeAppSettings(RegistryStore& store, AppSettings& app, SerializeMode mode);

// Loads the store's file, reads the column widths, then the rest of AppSettings. The
// two keys are created when missing, and a store that lacked them is written back, so
// a first start leaves them in place.
void LoadAll(RegistryStore& store, AppSettings& app);
// Writes the column widths and the rest of AppSettings, then the store's file.
void SaveAll(RegistryStore& store, AppSettings& app);

// Records whether the toolbar and the status bar are shown (written by SaveAll's flush).
void SaveBarState(RegistryStore& store, bool toolBarShown, bool statusBarShown);
