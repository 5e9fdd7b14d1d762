// Stopping the real program in every state: SIGTERM and SIGINT while a modal dialog is
// open end the dialog, run the close sequence, save the store and exit with 0; losing the
// display saves the store before the program ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iterator>
#include <tuple>
#include <thread>

#include <wx/uiaction.h>

#include "ProgramDriver.h"
#include "UiTestSupport.h"
#include "ui/colour/ColourPicker.h"
#include "ui/frame/TabStrip.h"
#include "FrameFixture.h"
#include "platform/RegistryStore.h"
#include "support/TestFiles.h"

namespace {

const char kWindowKey[] = "Software\\Orrinvale\\Brindlemark\\Window";
const char kBatchKey[] = "Software\\Orrinvale\\Brindlemark\\BatchSetting";

// A store with both keys but few values: a save adds the missing defaults, the close
// sequence adds the window placement; neither happens at start.
void WriteSparseStore(const std::string& config) {
  RegistryStore store(StoreFileIn(config));
  store.SetDword(kWindowKey, "addDirRecursive", 1);
  store.SetDword(kBatchKey, "width", 222);
  ASSERT_GE(store.Flush(), 0);
}

struct SavedState {
  bool saved = false;         // the defaults of the missing values were written
  bool closedAsUser = false;  // the close sequence recorded the placement
  std::uint32_t width = 0;
  std::string currentFolder, lastSelFileDir;
};

std::string StringOf(const RegValue* v) {
  if (!v) return {};
  std::string text(v->data.begin(), v->data.end());
  return text.substr(0, text.find('\0'));
}

SavedState ReadSaved(const std::string& config) {
  RegistryStore store(StoreFileIn(config));
  store.Load();
  SavedState s;
  s.saved = store.Query(kWindowKey, "ConvListColumnWidth0") != nullptr;
  s.closedAsUser = store.Query(kWindowKey, "MainFramePlacement") != nullptr;
  if (const RegValue* v = store.Query(kBatchKey, "width"); v && v->data.size() == 4)
    s.width = v->data[0] | v->data[1] << 8;
  s.currentFolder = StringOf(store.Query(kWindowKey, "CurrentFolder"));
  s.lastSelFileDir = StringOf(store.Query(kWindowKey, "lastSelFileDir"));
  return s;
}

ProgramWindow MainWindow() {
  for (const ProgramWindow& w : ProgramWindows())
    if (w.title == "Brindlemark") return w;
  return {};
}

ProgramWindow WindowTitled(const std::string& title, int index = 0) {
  for (const ProgramWindow& w : ProgramWindows())
    if (w.title == title && index-- == 0) return w;
  return {};
}

// Where the Shadow & Overlay tab and the shadow colour button lie in a main window of the
// default size, from its top left: an identical window built in this process shows them.
struct ColourButtonSpot {
  wxPoint tab, button;
};

ColourButtonSpot MeasureColourButton() {
  TempDir dir;
  AppSession session(dir / "store.reg");
  session.Load();
  session.settings.conversion.createShadow = true;
  auto* frame = new CMainFrame(session);
  ColourButtonSpot spot;
  if (frame->Build(ConfigurationBar::DefaultPages())) {
    frame->Show();
    WaitFor([&] { return frame->IsShownOnScreen(); });
    frame->Bar()->SwitchTo(2);
    PumpEvents(100);
    const wxPoint origin = frame->GetScreenPosition();
    TabStrip* tabs = frame->Bar()->Tabs();
    spot.tab = tabs->ClientToScreen(tabs->TabRect(2).GetPosition() + wxPoint(10, 8)) - origin;
    std::function<wxWindow*(wxWindow*)> picker = [&](wxWindow* w) -> wxWindow* {
      for (wxWindow* child : w->GetChildren()) {
        if (dynamic_cast<CColourPicker*>(child)) return child;
        if (wxWindow* inner = picker(child)) return inner;
      }
      return nullptr;
    };
    if (wxWindow* button = picker(frame->Bar()->Page(2))) {
      const wxRect r = button->GetScreenRect();
      spot.button = r.GetPosition() + wxPoint(r.width / 2, r.height / 2) - origin;
    }
  }
  frame->Close(true);
  WaitFor([] { return TheMainFrame() == nullptr; });
  return spot;
}

// Everything a case needs of the running program: its configuration and files.
struct CaseFolders {
  std::string config, pictures, out;
};

// Opens a modal dialog in the running program and says what the store holds afterwards.
struct DialogCase {
  const char* name;
  std::function<void(const CaseFolders&)> prepare;  // before the start: pictures, the store
  std::function<void(const CaseFolders&)> open;
  const char* title;
  int count;  // windows of that title once it is open
  std::function<void(const CaseFolders&, const SavedState&)> check;
};

void OpenAboutBox(const CaseFolders&) {
  PointAt(MainWindow());
  PressKey('H', wxMOD_ALT);
  PressKey('A');
}

// A path typed into the Add Directory field that names nothing: Enter shows the message box.
const char kMissingPath[] = "/no/such/folder";

void OpenMessageBox(const CaseFolders&) {
  PointAt(MainWindow());
  wxUIActionSimulator().Text(kMissingPath);
  PumpEvents(100);
  PressKey(WXK_RETURN);
}

void OpenColourDialog(const CaseFolders&) {
  static const ColourButtonSpot spot = MeasureColourButton();
  const ProgramWindow main = MainWindow();
  ClickAt(main.x + spot.tab.x, main.y + spot.tab.y);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ClickAt(main.x + spot.button.x, main.y + spot.button.y);  // opens the colour popup
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  PressKey(WXK_UP);  // to "Automatic"
  PressKey(WXK_UP);  // to "More Colours..."
  PressKey(WXK_RETURN);
}

// Twelve large pictures make a run of several seconds.
constexpr int kRunPictures = 12;

void MakeRunPictures(const CaseFolders& f) {
  std::filesystem::create_directories(f.pictures);
  std::filesystem::create_directories(f.out);
  const std::string first = f.pictures + "/p0.jpg";
  ASSERT_EQ(
      std::system(
          ("convert -size 4000x3000 gradient:red-blue -depth 8 -quality 95 " + first).c_str()),
      0);
  for (int i = 1; i < kRunPictures; ++i)
    std::filesystem::copy_file(first, f.pictures + "/p" + std::to_string(i) + ".jpg");
  RegistryStore store(StoreFileIn(f.config));
  store.Load();
  store.SetString(kBatchKey, "destFolder", f.out);
  ASSERT_GE(store.Flush(), 0);
}

// F7, the folder typed into the folder chooser, the search; then F9 starts the run.
void StartRunOfFolder(const CaseFolders& f) {
  PointAt(MainWindow());
  PressKey(WXK_F7);
  ASSERT_TRUE(WaitForWindow("Select the folder", 10));
  PointAt(WindowTitled("Select the folder"));
  wxUIActionSimulator().Text(f.pictures.c_str());
  PumpEvents(300);
  PressKey(WXK_RETURN);
  // The search dialog comes and goes; then the main window is alone again.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  PointAt(MainWindow());
  PressKey(WXK_F9);
}

// The run stopped after the item in progress: whole files only, fewer than all.
void CheckStoppedRun(const CaseFolders& f, const SavedState& saved) {
  EXPECT_EQ(saved.lastSelFileDir, f.pictures);
  std::vector<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(f.out))
    written.push_back(entry.path().string());
  EXPECT_LT(written.size(), static_cast<std::size_t>(kRunPictures)) << "the run was not stopped";
  std::printf("stopped after %zu of %d\n", written.size(), kRunPictures);
  for (const std::string& path : written) {
    EXPECT_NE(std::filesystem::path(path).filename().string()[0], '.') << path;
    FIBITMAP* picture = FreeImage_Load(FIF_JPEG, path.c_str());
    EXPECT_TRUE(picture && FreeImage_GetWidth(picture) == 222u) << path << " is not whole";
    if (picture) FreeImage_Unload(picture);
  }
}

