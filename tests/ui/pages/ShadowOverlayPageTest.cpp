// The shadow and overlay page in a shown window: its enabling rules, the transparent
// colour as hexadecimal text, percentages, the file button and refused fields.
#include <wx/testing.h>

#include "OptionPageTestSupport.h"

namespace {

using S = ShadowOverlayPage;
using ShadowOverlayPageTest = OptionPageTest;

TEST_F(ShadowOverlayPageTest, TheTwoBoxesEnableTheirGroups) {
  OpenPages();
  const int shadowControls[] = {S::Opaque, S::Distance,     S::Angle,
                                S::Blur,   S::ShadowColour, S::BackColour};
  const int overlayControls[] = {S::OverlayFile, S::BrowseOverlay, S::HAlign,
                                 S::VAlign,      S::Transparency,  S::TransparentColour};
  for (bool shadow : {false, true}) {
    for (bool overlay : {false, true}) {
      SCOPED_TRACE(testing::Message() << "shadow " << shadow << " overlay " << overlay);
      Click(Control<wxCheckBox>(shadow_, S::CreateShadow), shadow);
      Click(Control<wxCheckBox>(shadow_, S::Overlay), overlay);
      for (int id : shadowControls) EXPECT_EQ(Control(shadow_, id)->IsEnabled(), shadow) << id;
      for (int id : overlayControls) EXPECT_EQ(Control(shadow_, id)->IsEnabled(), overlay) << id;
      EXPECT_TRUE(Control(shadow_, S::CreateShadow)->IsEnabled());
      EXPECT_TRUE(Control(shadow_, S::Overlay)->IsEnabled());
    }
  }
}

TEST_F(ShadowOverlayPageTest, TransparentColourIsHexadecimalText) {
  session_->settings.conversion.overlayTransparentClr = 0x00A0B0C0;
  OpenPages();
  auto* field = Control<wxTextCtrl>(shadow_, S::TransparentColour);
  EXPECT_EQ(field->GetValue(), "A0B0C0");
  struct Case {
    const char* typed;
    std::uint32_t stored;
    const char* shown;
  };
  const Case cases[] = {{"ff00ff", 0xFF00FF, "FF00FF"},
                        {"12G4", 0x12, "12"},
                        {"", 0, "0"},
                        {"000000ff", 0xFF, "FF"},
                        {"FF102030", 0xFF102030, "FF102030"},
                        {"zz", 0, "0"}};
  for (const Case& c : cases) {
    field->SetValue(c.typed);
    ASSERT_TRUE(shadow_->CommitToSettings()) << c.typed;
    EXPECT_EQ(session_->settings.conversion.overlayTransparentClr, c.stored) << c.typed;
    EXPECT_EQ(HexText(c.stored), c.shown) << c.typed;
  }
  // The field holds no more than eight characters, however the text is put in.
  field->ChangeValue("123456789");
  EXPECT_LE(field->GetValue().length(), kMaxHexDigits);
}

TEST_F(ShadowOverlayPageTest, PercentagesShowRoundedAndCommitAsFractions) {
  ConversionSettings& s = session_->settings.conversion;
  s.shadowOpaque = 0.29;
  s.overlayHAlignRatio = 0.5;
  s.overlayVAlignRatio = 0.58;
  s.overlayTransparency = 1.0;
  OpenPages();
  EXPECT_EQ(Control<wxTextCtrl>(shadow_, S::Opaque)->GetValue(), "29");
  EXPECT_EQ(Control<wxTextCtrl>(shadow_, S::HAlign)->GetValue(), "50");
  EXPECT_EQ(Control<wxTextCtrl>(shadow_, S::VAlign)->GetValue(), "58");
  EXPECT_EQ(Control<wxTextCtrl>(shadow_, S::Transparency)->GetValue(), "100");
  Click(Control<wxCheckBox>(shadow_, S::CreateShadow), true);
  Type(Control(shadow_, S::Opaque), "35");
  Type(Control(shadow_, S::Angle), "-45");
  Type(Control(shadow_, S::Blur), "1001");  // out of range passes the page
  ASSERT_TRUE(shadow_->CommitToSettings());
  EXPECT_DOUBLE_EQ(s.shadowOpaque, 0.35);
  EXPECT_EQ(s.shadowAngle, -45);
  EXPECT_EQ(s.shadowBlur, 1001);
  EXPECT_TRUE(s.createShadow);
}

TEST_F(ShadowOverlayPageTest, ANonNumberRefusesTheSwitchAndTakesTheFocus) {
  OpenPages();
  ConfigurationBar* bar = frame_->Bar();
  ASSERT_TRUE(bar->SwitchTo(2));
  for (int id :
       {S::Opaque, S::Distance, S::Angle, S::Blur, S::HAlign, S::VAlign, S::Transparency}) {
    SCOPED_TRACE(id);
    auto* field = Control<wxTextCtrl>(shadow_, id);
    const wxString before = field->GetValue();
    field->ChangeValue("7 px");
    wxTEST_DIALOG(EXPECT_FALSE(bar->SwitchTo(1)), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(bar->CurrentPage(), 2);
    EXPECT_EQ(wxWindow::FindFocus(), field);
    field->ChangeValue(before);
  }
  EXPECT_TRUE(bar->SwitchTo(1));
}

TEST_F(ShadowOverlayPageTest, TheFileButtonStartsInTheLastFolderAndRemembersTheNewOne) {
  session_->settings.lastSelFileDir = dir_.path();
  OpenPages();
  Click(Control<wxCheckBox>(shadow_, S::Overlay), true);
  wxString asked;
  shadow_->chooseImageFile = [&](const wxString& start) {
    asked = start;
    return wxString("/srv/marks/logo.png");
  };
  wxCommandEvent click(wxEVT_BUTTON, S::BrowseOverlay);
  Control(shadow_, S::BrowseOverlay)->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(asked, wxString::FromUTF8(dir_.path()));
  EXPECT_EQ(Control<wxTextCtrl>(shadow_, S::OverlayFile)->GetValue(), "/srv/marks/logo.png");
  EXPECT_EQ(session_->settings.lastSelFileDir, "/srv/marks");
}

}  // namespace
