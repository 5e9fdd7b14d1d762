// The two option pages as the rest of the window uses them: making them over the
// session's settings, committing both before a run, and showing the page and control of
// a setting that failed validation.
#pragma once

#include "settings/AppSettings.h"
#include "settings/ValidateSettings.h"

class ConfigurationBar;
class PageDialog;

// The settings the pages edit: the main window's session, or (with no main window, as in
// a bar built on its own) one record of the process.
AppSettings& OptionPageSettings();

PageDialog* MakeResizeOptionPage(wxWindow* parent);
PageDialog* MakeShadowOverlayPage(wxWindow* parent);

// Writes both option pages back into the settings. When a page holds a field that is
// not a number, that page is selected, its message shown and the field focused, and the
// result is false (the pages are written back all the same).
bool CommitOptionPages(ConfigurationBar& bar);

// The option pages' values as their controls show them, written over `settings` without
// a message; the settings the pages commit to are not touched. False when a page holds a
// field that is not a number.
bool ReadShownSettings(ConfigurationBar& bar, ConversionSettings& settings);
// Makes `settings` the option pages' copies and shows them (a preset loaded).
void ShowOnOptionPages(ConfigurationBar& bar, const ConversionSettings& settings);

// Selects the page that holds the field of a failed validation and puts the focus on
// its control. False when no page of the bar holds the field.
bool ShowSettingsField(ConfigurationBar& bar, SettingsPage page, SettingsField field);
