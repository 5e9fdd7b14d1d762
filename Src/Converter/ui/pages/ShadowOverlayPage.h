// ShadowOverlayPage: the "Shadow && Overlay" page. It edits the drop shadow (opacity,
// distance, light angle, blur, the shadow and background colours) and the overlay of a
// second picture (its file, alignment, transparency and transparent colour). It works on
// its own copy of those settings fields (ShadowPageFields), taken when it is built and
// written back by CommitToSettings.
#pragma once

#include <functional>
#include <memory>

#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "settings/AppSettings.h"
#include "settings/ValidateSettings.h"
#include "ui/pages/OptionPageFields.h"
#include "ui/pages/OptionPage.h"

class CColourPicker;
class wxButton;

class ShadowOverlayPage : public OptionPage {
 public:
  // Control ids of the page (the template's numbers).
  enum Id : int {
    BrowseOverlay = 1035,
    Opaque = 1043,
    Angle = 1044,
    Distance = 1045,
    Blur = 1046,
    Transparency = 1048,
    TransparentColour = 1049,
    HAlign = 1050,
    VAlign = 1051,
    BackColour = 1055,
    ShadowColour = 1056,
    OverlayFile = 1059,
    CreateShadow = 1060,
    Overlay = 1061,
  };

  ShadowOverlayPage(wxWindow* parent, AppSettings& settings);

  wxWindow* ControlFor(SettingsField field) const override;

  void UpdateControls();
  const ShadowPageFields& Fields() const { return fields_; }

  // Chooses one image file starting in the given folder; empty when cancelled. Tests
  // replace it.
  std::function<wxString(const wxString& startFolder)> chooseImageFile;

 protected:
  bool CreateControls() override;

 private:
  std::unique_ptr<Failure> ReadControls() override;
  void WriteControls() override;
  void WriteFields() override;
  void WriteFieldsTo(ConversionSettings& settings) const override { fields_.WriteTo(settings); }
  void TakeFieldsFrom(const ConversionSettings& settings) override {
    fields_ = ShadowPageFields::From(settings);
  }
  void OnBrowse(wxCommandEvent& event);

  AppSettings& settings_;
  ShadowPageFields fields_;
  wxCheckBox* createShadow_ = nullptr;
  wxTextCtrl* opaque_ = nullptr;
  wxTextCtrl* distance_ = nullptr;
  wxTextCtrl* angle_ = nullptr;
  wxTextCtrl* blur_ = nullptr;
  CColourPicker* shadowColour_ = nullptr;
  CColourPicker* backColour_ = nullptr;
  wxCheckBox* overlay_ = nullptr;
  wxTextCtrl* overlayFile_ = nullptr;
  wxButton* browse_ = nullptr;
  wxTextCtrl* hAlign_ = nullptr;
  wxTextCtrl* vAlign_ = nullptr;
  wxTextCtrl* transparency_ = nullptr;
  wxTextCtrl* transparentColour_ = nullptr;
};

// The image file filter of the file-open dialogs.
wxString ImageFileFilter();
