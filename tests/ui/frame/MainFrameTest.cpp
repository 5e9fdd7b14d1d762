// The main window: its size, menu, toolbar, status bar, command routing, enabling rules and
// close sequence.
// wx headers come before FreeImage's, which defines a Windows guard macro on every platform.
#include <wx/stdpaths.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "FrameFixture.h"
#include "UiTestSupport.h"
#include "settings/SettingsSerializer.h"
#include "ui/frame/HelpFile.h"
#include "ui/frame/TabStrip.h"
#include "ui/frame/ToolbarImages.h"
#include "ui/resources/ResourceIds.h"
#include "ui/toolkit/WxText.h"

namespace {

bool SamePixels(const wxBitmap& a, const wxBitmap& b) {
  const wxImage x = a.ConvertToImage(), y = b.ConvertToImage();
  return x.GetSize() == y.GetSize() &&
         std::equal(x.GetData(), x.GetData() + x.GetWidth() * x.GetHeight() * 3, y.GetData());
}

using MainFrameTest = FrameTest;

TEST_F(MainFrameTest, OpensAtDefaultSizeWithTitleTabsAndIdleText) {
  OpenFrame();
  EXPECT_EQ(frame_->GetSize(), wxSize(680, 535));
  EXPECT_EQ(Utf8(frame_->GetTitle()), "Brindlemark");
  TabStrip* tabs = frame_->Bar()->Tabs();
  ASSERT_EQ(tabs->GetTabCount(), 3);
  EXPECT_EQ(Utf8(wxControl::RemoveMnemonics(tabs->GetTabCaption(0))), "Select Files");
  EXPECT_EQ(Utf8(wxControl::RemoveMnemonics(tabs->GetTabCaption(1))), "Resize Option");
  EXPECT_EQ(Utf8(wxControl::RemoveMnemonics(tabs->GetTabCaption(2))), "Shadow & Overlay");
  EXPECT_EQ(tabs->GetSelection(), 0);
  EXPECT_TRUE(frame_->Bar()->Page(0)->IsShown());
  EXPECT_FALSE(frame_->Bar()->Page(1)->IsShown());
  EXPECT_FALSE(frame_->Bar()->Page(2)->IsShown());
  EXPECT_EQ(Utf8(frame_->GetStatusBar()->GetStatusText(0)),
            "Total files: 0 Succeeded: 0 Failed: 0");
  EXPECT_EQ(frame_->GetStatusBar()->GetFieldsCount(), 4);
  // The bar fills the client area.
  EXPECT_EQ(frame_->Bar()->GetSize(), frame_->GetClientSize());
}

TEST_F(MainFrameTest, NeverSmallerThanTheMinimumSize) {
  OpenFrame();
  frame_->SetSize(400, 300);
  PumpEvents(100);
  EXPECT_GE(frame_->GetSize().x, 680);
  EXPECT_GE(frame_->GetSize().y, 535);
  frame_->SetSize(900, 700);
  PumpEvents(100);
  EXPECT_EQ(frame_->GetSize(), wxSize(900, 700));
  frame_->SetSize(900, 100);
  PumpEvents(100);
  EXPECT_EQ(frame_->GetSize(), wxSize(900, 535));
}

TEST_F(MainFrameTest, MenuItemsCarryTheirLabelsAndPrompts) {
  OpenFrame();
  struct Row {
    int menu;
    int command;
    const char* label;
    const char* help;
  };
  const Row rows[] = {
      {0, Res::Exit, "E&xit", "Quit the application"},
      {1, Res::AddFiles, "&Add Files\tF4", "Add selected files to conversion list"},
      {1, Res::AddFolder, "Add &Folder\tF7", "Add Folder"},
      {1, Res::RemoveSelected, "&Remove Selected Files",
       "Remove selected files (hit delete in the list)"},
      {1, Res::RemoveAll, "Re&move All Files\tF8", "Remove all files"},
      {1, Res::ViewOriginal, "&View Original Image", "View orginal image with default viewer"},
      {1, Res::ViewConverted, "View &Converted Image",
       "View converted image with default viewer (double click to open)"},
      {1, Res::AddFolderRecursively, "Add Folder Recursively", "Add Folder Recursively"},
      {2, Res::StartConversion, "&Start Conversion\tF9", "Start conversion"},
      {2, Res::RotateUpright, "Rotate Upright by Camera Orientation",
       "Turn pictures upright by the orientation their camera recorded"},
      {2, Res::KeepCameraData, "Keep Camera Data",
       "Copy the date, camera, GPS position and other camera data to JPEG and TIFF outputs"},
      {3, Res::SavePresetAs, "Save Preset &As...",
       "Save the current settings as a preset under a name"},
      {3, Res::DeletePreset, "&Delete Preset...", "Delete a saved preset"},
      {3, Res::OpenPresetsFolder, "Open Presets &Folder", "Open the folder that holds the presets"},
      {4, Res::ViewToolbar, "&Toolbar", "Show or hide the toolbar"},
      {4, Res::ViewStatusBar, "&Status Bar", "Show or hide the status bar"},
      {4, Res::ViewPreview, "&Preview", "Show or hide the preview of the selected picture"},
      {5, Res::HelpContents, "&Contents", "Open the help contents"},
      {5, Res::About, "&About Brindlemark...",
       "Display program information, version number and copyright"},
  };
  wxMenuBar* bar = frame_->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 6u);
  const char* titles[] = {"&File", "&Edit", "&Convert", "&Presets", "&View", "&Help"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Utf8(bar->GetMenuLabel(i)), titles[i]);
  for (const Row& row : rows) {
    wxMenuItem* item = bar->GetMenu(row.menu)->FindChildItem(ToWxId(row.command));
    ASSERT_NE(item, nullptr) << row.label;
    EXPECT_EQ(Utf8(item->GetItemLabel()), row.label);
    EXPECT_EQ(Utf8(item->GetHelp()), row.help) << row.label;
  }
  // Separators sit after Re&move All Files and after View &Converted Image in Edit, and
  // after &Contents in Help.
  wxMenu* edit = bar->GetMenu(1);
  ASSERT_EQ(edit->GetMenuItemCount(), 9u);
  EXPECT_TRUE(edit->FindItemByPosition(4)->IsSeparator());
  EXPECT_TRUE(edit->FindItemByPosition(7)->IsSeparator());
  EXPECT_TRUE(edit->FindItemByPosition(8)->IsCheckable());
  EXPECT_TRUE(bar->GetMenu(5)->FindItemByPosition(1)->IsSeparator());
  wxMenu* convert = bar->GetMenu(2);
  ASSERT_EQ(convert->GetMenuItemCount(), 4u);
  EXPECT_TRUE(convert->FindItemByPosition(1)->IsSeparator());
  EXPECT_TRUE(convert->FindItemByPosition(2)->IsCheckable());
  EXPECT_TRUE(convert->FindItemByPosition(3)->IsCheckable());
}

