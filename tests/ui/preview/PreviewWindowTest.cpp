// The preview window beside a shown main window: the selected row's result has the
// dimensions and byte size of the file a run then writes; a changed setting renders again;
// the window keeps painting while a 24 MP photo renders; View > Preview hides it.
#include "ui/preview/PreviewWindow.h"

#include <wx/wx.h>

#include "ui/list/ConvListCtrl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "../pages/OptionPageTestSupport.h"
#include "job/FileCollector.h"
#include "settings/SettingsSerializer.h"
#include "ui/preview/PreviewPane.h"
#include "ui/resources/ResourceIds.h"
#include "ui/run/ConversionRun.h"
#include "ui/run/ProgressDialog.h"
#include "ui/toolkit/WxText.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using R = ResizeOptionPage;

// What Pillow, an independent reader, sees in a file: "FORMAT WxH".
std::string PillowSees(const std::string& path) {
  return RunProgram("/usr/bin/python3",
                    {"-c",
                     "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                     "print(im.format, '%dx%d' % im.size, end='')",
                     path})
      .out;
}

class PreviewWindowTest : public OptionPageTest {
 protected:
  void SetUp() override {
    OptionPageTest::SetUp();
    session_->settings.conversion.destFolder = dir_ / "out";
    OpenPages();
    preview_ = frame_->Preview();
    ASSERT_NE(preview_, nullptr);
    EXPECT_FALSE(preview_->IsShown()) << "hidden until asked for";
    SendCommand(frame_, Res::ViewPreview);
    ASSERT_TRUE(WaitFor([&] { return preview_->IsShownOnScreen(); }));
  }

  // Adds a picture made by ImageMagick, an independent encoder, and selects its row.
  ConversionItem* AddAndSelect(const std::string& convertArguments, const std::string& name) {
    const std::string path = dir_ / name;
    EXPECT_EQ(std::system(("convert " + convertArguments + " '" + path + "'").c_str()), 0);
    ItemList found;
    ListCollector collector(found);
    collector.sources = {path};
    collector.Collect();
    ConversionItem* item = found.front().get();
    session_->list->Add(std::move(found.front()));
    TheConvListCtrl()->ApplyPendingChanges();
    TheConvListCtrl()->SelectItems({item});
    return item;
  }
  bool Rendered(int timeoutMs = 30000) {
    const bool done =
        WaitFor([&] { return !preview_->Rendering() && preview_->Result().converted; }, timeoutMs);
    if (!done) ADD_FAILURE() << "the preview says: " << Utf8(preview_->StatusText());
    return done;
  }
  // Waits past the debounce for the render a change asks for, then for its end.
  bool RenderedAgain() {
    WaitFor([&] { return preview_->Rendering(); },
            PreviewWindow::kWatchMs + PreviewWindow::kDebounceMs + 1000);
    return Rendered();
  }

  PreviewWindow* preview_ = nullptr;
};

// Runs the window's conversion to its end, as F9 and the dialog's "OK" do.
void RunInWindow(CMainFrame& frame) {
  ConversionRunPrompts prompts;
  prompts.askYesNo = [](const wxString&) { return true; };
  prompts.showError = [](const wxString& text) { ADD_FAILURE() << Utf8(text); };
  prompts.showProgress = [](ProgressDialog& dialog) {
    wxTimer tick;
    tick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      if (dialog.Finished() && dialog.IsModal()) {
        tick.Stop();
        dialog.Cancel();
      }
    });
    tick.Start(20);
    dialog.ShowModal();
  };
  StartConversion(frame, prompts);
}

// A screenshot of `window` into the test output folder, for the README.
void Snapshot(wxWindow* window, const std::string& name) {
  if (!HaveImport()) return;
  PumpEvents(200);
  fs::create_directories(BM_UI_OUTPUT_DIR);
  const std::string path = std::string(BM_UI_OUTPUT_DIR) + "/" + name;
  EXPECT_TRUE(CaptureScreen(window->GetScreenRect(), path).IsOk()) << path;
}

