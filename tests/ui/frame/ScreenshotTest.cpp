// Pictures of the main window for people to look at: written to the test output folder.
#include <filesystem>

#include "FrameFixture.h"
#include "UiTestSupport.h"

namespace {

using ScreenshotTest = FrameTest;

TEST_F(ScreenshotTest, MainWindow) {
  if (!HaveImport()) GTEST_SKIP() << "ImageMagick's import is needed for screenshots";
  const int statuses[] = {1, 1, 2, 1, 2};
  for (int i = 0; i < 5; ++i)
    session_->list->Add(MakeItem(std::string(1, static_cast<char>('a' + i)), statuses[i]));
  OpenFrame();
  PumpEvents(300);
  std::filesystem::create_directories(BM_UI_OUTPUT_DIR);
  const std::string path = std::string(BM_UI_OUTPUT_DIR) + "/main-window.png";
  const wxImage shot = CaptureScreen(frame_->GetScreenRect(), path);
  ASSERT_TRUE(shot.IsOk()) << path;
  EXPECT_EQ(shot.GetSize(), frame_->GetSize());
  // The picture holds the white banner.
  const wxPoint inShot =
      frame_->Bar()->ClientToScreen(wxPoint(600, 45)) - frame_->GetScreenPosition();
  EXPECT_GT(shot.GetRed(inShot.x, inShot.y) + shot.GetGreen(inShot.x, inShot.y), 500);
}

}  // namespace
