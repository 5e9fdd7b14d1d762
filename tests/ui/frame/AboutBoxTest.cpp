// The About box that Help > About shows: its title and texts.
#include <wx/testing.h>

#include "FrameFixture.h"
#include "ui/frame/AboutBox.h"
#include "ui/resources/ResourceIds.h"
#include "ui/toolkit/WxText.h"

namespace {

struct SeenAbout {
  int shown = 0;
  std::string title, version, rights, homePage, credits;
  bool modal = false;
};

// Answers the About box with OK, noting what it shows.
class ExpectAbout : public wxExpectModalBase<AboutBox, ExpectAbout> {
 public:
  explicit ExpectAbout(SeenAbout& seen) : seen_(&seen) {}

 protected:
  int OnInvoked(AboutBox* box) const override {
    ++seen_->shown;
    seen_->title = Utf8(box->GetTitle());
    seen_->version = Utf8(box->VersionText());
    seen_->rights = Utf8(box->RightsText());
    seen_->homePage = Utf8(box->HomePageText());
    seen_->credits = Utf8(box->CreditsText());
    return wxID_OK;
  }

 private:
  SeenAbout* seen_;
};

using AboutBoxTest = FrameTest;

TEST_F(AboutBoxTest, HelpAboutShowsTitleVersionRightsHomePageAndCredits) {
  OpenFrame();
  SeenAbout seen;
  wxTEST_DIALOG(SendCommand(frame_, Res::About), ExpectAbout(seen));
  ASSERT_EQ(seen.shown, 1);
  EXPECT_EQ(seen.title, "About Brindlemark");
  EXPECT_EQ(seen.version, "Brindlemark 2.9");
  EXPECT_NE(seen.rights.find("Orrinvale"), std::string::npos) << seen.rights;
  EXPECT_EQ(seen.homePage.rfind("https://", 0), 0u) << seen.homePage;
  const std::string credits = seen.credits;
  EXPECT_EQ(credits.rfind("This program uses following libraries:\n", 0), 0u) << credits;
  // The two libraries the program links, and no other.
  const std::size_t freeImage = credits.find("\nFreeImage");
  const std::size_t wxWidgets = credits.find("\nwxWidgets");
  EXPECT_NE(freeImage, std::string::npos) << credits;
  EXPECT_NE(wxWidgets, std::string::npos) << credits;
  EXPECT_LT(freeImage, wxWidgets);
  EXPECT_EQ(credits.find("CxImage"), std::string::npos) << credits;
  EXPECT_EQ(std::count(credits.begin(), credits.end(), '\n'), 2);
}

TEST(AboutBox, FieldsAreOneLineAndReadOnly) {
  AboutBox box(nullptr);
  int fields = 0;
  for (wxWindow* child : box.GetChildren()) {
    auto* text = dynamic_cast<wxTextCtrl*>(child);
    if (!text) continue;
    ++fields;
    EXPECT_FALSE(text->IsEditable());
    EXPECT_TRUE(text->IsSingleLine());
  }
  EXPECT_EQ(fields, 3);
  EXPECT_NE(box.FindWindow(wxID_OK), nullptr);
}

}  // namespace
