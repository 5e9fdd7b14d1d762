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
#include <thread>

#include "ProgramDriver.h"
#include "UiTestSupport.h"
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
  bool saved = false;       // the defaults of the missing values were written
  bool closedAsUser = false;  // the close sequence recorded the placement
  std::uint32_t width = 0;
};

SavedState ReadSaved(const std::string& config) {
  RegistryStore store(StoreFileIn(config));
  store.Load();
  SavedState s;
  s.saved = store.Query(kWindowKey, "ConvListColumnWidth0") != nullptr;
  s.closedAsUser = store.Query(kWindowKey, "MainFramePlacement") != nullptr;
  if (const RegValue* v = store.Query(kBatchKey, "width"); v && v->data.size() == 4)
    s.width = v->data[0] | v->data[1] << 8;
  return s;
}

ProgramWindow MainWindow() {
  for (const ProgramWindow& w : ProgramWindows())
    if (w.title == "Brindlemark") return w;
  return {};
}

// Opens a modal dialog in the running program; returns the title it shows with.
struct DialogCase {
  const char* name;
  std::function<void()> open;
  const char* title;
  int count;  // windows of that title once it is open
};

void OpenAboutBox() {
  PointAt(MainWindow());
  PressKey('H', wxMOD_ALT);
  PressKey('A');
}

class StopTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the windows";
  }

  // Starts the program, opens the dialog, sends the signal; expects exit 0 and a store
  // saved by the close sequence.
  void StopWithDialogOpen(const DialogCase& dialog, int signal) {
    TempDir dir;
    const std::string config = dir / "config";
    WriteSparseStore(config);
    const pid_t pid = StartProgram(config);
    ASSERT_GT(pid, 0);
    if (!WaitForWindow("Brindlemark", 15)) {
      WaitForExit(pid, 0);
      FAIL() << "the main window did not appear";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    dialog.open();
    const bool open = WaitForWindow(dialog.title, 10, dialog.count);
    EXPECT_TRUE(open) << dialog.name << " did not open";
    ASSERT_EQ(kill(pid, signal), 0);
    EXPECT_EQ(WaitForExit(pid, 20), 0) << dialog.name;
    const SavedState saved = ReadSaved(config);
    EXPECT_TRUE(saved.saved) << dialog.name;
    EXPECT_TRUE(saved.closedAsUser) << dialog.name;
    EXPECT_EQ(saved.width, 222u);
  }
};

TEST_P(StopTest, AboutBoxOpen) {
  StopWithDialogOpen({"the About box", OpenAboutBox, "About Brindlemark", 1}, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Signals, StopTest, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

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
