// Brindlemark.exe itself: the windowed start loads the store and saves it at exit (SIGTERM
// closes the window as the user would); the command-line start never reads or writes it.
#include <gtest/gtest.h>
#include <wx/defs.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "ProgramDriver.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsSerializer.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

namespace {

const char kWindowKey[] = "Software\\Orrinvale\\Brindlemark\\Window";
const char kBatchKey[] = "Software\\Orrinvale\\Brindlemark\\BatchSetting";

// True once the program's main window (class "Brindlemark.exe") is on the screen.
bool WaitForMainWindow(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (std::system(
            "xwininfo -root -tree 2>/dev/null | grep -q '\"Brindlemark\": (\"Brindlemark.exe\"'") ==
        0)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::string StoreFile(const std::string& config) {
  return config + "/Orrinvale/Brindlemark/Brindlemark.reg";
}

std::uint32_t DwordOf(const RegValue* value) {
  if (!value || value->data.size() != 4) return 0xDEADBEEF;
  return value->data[0] | value->data[1] << 8 | value->data[2] << 16 |
         static_cast<std::uint32_t>(value->data[3]) << 24;
}

TEST(WindowedProgram, LoadsTheStoreAtStartAndSavesItWhenClosed) {
  if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the window";
  TempDir dir;
  const std::string config = dir / "config";
  {
    RegistryStore store(StoreFile(config));
    store.SetDword(kWindowKey, "addDirRecursive", 0);
    store.SetString(kWindowKey, "CurrentFolder", "/photos/2024");
    store.SetDword(kWindowKey, "ConvListColumnWidth3", 77);
    store.SetDword(kBatchKey, "width", 321);
    store.SetString(kBatchKey, "destFileExt", "png");
    ASSERT_GE(store.Flush(), 0);
  }
  const pid_t pid = StartProgram(config, {});
  ASSERT_GT(pid, 0);
  if (!WaitForMainWindow(15)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    FAIL() << "the main window did not appear";
  }
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  ASSERT_EQ(WaitForExit(pid, 15), 0);

  RegistryStore saved(StoreFile(config));
  saved.Load();
  // What was loaded is written back unchanged...
  EXPECT_EQ(DwordOf(saved.Query(kWindowKey, "addDirRecursive")), 0u);
  EXPECT_EQ(DwordOf(saved.Query(kWindowKey, "ConvListColumnWidth3")), 77u);
  EXPECT_EQ(DwordOf(saved.Query(kBatchKey, "width")), 321u);
  const RegValue* folder = saved.Query(kWindowKey, "CurrentFolder");
  ASSERT_TRUE(folder);
  EXPECT_EQ(std::string(folder->data.begin(), folder->data.end()), std::string("/photos/2024", 13));
  // ...the defaults of what was missing are written too...
  EXPECT_EQ(DwordOf(saved.Query(kWindowKey, "ConvListColumnWidth0")), 200u);
  EXPECT_EQ(DwordOf(saved.Query(kBatchKey, "height")), 100u);
  // ...and the window's state at close.
  const RegValue* placement = saved.Query(kWindowKey, "MainFramePlacement");
  ASSERT_TRUE(placement);
  ASSERT_EQ(placement->data.size(), 44u);
  const WindowPlacement p = WindowPlacement::FromBytes(placement->data.data());
  EXPECT_EQ(p.length, 44);
  EXPECT_EQ(p.showCmd, WindowPlacement::kShowNormal);
  EXPECT_EQ(p.right - p.left, 680);
  EXPECT_EQ(p.bottom - p.top, 535);
  EXPECT_EQ(DwordOf(saved.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "ToolBarVisible")),
            1u);
  EXPECT_EQ(
      DwordOf(saved.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "StatusBarVisible")),
      1u);
}

TEST(WindowedProgram, ArgumentsOfBlanksOnlyOpenTheWindow) {
  if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the window";
  TempDir dir;
  const std::string config = dir / "config";
  const pid_t pid = StartProgram(config, {"   ", "\t"});
  ASSERT_GT(pid, 0);
  const bool shown = WaitForMainWindow(15);
  kill(pid, shown ? SIGTERM : SIGKILL);
  EXPECT_TRUE(shown);
  EXPECT_EQ(WaitForExit(pid, 15), 0);
  // The windowed program ran: it created the store at its first start.
  EXPECT_TRUE(std::filesystem::exists(StoreFile(config)));
}

struct FileStamp {
  std::string bytes;
  std::int64_t mtimeNs = 0;
};

