#include "ui/pages/ResizeOptionPage.h"

#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/wrapsizer.h>

#include "settings/ResampleFilter.h"
#include "settings/ResizeOption.h"
#include "ui/colour/ColourPicker.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageLayout.h"
#include "ui/pages/PathCompleter.h"
#include "ui/toolkit/WxText.h"

namespace {

constexpr int kSpinMax = 32767;
const char* const kQualities[] = {"50 - Normal", "80 - Good", "90 - Better", "100 - Superb"};
const char* const kRotations[] = {"0", "90", "180", "270"};

// A field and a check box in one row, the box wrapping below when the row is too narrow.
wxSizer* FieldAndBox(wxWindow* field, wxCheckBox* box) {
  auto* row = new wxWrapSizer(wxHORIZONTAL);
  row->Add(field, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kInnerGap);
  row->Add(box, 0, wxALIGN_CENTER_VERTICAL);
  return row;
}

}  // namespace

ResizeOptionPage::ResizeOptionPage(wxWindow* parent, AppSettings& settings)
    : OptionPage(parent, 140),
      settings_(settings),
      fields_(ResizePageFields::From(settings.conversion)) {
  browseFolder = [this](const wxString& start) {
    wxDirDialog dialog(DialogOwner(), "Select destination folder", start, wxDD_DEFAULT_STYLE);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
  };
}

ResizeOptionPage::~ResizeOptionPage() = default;

bool ResizeOptionPage::CreateControls() {
  body_ = MakePageBody(this);
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  left->Add(MakeDestinationGroup(), 0, wxEXPAND);
  left->Add(MakeResizeGroup(), 1, wxEXPAND | wxTOP, kGroupGap);
  auto* right = new wxBoxSizer(wxVERTICAL);
  right->Add(MakeFileGroup(), 0, wxEXPAND);
  right->Add(MakeImageGroup(), 1, wxEXPAND | wxTOP, kGroupGap);
  // Shares near the columns' own widths: equal shares would give the narrower column the
  // width of the wider one and push the pair past the smallest window.
  columns->Add(left, 5, wxEXPAND);
  columns->Add(right, 4, wxEXPAND | wxLEFT, kGroupGap);
  FinishPageLayout(this, body_, columns);

  EnablePathCompletion(destination_, true);
  Bind(
      wxEVT_CHOICE,
      [this](wxCommandEvent&) {
        ReadControls();
        UpdateControls();
      },
      ConversionType);
  Bind(wxEVT_BUTTON, &ResizeOptionPage::OnBrowse, this, BrowseDestination);
  Bind(
      wxEVT_CHOICE,
      [this](wxCommandEvent&) {
        fields_.destFileExt = Utf8(fileType_->GetStringSelection());
        FillBitDepths();
        TakeSelectedBitDepth();
        UpdateControls();
      },
      FileType);
  Bind(
      wxEVT_CHOICE,
      [this](wxCommandEvent&) {
        TakeSelectedBitDepth();
        UpdateControls();
      },
      BitDepth);
  Bind(
      wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); }, SameSize);
  Bind(
      wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); }, AddFrame);
  // Replacing and skipping an existing file exclude each other: ticking one unticks the other.
  Bind(
      wxEVT_CHECKBOX,
      [this](wxCommandEvent&) {
        if (override_->GetValue()) skipExisting_->SetValue(false);
      },
      Override);
  Bind(
      wxEVT_CHECKBOX,
      [this](wxCommandEvent&) {
        if (skipExisting_->GetValue()) override_->SetValue(false);
      },
      SkipExisting);
  return true;
}

