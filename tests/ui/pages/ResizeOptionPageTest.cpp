// The resize option page in a shown window: enabling and labels for every mode, the bit
// depths per file type, the conversions between the page and the settings, and number
// fields that refuse a page switch.
#include <wx/testing.h>

#include "MessageAnswer.h"
#include "OptionPageTestSupport.h"

namespace {

using R = ResizeOptionPage;
using ResizeOptionPageTest = OptionPageTest;

std::vector<wxString> Entries(wxChoice* list) {
  std::vector<wxString> entries;
  for (unsigned i = 0; i < list->GetCount(); ++i) entries.push_back(list->GetString(i));
  return entries;
}

TEST_F(ResizeOptionPageTest, EnablingAndLabelsFollowTheModeAndTheSameSizeBox) {
  OpenPages();
  struct Row {
    int mode;
    bool width, height, crop, ratio;
  };
  const Row rows[] = {{0, 1, 1, 1, 0}, {1, 1, 1, 1, 0}, {2, 1, 1, 0, 0}, {3, 1, 0, 0, 0},
                      {4, 0, 1, 0, 0}, {5, 0, 0, 0, 1}, {6, 0, 0, 0, 0}, {7, 1, 1, 0, 0},
                      {8, 1, 0, 0, 0}, {9, 0, 1, 0, 0}};
  auto* type = Control<wxChoice>(resize_, R::ConversionType);
  auto* same = Control<wxCheckBox>(resize_, R::SameSize);
  Click(Control<wxCheckBox>(resize_, R::AddFrame), false);
  for (bool sameSize : {true, false}) {
    Click(same, sameSize);
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << "mode " << row.mode << " same size " << sameSize);
      Choose(type, row.mode);
      EXPECT_EQ(resize_->Fields().resizeOption, row.mode);
      auto enabled = [&](int id) { return Control(resize_, id)->IsEnabled(); };
      EXPECT_EQ(enabled(R::Width), row.width);
      EXPECT_EQ(enabled(R::WidthSpin), row.width);
      EXPECT_EQ(enabled(R::Height), row.height);
      EXPECT_EQ(enabled(R::HeightSpin), row.height);
      EXPECT_EQ(enabled(R::PortraitWidth), row.width && !sameSize);
      EXPECT_EQ(enabled(R::PortraitWidthSpin), row.width && !sameSize);
      EXPECT_EQ(enabled(R::PortraitHeight), row.height && !sameSize);
      EXPECT_EQ(enabled(R::PortraitHeightSpin), row.height && !sameSize);
      EXPECT_EQ(enabled(R::CropLeft), row.crop);
      EXPECT_EQ(enabled(R::CropLeftSpin), row.crop);
      EXPECT_EQ(enabled(R::CropTop), row.crop);
      EXPECT_EQ(enabled(R::CropTopSpin), row.crop);
      EXPECT_EQ(enabled(R::Ratio), row.ratio);
      EXPECT_EQ(enabled(R::RatioSpin), row.ratio);
      // Without a frame only padding needs the colour.
      EXPECT_EQ(enabled(R::PaddingColour), row.mode == FixedPad);
      EXPECT_EQ(Control(resize_, R::WidthLabel)->GetLabel(),
                sameSize ? "Width" : "Width for landscape picture");
      EXPECT_EQ(Control(resize_, R::HeightLabel)->GetLabel(),
                sameSize ? "Height" : "Height for landscape picture");
    }
  }
  // "Add frame" enables both thicknesses and the colour in any mode.
  Choose(type, NoResize);
  for (bool frame : {true, false}) {
    Click(Control<wxCheckBox>(resize_, R::AddFrame), frame);
    EXPECT_EQ(Control(resize_, R::FrameHorz)->IsEnabled(), frame);
    EXPECT_EQ(Control(resize_, R::FrameVert)->IsEnabled(), frame);
    EXPECT_EQ(Control(resize_, R::PaddingColour)->IsEnabled(), frame);
  }
}

