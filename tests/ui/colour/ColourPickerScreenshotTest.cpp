// Pictures of the picker and its open popup, taken from the virtual screen by ImageMagick,
// which also reads back the pixels: swatch colours, the automatic colour as button face,
// the cells' colours and the marked cell. The PNG stays in the test output folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ColourPickerTestFrame.h"
#include "ui/colour/ColourConversion.h"

namespace {

bool HaveImageMagick() {
  return std::system("command -v import >/dev/null 2>&1 && command -v convert >/dev/null 2>&1") ==
         0;
}

bool ShootScreen(const std::string& file) {
  PumpEvents(150);
  return std::system(("import -window root " + file).c_str()) == 0;
}

// The colour of one pixel of a picture, as ImageMagick reads it.
COLORREF PixelOf(const std::string& file, wxPoint at) {
  const std::string cmd =
      "convert " + file +
      " -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' -crop 1x1+" +
      std::to_string(at.x) + "+" + std::to_string(at.y) + " info:";
  FILE* pipe = popen(cmd.c_str(), "r");
  unsigned r = 999, g = 999, b = 999;
  if (pipe) {
    if (std::fscanf(pipe, "%u %u %u", &r, &g, &b) != 3) r = 999;
    pclose(pipe);
  }
  return r > 255 ? 0xFFFFFFFFu : MakeColourRef(r, g, b);
}

std::string OutputFile(const char* name) {
  std::filesystem::create_directories(BM_UI_OUTPUT_DIR);
  return std::string(BM_UI_OUTPUT_DIR) + "/" + name;
}

class ColourPickerScreenshot : public testing::Test {
 protected:
  void SetUp() override {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's import and convert are needed";
    frame = new ColourPickerTestFrame;
    picker = frame->picker;
    frame->ShowOnTop();
  }
  void TearDown() override {
    if (frame) frame->Destroy();
    PumpEvents(30);
  }
  // A point on the swatch left of the caption.
  wxPoint SwatchPoint() const {
    return picker->GetScreenPosition() + wxPoint(6, picker->GetSize().y / 2);
  }
  wxPoint CellPoint(int box, wxPoint offset) const {
    const wxRect r = picker->GetPopup()->Layout().BoxRect(box);
    return picker->GetPopup()->ClientToScreen(r.GetPosition() + offset);
  }
  ColourPickerTestFrame* frame = nullptr;
  CColourPicker* picker = nullptr;
};

}  // namespace