wxSizer* ResizeOptionPage::MakeDestinationGroup() {
  auto* group = new wxStaticBoxSizer(wxHORIZONTAL, body_, "Destination");
  wxWindow* box = group->GetStaticBox();
  destination_ = new wxTextCtrl(box, Destination);
  browse_ =
      new wxButton(box, BrowseDestination, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  group->Add(destination_, 1, wxALIGN_CENTER_VERTICAL | wxALL, kInnerGap);
  browse_->SetMinSize(wxSize(kBrowseWidth, -1));
  group->Add(browse_, 0, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, kInnerGap);
  return group;
}

wxSizer* ResizeOptionPage::MakeResizeGroup() {
  FieldGrid grid(body_, "Resize Setting");
  wxWindow* box = grid.Box();
  conversionType_ = new wxChoice(box, ConversionType);
  for (int mode = 0; mode < kResizeOptionCount; ++mode)
    conversionType_->Append(WxText(ResizeOptionText(mode)));
  grid.AddRow("Conversion Type", conversionType_);
  sameSize_ =
      new wxCheckBox(box, SameSize, "Same width and height for landscape and portait pictures");
  grid.AddWide(sameSize_);
  width_ = std::make_unique<SpinField>(box, Width, WidthSpin, 1, kSpinMax);
  widthLabel_ = grid.AddRow("Width for landscape picture", width_->Sizer(), WidthLabel);
  height_ = std::make_unique<SpinField>(box, Height, HeightSpin, 1, kSpinMax);
  heightLabel_ = grid.AddRow("Height for landscape picture", height_->Sizer(), HeightLabel);
  portraitWidth_ = std::make_unique<SpinField>(box, PortraitWidth, PortraitWidthSpin, 1, kSpinMax);
  grid.AddRow("Width for portrait picture", portraitWidth_->Sizer());
  portraitHeight_ =
      std::make_unique<SpinField>(box, PortraitHeight, PortraitHeightSpin, 1, kSpinMax);
  grid.AddRow("Height for portrait picture", portraitHeight_->Sizer());
  cropLeft_ = std::make_unique<SpinField>(box, CropLeft, CropLeftSpin, 0, 100);
  grid.AddRow("Horizontal Crop Left (%)", cropLeft_->Sizer());
  cropTop_ = std::make_unique<SpinField>(box, CropTop, CropTopSpin, 0, 100);
  grid.AddRow("Vertical Crop Top (%)", cropTop_->Sizer());
  ratio_ = std::make_unique<SpinField>(box, Ratio, RatioSpin, 1, kSpinMax);
  grid.AddRow("Ratio (%)", ratio_->Sizer());
  rotate_ = new wxChoice(box, Rotate);
  for (const char* r : kRotations) rotate_->Append(r);
  grid.AddRow("Rotate (Clockwise)", rotate_);
  paddingColour_ = new CColourPicker(box, PaddingColour, "Padding && Frame");
  grid.AddRow("Padding and frame color", paddingColour_);
  return grid.Sizer();
}

wxSizer* ResizeOptionPage::MakeFileGroup() {
  FieldGrid grid(body_, "File Generation");
  wxWindow* box = grid.Box();
  fileType_ = new wxChoice(box, FileType);
  for (const std::string& type : FileTypeChoices()) fileType_->Append(type);
  grid.AddRow("File Type", fileType_);
  // GIF's dithering beside the depth, JPEG's progressive beside the quality: each next to
  // the choice it refines, wrapping below it only where the column is narrow.
  bitDepth_ = new wxChoice(box, BitDepth);
  gifDither_ = new wxCheckBox(box, GifDither, "Dither");
  grid.AddRow("Bit Depth", FieldAndBox(bitDepth_, gifDither_));
  jpegQuality_ = new wxComboBox(box, JpegQuality);
  for (const char* quality : kQualities) jpegQuality_->Append(quality);
  progressive_ = new wxCheckBox(box, Progressive, "Progressive");
  grid.AddRow("Quality (1-100)", FieldAndBox(jpegQuality_, progressive_));
  prefix_ = new wxTextCtrl(box, Prefix);
  grid.AddRow("Prefix", prefix_);
  suffix_ = new wxTextCtrl(box, Suffix);
  grid.AddRow("Suffix", suffix_);
  zeroPadding_ = new wxTextCtrl(box, ZeroPadding);
  grid.AddRow("Zero Padding", zeroPadding_);
  // The two exclusive answers to an existing destination side by side.
  override_ = new wxCheckBox(box, Override, "Override existing files");
  skipExisting_ = new wxCheckBox(box, SkipExisting, "Skip existing files");
  grid.AddWide(FieldAndBox(override_, skipExisting_));
  keepStructure_ = new wxCheckBox(box, KeepStructure, "Keep directory structure");
  grid.AddWide(keepStructure_);
  return grid.Sizer();
}

wxSizer* ResizeOptionPage::MakeImageGroup() {
  FieldGrid grid(body_, "Additional Image Handling");
  wxWindow* box = grid.Box();
  // The resampling filter lives here: the resize group's column is as tall as it can be.
  filter_ = new wxChoice(box, Filter);
  for (int filter = 0; filter < kResampleFilterCount; ++filter)
    filter_->Append(WxText(ResampleFilterText(filter)));
  grid.AddRow("Resampling filter", filter_);
  addFrame_ = new wxCheckBox(box, AddFrame, "Add frame");
  grid.AddWide(addFrame_);
  frameHorz_ = new wxTextCtrl(box, FrameHorz);
  grid.AddRow("Horizontal frame thickness", frameHorz_);
  frameVert_ = new wxTextCtrl(box, FrameVert);
  grid.AddRow("Vertical frame thickness", frameVert_);
  greyScale_ = new wxCheckBox(box, GreyScale, "Gray scale whole picture");
  grid.AddWide(greyScale_);
  return grid.Sizer();
}

void ResizeOptionPage::WriteFields() { fields_.WriteTo(settings_.conversion); }

void ResizeOptionPage::WriteControls() {
  destination_->ChangeValue(wxString::FromUTF8(fields_.destFolder));
  conversionType_->SetSelection(
      fields_.resizeOption >= 0 && fields_.resizeOption < kResizeOptionCount ? fields_.resizeOption
                                                                             : wxNOT_FOUND);
  sameSize_->SetValue(fields_.sameForPortrait);
  width_->SetText(FormatWhole(fields_.width));
  height_->SetText(FormatWhole(fields_.height));
  portraitWidth_->SetText(FormatWhole(fields_.portraitWidth));
  portraitHeight_->SetText(FormatWhole(fields_.portraitHeight));
  cropLeft_->SetText(FormatReal(fields_.cropLeftPercent));
  cropTop_->SetText(FormatReal(fields_.cropTopPercent));
  ratio_->SetText(FormatReal(fields_.ratioPercent));
  rotate_->SetSelection(fields_.rotateIndex);
  filter_->SetSelection(fields_.filter);
  paddingColour_->SetColour(fields_.paddingColor);
  // Matched with case: "jpg" and "JPG" are separate entries (wx would match either).
  fileType_->SetSelection(fileType_->FindString(wxString::FromUTF8(fields_.destFileExt), true));
  jpegQuality_->ChangeValue(FormatWhole(fields_.jpegQualityNew));
  progressive_->SetValue(fields_.progressive);
  gifDither_->SetValue(fields_.gifDither);
  prefix_->ChangeValue(wxString::FromUTF8(fields_.prefix));
  suffix_->ChangeValue(wxString::FromUTF8(fields_.suffix));
  zeroPadding_->ChangeValue(FormatWhole(fields_.zeroPadding));
  // Stored both ways (an edited store), skipping wins, as it does in a run.
  override_->SetValue(fields_.override && !fields_.skipExisting);
  skipExisting_->SetValue(fields_.skipExisting);
  keepStructure_->SetValue(fields_.sameDir);
  addFrame_->SetValue(fields_.addPadding);
  frameHorz_->ChangeValue(FormatWhole(fields_.paddingHorz));
  frameVert_->ChangeValue(FormatWhole(fields_.paddingVert));
  greyScale_->SetValue(fields_.greyScale);
  FillBitDepths();
  UpdateControls();
}

// In the order of the page's controls; the first field that holds no number stops the
// read, and the fields before it keep what was read.
std::unique_ptr<OptionPage::Failure> ResizeOptionPage::ReadControls() {
  fields_.destFolder = Utf8(destination_->GetValue());
  // No selection is no mode: it uses no size field and fails where a mode is needed.
  fields_.resizeOption = conversionType_->GetSelection();
  fields_.sameForPortrait = sameSize_->GetValue();
  if (auto f = ReadWhole(width_->Text(), fields_.width)) return f;
  if (auto f = ReadWhole(height_->Text(), fields_.height)) return f;
  if (auto f = ReadWhole(portraitWidth_->Text(), fields_.portraitWidth)) return f;
  if (auto f = ReadWhole(portraitHeight_->Text(), fields_.portraitHeight)) return f;
  if (auto f = ReadReal(cropLeft_->Text(), fields_.cropLeftPercent)) return f;
  if (auto f = ReadReal(cropTop_->Text(), fields_.cropTopPercent)) return f;
  if (auto f = ReadReal(ratio_->Text(), fields_.ratioPercent)) return f;
  if (rotate_->GetSelection() != wxNOT_FOUND) fields_.rotateIndex = rotate_->GetSelection();
  if (filter_->GetSelection() != wxNOT_FOUND) fields_.filter = filter_->GetSelection();
  fields_.paddingColor = paddingColour_->GetColour();
  // A stored type the list does not offer stays as it is.
  if (fileType_->GetSelection() != wxNOT_FOUND)
    fields_.destFileExt = Utf8(fileType_->GetStringSelection());
  TakeSelectedBitDepth();
  fields_.jpegQualityNew = LeadingInteger(Utf8(jpegQuality_->GetValue()));
  fields_.progressive = progressive_->GetValue();
  fields_.gifDither = gifDither_->GetValue();
  fields_.prefix = Utf8(prefix_->GetValue());
  fields_.suffix = Utf8(suffix_->GetValue());
  fields_.zeroPadding = LeadingInteger(Utf8(zeroPadding_->GetValue()));
  fields_.override = override_->GetValue();
  fields_.skipExisting = skipExisting_->GetValue();
  fields_.sameDir = keepStructure_->GetValue();
  fields_.addPadding = addFrame_->GetValue();
  if (auto f = ReadWhole(frameHorz_, fields_.paddingHorz)) return f;
  if (auto f = ReadWhole(frameVert_, fields_.paddingVert)) return f;
  fields_.greyScale = greyScale_->GetValue();
  return nullptr;
}

void ResizeOptionPage::FillBitDepths() {
  const std::vector<BitDepthEntry>& entries = BitDepthsFor(Utf8(fileType_->GetStringSelection()));
  if (entries.empty()) return;
  bitDepth_->Clear();
  bitDepthValues_.clear();
  for (const BitDepthEntry& entry : entries) {
    bitDepth_->Append(WxText(entry.text));
    bitDepthValues_.push_back(entry.bpp);
  }
  bitDepth_->SetSelection(BitDepthIndexFor(entries, fields_.bpp));
}

// With no entry selected the page keeps its bit depth.
void ResizeOptionPage::TakeSelectedBitDepth() {
  const int index = bitDepth_->GetSelection();
  if (index >= 0 && index < static_cast<int>(bitDepthValues_.size()))
    fields_.bpp = bitDepthValues_[static_cast<std::size_t>(index)];
}

void ResizeOptionPage::UpdateControls() {
  fields_.sameForPortrait = sameSize_->GetValue();
  const bool same = fields_.sameForPortrait;
  const ResizeModeUse use = ResizeModeUses(fields_.resizeOption);
  width_->Enable(use.width);
  height_->Enable(use.height);
  ratio_->Enable(use.ratio);
  cropLeft_->Enable(use.cropPosition);
  cropTop_->Enable(use.cropPosition);
  portraitWidth_->Enable(use.width && !same);
  portraitHeight_->Enable(use.height && !same);
  widthLabel_->SetLabel(same ? "Width" : "Width for landscape picture");
  heightLabel_->SetLabel(same ? "Height" : "Height for landscape picture");
  jpegQuality_->Enable(QualityAppliesTo(Utf8(fileType_->GetStringSelection())));
  const wxString type = fileType_->GetStringSelection().Lower();
  progressive_->Enable(type == "jpg");
  gifDither_->Enable(type == "gif");
  greyScale_->Enable(bitDepth_->GetStringSelection() != "8-bit Gray Scale");
  const bool frame = addFrame_->GetValue();
  frameHorz_->Enable(frame);
  frameVert_->Enable(frame);
  paddingColour_->Enable(frame || use.paddingColor);
  body_->Layout();
}

void ResizeOptionPage::OnBrowse(wxCommandEvent&) {
  const wxString folder = browseFolder ? browseFolder(destination_->GetValue()) : wxString();
  if (!folder.empty()) destination_->SetValue(folder);
}

wxWindow* ResizeOptionPage::ControlFor(SettingsField field) const {
  switch (field) {
    case SettingsField::destFolder: return destination_;
    case SettingsField::ratio: return ratio_->Text();
    case SettingsField::width: return width_->Text();
    case SettingsField::height: return height_->Text();
    case SettingsField::portraitWidth: return portraitWidth_->Text();
    case SettingsField::portraitHeight: return portraitHeight_->Text();
    case SettingsField::cropLeftRatio: return cropLeft_->Text();
    case SettingsField::cropTopRatio: return cropTop_->Text();
    case SettingsField::zeroPadding: return zeroPadding_;
    case SettingsField::destFileExt: return fileType_;
    case SettingsField::bpp: return bitDepth_;
    case SettingsField::rotateDegree: return rotate_;
    case SettingsField::jpegQualityNew: return jpegQuality_;
    case SettingsField::paddingHorz: return frameHorz_;
    case SettingsField::paddingVert: return frameVert_;
    default: return nullptr;
  }
}

bool ResizeOptionPage::FocusField(SettingsField field) {
  wxWindow* control = ControlFor(field);
  if (!control) return false;
  // The quality is checked whatever the file type, while its box is enabled only for the
  // types that take it: a value that must be mended has to be reachable.
  if (!control->IsEnabled()) control->Enable();
  return OptionPage::FocusField(field);
}