TEST_F(ResizeOptionPageTest, BitDepthsFollowTheFileType) {
  OpenPages();
  auto* type = Control<wxChoice>(resize_, R::FileType);
  auto* depth = Control<wxChoice>(resize_, R::BitDepth);
  const std::vector<wxString> five = {"1-bit", "8-bit Palletised", "16-bit High Color",
                                      "24-bit True Color", "32-bit True Color"};
  const std::vector<wxString> four = {"1-bit", "8-bit Palletised", "24-bit True Color",
                                      "32-bit True Color"};
  struct Case {
    const char* type;
    std::vector<wxString> entries;
  };
  const std::vector<wxString> wide = {"24-bit True Color", "32-bit True Color"};
  const Case cases[] = {{"jpg", {"8-bit Gray Scale", "24-bit True Color"}},
                        {"GIF", {"8-bit Palletised"}},
                        {"bmp", five},
                        {"TIF", four},
                        {"png", four},
                        {"TGA", {"16-bit High Color", "24-bit True Color", "32-bit True Color"}},
                        // The types beyond the first six, at the depths this build writes them.
                        {"webp", wide},
                        {"avif", wide},
                        {"jxl", {"8-bit Gray Scale", "24-bit True Color", "32-bit True Color"}},
                        {"jp2", wide},
                        {"pbm", {"1-bit"}},
                        {"pgm", {"8-bit Gray Scale"}},
                        {"ppm", {"24-bit True Color"}},
                        {"xpm", {"8-bit Palletised", "24-bit True Color"}}};
  for (const Case& c : cases) {
    Choose(type, c.type);
    EXPECT_EQ(Entries(depth), c.entries) << c.type;
  }
  // bmp 16-bit -> jpg offers no 16 bits and falls back to 24; back on bmp 24 stays.
  Choose(type, "bmp");
  Choose(depth, "16-bit High Color");
  EXPECT_EQ(resize_->Fields().bpp, 16);
  Choose(type, "jpg");
  EXPECT_EQ(depth->GetStringSelection(), "24-bit True Color");
  EXPECT_EQ(resize_->Fields().bpp, 24);
  Choose(type, "bmp");
  EXPECT_EQ(depth->GetStringSelection(), "24-bit True Color");
  // gif has no 24-bit entry: its one entry is taken.
  Choose(depth, "32-bit True Color");
  Choose(type, "gif");
  EXPECT_EQ(depth->GetStringSelection(), "8-bit Palletised");
  EXPECT_EQ(resize_->Fields().bpp, 8);
  // The quality box is for the types whose encoder takes it, progressive for jpg and
  // dithering for gif, in either case.
  for (const char* t :
       {"jpg", "JPG", "webp", "avif", "jxl", "png", "GIF", "gif", "tga", "pgm", "jp2"}) {
    Choose(type, t);
    const wxString lower = wxString(t).Lower();
    const bool quality = wxString(" jpg webp avif jxl ").Contains(" " + lower + " ");
    EXPECT_EQ(Control(resize_, R::JpegQuality)->IsEnabled(), quality) << t;
    EXPECT_EQ(Control(resize_, R::Progressive)->IsEnabled(), lower == "jpg") << t;
    EXPECT_EQ(Control(resize_, R::GifDither)->IsEnabled(), lower == "gif") << t;
  }
}

TEST_F(ResizeOptionPageTest, FileTypesAreEveryTypeThisBuildWritesAndTheQualitySaysSo) {
  OpenPages();
  EXPECT_EQ(Entries(Control<wxChoice>(resize_, R::FileType)),
            (std::vector<wxString>{"jpg", "gif", "bmp", "tif", "png", "tga", "webp", "avif",
                                   "jxl", "jp2", "j2k", "jng", "pbm", "pgm", "ppm",  "wbmp",
                                   "psd", "xpm", "JPG", "GIF", "BMP", "TIF", "PNG",  "TGA"}));
  // The box's label names no one type.
  wxWindow* label = nullptr;
  for (wxWindow* child : Control(resize_, R::JpegQuality)->GetParent()->GetChildren())
    if (auto* text = dynamic_cast<wxStaticText*>(child))
      if (text->GetLabel().Contains("Quality")) label = text;
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetLabel(), "Quality (1-100)");
  // A type chosen in the window is one the command line accepts with the depth chosen.
  Choose(Control<wxChoice>(resize_, R::FileType), "avif");
  Choose(Control<wxChoice>(resize_, R::BitDepth), "32-bit True Color");
  Type(Control(resize_, R::JpegQuality), "35");
  resize_->CommitToSettings();
  const ConversionSettings& s = session_->settings.conversion;
  EXPECT_EQ(s.destFileExt, "avif");
  EXPECT_EQ(s.bpp, 32);
  EXPECT_EQ(s.jpegQualityNew, 35);
}