FileStamp StampOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return {ReadFile(path),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
    names.push_back(entry.path().lexically_relative(folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WindowedProgram, CommandLineModeNeverReadsOrWritesTheStore) {
  TempDir dir;
  const std::string config = dir / "config";
  const std::string source = dir / "in.png";
  const std::string dest = dir / "out";
  FIBITMAP* picture = MakePicture32(
      60, 40, [](int x, int y) { return 0xFF000000u | (x * 4) << 16 | (y * 6) << 8; });
  ASSERT_TRUE(SavePicture(picture, source));
  FreeImage_Unload(picture);
  {
    // A store that would change the result if it were read: another type, size and mode.
    RegistryStore store(StoreFile(config));
    store.SetString(kBatchKey, "destFileExt", "bmp");
    store.SetDword(kBatchKey, "width", 30);
    store.SetDword(kBatchKey, "height", 20);
    store.SetDword(kBatchKey, "resizeOption", 6);
    store.SetString(kBatchKey, "prefix", "stored_");
    ASSERT_GE(store.Flush(), 0);
  }
  const FileStamp before = StampOf(StoreFile(config));
  const std::vector<std::string> configBefore = FilesIn(config);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));

  const pid_t pid = StartProgram(config, {"-source:" + source, "-dest:" + dest});
  ASSERT_EQ(WaitForExit(pid, 60), 0);

  // The defaults decided: a JPEG of 150 x 100, named after the source.
  ASSERT_EQ(FilesIn(dest), std::vector<std::string>{"in.jpg"});
  FIBITMAP* written = FreeImage_Load(FIF_JPEG, (dest + "/in.jpg").c_str());
  ASSERT_TRUE(written);
  EXPECT_EQ(FreeImage_GetWidth(written), 150u);
  EXPECT_EQ(FreeImage_GetHeight(written), 100u);
  FreeImage_Unload(written);
  // The store is untouched: same bytes, same time, nothing beside it.
  const FileStamp after = StampOf(StoreFile(config));
  EXPECT_EQ(after.bytes, before.bytes);
  EXPECT_EQ(after.mtimeNs, before.mtimeNs);
  EXPECT_EQ(FilesIn(config), configBefore);
}

TEST(WindowedProgram, CommandLineModeCreatesNoStoreOnAFirstStart) {
  TempDir dir;
  const std::string config = dir / "config";
  const pid_t pid =
      StartProgram(config, {"-source:" + dir / "missing.png", "-dest:" + dir / "out"});
  WaitForExit(pid, 60);
  EXPECT_FALSE(std::filesystem::exists(config));
}

}  // namespace

namespace {

// A user's "Open With" of two pictures: the program started with their paths (one absolute,
// one relative to the current folder) lists both; F9 converts them into the stored
// destination, byte for byte as the command line does, and Pillow reads the results.
TEST(WindowedProgram, PicturesGivenAsArgumentsAreListedAndConvertedWithF9) {
  if (!HaveXwininfo()) GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the window";
  if (std::system("command -v convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "ImageMagick's convert makes the pictures";
  TempDir dir;
  const std::string config = dir / "config", pictures = dir / "pictures", out = dir / "out";
  std::filesystem::create_directories(pictures);
  std::filesystem::create_directories(out);
  ASSERT_EQ(std::system(("convert -size 200x150 gradient:red-blue -depth 8 " + pictures +
                         "/a.png && convert -size 120x160 plasma:fractal -seed 7 -depth 8 " +
                         pictures + "/b.jpg")
                            .c_str()),
            0);
  {
    RegistryStore store(StoreFile(config));
    store.SetString(kBatchKey, "destFolder", out);
    store.SetString(kBatchKey, "destFileExt", "png");
    ASSERT_GE(store.Flush(), 0);
  }
  const std::string relative = std::filesystem::relative(pictures + "/b.jpg").string();
  const pid_t pid = StartProgram(config, {pictures + "/a.png", relative});
  ASSERT_GT(pid, 0);
  if (!WaitForMainWindow(15)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    FAIL() << "the main window did not appear";
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // the pictures are listed
  ProgramWindow main;
  for (const ProgramWindow& w : ProgramWindows())
    if (w.title == "Brindlemark") main = w;
  PointAt(main);
  PressKey(WXK_F9);
  for (int i = 0; i < 300 && FilesIn(out).size() < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(WaitForWindow("Brindlemark", 10, 2)) << "the progress dialog did not show";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  SendCloseRequest(main);  // ends the finished dialog, then the window
  EXPECT_EQ(WaitForExit(pid, 20), 0);

  ASSERT_EQ(FilesIn(out), (std::vector<std::string>{"a.png", "b.png"}));
  const std::string reference = dir / "reference";
  const RunResult cli = RunProgram(BinPath("Brindlemark.exe"),
                                   {"-source:" + pictures, "-dest:" + reference, "-ext:png"});
  ASSERT_EQ(FilesIn(reference), FilesIn(out)) << cli.out;
  for (const std::string& name : FilesIn(out))
    EXPECT_EQ(ReadFile(out + "/" + name), ReadFile(reference + "/" + name)) << name;
  const RunResult check =
      RunProgram("/usr/bin/python3", {"-c",
                                      "import sys; from PIL import Image\n"
                                      "for p in sys.argv[1:]:\n"
                                      "  i = Image.open(p); print(i.format, i.size[0] > 0)",
                                      out + "/a.png", out + "/b.png"});
  EXPECT_EQ(check.out, "PNG True\nPNG True\n") << check.err;
}

}  // namespace
