// A main window over a private settings store, shown and raised, for the GUI tests; and
// the helpers they share: items for the list, screenshots through ImageMagick.
#pragma once

#include <gtest/gtest.h>
#include <wx/wx.h>

#include <memory>
#include <string>

#include "list/TestItems.h"
#include "support/TestFiles.h"
#include "ui/frame/AppSession.h"
#include "ui/frame/ConfigurationBar.h"
#include "ui/frame/MainFrame.h"

// Runs a command as the menu, a tool or an accelerator would.
void SendCommand(wxWindow* window, int resourceId);

// The screen as ImageMagick's `import` sees it, cropped to `rect`; an invalid image when
// `import` is missing or fails.
wxImage CaptureScreen(const wxRect& rect, const std::string& pngPath);
bool HaveImport();

class FrameTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds and shows the frame; the pages come from `pages`.
  void OpenFrame(
      std::vector<ConfigurationBar::PageFactory> pages = ConfigurationBar::DefaultPages());
  // Closes the frame as the user would and waits until it is gone.
  void CloseFrame();

  TempDir dir_;
  std::string storePath_ = dir_ / "store.reg";
  std::unique_ptr<AppSession> session_;
  CMainFrame* frame_ = nullptr;
};
