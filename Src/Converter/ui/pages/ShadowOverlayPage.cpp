#include "ui/pages/ShadowOverlayPage.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/sizer.h>

#include "job/PathFunctions.h"
#include "ui/colour/ColourPicker.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageLayout.h"
#include "ui/pages/PathCompleter.h"
#include "ui/toolkit/WxText.h"

namespace {

constexpr std::string_view kHexTooLong = "Please enter at most 8 hexadecimal digits.";

}  // namespace

// ImageFileFilter is the file selection page's (one filter for every file dialog).

ShadowOverlayPage::ShadowOverlayPage(wxWindow* parent, AppSettings& settings)
    : OptionPage(parent, 149),
      settings_(settings),
      fields_(ShadowPageFields::From(settings.conversion)) {
  chooseImageFile = [this](const wxString& startFolder) {
    wxFileDialog dialog(DialogOwner(), "Select Image Files", startFolder, wxString(),
                        ImageFileFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
  };
}

bool ShadowOverlayPage::CreateControls() {
  wxWindow* body = MakePageBody(this);
  FieldGrid shadow(body, "Shadow");
  wxWindow* box = shadow.Box();
  createShadow_ = new wxCheckBox(box, CreateShadow, "Create Shadow");
  shadow.AddWide(createShadow_);
  opaque_ = new wxTextCtrl(box, Opaque);
  shadow.AddRow("Opaque (%)", opaque_);
  distance_ = new wxTextCtrl(box, Distance);
  shadow.AddRow("Distance (pixel)", distance_);
  angle_ = new wxTextCtrl(box, Angle);
  shadow.AddRow("Light Angle (degree)", angle_);
  blur_ = new wxTextCtrl(box, Blur);
  shadow.AddRow("Blur (pixel)", blur_);
  shadowColour_ = new CColourPicker(box, ShadowColour, "Shadow");
  shadow.AddRow("Shadow Color", shadowColour_);
  backColour_ = new CColourPicker(box, BackColour, "BackGround");
  shadow.AddRow("Background Color", backColour_);

  FieldGrid overlay(body, "Overlay");
  box = overlay.Box();
  overlay_ = new wxCheckBox(box, Overlay, "Overlay Another Image");
  overlay.AddWide(overlay_);
  overlayFile_ = new wxTextCtrl(box, OverlayFile);
  browse_ =
      new wxButton(box, BrowseOverlay, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
  fileRow->Add(overlayFile_, 1, wxALIGN_CENTER_VERTICAL);
  browse_->SetMinSize(wxSize(kBrowseWidth, -1));
  fileRow->Add(browse_, 0, wxEXPAND | wxLEFT, kInnerGap);
  overlay.AddRow("Image File", fileRow);
  hAlign_ = new wxTextCtrl(box, HAlign);
  overlay.AddRow("Horizontal Align (%)", hAlign_);
  vAlign_ = new wxTextCtrl(box, VAlign);
  overlay.AddRow("Vertical Align (%)", vAlign_);
  transparency_ = new wxTextCtrl(box, Transparency);
  overlay.AddRow("Transparency (%)", transparency_);
  transparentColour_ = new wxTextCtrl(box, TransparentColour);
  transparentColour_->SetMaxLength(kMaxHexDigits);
  overlay.AddRow("Transparent Color (RGB)", transparentColour_);

  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  columns->Add(shadow.Sizer(), 1, wxALIGN_TOP);
  columns->Add(overlay.Sizer(), 1, wxALIGN_TOP | wxLEFT, kGroupGap);
  FinishPageLayout(this, body, columns);

  EnablePathCompletion(overlayFile_, false);
  Bind(
      wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); }, CreateShadow);
  Bind(
      wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); }, Overlay);
  Bind(wxEVT_BUTTON, &ShadowOverlayPage::OnBrowse, this, BrowseOverlay);
  return true;
}

void ShadowOverlayPage::WriteFields() { fields_.WriteTo(settings_.conversion); }