TEST_F(MainFrameTest, ToolbarButtonsInOrderWithLabelsTipsAndPrompts) {
  OpenFrame();
  wxToolBar* tools = frame_->GetToolBar();
  struct Row {
    int command;
    const char* label;
    const char* tip;
    const char* prompt;
  };
  const Row rows[] = {
      {Res::AddFiles, "Add Files", "Add selected files to conversion list",
       "Add selected files to conversion list"},
      {Res::AddFolder, "Add Folder", "Add Folder", "Add Folder"},
      {Res::RemoveSelected, "Remove Selected", "Remove selected files(hit delete in the list)",
       "Remove selected files (hit delete in the list)"},
      {Res::RemoveAll, "Remove All", "Remove all files", "Remove all files"},
      {Res::AddFolderRecursively, "", "Add Folder Recursively", "Add Folder Recursively"},
      {0, "", "", ""},
      {Res::StartConversion, "Start", "Start conversion", "Start conversion"},
  };
  ASSERT_EQ(tools->GetToolsCount(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    const wxToolBarToolBase* tool = tools->GetToolByPos(static_cast<int>(i));
    const Row& row = rows[i];
    if (row.command == 0) {
      EXPECT_TRUE(tool->IsSeparator());
      continue;
    }
    EXPECT_EQ(tool->GetId(), ToWxId(row.command));
    EXPECT_EQ(Utf8(tool->GetLabel()), row.label);
    EXPECT_EQ(Utf8(tool->GetShortHelp()), row.tip);
    EXPECT_EQ(Utf8(tool->GetLongHelp()), row.prompt);
    EXPECT_EQ(tool->GetKind(),
              row.command == Res::AddFolderRecursively ? wxITEM_CHECK : wxITEM_NORMAL);
  }
  EXPECT_EQ(tools->GetToolBitmapSize(), wxSize(20, 20));
  // Every button fits at the minimum width: nothing goes into the overflow menu.
  EXPECT_LE(tools->GetBestSize().x, frame_->GetClientSize().x);
}

TEST_F(MainFrameTest, ToolUnderTheMouseShowsItsPromptAndHotImage) {
  session_->list->Add(MakeItem("a", ItemStatus::Succeeded));
  OpenFrame();
  wxToolBar* tools = frame_->GetToolBar();
  const int start = ToWxId(Res::StartConversion);
  const wxBitmap normal = ToolbarImage(Res::ToolbarImages, 8),
                 hot = ToolbarImage(Res::ToolbarHotImages, 8);
  ASSERT_FALSE(SamePixels(normal, hot));
  EXPECT_TRUE(SamePixels(tools->FindById(start)->GetNormalBitmap(), normal));

  tools->OnMouseEnter(start);
  PumpEvents(50);
  EXPECT_EQ(Utf8(frame_->GetStatusBar()->GetStatusText(0)), "Start conversion");
  EXPECT_TRUE(SamePixels(tools->FindById(start)->GetNormalBitmap(), hot));

  tools->OnMouseEnter(wxID_ANY);
  PumpEvents(50);
  EXPECT_EQ(Utf8(frame_->GetStatusBar()->GetStatusText(0)),
            "Total files: 1 Succeeded: 1 Failed: 0");
  EXPECT_TRUE(SamePixels(tools->FindById(start)->GetNormalBitmap(), normal));
}

TEST_F(MainFrameTest, IdleTextFollowsTheList) {
  OpenFrame();
  ConversionList& list = *session_->list;
  const int statuses[] = {ItemStatus::Succeeded, ItemStatus::Failed, ItemStatus::Succeeded,
                          ItemStatus::NotStarted, ItemStatus::Succeeded};
  for (int i = 0; i < 5; ++i)
    list.Add(MakeItem(std::string(1, static_cast<char>('a' + i)), statuses[i]));
  // A run ends: the not-started item failed, the list recounts.
  const_cast<ConversionItem&>(*list.Items()[3]).status = ItemStatus::Failed;
  list.RecountStatus();
  PumpEvents(100);
  EXPECT_EQ(Utf8(frame_->GetStatusBar()->GetStatusText(0)),
            "Total files: 5 Succeeded: 3 Failed: 2");
  list.RemoveAll();
  PumpEvents(50);
  EXPECT_EQ(Utf8(frame_->GetStatusBar()->GetStatusText(0)),
            "Total files: 0 Succeeded: 0 Failed: 0");
}

TEST_F(MainFrameTest, CommandsNeedingItemsOrASelectionAreDisabledWithout) {
  OpenFrame();
  wxToolBar* tools = frame_->GetToolBar();
  wxMenuBar* menu = frame_->GetMenuBar();
  auto enabled = [&](int command) {
    frame_->UpdateWindowUI();
    const bool inMenu = menu->IsEnabled(ToWxId(command));
    if (tools->FindById(ToWxId(command))) {
      EXPECT_EQ(tools->GetToolEnabled(ToWxId(command)), inMenu) << command;
    }
    return inMenu;
  };
  for (int command : {Res::StartConversion, Res::RemoveAll, Res::RemoveSelected, Res::ViewOriginal,
                      Res::ViewConverted})
    EXPECT_FALSE(enabled(command)) << command;
  for (int command :
       {Res::AddFiles, Res::AddFolder, Res::AddFolderRecursively, Res::HelpContents, Res::About})
    EXPECT_TRUE(enabled(command)) << command;

  ConversionList& list = *session_->list;
  ConversionItem& failed = list.Add(MakeItem("failed", ItemStatus::Failed));
  ConversionItem& done = list.Add(MakeItem("done", ItemStatus::Succeeded));
  EXPECT_TRUE(enabled(Res::StartConversion));
  EXPECT_TRUE(enabled(Res::RemoveAll));
  EXPECT_FALSE(enabled(Res::RemoveSelected));
  EXPECT_FALSE(enabled(Res::ViewOriginal));

  list.SetSelected(&done, true);
  EXPECT_TRUE(enabled(Res::RemoveSelected));
  EXPECT_TRUE(enabled(Res::ViewOriginal));
  EXPECT_TRUE(enabled(Res::ViewConverted));
  // The first selected row in list order decides: a failed one has nothing converted.
  list.SetSelected(&failed, true);
  EXPECT_TRUE(enabled(Res::ViewOriginal));
  EXPECT_FALSE(enabled(Res::ViewConverted));
}

TEST_F(MainFrameTest, MenuCommandsReachWhatServesThem) {
  OpenFrame();
  int addFiles = 0, addFolder = 0, start = 0;
  std::vector<std::string> opened;
  frame_->Hooks().addFiles = [&] { ++addFiles; };
  frame_->Hooks().addSourceFolder = [&] { ++addFolder; };
  frame_->Hooks().startConversion = [&] { ++start; };
  frame_->Hooks().openFile = [&](const wxString& path) { opened.push_back(Utf8(path)); };
  ConversionList& list = *session_->list;

  SendCommand(frame_, Res::AddFiles);
  SendCommand(frame_, Res::AddFolder);
  SendCommand(frame_, Res::StartConversion);  // empty list: no run
  SendCommand(frame_, Res::ViewOriginal);     // no selection: nothing opens
  EXPECT_EQ(addFiles, 1);
  EXPECT_EQ(addFolder, 1);
  EXPECT_EQ(start, 0);
  EXPECT_TRUE(opened.empty());

  ConversionItem& failed = list.Add(MakeItem("failed", ItemStatus::Failed));
  ConversionItem& done = list.Add(MakeItem("done", ItemStatus::Succeeded));
  list.Add(MakeItem("kept", ItemStatus::NotStarted));
  SendCommand(frame_, Res::StartConversion);
  EXPECT_EQ(start, 1);

  list.SetSelected(&failed, true);
  SendCommand(frame_, Res::ViewConverted);  // failed: nothing to view
  SendCommand(frame_, Res::ViewOriginal);
  list.SetSelected(&failed, false);
  list.SetSelected(&done, true);
  SendCommand(frame_, Res::ViewConverted);
  EXPECT_EQ(opened, (std::vector<std::string>{"/pictures/failed.png", "/converted/done.jpg"}));

  list.SetSelected(&failed, true);
  SendCommand(frame_, Res::RemoveSelected);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items()[0]->sourcePath, "/pictures/kept.png");
  SendCommand(frame_, Res::RemoveAll);
  EXPECT_EQ(list.Count(), 0);

  opened.clear();
  SendCommand(frame_, Res::HelpContents);
  const std::string program = Utf8(wxStandardPaths::Get().GetExecutablePath());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], program.substr(0, program.rfind('/')) + "/bm_ui_tests.html");

  SendCommand(frame_, Res::Exit);
  frame_ = nullptr;
  EXPECT_TRUE(WaitFor([] { return TheMainFrame() == nullptr; }));
}

