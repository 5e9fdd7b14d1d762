// ResizeOptionPage: the "Resize Option" page. It edits the destination folder, the resize
// mode and its sizes, the rotation, the frame and its colour, and how output files are
// named and typed. It works on its own copy of those settings fields (ResizePageFields),
// taken when it is built and written back by CommitToSettings.
#pragma once

#include <functional>
#include <memory>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

#include "settings/AppSettings.h"
#include "settings/ValidateSettings.h"
#include "ui/OptionPageFields.h"
#include "ui/PageDialog.h"
#include "ui/SpinField.h"

class CColourPicker;

class ResizeOptionPage : public PageDialog {
 public:
  // Control ids of the page (the template's numbers).
  enum Id : int {
    SameSize = 1006, WidthLabel = 1007, HeightLabel = 1008, GreyScale = 1009, PaddingColour = 1010,
    AddFrame = 1011, Ratio = 1016, FrameHorz = 1017, FrameVert = 1018, Width = 1022, Height = 1023,
    WidthSpin = 1024, RatioSpin = 1025, HeightSpin = 1026, Override = 1027, ConversionType = 1028,
    FileType = 1029, Prefix = 1030, Suffix = 1031, ZeroPadding = 1032, Destination = 1033,
    BrowseDestination = 1034, CropLeft = 1035, BitDepth = 1036, KeepStructure = 1037,
    CropLeftSpin = 1038, CropTop = 1039, CropTopSpin = 1040, PortraitWidth = 1041,
    PortraitWidthSpin = 1042, PortraitHeight = 1043, PortraitHeightSpin = 1044, JpegQuality = 1045,
    Rotate = 1061,
  };

  ResizeOptionPage(wxWindow* parent, AppSettings& settings);
  ~ResizeOptionPage() override;

  bool ExchangeData(bool toFields) override;
  void CommitOnClose() override { CommitToSettings(false); }
  // Reads the controls (showing the message of a field that holds no number when
  // `report`), then writes the copy back into the settings. The result is the read's.
  bool CommitToSettings(bool report = true);

  // The control that edits `field`, or null when the field is not on this page.
  wxWindow* ControlFor(SettingsField field) const;
  // Puts the focus on the control of `field`; false when the field is not on this page.
  bool FocusField(SettingsField field);

  void UpdateControls();
  void FillBitDepths();
  const ResizePageFields& Fields() const { return fields_; }

  // Chooses a folder starting at the given one; empty when cancelled. Tests replace it.
  std::function<wxString(const wxString& start)> browseFolder;

 protected:
  bool CreateControls() override;

 private:
  struct Failure {
    wxWindow* control;
    wxString message;
  };
  std::unique_ptr<Failure> ReadControls();
  void WriteControls();
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
  std::unique_ptr<SpinField> width_, height_, portraitWidth_, portraitHeight_, cropLeft_, cropTop_, ratio_;
  wxChoice* rotate_ = nullptr;
  CColourPicker* paddingColour_ = nullptr;
  wxChoice* fileType_ = nullptr;
  wxChoice* bitDepth_ = nullptr;
  wxComboBox* jpegQuality_ = nullptr;
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