TEST_F(ResizeOptionPageTest, GreyScaleIsDisabledUnderEightBitGreyAndKeepsItsCheck) {
  OpenPages();
  auto* grey = Control<wxCheckBox>(resize_, R::GreyScale);
  Choose(Control<wxChoice>(resize_, R::FileType), "jpg");
  Click(grey, true);
  Choose(Control<wxChoice>(resize_, R::BitDepth), "8-bit Gray Scale");
  EXPECT_FALSE(grey->IsEnabled());
  EXPECT_TRUE(grey->GetValue());
  Choose(Control<wxChoice>(resize_, R::BitDepth), "24-bit True Color");
  EXPECT_TRUE(grey->IsEnabled());
  EXPECT_TRUE(grey->GetValue());
  resize_->CommitToSettings();
  EXPECT_TRUE(session_->settings.conversion.greyScale);
}

TEST_F(ResizeOptionPageTest, StoredValuesShowInThePageUnits) {
  ConversionSettings& s = session_->settings.conversion;
  s.rotateDegree = 450;  // no quarter turn of 0..270
  s.resizeOption = 12;   // no mode: no size field in use
  s.ratio = 0.29;
  s.cropLeftRatio = 0.58;
  s.jpegQualityNew = 75;
  s.destFileExt = "tga";
  s.bpp = 16;
  s.filter = 7;  // no filter: the engine takes the box
  OpenPages();
  EXPECT_EQ(Control<wxChoice>(resize_, R::Rotate)->GetStringSelection(), "0");
  EXPECT_EQ(Control<wxChoice>(resize_, R::Filter)->GetStringSelection(), "Box");
  EXPECT_EQ(Control<wxChoice>(resize_, R::ConversionType)->GetSelection(), wxNOT_FOUND);
  for (int id : {R::Width, R::Height, R::Ratio, R::CropLeft, R::PortraitWidth})
    EXPECT_FALSE(Control(resize_, id)->IsEnabled()) << id;
  EXPECT_EQ(Control<wxTextCtrl>(resize_, R::Ratio)->GetValue(), "29");
  EXPECT_EQ(Control<wxTextCtrl>(resize_, R::CropLeft)->GetValue(), "58");
  EXPECT_EQ(Control<wxComboBox>(resize_, R::JpegQuality)->GetValue(), "75");
  EXPECT_EQ(Control<wxChoice>(resize_, R::BitDepth)->GetStringSelection(), "16-bit High Color");
  // The quality and zero padding take the leading integer of any text.
  Type(Control(resize_, R::JpegQuality), "75abc");
  Type(Control(resize_, R::ZeroPadding), "x3");
  Type(Control(resize_, R::Ratio), "12.5");
  Choose(Control<wxChoice>(resize_, R::Rotate), "270");
  ASSERT_TRUE(resize_->CommitToSettings());
  EXPECT_EQ(s.jpegQualityNew, 75);
  EXPECT_EQ(s.zeroPadding, 0);
  EXPECT_DOUBLE_EQ(s.ratio, 0.125);
  EXPECT_EQ(s.rotateDegree, 270);
  EXPECT_EQ(s.resizeOption, -1);
}