TEST_F(MainFrameTest, FunctionKeysRouteToTheirCommands) {
  OpenFrame();
  int addFiles = 0, addFolder = 0, start = 0;
  frame_->Hooks().addFiles = [&] { ++addFiles; };
  frame_->Hooks().addSourceFolder = [&] { ++addFolder; };
  frame_->Hooks().startConversion = [&] { ++start; };
  session_->list->Add(MakeItem("one", ItemStatus::NotStarted));
  frame_->Bar()->Tabs()->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == frame_->Bar()->Tabs(); }));

  wxUIActionSimulator keys;
  // Presses a key and waits until `effect` holds (or a while, for keys that must do nothing).
  auto press = [&](int key, const std::function<bool()>& effect) {
    keys.Char(key);
    return WaitFor(effect, 3000);
  };
  EXPECT_TRUE(press(WXK_F4, [&] { return addFiles == 1; }));
  EXPECT_TRUE(press(WXK_F7, [&] { return addFolder == 1; }));
  EXPECT_TRUE(press(WXK_F9, [&] { return start == 1; }));
  EXPECT_TRUE(press(WXK_F8, [&] { return session_->list->Count() == 0; }));
  // The key reaches Start Conversion although the list is empty now; the command refuses.
  keys.Char(WXK_F9);
  PumpEvents(300);
  EXPECT_EQ(start, 1);
  // An item its last update left disabled (menus update only when opened) does not stop its
  // key: the accelerator table takes it, once.
  session_->list->Add(MakeItem("two", ItemStatus::NotStarted));
  frame_->GetMenuBar()->Enable(ToWxId(Res::StartConversion), false);
  EXPECT_TRUE(press(WXK_F9, [&] { return start == 2; }));
  // Keys without a command do nothing; F4 still works after them.
  keys.Char(WXK_F6);
  keys.Char(WXK_F5);
  EXPECT_TRUE(press(WXK_F4, [&] { return addFiles == 2; }));
  EXPECT_EQ(addFolder + start, 3);
}

