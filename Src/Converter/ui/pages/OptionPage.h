// OptionPage: the base of the two option pages that edit their own copy of settings fields.
// Showing the page writes the copy into the controls; committing reads the controls back,
// stopping at the first field that holds no valid value (whose message it shows when asked
// to), and writes the copy into the settings.
#pragma once

#include <memory>

#include <wx/textctrl.h>

#include "settings/ValidateSettings.h"
#include "ui/pages/PageDialog.h"

class OptionPage : public PageDialog {
 public:
  using PageDialog::PageDialog;

  bool ExchangeData(bool toFields) override;
  void CommitOnClose() override { CommitToSettings(false); }
  // Reads the controls (showing the message of a faulty field when `report`), then writes
  // the copy back into the settings. The result is the read's.
  bool CommitToSettings(bool report = true);

  // The values the controls show, written over `settings` without a message: false when a
  // field holds no valid value (the fields before it are written). The settings the page
  // commits to are not touched.
  bool ReadShownInto(ConversionSettings& settings);
  // Makes `settings` the page's copy and shows it (a preset loaded).
  void ShowSettings(const ConversionSettings& settings);

  // The control that edits `field`, or null when the field is not on this page.
  virtual wxWindow* ControlFor(SettingsField field) const = 0;
  // Puts the focus on the control of `field` (its text selected); false when the field is
  // not on this page.
  virtual bool FocusField(SettingsField field);

 protected:
  struct Failure {
    wxWindow* control;
    wxString message;
  };
  // Reads the controls into the copy, in the order of the page; null when all were valid.
  virtual std::unique_ptr<Failure> ReadControls() = 0;
  // Shows the copy in the controls.
  virtual void WriteControls() = 0;
  // Writes the copy into the settings.
  virtual void WriteFields() = 0;
  // Writes the copy into `settings`; takes the copy from `settings`.
  virtual void WriteFieldsTo(ConversionSettings& settings) const = 0;
  virtual void TakeFieldsFrom(const ConversionSettings& settings) = 0;

  // The window that owns the page's file and folder dialogs: the main frame when there is
  // one, else the page's top-level window.
  wxWindow* DialogOwner();

  // Reads a whole or a real number from `field` into `value`; a failure when it holds none.
  static std::unique_ptr<Failure> ReadWhole(wxTextCtrl* field, int& value);
  static std::unique_ptr<Failure> ReadReal(wxTextCtrl* field, double& value);
};
