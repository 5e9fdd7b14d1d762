// The colour picker in a real window: its colour model, its size, opening the popup by
// mouse and keyboard, choosing with the arrow keys and Enter, cancelling, the colour
// dialog behind "More Colours...", and the notifications its parent receives, in order.
#include <gtest/gtest.h>
#include <wx/colordlg.h>
#include <wx/display.h>
#include <wx/testing.h>

#include <memory>

#include "ColourPickerTestFrame.h"
#include "ui/colour/ColourConversion.h"

namespace {

constexpr COLORREF Red = MakeColourRef(255, 0, 0);        // cell 16
constexpr COLORREF Black = MakeColourRef(0, 0, 0);        // cell 0
constexpr COLORREF Brown = MakeColourRef(165, 42, 0);     // cell 1
constexpr COLORREF Orange = MakeColourRef(255, 104, 32);  // cell 9
constexpr COLORREF Lime = MakeColourRef(50, 205, 50);     // cell 18
constexpr COLORREF Pink = MakeColourRef(255, 192, 203);   // cell 24
constexpr COLORREF Odd = MakeColourRef(1, 2, 3);          // in no cell

ColourNotification N(ColourMessage m, COLORREF c) { return {m, TestPickerId, c}; }

class ColourPickerTest : public testing::Test {
 protected:
  void SetUp() override { Make(new ColourPickerTestFrame); }
  void TearDown() override {
    if (frame) frame->Destroy();
    PumpEvents(30);
  }
  void Make(ColourPickerTestFrame* f) {
    frame = f;
    picker = frame->picker;
    frame->ShowOnTop();
  }
  void Remake(ColourPickerTestFrame* f) {
    frame->Destroy();
    PumpEvents(30);
    Make(f);
  }
  ColourPopup* Popup() const { return picker->GetPopup(); }
  bool PopupShown() const { return Popup() && Popup()->IsShownOnScreen(); }
  void Open() {
    picker->OpenPopup();
    ASSERT_TRUE(WaitFor([this] { return PopupShown(); }));
    frame->TakeReceived();
  }
  // The screen centre of a box of the open popup.
  wxPoint BoxCentre(int box) const {
    const wxRect r = Popup()->Layout().BoxRect(box);
    return Popup()->ClientToScreen(r.GetPosition() + wxSize(r.width / 2, r.height / 2));
  }
  void MoveTo(wxPoint at) {
    sim.MouseMove(at);
    PumpEvents(60);
  }

  ColourPickerTestFrame* frame = nullptr;
  CColourPicker* picker = nullptr;
  wxUIActionSimulator sim;
};

// A picker whose popup window cannot be made.
class PickerWithoutPopup : public CColourPicker {
 public:
  using CColourPicker::CColourPicker;

 protected:
  ColourPopup* CreatePopup(wxPoint, COLORREF) override { return nullptr; }
};

// A picker whose colour dialog answers with a set colour, or is cancelled.
class PickerWithDialogAnswer : public CColourPicker {
 public:
  using CColourPicker::CColourPicker;
  bool ChooseCustomColour(COLORREF initial, COLORREF& chosen) override {
    dialogStart = initial;
    ++dialogs;
    if (!accept) return false;
    chosen = answer;
    return true;
  }
  bool accept = true;
  COLORREF answer = Odd;
  COLORREF dialogStart = 0;
  int dialogs = 0;
};

// Checks what the real dialog is asked for, then answers it.
class ExpectColourDialog : public wxExpectModalBase<wxColourDialog, ExpectColourDialog> {
 public:
  ExpectColourDialog(int answer, wxColour* start, bool* full)
      : answer_(answer), start_(start), full_(full) {}

 protected:
  int OnInvoked(wxColourDialog* dialog) const override {
    *start_ = dialog->GetColourData().GetColour();
    *full_ = dialog->GetColourData().GetChooseFull();
    return answer_;
  }

 private:
  int answer_;
  wxColour* start_;
  bool* full_;
};

}  // namespace