TEST_F(MainFrameTest, AddFolderRecursivelyFlipsMenuAndToolAndSurvivesARestart) {
  OpenFrame();
  const int id = ToWxId(Res::AddFolderRecursively);
  ASSERT_TRUE(session_->settings.addDirRecursive);  // the default
  EXPECT_TRUE(frame_->GetMenuBar()->IsChecked(id));
  EXPECT_TRUE(frame_->GetToolBar()->GetToolState(id));

  SendCommand(frame_, Res::AddFolderRecursively);
  EXPECT_FALSE(session_->settings.addDirRecursive);
  EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(id));
  EXPECT_FALSE(frame_->GetToolBar()->GetToolState(id));
  frame_->UpdateWindowUI();
  EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(id));
  EXPECT_FALSE(frame_->GetToolBar()->GetToolState(id));

  CloseFrame();
  session_->Save();
  session_ = std::make_unique<AppSession>(storePath_);
  session_->Load();
  EXPECT_FALSE(session_->settings.addDirRecursive);
  OpenFrame();
  EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(id));
  EXPECT_FALSE(frame_->GetToolBar()->GetToolState(id));
  SendCommand(frame_, Res::AddFolderRecursively);
  EXPECT_TRUE(frame_->GetMenuBar()->IsChecked(id));
  EXPECT_TRUE(frame_->GetToolBar()->GetToolState(id));
}

