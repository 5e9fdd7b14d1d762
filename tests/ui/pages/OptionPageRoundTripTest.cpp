// The pages' values through the whole road: typed into the pages, committed when the
// window closes, saved to the store file, loaded by a second start and shown again; and
// the window's settings equal what the command line makes of the same options.
#include "OptionPageTestSupport.h"
#include "cmdline/CommandLineParser.h"

namespace {

using R = ResizeOptionPage;
using S = ShadowOverlayPage;

class OptionPageRoundTrip : public OptionPageTest {
 protected:
  // Closes the window, saves, and starts again over the same store file.
  void Restart() {
    CloseFrame();
    session_->Save();
    session_ = std::make_unique<AppSession>(storePath_);
    session_->Load();
    OpenPages();
  }
  wxString Text(wxWindow* page, int id) { return Control<wxTextCtrl>(page, id)->GetValue(); }
};

TEST_F(OptionPageRoundTrip, EveryFieldSurvivesASecondStart) {
  OpenPages();
  Type(Control(resize_, R::Destination), "/data/out put");
  Choose(Control<wxChoice>(resize_, R::ConversionType), ByRatio);
  Click(Control<wxCheckBox>(resize_, R::SameSize), false);
  Type(Control(resize_, R::Width), "640");
  Type(Control(resize_, R::Height), "480");
  Type(Control(resize_, R::PortraitWidth), "300");
  Type(Control(resize_, R::PortraitHeight), "400");
  Type(Control(resize_, R::CropLeft), "29");
  Type(Control(resize_, R::CropTop), "58");
  Type(Control(resize_, R::Ratio), "57");
  Choose(Control<wxChoice>(resize_, R::Rotate), "180");
  Choose(Control<wxChoice>(resize_, R::Filter), "Lanczos");
  Click(Control<wxCheckBox>(resize_, R::Progressive), true);
  Click(Control<wxCheckBox>(resize_, R::GifDither), true);
  Choose(Control<wxChoice>(resize_, R::FileType), "PNG");
  Choose(Control<wxChoice>(resize_, R::BitDepth), "32-bit True Color");
  Type(Control(resize_, R::JpegQuality), "90 - Better");
  Type(Control(resize_, R::Prefix), "pre_");
  Type(Control(resize_, R::Suffix), "_suf");
  Type(Control(resize_, R::ZeroPadding), "4");
  Click(Control<wxCheckBox>(resize_, R::Override), true);
  Click(Control<wxCheckBox>(resize_, R::KeepStructure), true);
  Click(Control<wxCheckBox>(resize_, R::AddFrame), true);
  Type(Control(resize_, R::FrameHorz), "11");
  Type(Control(resize_, R::FrameVert), "13");
  Click(Control<wxCheckBox>(resize_, R::GreyScale), true);
  Click(Control<wxCheckBox>(shadow_, S::CreateShadow), true);
  Type(Control(shadow_, S::Opaque), "29");
  Type(Control(shadow_, S::Distance), "9");
  Type(Control(shadow_, S::Angle), "200");
  Type(Control(shadow_, S::Blur), "3");
  Click(Control<wxCheckBox>(shadow_, S::Overlay), true);
  Type(Control(shadow_, S::OverlayFile), "/marks/logo.png");
  Type(Control(shadow_, S::HAlign), "58");
  Type(Control(shadow_, S::VAlign), "29");
  Type(Control(shadow_, S::Transparency), "57");
  Type(Control(shadow_, S::TransparentColour), "ff00ff");
  dynamic_cast<CColourPicker*>(Control(resize_, R::PaddingColour))->SetColour(0x123456);
  dynamic_cast<CColourPicker*>(Control(shadow_, S::ShadowColour))->SetColour(0x00FF00);
  dynamic_cast<CColourPicker*>(Control(shadow_, S::BackColour))->SetColour(0x0000FF);

  for (int start = 0; start < 3; ++start) {
    SCOPED_TRACE(start);
    Restart();
    EXPECT_EQ(Text(resize_, R::Destination), "/data/out put");
    EXPECT_EQ(Control<wxChoice>(resize_, R::ConversionType)->GetSelection(), ByRatio);
    EXPECT_FALSE(Control<wxCheckBox>(resize_, R::SameSize)->GetValue());
    EXPECT_EQ(Text(resize_, R::Width), "640");
    EXPECT_EQ(Text(resize_, R::Height), "480");
    EXPECT_EQ(Text(resize_, R::PortraitWidth), "300");
    EXPECT_EQ(Text(resize_, R::PortraitHeight), "400");
    EXPECT_EQ(Text(resize_, R::CropLeft), "29");
    EXPECT_EQ(Text(resize_, R::CropTop), "58");
    EXPECT_EQ(Text(resize_, R::Ratio), "57");
    EXPECT_EQ(Control<wxChoice>(resize_, R::Rotate)->GetStringSelection(), "180");
    EXPECT_EQ(Control<wxChoice>(resize_, R::Filter)->GetStringSelection(), "Lanczos");
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::Progressive)->GetValue());
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::GifDither)->GetValue());
    EXPECT_EQ(Control<wxChoice>(resize_, R::FileType)->GetStringSelection(), "PNG");
    EXPECT_EQ(Control<wxChoice>(resize_, R::BitDepth)->GetStringSelection(), "32-bit True Color");
    EXPECT_EQ(Control<wxComboBox>(resize_, R::JpegQuality)->GetValue(), "90");
    EXPECT_EQ(Text(resize_, R::Prefix), "pre_");
    EXPECT_EQ(Text(resize_, R::Suffix), "_suf");
    EXPECT_EQ(Text(resize_, R::ZeroPadding), "4");
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::Override)->GetValue());
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::KeepStructure)->GetValue());
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::AddFrame)->GetValue());
    EXPECT_EQ(Text(resize_, R::FrameHorz), "11");
    EXPECT_EQ(Text(resize_, R::FrameVert), "13");
    EXPECT_TRUE(Control<wxCheckBox>(resize_, R::GreyScale)->GetValue());
    EXPECT_EQ(dynamic_cast<CColourPicker*>(Control(resize_, R::PaddingColour))->GetColour(),
              0x123456u);
    EXPECT_TRUE(Control<wxCheckBox>(shadow_, S::CreateShadow)->GetValue());
    EXPECT_EQ(Text(shadow_, S::Opaque), "29");
    EXPECT_EQ(Text(shadow_, S::Distance), "9");
    EXPECT_EQ(Text(shadow_, S::Angle), "200");
    EXPECT_EQ(Text(shadow_, S::Blur), "3");
    EXPECT_TRUE(Control<wxCheckBox>(shadow_, S::Overlay)->GetValue());
    EXPECT_EQ(Text(shadow_, S::OverlayFile), "/marks/logo.png");
    EXPECT_EQ(Text(shadow_, S::HAlign), "58");
    EXPECT_EQ(Text(shadow_, S::VAlign), "29");
    EXPECT_EQ(Text(shadow_, S::Transparency), "57");
    EXPECT_EQ(Text(shadow_, S::TransparentColour), "FF00FF");
    EXPECT_EQ(dynamic_cast<CColourPicker*>(Control(shadow_, S::ShadowColour))->GetColour(),
              0x00FF00u);
    EXPECT_EQ(dynamic_cast<CColourPicker*>(Control(shadow_, S::BackColour))->GetColour(),
              0x0000FFu);
  }
}

