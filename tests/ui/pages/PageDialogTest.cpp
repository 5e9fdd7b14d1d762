// The page base: tooltips by control id, Enter that neither closes nor commits, the data
// exchange on creation.
#include <wx/uiaction.h>

#include "FrameFixture.h"
#include "UiTestSupport.h"
#include "ui/pages/PageDialog.h"
#include "ui/toolkit/WxText.h"

namespace {

// A page with controls numbered as the option pages number theirs.
class ControlsPage : public PageDialog {
 public:
  explicit ControlsPage(wxWindow* parent) : PageDialog(parent, 140) {}
  bool ExchangeData(bool toFields) override {
    (toFields ? commits : fills)++;
    return true;
  }
  int fills = 0, commits = 0;
  wxTextCtrl* ratio = nullptr;

 protected:
  bool CreateControls() override {
    ratio = new wxTextCtrl(this, 1016, "50", wxPoint(10, 10));
    new wxCheckBox(this, 1027, "Override existing files", wxPoint(10, 40));
    new wxTextCtrl(this, 1043, "", wxPoint(10, 70));
    new wxCheckBox(this, 1060, "Create Shadow", wxPoint(10, 100));
    new wxTextCtrl(this, 1017, "", wxPoint(10, 130));  // no text with its number
    new wxStaticText(this, wxID_ANY, "Width for landscape picture", wxPoint(10, 160));
    // A control inside a group panel still gets its tip.
    auto* group = new wxPanel(this, wxID_ANY, wxPoint(200, 10), wxSize(100, 100));
    new wxTextCtrl(group, 1043, "", wxPoint(5, 5));
    return true;
  }
};

TEST(PageDialog, ControlsWhoseIdNamesATextShowItAsTheirTip) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "pages");
  auto* page = new ControlsPage(frame);
  ASSERT_TRUE(page->Initialise());
  const std::pair<int, const char*> tips[] = {
      {1016, "Conversion by a specified ratio."},
      {1027, "Override existing files"},
      {1043, "Version of this"},
      {1060, "Enable Shadow Effect"},
      {1017, ""},
  };
  for (const auto& [id, tip] : tips) {
    wxWindow* control = page->FindWindow(id);
    ASSERT_NE(control, nullptr) << id;
    EXPECT_EQ(Utf8(control->GetToolTipText()), tip) << id;
  }
  int withTips = 0;
  std::function<void(wxWindow*)> count = [&](wxWindow* w) {
    for (wxWindow* child : w->GetChildren()) {
      if (!child->GetToolTipText().empty()) ++withTips;
      count(child);
    }
  };
  count(page);
  EXPECT_EQ(withTips, 5);  // the four numbered controls and the one in the group
  EXPECT_EQ(page->fills, 1);
  EXPECT_EQ(page->commits, 0);
  frame->Destroy();
  PumpEvents(20);
}

using PageEnterTest = FrameTest;

TEST_F(PageEnterTest, EnterInAFieldNeitherClosesNorCommitsThePage) {
  ControlsPage* page = nullptr;
  std::vector<ConfigurationBar::PageFactory> pages = ConfigurationBar::DefaultPages();
  pages[0] = [&page](wxWindow* parent) { return page = new ControlsPage(parent); };
  OpenFrame(pages);
  int okCommands = 0;
  frame_->Bind(
      wxEVT_BUTTON, [&](wxCommandEvent&) { ++okCommands; }, wxID_OK);
  frame_->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { ++okCommands; }, wxID_OK);

  page->ratio->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == page->ratio; }));
  wxUIActionSimulator keys;
  keys.Char(WXK_RETURN);
  // A key typed after Enter lands in the same field: Enter has been handled by then.
  keys.Char('7');
  EXPECT_TRUE(
      WaitFor([&] { return Utf8(page->ratio->GetValue()).find('7') != std::string::npos; }));
  PumpEvents(50);
  EXPECT_TRUE(page->IsShown());
  EXPECT_EQ(TheMainFrame(), frame_);
  EXPECT_EQ(frame_->Bar()->CurrentPage(), 0);
  EXPECT_EQ(page->commits, 0);
  EXPECT_EQ(okCommands, 0);
  EXPECT_EQ(wxWindow::FindFocus(), page->ratio);

  // The OK command itself, as a dialog would raise it, stops at the page.
  wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
  ok.SetEventObject(page->ratio);
  page->ratio->GetEventHandler()->ProcessEvent(ok);
  EXPECT_EQ(okCommands, 0);
  EXPECT_TRUE(page->IsShown());
}

}  // namespace