TEST_F(MainFrameTest, CameraChoicesFollowTheSettingsAndSurviveARestart) {
  struct Choice {
    int command;
    bool ConversionSettings::*field;
  };
  for (const Choice& c : {Choice{Res::RotateUpright, &ConversionSettings::autoRotate},
                          Choice{Res::KeepCameraData, &ConversionSettings::keepMetadata}}) {
    SCOPED_TRACE(c.command);
    OpenFrame();
    const int id = ToWxId(c.command);
    ASSERT_FALSE(session_->settings.conversion.*c.field);  // the default
    EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(id));
    SendCommand(frame_, c.command);
    EXPECT_TRUE(session_->settings.conversion.*c.field);
    frame_->UpdateWindowUI();
    EXPECT_TRUE(frame_->GetMenuBar()->IsChecked(id));

    CloseFrame();
    session_->Save();
    session_ = std::make_unique<AppSession>(storePath_);
    session_->Load();
    EXPECT_TRUE(session_->settings.conversion.*c.field);
    OpenFrame();
    EXPECT_TRUE(frame_->GetMenuBar()->IsChecked(id));
    SendCommand(frame_, c.command);
    EXPECT_FALSE(session_->settings.conversion.*c.field);
    EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(id));
    CloseFrame();
    session_->Save();
  }
}