void ShadowOverlayPage::WriteControls() {
  createShadow_->SetValue(fields_.createShadow);
  opaque_->ChangeValue(FormatWhole(fields_.shadowOpaquePercent));
  distance_->ChangeValue(FormatWhole(fields_.shadowDistance));
  angle_->ChangeValue(FormatWhole(fields_.shadowAngle));
  blur_->ChangeValue(FormatWhole(fields_.shadowBlur));
  overlay_->SetValue(fields_.overlay);
  overlayFile_->ChangeValue(wxString::FromUTF8(fields_.overlayFilePath));
  hAlign_->ChangeValue(FormatWhole(fields_.hAlignPercent));
  vAlign_->ChangeValue(FormatWhole(fields_.vAlignPercent));
  transparency_->ChangeValue(FormatWhole(fields_.transparencyPercent));
  transparentColour_->ChangeValue(wxString::FromUTF8(fields_.transparentClrText));
  backColour_->SetColour(fields_.shadowBackColor);
  shadowColour_->SetColour(fields_.shadowColor);
  UpdateControls();
}

// In the order of the page's controls; the first faulty field stops the read.
std::unique_ptr<OptionPage::Failure> ShadowOverlayPage::ReadControls() {
  fields_.createShadow = createShadow_->GetValue();
  if (auto f = ReadWhole(opaque_, fields_.shadowOpaquePercent)) return f;
  if (auto f = ReadWhole(distance_, fields_.shadowDistance)) return f;
  if (auto f = ReadWhole(angle_, fields_.shadowAngle)) return f;
  if (auto f = ReadWhole(blur_, fields_.shadowBlur)) return f;
  fields_.shadowColor = shadowColour_->GetColour();
  fields_.shadowBackColor = backColour_->GetColour();
  fields_.overlay = overlay_->GetValue();
  fields_.overlayFilePath = Utf8(overlayFile_->GetValue());
  if (auto f = ReadWhole(hAlign_, fields_.hAlignPercent)) return f;
  if (auto f = ReadWhole(vAlign_, fields_.vAlignPercent)) return f;
  if (auto f = ReadWhole(transparency_, fields_.transparencyPercent)) return f;
  const std::string hex = Utf8(transparentColour_->GetValue());
  if (hex.size() > kMaxHexDigits)
    return std::make_unique<Failure>(Failure{transparentColour_, WxText(kHexTooLong)});
  fields_.transparentClrText = hex;
  return nullptr;
}

void ShadowOverlayPage::UpdateControls() {
  const bool shadow = createShadow_->GetValue();
  for (wxWindow* control : std::initializer_list<wxWindow*>{angle_, blur_, distance_, opaque_,
                                                            shadowColour_, backColour_})
    control->Enable(shadow);
  const bool overlay = overlay_->GetValue();
  for (wxWindow* control : std::initializer_list<wxWindow*>{overlayFile_, browse_, hAlign_, vAlign_,
                                                            transparency_, transparentColour_})
    control->Enable(overlay);
}

void ShadowOverlayPage::OnBrowse(wxCommandEvent&) {
  std::string& lastDir = settings_.lastSelFileDir;
  const wxString start = !lastDir.empty() && wxDirExists(wxString::FromUTF8(lastDir))
                             ? wxString::FromUTF8(lastDir)
                             : wxString();
  const wxString path = chooseImageFile ? chooseImageFile(start) : wxString();
  if (path.empty()) return;
  lastDir = DirectoryOf(Utf8(path));
  overlayFile_->SetValue(path);
}

wxWindow* ShadowOverlayPage::ControlFor(SettingsField field) const {
  switch (field) {
    case SettingsField::shadowOpaque: return opaque_;
    case SettingsField::shadowBlur: return blur_;
    case SettingsField::overlayFilePath: return overlayFile_;
    case SettingsField::overlayHAlignRatio: return hAlign_;
    case SettingsField::overlayVAlignRatio: return vAlign_;
    case SettingsField::overlayTransparency: return transparency_;
    default: return nullptr;
  }
}