TEST_F(PreviewWindowTest, ResultShowsTheDimensionsAndBytesARunWrites) {
  Choose(Control<wxChoice>(resize_, R::ConversionType), MaxSize);
  Type(Control(resize_, R::Width), "240");
  Type(Control(resize_, R::Height), "240");
  Choose(Control<wxChoice>(resize_, R::FileType), "jpg");
  Type(Control(resize_, R::JpegQuality), "60");
  Click(Control<wxCheckBox>(resize_, R::AddFrame), true);
  Click(Control<wxCheckBox>(shadow_, ShadowOverlayPage::CreateShadow), true);
  AddAndSelect("-seed 5 -size 640x480 plasma:fractal -blur 0x2 -quality 95", "photo.jpg");
  ASSERT_TRUE(Rendered());
  const PreviewResult first = preview_->Result();
  EXPECT_TRUE(preview_->ResultPane()->HasPicture());
  ASSERT_TRUE(WaitFor([&] { return preview_->SourcePane()->HasPicture(); }));
  EXPECT_EQ(Utf8(preview_->SourcePane()->Caption()), "Source: 640 × 480 pixels");
  Snapshot(preview_, "preview.png");

  // A setting changed on a page renders again, after the debounce.
  Type(Control(resize_, R::Width), "120");
  Type(Control(resize_, R::Height), "120");
  ASSERT_TRUE(RenderedAgain());
  const PreviewResult shown = preview_->Result();
  EXPECT_LT(shown.width, first.width);

  RunInWindow(*frame_);
  const std::string written = dir_ / "out/photo.jpg";
  ASSERT_TRUE(fs::exists(written));
  const std::string caption = Utf8(preview_->ResultPane()->Caption());
  char grouped[32];
  std::snprintf(grouped, sizeof grouped, "%ju",
                static_cast<std::uintmax_t>(fs::file_size(written)));
  std::string bytes = grouped;
  for (int at = static_cast<int>(bytes.size()) - 3; at > 0; at -= 3)
    bytes = bytes.substr(0, static_cast<std::size_t>(at)) + "," +
            bytes.substr(static_cast<std::size_t>(at));
  const std::string seen = PillowSees(written);  // "JPEG WxH"
  const std::string size = seen.substr(seen.find(' ') + 1);
  EXPECT_EQ(caption, "Result: " + size.substr(0, size.find('x')) + " × " +
                         size.substr(size.find('x') + 1) + " pixels\n" + bytes + " bytes");
  EXPECT_EQ(shown.bytes, fs::file_size(written));
}

TEST_F(PreviewWindowTest, KeepsPaintingWhileA24MegapixelPhotoRenders) {
  std::vector<Clock::time_point> paints;
  preview_->ResultPane()->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
    if (preview_->Rendering()) paints.push_back(Clock::now());
    event.Skip();
  });
  wxTimer ask;
  ask.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { preview_->ResultPane()->Refresh(); });
  ask.Start(20);
  const auto started = Clock::now();
  AddAndSelect("-size 6000x4000 gradient:red-blue -quality 92", "big.jpg");
  ASSERT_TRUE(Rendered(120000));
  ask.Stop();
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  EXPECT_EQ(preview_->Result().sourceWidth, 6000);
  ASSERT_GE(paints.size(), 2u);
  double longest = 0;
  for (std::size_t i = 1; i < paints.size(); ++i)
    longest = std::max(
        longest, std::chrono::duration<double, std::milli>(paints[i] - paints[i - 1]).count());
  RecordProperty("LongestRepaintGapMs", static_cast<int>(longest));
  std::printf("preview of a 24 MP photo: %.1f s, %zu paints, longest gap %.0f ms\n", seconds,
              paints.size(), longest);
  EXPECT_LT(longest, 100.0);
}

TEST_F(PreviewWindowTest, ViewPreviewHidesItAndTheChoiceIsKept) {
  SendCommand(frame_, Res::ViewPreview);
  EXPECT_FALSE(preview_->IsShown());
  EXPECT_FALSE(preview_->Shown());
  // Hidden, a selection renders nothing.
  AddAndSelect("-size 40x30 xc:red", "red.png");
  PumpEvents(PreviewWindow::kWatchMs + PreviewWindow::kDebounceMs + 200);
  EXPECT_FALSE(preview_->Rendering());
  EXPECT_FALSE(preview_->Result().converted);
  const RegValue* stored = session_->store.Query(StoreKeys::Window, "PreviewShown");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));

  SendCommand(frame_, Res::ViewPreview);
  ASSERT_TRUE(WaitFor([&] { return preview_->IsShownOnScreen(); }));
  ASSERT_TRUE(Rendered());
  EXPECT_EQ(Utf8(PreviewWindow::ResultCaption(preview_->Result())).rfind("Result: ", 0), 0u);
}

}  // namespace