TEST_F(MainFrameTest, ViewCommandsShowAndHideTheBars) {
  OpenFrame();
  const int barHeight = frame_->Bar()->GetSize().y;
  SendCommand(frame_, Res::ViewToolbar);
  PumpEvents(100);
  EXPECT_FALSE(frame_->GetToolBar()->IsShown());
  EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(ToWxId(Res::ViewToolbar)));
  EXPECT_GT(frame_->Bar()->GetSize().y, barHeight);
  SendCommand(frame_, Res::ViewStatusBar);
  PumpEvents(100);
  EXPECT_FALSE(frame_->GetStatusBar()->IsShown());
  frame_->UpdateWindowUI();
  EXPECT_FALSE(frame_->GetMenuBar()->IsChecked(ToWxId(Res::ViewStatusBar)));
  SendCommand(frame_, Res::ViewToolbar);
  SendCommand(frame_, Res::ViewStatusBar);
  PumpEvents(100);
  EXPECT_TRUE(frame_->GetToolBar()->IsShown());
  EXPECT_TRUE(frame_->GetStatusBar()->IsShown());
  EXPECT_EQ(frame_->Bar()->GetSize().y, barHeight);
}

// A page that counts how it is asked to commit.
class CountingPage : public PageDialog {
 public:
  CountingPage(wxWindow* parent, int templateId, std::vector<std::string>& log)
      : PageDialog(parent, templateId), log_(log) {}
  bool ExchangeData(bool toFields) override {
    if (toFields) log_.push_back("commit " + std::to_string(TemplateId()));
    return true;
  }
  void CommitOnClose() override { log_.push_back("close " + std::to_string(TemplateId())); }

 private:
  std::vector<std::string>& log_;
};

TEST_F(MainFrameTest, CloseRecordsPlacementBarStateAndLetsPagesCommit) {
  std::vector<std::string> log;
  std::vector<ConfigurationBar::PageFactory> pages;
  for (int id : {130, 140, 149})
    pages.push_back([id, &log](wxWindow* parent) { return new CountingPage(parent, id, log); });
  OpenFrame(pages);
  frame_->Hooks().saveColumnWidths = [&] { log.push_back("columns"); };
  ASSERT_TRUE(frame_->Bar()->SwitchTo(2));
  log.clear();
  frame_->SetSize(50, 60, 700, 560);
  SendCommand(frame_, Res::ViewToolbar);
  PumpEvents(100);
  const wxRect rect = frame_->GetRect();

  CloseFrame();
  EXPECT_EQ(log, (std::vector<std::string>{"close 140", "close 149", "columns", "commit 149"}));
  const AppSettings& settings = session_->settings;
  EXPECT_TRUE(settings.placementValid);
  EXPECT_EQ(settings.MainFramePlacement.length, 44);
  EXPECT_EQ(settings.MainFramePlacement.showCmd, WindowPlacement::kShowNormal);
  EXPECT_EQ(settings.MainFramePlacement.left, rect.x);
  EXPECT_EQ(settings.MainFramePlacement.top, rect.y);
  EXPECT_EQ(settings.MainFramePlacement.right - settings.MainFramePlacement.left, 700);
  EXPECT_EQ(settings.MainFramePlacement.bottom - settings.MainFramePlacement.top, 560);

  // The bar state goes under the program's root with the profile name "Brindlemark".
  session_->Save();
  RegistryStore reread(storePath_);
  reread.Load();
  const RegValue* toolbar =
      reread.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "ToolBarVisible");
  const RegValue* status =
      reread.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "StatusBarVisible");
  ASSERT_TRUE(toolbar && status);
  EXPECT_EQ(toolbar->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(status->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  const RegValue* placement =
      reread.Query("Software\\Orrinvale\\Brindlemark\\Window", "MainFramePlacement");
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->type, RegType::Binary);
  EXPECT_EQ(placement->data.size(), 44u);
}

TEST_F(MainFrameTest, CreationFailsWhenAPageCannotBeMade) {
  std::vector<ConfigurationBar::PageFactory> pages = ConfigurationBar::DefaultPages();
  pages[1] = [](wxWindow*) -> PageDialog* { return nullptr; };
  auto* frame = new CMainFrame(*session_);
  EXPECT_FALSE(frame->Build(pages));
  frame->Destroy();
  EXPECT_TRUE(WaitFor([] { return TheMainFrame() == nullptr; }));
}

}  // namespace