TEST_F(ColourPickerTest, StartsWithTheButtonColoursAndTexts) {
  EXPECT_EQ(picker->GetBkColour(), ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  EXPECT_EQ(picker->GetTextColour(),
            ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
  EXPECT_EQ(picker->GetSelectionMode(), 2);
  EXPECT_FALSE(picker->GetTrackSelection());
  EXPECT_FALSE(picker->IsPopupActive());
  EXPECT_EQ(picker->GetDefaultText(), "Automatic");
  EXPECT_EQ(picker->GetCustomText(), "More Colours...");
}

TEST_F(ColourPickerTest, SetColourAddressesTheColourOfTheSelectionMode) {
  picker->SetColour(Red);
  EXPECT_EQ(picker->GetBkColour(), Red);
  EXPECT_EQ(picker->GetColour(), Red);
  const COLORREF text = picker->GetTextColour();
  picker->SetSelectionMode(1);
  EXPECT_EQ(picker->GetColour(), text);
  picker->SetColour(Lime);
  EXPECT_EQ(picker->GetTextColour(), Lime);
  EXPECT_EQ(picker->GetBkColour(), Red);
  picker->SetSelectionMode(0);  // any mode but 1 is the background
  EXPECT_EQ(picker->GetColour(), Red);
}

TEST_F(ColourPickerTest, ColourValuesRoundTripIncludingTheAutomaticColour) {
  for (COLORREF c :
       {DefaultColour, COLORREF{0}, Red, Odd, COLORREF{0x00FFFFFF}, COLORREF{0x00ABCDEF}}) {
    picker->SetColour(c);
    EXPECT_EQ(picker->GetColour(), c) << std::hex << c;
  }
}

TEST_F(ColourPickerTest, HeightHoldsTheArrowAndTwoEdgesWidthAtLeastTwoArrows) {
  // The toolkit reports no edge or thumb sizes here: 2-pixel edges, a 17-pixel arrow.
  EXPECT_EQ(picker->GetSize(), wxSize(120, 21));
  EXPECT_EQ(picker->GetArrowRect(), wxRect(101, 2, 17, 17));
  auto* narrow = new CColourPicker(frame->panel, wxID_ANY, "", wxPoint(20, 60), wxSize(10, 50));
  EXPECT_EQ(narrow->GetSize(), wxSize(38, 21));
}

TEST_F(ColourPickerTest, ClickOpensThePopupBelowThePickerAndAnnouncesIt) {
  picker->SetColour(Red);
  frame->TakeReceived();
  MoveTo(frame->PickerCentre());
  sim.MouseClick();
  ASSERT_TRUE(WaitFor([this] { return PopupShown(); }));
  EXPECT_TRUE(picker->IsPopupActive());
  const wxRect below = picker->GetScreenRect();
  EXPECT_EQ(Popup()->GetScreenPosition(), wxPoint(below.x, below.y + below.height));
  EXPECT_EQ(Popup()->GetSize(), Popup()->Layout().size);
  EXPECT_EQ(Popup()->ChosenIndex(), 16);
  EXPECT_EQ(Popup()->HotIndex(), NoBox);
  EXPECT_EQ(frame->TakeReceived(), (std::vector{N(ColourDropDown, Red)}));
}

TEST_F(ColourPickerTest, SpaceAndEnterOpenThePopupFromTheKeyboard) {
  for (int key : {WXK_SPACE, WXK_RETURN}) {
    sim.Char(key);
    ASSERT_TRUE(WaitFor([this] { return PopupShown(); })) << key;
    sim.Char(WXK_ESCAPE);
    ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); })) << key;
    PumpEvents(50);
  }
  const auto got = frame->TakeReceived();
  ASSERT_EQ(got.size(), 6u);
  EXPECT_EQ(got[0].message, ColourDropDown);
  EXPECT_EQ(got[3].message, ColourDropDown);
}