// Replacing and skipping an existing destination exclude each other on the page and in
// the settings it commits; a store that holds both shows skipping, as a run would do.
TEST_F(ResizeOptionPageTest, OverrideAndSkipExistingExcludeEachOther) {
  ConversionSettings& s = session_->settings.conversion;
  s.override = true;
  s.skipExisting = true;
  OpenPages();
  auto* override = Control<wxCheckBox>(resize_, R::Override);
  auto* skip = Control<wxCheckBox>(resize_, R::SkipExisting);
  EXPECT_EQ(skip->GetLabel(), "Skip existing files");
  EXPECT_FALSE(override->GetValue());
  EXPECT_TRUE(skip->GetValue());
  const struct {
    wxCheckBox* box;
    bool tick, override, skip;
  } steps[] = {
      {override, true, true, false}, {skip, true, false, true},       {skip, false, false, false},
      {override, true, true, false}, {override, false, false, false},
  };
  for (const auto& step : steps) {
    Click(step.box, step.tick);
    EXPECT_EQ(override->GetValue(), step.override);
    EXPECT_EQ(skip->GetValue(), step.skip);
    ASSERT_TRUE(resize_->CommitToSettings());
    EXPECT_EQ(s.override, step.override);
    EXPECT_EQ(s.skipExisting, step.skip);
  }
}

TEST_F(ResizeOptionPageTest, AFieldWithoutANumberKeepsThePageAndGetsTheFocus) {
  OpenPages();
  ConfigurationBar* bar = frame_->Bar();
  ASSERT_TRUE(bar->SwitchTo(1));
  struct Case {
    int id;
    const char* text;
    const char* message;
  };
  // The message names the field by the label beside it (which follows the same-size box).
  const Case cases[] = {
      {R::Width, "12x", "Please enter a whole number in \"Width\"."},
      {R::PortraitHeight, "", "Please enter a whole number in \"Height for portrait picture\"."},
      {R::CropTop, "half", "Please enter a number in \"Vertical Crop Top (%)\"."},
      {R::Ratio, "nan", "Please enter a number in \"Ratio (%)\"."},
      {R::FrameVert, "4.5", "Please enter a whole number in \"Vertical frame thickness\"."}};
  Click(Control<wxCheckBox>(resize_, R::SameSize), true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    auto* field = Control<wxTextCtrl>(resize_, c.id);
    const wxString before = field->GetValue();
    field->SetValue(c.text);
    std::vector<std::string> texts;
    wxTEST_DIALOG(EXPECT_FALSE(bar->SwitchTo(2)), AnswerMessage(texts));
    EXPECT_EQ(texts, std::vector<std::string>{c.message});
    EXPECT_EQ(bar->CurrentPage(), 1);
    EXPECT_EQ(wxWindow::FindFocus(), field);
    field->SetValue(before);
  }
  EXPECT_TRUE(bar->SwitchTo(2));
}

TEST_F(ResizeOptionPageTest, TheFolderButtonFillsTheDestination) {
  OpenPages();
  wxString asked;
  resize_->browseFolder = [&](const wxString& start) {
    asked = start;
    return wxString("/tmp/chosen");
  };
  Type(Control(resize_, R::Destination), "/tmp/start");
  wxCommandEvent click(wxEVT_BUTTON, R::BrowseDestination);
  Control(resize_, R::BrowseDestination)->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(asked, "/tmp/start");
  EXPECT_EQ(Control<wxTextCtrl>(resize_, R::Destination)->GetValue(), "/tmp/chosen");
  // A cancelled choice leaves the field alone.
  resize_->browseFolder = [](const wxString&) { return wxString(); };
  Control(resize_, R::BrowseDestination)->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(Control<wxTextCtrl>(resize_, R::Destination)->GetValue(), "/tmp/chosen");
}

TEST_F(ResizeOptionPageTest, TheSpinButtonsStepWithinTheirRanges) {
  OpenPages();
  auto* crop = Control<wxTextCtrl>(resize_, R::CropLeft);
  Type(crop, "99");
  for (int i = 0; i < 3; ++i) {
    wxSpinEvent up(wxEVT_SPIN_UP, R::CropLeftSpin);
    Control(resize_, R::CropLeftSpin)->GetEventHandler()->ProcessEvent(up);
  }
  EXPECT_EQ(crop->GetValue(), "100");
  auto* width = Control<wxTextCtrl>(resize_, R::Width);
  Type(width, "2");
  for (int i = 0; i < 3; ++i) {
    wxSpinEvent down(wxEVT_SPIN_DOWN, R::WidthSpin);
    Control(resize_, R::WidthSpin)->GetEventHandler()->ProcessEvent(down);
  }
  EXPECT_EQ(width->GetValue(), "1");
}

}  // namespace