void SetCreateShadow(const CaseFolders& f) {
  RegistryStore store(StoreFileIn(f.config));
  store.Load();
  store.SetDword(kBatchKey, "createShadow", 1);
  ASSERT_GE(store.Flush(), 0);
}

const DialogCase kDialogs[] = {
    {"the About box", {}, OpenAboutBox, "About Brindlemark", 1, {}},
    {"a message box",
     {},
     OpenMessageBox,
     "Brindlemark",
     2,
     [](const CaseFolders&, const SavedState& s) { EXPECT_EQ(s.currentFolder, kMissingPath); }},
    {"the colour dialog", SetCreateShadow, OpenColourDialog, "Choose colour", 1, {}},
    {"the progress dialog", MakeRunPictures, StartRunOfFolder, "Brindlemark", 2, CheckStoppedRun},
};

// Starts the program, opens the dialog, stops the program with `stop`; expects exit 0 and a
// store saved by the close sequence.
void StopWithDialogOpen(const DialogCase& dialog, const std::function<void(pid_t)>& stop) {
  TempDir dir;
  const CaseFolders folders{dir / "config", dir / "pictures", dir / "out"};
  WriteSparseStore(folders.config);
  if (dialog.prepare) dialog.prepare(folders);
  const pid_t pid = StartProgram(folders.config);
  ASSERT_GT(pid, 0);
  if (!WaitForWindow("Brindlemark", 15)) {
    WaitForExit(pid, 0);
    FAIL() << "the main window did not appear";
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  dialog.open(folders);
  const bool open = WaitForWindow(dialog.title, 10, dialog.count);
  EXPECT_TRUE(open) << dialog.name << " did not open";
  stop(pid);
  EXPECT_EQ(WaitForExit(pid, 30), 0) << dialog.name;
  const SavedState saved = ReadSaved(folders.config);
  EXPECT_TRUE(saved.saved) << dialog.name;
  EXPECT_TRUE(saved.closedAsUser) << dialog.name;
  EXPECT_EQ(saved.width, 222u);
  if (dialog.check) dialog.check(folders, saved);
}

class StopTest : public testing::TestWithParam<std::tuple<int, int>> {
 protected:
  void SetUp() override {
    if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the windows";
  }
};

std::string CaseName(const testing::TestParamInfo<std::tuple<int, int>>& info) {
  const char* names[] = {"AboutBox", "MessageBox", "ColourDialog", "ProgressDialog"};
  return std::string(names[std::get<0>(info.param)]) +
         (std::get<1>(info.param) == SIGTERM ? "_SIGTERM" : "_SIGINT");
}

TEST_P(StopTest, DialogOpen) {
  const auto [dialog, signal] = GetParam();
  StopWithDialogOpen(kDialogs[dialog], [signal](pid_t pid) { ASSERT_EQ(kill(pid, signal), 0); });
}

INSTANTIATE_TEST_SUITE_P(Signals, StopTest,
                         testing::Combine(testing::Range(0, static_cast<int>(std::size(kDialogs))),
                                          testing::Values(SIGTERM, SIGINT)),
                         CaseName);

// The main window's close box while a message box or a run is open: the dialog ends (the run
// after its current item), then the window closes as the user's close does.
TEST(CloseBox, WithADialogOpenEndsTheDialogThenClosesTheWindow) {
  if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the windows";
  for (const int dialog : {1, 3}) {
    SCOPED_TRACE(kDialogs[dialog].name);
    StopWithDialogOpen(kDialogs[dialog], [](pid_t) {
      ProgramWindow largest;  // the main window: the dialogs share its title
      for (const ProgramWindow& w : ProgramWindows())
        if (w.title == "Brindlemark" && w.width * w.height > largest.width * largest.height)
          largest = w;
      ASSERT_FALSE(largest.id.empty());
      SendCloseRequest(largest);
    });
  }
}

// A private X server that the test can take away.
class PrivateDisplay {
 public:
  // A display number whose socket is free; ready once the server's socket appears.
  PrivateDisplay() {
    int number = 200 + getpid() % 500;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
           std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
      ++number;
    std::string name(1, ':');  // appended, not "+": GCC 12 warns falsely on ":" + to_string
    name += std::to_string(number);
    pid_ = fork();
    if (pid_ == 0) {
      execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int i = 0; i < 300 && !std::filesystem::exists(socket); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (std::filesystem::exists(socket)) name_ = name;
  }
  ~PrivateDisplay() { Kill(); }
  const std::string& Name() const { return name_; }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

TEST(DisplayLoss, TheStoreIsSavedWhenTheXServerGoesAway) {
  if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the windows";
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
  TempDir dir;
  const std::string config = dir / "config";
  WriteSparseStore(config);
  const pid_t pid = StartProgram(config, {}, display.Name());
  ASSERT_GT(pid, 0);
  const bool shown = WaitForWindow("Brindlemark", 15, 1, display.Name());
  EXPECT_TRUE(shown);
  EXPECT_FALSE(ReadSaved(config).saved);  // nothing written yet
  display.Kill();
  EXPECT_EQ(WaitForExit(pid, 15), 1);
  const SavedState saved = ReadSaved(config);
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(saved.width, 222u);
}

}  // namespace