TEST_F(ColourPickerTest, TheOpeningColourPicksTheMarkedBox) {
  struct Case {
    COLORREF colour;
    wxString defaultText, customText;
    int chosen;
  };
  const Case cases[] = {
      {Red, "Automatic", "More Colours...", 16},
      {Black, "Automatic", "More Colours...", 0},
      {DefaultColour, "Automatic", "More Colours...", DefaultBox},
      {Odd, "Automatic", "More Colours...", CustomBox},
      {Odd, "Automatic", "", NoBox},
      {DefaultColour, "", "More Colours...", CustomBox},
      {DefaultColour, "", "", NoBox},
  };
  for (const Case& c : cases) {
    picker->SetColour(c.colour);
    picker->SetDefaultText(c.defaultText);
    picker->SetCustomText(c.customText);
    Open();
    EXPECT_EQ(Popup()->ChosenIndex(), c.chosen) << std::hex << c.colour;
    EXPECT_EQ(Popup()->Layout().hasDefault, !c.defaultText.empty());
    EXPECT_EQ(Popup()->Layout().hasCustom, !c.customText.empty());
    PressKey(picker, WXK_ESCAPE);
    ASSERT_FALSE(picker->IsPopupActive());
    EXPECT_EQ(picker->GetColour(), c.colour);
  }
}

TEST_F(ColourPickerTest, ArrowKeysAndEnterPickAColour) {
  picker->SetColour(Red);
  frame->TakeReceived();
  sim.Char(WXK_SPACE);
  ASSERT_TRUE(WaitFor([this] { return PopupShown(); }));
  std::vector<int> hot;
  for (int key : {WXK_LEFT, WXK_RIGHT, WXK_RIGHT, WXK_DOWN}) {
    sim.Char(key);
    PumpEvents(60);
    hot.push_back(Popup()->HotIndex());
  }
  EXPECT_EQ(hot, (std::vector<int>{DefaultBox, 0, 1, 9}));
  EXPECT_EQ(picker->GetColour(), Red);  // no tracking: the button waits for the end
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(picker->GetColour(), Orange);
  EXPECT_EQ(picker->GetPopup(), nullptr);
  EXPECT_EQ(
      frame->TakeReceived(),
      (std::vector{N(ColourDropDown, Red), N(ColourSelChange, DefaultColour),
                   N(ColourSelChange, Black), N(ColourSelChange, Brown), N(ColourSelChange, Orange),
                   N(ColourCloseUp, Orange), N(ColourSelEndOk, Orange)}));
}

TEST_F(ColourPickerTest, EscapeCancelsWithTheOpeningColour) {
  picker->SetColour(Red);
  Open();
  sim.Char(WXK_DOWN);  // More Colours...
  sim.Char(WXK_UP);    // cell 39
  sim.Char(WXK_ESCAPE);
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(picker->GetColour(), Red);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, Red), N(ColourSelChange, MakeColourRef(255, 255, 255)),
                         N(ColourCloseUp, Red), N(ColourSelEndCancel, Red)}));
  PumpEvents(50);
  EXPECT_TRUE(frame->IsShown());  // Escape reached the popup, not the frame
}

TEST_F(ColourPickerTest, TrackingFollowsTheHighlightAndEscapeUndoesIt) {
  picker->SetTrackSelection(true);
  picker->SetColour(Red);
  Open();
  PressKey(picker, WXK_RIGHT);  // More Colours...: the opening colour
  EXPECT_EQ(picker->GetColour(), Red);
  PressKey(picker, WXK_RIGHT);  // Automatic
  EXPECT_EQ(picker->GetColour(), DefaultColour);
  PressKey(picker, WXK_DOWN);  // cell 0
  PressKey(picker, WXK_DOWN);  // cell 8
  PressKey(picker, WXK_DOWN);  // cell 16
  PressKey(picker, WXK_DOWN);  // cell 24
  EXPECT_EQ(picker->GetColour(), Pink);
  PressKey(picker, WXK_ESCAPE);
  EXPECT_EQ(picker->GetColour(), Red);
  const auto got = frame->TakeReceived();
  ASSERT_EQ(got.size(), 8u);
  EXPECT_EQ(got[6], N(ColourCloseUp, Red));
  EXPECT_EQ(got[7], N(ColourSelEndCancel, Red));
}

