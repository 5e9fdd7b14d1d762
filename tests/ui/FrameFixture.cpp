#include "FrameFixture.h"

#include <cstdlib>

#include "UiTestSupport.h"
#include "ui/resources/ResourceIds.h"

void SendCommand(wxWindow* window, int resourceId) {
  wxCommandEvent event(wxEVT_MENU, ToWxId(resourceId));
  event.SetEventObject(window);
  window->GetEventHandler()->ProcessEvent(event);
}

bool HaveImport() { return std::system("command -v import >/dev/null 2>&1") == 0; }

wxImage CaptureScreen(const wxRect& rect, const std::string& pngPath) {
  const std::string command = "import -window root -crop " + std::to_string(rect.width) + "x" +
                              std::to_string(rect.height) + "+" + std::to_string(rect.x) + "+" +
                              std::to_string(rect.y) + " +repage '" + pngPath + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return wxImage();
  return wxImage(wxString::FromUTF8(pngPath), wxBITMAP_TYPE_PNG);
}

void FrameTest::SetUp() {
  session_ = std::make_unique<AppSession>(storePath_);
  session_->Load();
}

void FrameTest::TearDown() {
  if (frame_) CloseFrame();
}

void FrameTest::OpenFrame(std::vector<ConfigurationBar::PageFactory> pages) {
  frame_ = new CMainFrame(*session_);
  ASSERT_TRUE(frame_->Build(std::move(pages)));
  frame_->Show();
  frame_->Raise();
  ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
  PumpEvents(100);
}

void FrameTest::CloseFrame() {
  frame_->Close(true);
  frame_ = nullptr;
  EXPECT_TRUE(WaitFor([] { return TheMainFrame() == nullptr; }));
}
