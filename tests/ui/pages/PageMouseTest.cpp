// The resize option page under the mouse, as the X server delivers it: a wheel turn over a
// drop-down or a spin button that does not have the focus scrolls the page and changes
// nothing; with the focus it still changes the value; both halves of a spin button step the
// field, "-" included.
#include <wx/scrolwin.h>

#include "OptionPageTestSupport.h"
#include "XUser.h"

namespace {

using R = ResizeOptionPage;

class PageMouseTest : public OptionPageTest {
 protected:
  void OpenResizePage() {
    ASSERT_TRUE(user_.Ready()) << "XTest is needed to drive the window";
    OpenPages();
    ASSERT_TRUE(frame_->Bar()->SwitchTo(1));
    PumpEvents(200);
    for (wxWindow* w = Control(resize_, R::Rotate); w; w = w->GetParent())
      if ((body_ = dynamic_cast<wxScrolledWindow*>(w))) break;
    ASSERT_TRUE(body_);
  }
  // Scrolls the page so that the control is inside it, and points at the control's middle.
  void PointAt(wxWindow* control) {
    body_->Scroll(0, 0);
    PumpEvents(50);
    const int below = control->GetScreenRect().GetBottom() - body_->GetScreenRect().GetBottom();
    if (below > 0) body_->Scroll(0, (below + 30) / 12);
    PumpEvents(100);
    const wxRect r = control->GetScreenRect();
    user_.MoveTo(r.x + r.width / 2, r.y + r.height / 2);
    PumpEvents(100);
  }
  int ViewTop() const {
    int x = 0, y = 0;
    body_->GetViewStart(&x, &y);
    return y;
  }
  // What the user reads in every control a wheel could change.
  std::vector<std::string> Values() {
    std::vector<std::string> values;
    for (int id : {R::ConversionType, R::Rotate, R::FileType, R::BitDepth})
      values.push_back(Control<wxChoice>(resize_, id)->GetStringSelection().utf8_string());
    values.push_back(Control<wxComboBox>(resize_, R::JpegQuality)->GetValue().utf8_string());
    for (int id : {R::Width, R::Height, R::CropLeft, R::CropTop})
      values.push_back(Control<wxTextCtrl>(resize_, id)->GetValue().utf8_string());
    return values;
  }

  XUser user_;
  wxScrolledWindow* body_ = nullptr;
};

TEST_F(PageMouseTest, TheWheelOverAnUnfocusedControlScrollsThePageAndChangesNothing) {
  OpenResizePage();
  auto* destination = Control<wxTextCtrl>(resize_, R::Destination);
  const std::vector<std::string> before = Values();
  ASSERT_EQ(before[1], "0");  // no rotation
  for (int id : {R::Rotate, R::ConversionType, R::FileType, R::BitDepth, R::JpegQuality,
                 R::WidthSpin, R::HeightSpin, R::CropLeftSpin, R::CropTopSpin}) {
    SCOPED_TRACE(testing::Message() << "control " << id);
    destination->SetFocus();
    PointAt(Control(resize_, id));
    const int top = ViewTop();
    user_.Wheel(2);
    PumpEvents(300);
    EXPECT_EQ(Values(), before);
    // At the top of the page a turn towards the user scrolls it down.
    if (top == 0) {
      EXPECT_GT(ViewTop(), 0);
    }
  }
  // With the focus the control still takes the wheel.
  auto* rotate = Control<wxChoice>(resize_, R::Rotate);
  rotate->SetFocus();
  PointAt(rotate);
  user_.Wheel(1);
  EXPECT_TRUE(WaitFor([&] { return rotate->GetStringSelection() != "0"; }));
  Control(resize_, R::Width)->SetFocus();
  PointAt(Control(resize_, R::WidthSpin));
  const std::string width = Values()[5];
  user_.Wheel(-1);
  EXPECT_TRUE(WaitFor([&] { return Values()[5] != width; }));
}

TEST_F(PageMouseTest, BothHalvesOfASpinButtonStepTheField) {
  OpenResizePage();
  auto* width = Control<wxTextCtrl>(resize_, R::Width);
  auto* spin = Control<wxSpinButton>(resize_, R::WidthSpin);
  auto clickHalf = [&](bool lower) {
    PointAt(spin);
    const wxRect r = spin->GetScreenRect();
    // GTK lays the halves side by side: "-" on the left, "+" on the right.
    user_.MoveTo(r.x + r.width * (lower ? 1 : 3) / 4, r.y + r.height / 2);
    user_.Click();
    PumpEvents(200);
  };
  // What the page shows and what the user typed are both stepped down and up.
  struct Case {
    const char* shown;
    bool lower;
    const char* after;
  };
  const Case cases[] = {{"150", true, "149"},      {"149", false, "150"},   {"40", true, "39"},
                        {"2", true, "1"},          {"1", true, "1"},        {"1", false, "2"},
                        {"32767", false, "32767"}, {"32767", true, "32766"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shown << (c.lower ? " -" : " +"));
    PointAt(spin);
    width->SetFocus();
    width->SelectAll();
    user_.Type(c.shown);  // typed, with the field's change events
    ASSERT_TRUE(WaitFor([&] { return width->GetValue() == c.shown; }));
    clickHalf(c.lower);
    EXPECT_TRUE(WaitFor([&] { return width->GetValue() == c.after; }));
    EXPECT_EQ(spin->GetValue(), wxAtoi(c.after));
  }
  // The page's own writes keep the button in step too.
  resize_->ExchangeData(false);
  EXPECT_EQ(spin->GetValue(), wxAtoi(width->GetValue()));
}

}  // namespace