TEST_F(ColourPickerTest, SpaceAcceptsAndANothingHighlightedChoiceKeepsTheColour) {
  picker->SetColour(Odd);
  Open();
  PressKey(picker, WXK_SPACE);
  EXPECT_FALSE(picker->IsPopupActive());
  EXPECT_EQ(picker->GetColour(), Odd);
  EXPECT_EQ(frame->TakeReceived(), (std::vector{N(ColourCloseUp, Odd), N(ColourSelEndOk, Odd)}));
}

TEST_F(ColourPickerTest, AutomaticIsChosenAsTheAutomaticColour) {
  picker->SetColour(Red);
  Open();
  PressKey(picker, WXK_UP);  // from nothing: Automatic
  PressKey(picker, WXK_RETURN);
  EXPECT_EQ(picker->GetColour(), DefaultColour);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, DefaultColour), N(ColourCloseUp, DefaultColour),
                         N(ColourSelEndOk, DefaultColour)}));
}

TEST_F(ColourPickerTest, MouseHighlightsCellsShowsTheirNamesAndPicksOnRelease) {
  picker->SetColour(Red);
  Open();
  MoveTo(BoxCentre(35));
  EXPECT_EQ(Popup()->HotIndex(), 35);
  EXPECT_EQ(Popup()->GetToolTipText(), "Pale green ");
  MoveTo(BoxCentre(DefaultBox));
  EXPECT_EQ(Popup()->HotIndex(), DefaultBox);
  EXPECT_EQ(Popup()->GetToolTipText(), "");
  MoveTo(BoxCentre(18));
  EXPECT_EQ(Popup()->GetToolTipText(), "Lime");
  // Left of the popup the hot cell stays as it is.
  MoveTo(Popup()->GetScreenPosition() + wxPoint(-30, 40));
  EXPECT_EQ(Popup()->HotIndex(), 18);
  MoveTo(BoxCentre(18));
  sim.MouseClick();
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(picker->GetColour(), Lime);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, MakeColourRef(152, 251, 152)),
                         N(ColourSelChange, DefaultColour), N(ColourSelChange, Lime),
                         N(ColourCloseUp, Lime), N(ColourSelEndOk, Lime)}));
}

TEST_F(ColourPickerTest, ClickOutsideThePopupCancels) {
  picker->SetColour(Red);
  Open();
  MoveTo(BoxCentre(13));
  const wxRect popupRect = Popup()->GetScreenRect();
  MoveTo(wxPoint(popupRect.GetRight() + 60, popupRect.y + 20));
  sim.MouseClick();
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(picker->GetColour(), Red);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, MakeColourRef(0, 0, 255)), N(ColourCloseUp, Red),
                         N(ColourSelEndCancel, Red)}));
}

template <class Picker>
ColourPickerTestFrame* FrameWith(Picker** made, wxPoint at = wxPoint(100, 100)) {
  return new ColourPickerTestFrame(at, [made](wxWindow* parent) {
    *made = new Picker(parent, TestPickerId, "Shadow", wxPoint(20, 20), wxSize(120, -1));
    return *made;
  });
}

TEST_F(ColourPickerTest, MoreColoursTakesTheDialogsColour) {
  PickerWithDialogAnswer* custom = nullptr;
  Remake(FrameWith(&custom));
  custom->SetColour(Red);
  Open();
  PressKey(picker, WXK_DOWN);  // More Colours...
  ASSERT_EQ(Popup()->HotIndex(), CustomBox);
  PressKey(picker, WXK_RETURN);
  EXPECT_EQ(custom->dialogs, 1);
  EXPECT_EQ(custom->dialogStart, Red);
  EXPECT_FALSE(picker->IsPopupActive());
  EXPECT_EQ(picker->GetColour(), Odd);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, Red), N(ColourCloseUp, Odd), N(ColourSelEndOk, Odd)}));
}

