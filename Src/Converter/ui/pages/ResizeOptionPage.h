// ResizeOptionPage: the "Resize Option" page. It edits the destination folder, the resize
// mode and its sizes, the rotation, the resampling filter, the frame and its colour, and how
// output files are named, typed and encoded. It works on its own copy of those settings fields
// (ResizePageFields), taken when it is built and written back by CommitToSettings.
#pragma once

#include <functional>
#include <memory>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

#include "settings/AppSettings.h"
#include "settings/ValidateSettings.h"
#include "ui/pages/OptionPageFields.h"
#include "ui/pages/OptionPage.h"
#include "ui/pages/SpinField.h"

class CColourPicker;

class ResizeOptionPage : public OptionPage {
 public:
  // Control ids of the page (the template's numbers).
  enum Id : int {
    SameSize = 1006,
    WidthLabel = 1007,
    HeightLabel = 1008,
    GreyScale = 1009,
    PaddingColour = 1010,
    AddFrame = 1011,
    Ratio = 1016,
    FrameHorz = 1017,
    FrameVert = 1018,
    Width = 1022,
    Height = 1023,
    WidthSpin = 1024,
    RatioSpin = 1025,
    HeightSpin = 1026,
    Override = 1027,
    ConversionType = 1028,
    FileType = 1029,
    Prefix = 1030,
    Suffix = 1031,
    ZeroPadding = 1032,
    Destination = 1033,
    BrowseDestination = 1034,
    CropLeft = 1035,
    BitDepth = 1036,
    KeepStructure = 1037,
    CropLeftSpin = 1038,
    CropTop = 1039,
    CropTopSpin = 1040,
    PortraitWidth = 1041,
    PortraitWidthSpin = 1042,
    PortraitHeight = 1043,
    PortraitHeightSpin = 1044,
    JpegQuality = 1045,
    Rotate = 1061,
    Filter = 1062,
    Progressive = 1063,
    GifDither = 1064,
  };

  ResizeOptionPage(wxWindow* parent, AppSettings& settings);
  ~ResizeOptionPage() override;

  wxWindow* ControlFor(SettingsField field) const override;
  // Enables a disabled control first, so that a value that must be mended can be.
  bool FocusField(SettingsField field) override;

  void UpdateControls();
  void FillBitDepths();
  const ResizePageFields& Fields() const { return fields_; }

  // Chooses a folder starting at the given one; empty when cancelled. Tests replace it.
  std::function<wxString(const wxString& start)> browseFolder;

 protected:
  bool CreateControls() override;

 private:
  std::unique_ptr<Failure> ReadControls() override;
  void WriteControls() override;
  void WriteFields() override;
  void WriteFieldsTo(ConversionSettings& settings) const override { fields_.WriteTo(settings); }
  void TakeFieldsFrom(const ConversionSettings& settings) override {
    fields_ = ResizePageFields::From(settings);
  }
  void TakeSelectedBitDepth();
  wxSizer* MakeDestinationGroup();
  wxSizer* MakeResizeGroup();
  wxSizer* MakeFileGroup();
  wxSizer* MakeImageGroup();
  void OnBrowse(wxCommandEvent& event);

  AppSettings& settings_;
  ResizePageFields fields_;
  wxWindow* body_ = nullptr;
  wxTextCtrl* destination_ = nullptr;
  wxButton* browse_ = nullptr;
  wxChoice* conversionType_ = nullptr;
  wxCheckBox* sameSize_ = nullptr;
  wxStaticText* widthLabel_ = nullptr;
  wxStaticText* heightLabel_ = nullptr;
  std::unique_ptr<SpinField> width_, height_, portraitWidth_, portraitHeight_, cropLeft_, cropTop_,
      ratio_;
  wxChoice* rotate_ = nullptr;
  wxChoice* filter_ = nullptr;
  CColourPicker* paddingColour_ = nullptr;
  wxChoice* fileType_ = nullptr;
  wxChoice* bitDepth_ = nullptr;
  wxComboBox* jpegQuality_ = nullptr;
  wxCheckBox* progressive_ = nullptr;
  wxCheckBox* gifDither_ = nullptr;
  wxTextCtrl* prefix_ = nullptr;
  wxTextCtrl* suffix_ = nullptr;
  wxTextCtrl* zeroPadding_ = nullptr;
  wxCheckBox* override_ = nullptr;
  wxCheckBox* keepStructure_ = nullptr;
  wxCheckBox* addFrame_ = nullptr;
  wxTextCtrl* frameHorz_ = nullptr;
  wxTextCtrl* frameVert_ = nullptr;
  wxCheckBox* greyScale_ = nullptr;
  std::vector<int> bitDepthValues_;  // the bpp of each bit-depth entry
};
