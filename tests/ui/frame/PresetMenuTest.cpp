// The Presets menu on a shown window: a preset saved from the pages, the pages changed, the
// preset loaded back shows its values on every page; the title names it and marks a change;
// refused names and deletion; and a preset saved by the window gives the command line the
// very bytes the window's own run writes.
#include <wx/uiaction.h>

#include <cstdlib>
#include <filesystem>

#include "../pages/OptionPageTestSupport.h"
#include "job/FileCollector.h"
#include "settings/PresetFile.h"
#include "ui/frame/PresetMenu.h"
#include "ui/pages/OptionPages.h"
#include "ui/resources/ResourceIds.h"
#include "ui/run/ConversionRun.h"
#include "ui/run/ProgressDialog.h"
#include "ui/toolkit/WxText.h"

namespace {

using R = ResizeOptionPage;
using S = ShadowOverlayPage;

class PresetMenuTest : public OptionPageTest {
 protected:
  void SetUp() override {
    OptionPageTest::SetUp();
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfig_ = old;
    setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
    OpenPages();
    presets_ = frame_->Presets();
    ASSERT_NE(presets_, nullptr);
    presets_->showError = [this](const wxString& text) { errors_.push_back(Utf8(text)); };
    presets_->askYesNo = [this](const wxString& text) {
      questions_.push_back(Utf8(text));
      return true;
    };
  }
  void TearDown() override {
    OptionPageTest::TearDown();
    setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
  }

  // Saves through the menu as the user naming it `name` would.
  void SaveAs(const std::string& name) {
    presets_->askName = [name](const wxString&) { return wxString::FromUTF8(name); };
    SendCommand(frame_, Res::SavePresetAs);
  }
  std::string Path(const std::string& name) const {
    return dir_ / ("cfg/Orrinvale/Brindlemark/presets/" + name + ".preset");
  }
  std::string Title() const { return Utf8(frame_->GetTitle()); }
  wxString Text(wxWindow* page, int id) { return Control<wxTextCtrl>(page, id)->GetValue(); }
  // What the pages show, as a preset's text.
  std::string Shown() {
    ConversionSettings shown = session_->settings.conversion;
    EXPECT_TRUE(ReadShownSettings(*frame_->Bar(), shown));
    return PresetText(shown);
  }