TEST_F(ColourPickerScreenshot, SwatchShowsTheColourAndTheAutomaticColourAsButtonFace) {
  const std::string file = OutputFile("colour-picker-swatch.png");
  picker->SetColour(MakeColourRef(0, 147, 0));
  ASSERT_TRUE(ShootScreen(file));
  EXPECT_EQ(PixelOf(file, SwatchPoint()), MakeColourRef(0, 147, 0));
  picker->SetColour(DefaultColour);
  ASSERT_TRUE(ShootScreen(file));
  EXPECT_EQ(PixelOf(file, SwatchPoint()),
            ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  picker->SetColour(MakeColourRef(255, 0, 0));
  picker->Disable();  // a disabled picker shows no colour
  ASSERT_TRUE(ShootScreen(file));
  EXPECT_EQ(PixelOf(file, SwatchPoint()),
            ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
}

// The caption stands out from any swatch: light letters on black, dark ones on white and
// on the light default swatch.
TEST_F(ColourPickerScreenshot, TheCaptionReadsOnDarkAndLightSwatches) {
  const std::string file = OutputFile("colour-picker-caption.png");
  picker->SetLabel("Shadow");
  const struct {
    COLORREF swatch;
    bool lightLetters;
  } cases[] = {{MakeColourRef(0, 0, 0), true},
               {MakeColourRef(0, 0, 128), true},
               {MakeColourRef(255, 255, 255), false},
               {MakeColourRef(255, 255, 0), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.swatch);
    picker->SetColour(c.swatch);
    ASSERT_TRUE(ShootScreen(file));
    wxImage shot(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(shot.IsOk());
    // Pixels of the caption: across the middle of the swatch, far from the swatch colour.
    const wxRect r = picker->GetScreenRect();
    int letters = 0;
    for (int x = r.x + 4; x < r.x + r.width - 24; ++x) {
      for (int y = r.y + r.height / 2 - 4; y <= r.y + r.height / 2 + 4; ++y) {
        const int grey = (shot.GetRed(x, y) + shot.GetGreen(x, y) + shot.GetBlue(x, y)) / 3;
        letters += c.lightLetters ? grey > 160 : grey < 90;
      }
    }
    EXPECT_GT(letters, 20);
  }
}

TEST_F(ColourPickerScreenshot, OpenPopupShowsTheFortyColoursAndMarksTheOpeningOne) {
  const std::string file = OutputFile("colour-popup-screen.png");
  frame->SetSize(320, 280);                     // the popup lies over the frame in the picture
  picker->SetColour(MakeColourRef(0, 0, 255));  // cell 13, marked
  picker->OpenPopup();
  ASSERT_TRUE(
      WaitFor([this] { return picker->GetPopup() && picker->GetPopup()->IsShownOnScreen(); }));
  PressKey(picker, WXK_DOWN);   // More Colours...
  PressKey(picker, WXK_DOWN);   // Automatic
  PressKey(picker, WXK_DOWN);   // cell 0
  PressKey(picker, WXK_RIGHT);  // cell 1, hot
  ASSERT_TRUE(ShootScreen(file));
  const wxPoint centre(9, 9);
  for (int i = 0; i < ColourCount; ++i) {
    EXPECT_EQ(PixelOf(file, CellPoint(i, centre)), ColourTable[i].colour) << "cell " << i;
  }
  // The marked cell has a two-pixel frame in the text colour round its swatch, a plain
  // cell only the button face there.
  const COLORREF text = ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
  const COLORREF face = ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  const COLORREF selection = ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
  for (wxPoint ground : {wxPoint(1, 1), wxPoint(2, 2), wxPoint(16, 9), wxPoint(9, 15)}) {
    EXPECT_EQ(PixelOf(file, CellPoint(13, ground)), text) << ground.x << "," << ground.y;
    EXPECT_EQ(PixelOf(file, CellPoint(20, ground)), face) << ground.x << "," << ground.y;
  }
  // The hot cell (the keyboard cursor) is framed in the selection colour all round.
  for (wxPoint edge : {wxPoint(0, 0), wxPoint(1, 9), wxPoint(17, 17), wxPoint(9, 16)})
    EXPECT_EQ(PixelOf(file, CellPoint(1, edge)), selection) << edge.x << "," << edge.y;
  // Both marks stand out from the face: every channel together differs by more than 150.
  auto distance = [](COLORREF a, COLORREF b) {
    auto d = [](unsigned x, unsigned y) { return x > y ? x - y : y - x; };
    return d(RedOf(a), RedOf(b)) + d(GreenOf(a), GreenOf(b)) + d(BlueOf(a), BlueOf(b));
  };
  EXPECT_GT(distance(text, face), 150u);
  EXPECT_GT(distance(selection, face), 150u);
  // The picture to look at: the frame with the picker and the open popup.
  const wxRect shown =
      frame->GetScreenRect().Union(picker->GetPopup()->GetScreenRect()).Inflate(10);
  const std::string crop = "convert " + file + " -crop " + std::to_string(shown.width) + "x" +
                           std::to_string(shown.height) + "+" + std::to_string(shown.x) + "+" +
                           std::to_string(shown.y) + " +repage " + OutputFile("colour-popup.png");
  EXPECT_EQ(std::system(crop.c_str()), 0);
  PressKey(picker, WXK_ESCAPE);
}