TEST_F(ColourPickerTest, CancellingTheDialogCancelsTheWholeChoice) {
  PickerWithDialogAnswer* custom = nullptr;
  Remake(FrameWith(&custom));
  custom->accept = false;
  custom->SetColour(Red);
  Open();
  PressKey(picker, WXK_LEFT);    // Automatic
  PressKey(picker, WXK_LEFT);    // More Colours...
  MoveTo(BoxCentre(CustomBox));  // already hot: no new highlight
  sim.MouseClick();
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(custom->dialogs, 1);
  EXPECT_EQ(picker->GetColour(), Red);
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourSelChange, DefaultColour), N(ColourSelChange, Red),
                         N(ColourCloseUp, Red), N(ColourSelEndCancel, Red)}));
}

TEST_F(ColourPickerTest, TheSystemDialogOpensFullyAtTheOpeningColour) {
  picker->SetColour(Orange);
  wxColour start;
  bool full = false;
  wxTEST_DIALOG(EXPECT_TRUE(picker->ChooseCustomColour(Orange, *std::make_unique<COLORREF>())),
                ExpectColourDialog(wxID_OK, &start, &full));
  EXPECT_EQ(ToColourRef(start), Orange);
  EXPECT_TRUE(full);
  COLORREF chosen = 7;
  wxTEST_DIALOG(EXPECT_FALSE(picker->ChooseCustomColour(Lime, chosen)),
                ExpectColourDialog(wxID_CANCEL, &start, &full));
  EXPECT_EQ(ToColourRef(start), Lime);
  EXPECT_EQ(chosen, 7u);
}

TEST_F(ColourPickerTest, APopupThatCannotBeMadeLeavesTheButtonUpAndSaysNothing) {
  PickerWithoutPopup* broken = nullptr;
  Remake(FrameWith(&broken));
  frame->TakeReceived();
  broken->OpenPopup();
  EXPECT_FALSE(broken->IsPopupActive());
  EXPECT_EQ(broken->GetPopup(), nullptr);
  PressKey(broken, WXK_SPACE);
  EXPECT_FALSE(broken->IsPopupActive());
  EXPECT_TRUE(frame->TakeReceived().empty());
}

TEST_F(ColourPickerTest, LosingTheApplicationsActivationCancels) {
  picker->SetColour(Red);
  Open();
  PressKey(picker, WXK_RIGHT);
  wxActivateEvent deactivate(wxEVT_ACTIVATE_APP, false);
  wxTheApp->ProcessEvent(deactivate);
  EXPECT_FALSE(picker->IsPopupActive());
  EXPECT_EQ(picker->GetColour(), Red);
  const auto got = frame->TakeReceived();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[2], N(ColourSelEndCancel, Red));
}

TEST_F(ColourPickerTest, LosingTheFocusCancels) {
  auto* other = new wxButton(frame->panel, wxID_ANY, "Other", wxPoint(200, 20));
  picker->SetColour(Red);
  Open();
  other->SetFocus();
  ASSERT_TRUE(WaitFor([this] { return !picker->IsPopupActive(); }));
  EXPECT_EQ(frame->TakeReceived(),
            (std::vector{N(ColourCloseUp, Red), N(ColourSelEndCancel, Red)}));
}

TEST_F(ColourPickerTest, ClosingTheWindowWithThePopupOpenIsSafe) {
  Open();
  frame->Destroy();
  frame = nullptr;
  PumpEvents(100);
  EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}

TEST_F(ColourPickerTest, PopupStaysOnTheScreenNearItsEdges) {
  const wxRect screen = wxDisplay(0u).GetGeometry();
  // Near the bottom right corner the popup opens above the picker and moves left.
  // The frame reaches past the screen's right edge, and so would the popup.
  Remake(new ColourPickerTestFrame(wxPoint(screen.GetRight() - 150, screen.GetBottom() - 80)));
  Open();
  const wxRect popup = Popup()->GetScreenRect();
  const wxRect me = picker->GetScreenRect();
  EXPECT_EQ(popup.y + popup.height, me.y);
  EXPECT_LE(popup.x + popup.width, screen.x + screen.width);
  EXPECT_EQ(popup.x + popup.width, screen.x + screen.width);
  EXPECT_LT(popup.x, me.x);
  EXPECT_TRUE(screen.Contains(popup));
  PressKey(picker, WXK_ESCAPE);
}