  PresetMenu* presets_ = nullptr;
  std::vector<std::string> errors_, questions_;
  std::string oldConfig_;
};

TEST_F(PresetMenuTest, SavedPresetLoadsBackOntoEveryPageAndTheTitleFollowsIt) {
  EXPECT_EQ(Title(), "Brindlemark");
  Choose(Control<wxChoice>(resize_, R::ConversionType), MaxSize);
  Type(Control(resize_, R::Width), "640");
  Type(Control(resize_, R::Height), "480");
  Choose(Control<wxChoice>(resize_, R::FileType), "PNG");
  Type(Control(resize_, R::Prefix), "web_");
  Click(Control<wxCheckBox>(resize_, R::AddFrame), true);
  Type(Control(resize_, R::FrameHorz), "11");
  Click(Control<wxCheckBox>(shadow_, S::CreateShadow), true);
  Type(Control(shadow_, S::Opaque), "29");
  Type(Control(shadow_, S::Angle), "200");
  dynamic_cast<CColourPicker*>(Control(shadow_, S::ShadowColour))->SetColour(0x00FF00);
  SaveAs("Web large");
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(Title(), "Brindlemark - Web large");
  const std::string saved = ReadFile(Path("Web large"));
  EXPECT_EQ(saved, Shown());

  // Every page changed.
  Choose(Control<wxChoice>(resize_, R::ConversionType), FixedCrop);
  Type(Control(resize_, R::Width), "100");
  Choose(Control<wxChoice>(resize_, R::FileType), "jpg");
  Type(Control(resize_, R::Prefix), "");
  Click(Control<wxCheckBox>(resize_, R::AddFrame), false);
  Click(Control<wxCheckBox>(shadow_, S::CreateShadow), false);
  Type(Control(shadow_, S::Opaque), "70");
  dynamic_cast<CColourPicker*>(Control(shadow_, S::ShadowColour))->SetColour(0x0000FF);
  ASSERT_TRUE(WaitFor([&] { return Title() == "Brindlemark - Web large (modified)"; })) << Title();
  EXPECT_NE(Shown(), saved);

  // The preset is the menu's first name.
  SendCommand(frame_, Res::FirstPreset);
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(Title(), "Brindlemark - Web large");
  EXPECT_EQ(Shown(), saved);
  EXPECT_EQ(Control<wxChoice>(resize_, R::ConversionType)->GetSelection(), MaxSize);
  EXPECT_EQ(Text(resize_, R::Width), "640");
  EXPECT_EQ(Text(resize_, R::Height), "480");
  EXPECT_EQ(Control<wxChoice>(resize_, R::FileType)->GetStringSelection(), "PNG");
  EXPECT_EQ(Text(resize_, R::Prefix), "web_");
  EXPECT_TRUE(Control<wxCheckBox>(resize_, R::AddFrame)->GetValue());
  EXPECT_EQ(Text(resize_, R::FrameHorz), "11");
  EXPECT_TRUE(Control<wxCheckBox>(shadow_, S::CreateShadow)->GetValue());
  EXPECT_EQ(Text(shadow_, S::Opaque), "29");
  EXPECT_EQ(Text(shadow_, S::Angle), "200");
  EXPECT_EQ(dynamic_cast<CColourPicker*>(Control(shadow_, S::ShadowColour))->GetColour(),
            0x00FF00u);
  // Nothing changed since the load: the watch keeps the title as it is.
  PumpEvents(2 * PresetMenu::kWatchMs);
  EXPECT_EQ(Title(), "Brindlemark - Web large");
}

TEST_F(PresetMenuTest, RefusedNamesAskAgainAndDeletingForgetsTheCurrentPreset) {
  std::vector<std::string> answers = {"a/b", ".hidden", "keep", ""};
  std::size_t asked = 0;
  presets_->askName = [&](const wxString&) {
    return wxString::FromUTF8(answers[std::min(asked++, answers.size() - 1)]);
  };
  SendCommand(frame_, Res::SavePresetAs);
  const std::string rule =
      " cannot be a preset name: it may not start or end with a dot or a blank, nor hold "
      "control characters or any of / \\ : * ? \" < > |";
  EXPECT_EQ(errors_, (std::vector<std::string>{"\"a/b\"" + rule, "\".hidden\"" + rule}));
  EXPECT_TRUE(std::filesystem::exists(Path("keep")));
  EXPECT_EQ(Title(), "Brindlemark - keep");

  // Saving over an existing preset asks first.
  SaveAs("keep");
  EXPECT_EQ(questions_,
            (std::vector<std::string>{"A preset named \"keep\" exists already. Replace it?"}));

  presets_->choosePreset = [](const std::vector<wxString>& names, const wxString& current) {
    EXPECT_EQ(names, (std::vector<wxString>{"keep"}));
    return current;
  };
  SendCommand(frame_, Res::DeletePreset);
  EXPECT_EQ(questions_.back(), "Delete the preset \"keep\"?");
  EXPECT_FALSE(std::filesystem::exists(Path("keep")));
  EXPECT_EQ(Title(), "Brindlemark");
  errors_.clear();
  SendCommand(frame_, Res::DeletePreset);
  EXPECT_EQ(errors_, (std::vector<std::string>{"There are no presets to delete."}));
}

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

TEST_F(PresetMenuTest, PresetFromTheWindowGivesTheCommandLineTheWindowsBytes) {
  // Sources from ImageMagick, an independent encoder.
  const std::string in = dir_ / "in";
  std::filesystem::create_directories(in);
  ASSERT_EQ(std::system(("convert -seed 3 -size 320x240 plasma:fractal -quality 95 '" + in +
                         "/a.jpg' && convert -size 200x300 gradient:red-blue '" + in + "/b.png'")
                            .c_str()),
            0);
  Choose(Control<wxChoice>(resize_, R::ConversionType), MaxSize);
  Type(Control(resize_, R::Width), "120");
  Type(Control(resize_, R::Height), "120");
  Choose(Control<wxChoice>(resize_, R::FileType), "jpg");
  Type(Control(resize_, R::JpegQuality), "55");
  Click(Control<wxCheckBox>(resize_, R::AddFrame), true);
  Click(Control<wxCheckBox>(shadow_, S::CreateShadow), true);
  Type(Control(resize_, R::Destination), dir_ / "window");
  SaveAs("weekly");
  ASSERT_TRUE(errors_.empty());

  ItemList found;
  ListCollector collector(found);
  collector.sources = {in};
  collector.Collect();
  for (auto& item : found) session_->list->Add(std::move(item));
  RunInWindow(*frame_);

  RunOptions options;
  options.environment = {{"XDG_CONFIG_HOME", dir_ / "cfg"}};
  const RunResult cli =
      RunProgram(BinPath("Brindlemark.exe"),
                 {"-preset:weekly", "-source:" + in, "-dest:" + (dir_ / "cli")}, options);
  ASSERT_EQ(cli.exitCode, 0) << cli.out;
  for (const char* name : {"a.jpg", "b.jpg"}) {
    const std::string written = ReadFile(dir_ / ("window/" + std::string(name)));
    EXPECT_FALSE(written.empty()) << name;
    EXPECT_EQ(ReadFile(dir_ / ("cli/" + std::string(name))), written) << name;
  }
}

}  // namespace
