// The configuration bar: its layout, what it paints (read back from the screen), and the
// page switch with its veto.
#include <wx/testing.h>
#include <wx/uiaction.h>

#include "FrameFixture.h"
#include "UiTestSupport.h"
#include "ui/frame/TabStrip.h"

namespace {

// A page with one number field; committing fails while the field holds no number.
class NumberPage : public PageDialog {
 public:
  NumberPage(wxWindow* parent, int templateId, int& commits)
      : PageDialog(parent, templateId), commits(commits) {}
  bool ExchangeData(bool toFields) override {
    if (!toFields) return true;
    ++commits;
    long value = 0;
    if (!field->GetValue().ToLong(&value)) {
      ReportFailure(field, "Please enter a number.");
      return false;
    }
    number = value;
    return true;
  }
  wxTextCtrl* field = nullptr;
  long number = 0;
  int& commits;

 protected:
  bool CreateControls() override {
    field = new wxTextCtrl(this, 1016, "12", wxPoint(20, 20));
    new wxTextCtrl(this, 1017, "", wxPoint(20, 60));
    return true;
  }
};

class ConfigurationBarTest : public FrameTest {
 protected:
  void OpenWithNumberPage() {
    std::vector<ConfigurationBar::PageFactory> pages = ConfigurationBar::DefaultPages();
    pages[0] = [this](wxWindow* parent) { return page_ = new NumberPage(parent, 130, commits_); };
    OpenFrame(pages);
    bar_ = frame_->Bar();
  }

  // Clicks a tab while page 0 is current and waits until page 0 was asked to commit.
  void ClickTab(int index) {
    TabStrip* tabs = bar_->Tabs();
    const int before = commits_;
    wxUIActionSimulator mouse;
    mouse.MouseMove(tabs->ClientToScreen(tabs->TabRect(index).GetPosition() + wxPoint(10, 8)));
    PumpEvents(50);
    mouse.MouseClick();
    EXPECT_TRUE(WaitFor([&] { return commits_ > before; }));
    PumpEvents(50);
  }