using OptionPageCommandLine = OptionPageTest;

TEST_F(OptionPageCommandLine, TheWindowsSettingsEqualTheCommandLines) {
  struct Case {
    std::function<void(OptionPageCommandLine&)> typeIn;
    const char* options;
  };
  const Case cases[] = {
      {[](OptionPageCommandLine& t) {
         t.Choose(t.Control<wxChoice>(t.resize_, R::ConversionType), MaxSize);
         t.Type(t.Control(t.resize_, R::Width), "800");
         t.Type(t.Control(t.resize_, R::Height), "600");
       },
       "/mode:m /width:800 /height:600"},
      {[](OptionPageCommandLine& t) {
         t.Choose(t.Control<wxChoice>(t.resize_, R::ConversionType), ByRatio);
         t.Type(t.Control(t.resize_, R::Ratio), "35");
         t.Choose(t.Control<wxChoice>(t.resize_, R::Rotate), "90");
       },
       "/mode:r /ratio:35 /rotate:90"},
      {[](OptionPageCommandLine& t) {
         t.Choose(t.Control<wxChoice>(t.resize_, R::FileType), "png");
         t.Choose(t.Control<wxChoice>(t.resize_, R::BitDepth), "8-bit Palletised");
         t.Type(t.Control(t.resize_, R::Prefix), "p");
         t.Type(t.Control(t.resize_, R::JpegQuality), "90");
       },
       "/ext:png /bpp:8 /prefix:p /jpegquality:better"},
      {[](OptionPageCommandLine& t) {
         t.Click(t.Control<wxCheckBox>(t.shadow_, S::CreateShadow), true);
         t.Type(t.Control(t.shadow_, S::Opaque), "40");
         t.Type(t.Control(t.shadow_, S::Blur), "5");
       },
       "/createshadow:1 /shadowopaque:40 /shadowblur:5"},
      {[](OptionPageCommandLine& t) {
         t.Choose(t.Control<wxChoice>(t.resize_, R::Filter), "Lanczos");
         t.Click(t.Control<wxCheckBox>(t.resize_, R::Progressive), true);
         t.Choose(t.Control<wxChoice>(t.resize_, R::FileType), "gif");
         t.Click(t.Control<wxCheckBox>(t.resize_, R::GifDither), true);
       },
       "/filter:lanczos /progressive /ext:gif /bpp:8 /gifdither"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    session_->settings.conversion.Reset();
    OpenPages();
    Type(Control(resize_, R::Destination), "/out");
    c.typeIn(*this);
    CloseFrame();
    ConversionSettings fromLine;
    std::string message;
    ASSERT_GE(ParseCommandLine(std::string(c.options) + " /dest:/out", fromLine, message), 0)
        << message;
    const ConversionSettings& fromWindow = session_->settings.conversion;
    EXPECT_EQ(fromWindow.resizeOption, fromLine.resizeOption);
    EXPECT_EQ(fromWindow.width, fromLine.width);
    EXPECT_EQ(fromWindow.height, fromLine.height);
    EXPECT_DOUBLE_EQ(fromWindow.ratio, fromLine.ratio);
    EXPECT_EQ(fromWindow.rotateDegree, fromLine.rotateDegree);
    EXPECT_EQ(fromWindow.destFileExt, fromLine.destFileExt);
    EXPECT_EQ(fromWindow.bpp, fromLine.bpp);
    EXPECT_EQ(fromWindow.prefix, fromLine.prefix);
    EXPECT_EQ(fromWindow.jpegQualityNew, fromLine.jpegQualityNew);
    EXPECT_EQ(fromWindow.createShadow, fromLine.createShadow);
    EXPECT_DOUBLE_EQ(fromWindow.shadowOpaque, fromLine.shadowOpaque);
    EXPECT_EQ(fromWindow.shadowBlur, fromLine.shadowBlur);
    EXPECT_EQ(fromWindow.destFolder, fromLine.destFolder);
    EXPECT_DOUBLE_EQ(fromWindow.cropLeftRatio, fromLine.cropLeftRatio);
    EXPECT_EQ(fromWindow.greyScale, fromLine.greyScale);
    EXPECT_EQ(fromWindow.filter, fromLine.filter);
    EXPECT_EQ(fromWindow.progressive, fromLine.progressive);
    EXPECT_EQ(fromWindow.gifDither, fromLine.gifDither);
  }
}

}  // namespace