  NumberPage* page_ = nullptr;
  ConfigurationBar* bar_ = nullptr;
  int commits_ = 0;
};

TEST_F(ConfigurationBarTest, LayoutFollowsTheClientRectangle) {
  OpenWithNumberPage();
  for (wxSize size : {wxSize(680, 535), wxSize(1000, 760)}) {
    frame_->SetSize(size);
    PumpEvents(100);
    const wxSize client = bar_->GetClientSize();
    const int w = client.x, h = client.y;
    EXPECT_EQ(bar_->BannerRect(), wxRect(0, 0, w, 60));
    EXPECT_EQ(bar_->TitleRect(), wxRect(20, 10, w - 120, 15));
    EXPECT_EQ(bar_->HintRect(), wxRect(40, 30, w - 140, 30));
    EXPECT_EQ(bar_->TabStripRect(), wxRect(0, 62, w, 25));
    EXPECT_EQ(bar_->PageRect(), wxRect(0, 89, w, h - 91));
    EXPECT_EQ(bar_->Tabs()->GetRect(), wxRect(4, 64, w - 8, 21));
    for (int i = 0; i < bar_->PageCount(); ++i)
      EXPECT_EQ(bar_->Page(i)->GetRect(), bar_->PageRect()) << i;
  }
}

TEST_F(ConfigurationBarTest, ClickOnATabShowsItsPageAndBanner) {
  if (!HaveImport()) GTEST_SKIP() << "ImageMagick's import is needed to read the screen";
  OpenWithNumberPage();
  const wxRect title = bar_->TitleRect();
  const wxRect onScreen(bar_->ClientToScreen(title.GetPosition()), title.GetSize());
  const wxImage before = CaptureScreen(onScreen, dir_ / "title0.png");
  ASSERT_TRUE(before.IsOk());

  ClickTab(2);
  EXPECT_EQ(bar_->CurrentPage(), 2);
  EXPECT_EQ(bar_->Tabs()->GetSelection(), 2);
  EXPECT_FALSE(bar_->Page(0)->IsShown());
  EXPECT_FALSE(bar_->Page(1)->IsShown());
  EXPECT_TRUE(bar_->Page(2)->IsShown());
  EXPECT_EQ(commits_, 1);
  // The banner now names the other page.
  PumpEvents(100);
  const wxImage after = CaptureScreen(onScreen, dir_ / "title2.png");
  ASSERT_TRUE(after.IsOk());
  EXPECT_FALSE(std::equal(before.GetData(),
                          before.GetData() + before.GetWidth() * before.GetHeight() * 3,
                          after.GetData()));
}

TEST_F(ConfigurationBarTest, PaintsBannerEdgesLinesAndStrip) {
  if (!HaveImport()) GTEST_SKIP() << "ImageMagick's import is needed to read the screen";
  OpenWithNumberPage();
  PumpEvents(100);
  const wxSize size = bar_->GetClientSize();
  const wxImage shot =
      CaptureScreen(wxRect(bar_->ClientToScreen(wxPoint(0, 0)), size), dir_ / "bar.png");
  ASSERT_TRUE(shot.IsOk());
  ASSERT_EQ(shot.GetSize(), size);
  auto rgb = [&](int x, int y) {
    return std::array<int, 3>{shot.GetRed(x, y), shot.GetGreen(x, y), shot.GetBlue(x, y)};
  };
  using RGB = std::array<int, 3>;
  const RGB white{255, 255, 255}, grey{128, 128, 128}, strip{212, 208, 200};
  const int r = size.x - 1, b = size.y - 1;
  EXPECT_EQ(rgb(r - 30, 45), white);  // banner inside, right of the texts
  EXPECT_EQ(rgb(r / 2, 0), grey);     // sunken edge, top
  EXPECT_EQ(rgb(0, 30), grey);        // sunken edge, left
  EXPECT_EQ(rgb(r / 2, 59), white);   // sunken edge, bottom
  EXPECT_EQ(rgb(r / 2, 60), grey);    // etched line under the banner
  EXPECT_EQ(rgb(r / 2, 61), white);
  EXPECT_EQ(rgb(2, 70), strip);  // tab strip, beside the tabs
  EXPECT_EQ(rgb(r - 1, 63), strip);
  EXPECT_EQ(rgb(r / 2, 87), grey);  // etched line under the tabs
  EXPECT_EQ(rgb(r / 2, 88), white);
  EXPECT_EQ(rgb(r / 2, b - 1), grey);  // etched line at the bottom
  EXPECT_EQ(rgb(r / 2, b), white);
  // The bold caption leaves dark pixels in the title rectangle, the hint in its own.
  auto darkPixels = [&](const wxRect& area) {
    int dark = 0;
    for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
      for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
        if (shot.GetRed(x, y) < 100 && shot.GetGreen(x, y) < 100 && shot.GetBlue(x, y) < 100)
          ++dark;
    return dark;
  };
  EXPECT_GT(darkPixels(bar_->TitleRect()), 20);
  EXPECT_GT(darkPixels(bar_->HintRect()), 40);
  EXPECT_EQ(darkPixels(wxRect(0, 1, 19, 58)), 0);  // nothing left of the title
}

TEST_F(ConfigurationBarTest, PageThatFailsToCommitKeepsItsTabAndTheFocus) {
  OpenWithNumberPage();
  page_->field->SetValue("twelve");
  wxTEST_DIALOG(ClickTab(1), wxExpectModal<wxMessageDialog>(wxID_OK).Describe("number message"));
  EXPECT_EQ(commits_, 1);
  EXPECT_EQ(bar_->CurrentPage(), 0);
  EXPECT_EQ(bar_->Tabs()->GetSelection(), 0);
  EXPECT_TRUE(bar_->Page(0)->IsShown());
  EXPECT_FALSE(bar_->Page(1)->IsShown());
  EXPECT_EQ(page_->field->GetValue(), "twelve");
  EXPECT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == page_->field; }));

  page_->field->SetValue("34");
  ClickTab(1);
  EXPECT_EQ(bar_->CurrentPage(), 1);
  EXPECT_EQ(page_->number, 34);
}

TEST_F(ConfigurationBarTest, ArrowKeysOnTheTabsSwitchPages) {
  OpenWithNumberPage();
  bar_->Tabs()->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == bar_->Tabs(); }));
  wxUIActionSimulator keys;
  keys.Char(WXK_RIGHT);
  EXPECT_TRUE(WaitFor([&] { return bar_->CurrentPage() == 1; }));
  keys.Char(WXK_RIGHT);
  EXPECT_TRUE(WaitFor([&] { return bar_->CurrentPage() == 2; }));
  keys.Char(WXK_RIGHT);  // already the last
  PumpEvents(200);
  EXPECT_EQ(bar_->CurrentPage(), 2);
  keys.Char(WXK_LEFT);
  EXPECT_TRUE(WaitFor([&] { return bar_->CurrentPage() == 1; }));
  EXPECT_TRUE(bar_->Page(1)->IsShown());
}

TEST_F(ConfigurationBarTest, CloseCommitsTheCurrentPageButAFailureDoesNotStopIt) {
  OpenWithNumberPage();
  page_->field->SetValue("x");
  wxTEST_DIALOG(CloseFrame(), wxExpectModal<wxMessageDialog>(wxID_OK));
  EXPECT_EQ(commits_, 1);
  EXPECT_EQ(TheMainFrame(), nullptr);
  EXPECT_TRUE(session_->settings.placementValid);
}

}  // namespace
