// Preset files: the names a preset may have, where it lives, the bytes it is written as,
// and the exact refusal of every kind of damaged or foreign file.
#include "settings/PresetFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/RegistryStore.h"
#include "settings/SettingsSerializer.h"
#include "support/TestFiles.h"

namespace {

// Sets an environment variable for the scope of one test, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

// Settings with every kind of stored field away from its default.
ConversionSettings Changed() {
  ConversionSettings s;
  s.width = 1200;
  s.height = 800;
  s.destFileExt = "png";
  s.jpegQualityNew = 71;
  s.prefix = "web-";
  s.suffix = "_small";
  s.destFolder = "/srv/pictures/out";
  s.ratio = 0.25;
  s.paddingColor = 0x00123456;
  s.createShadow = true;
  s.overlayFilePath = "/srv/logo.png";
  return s;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The number (from 1) of the line of `text` that starts with `start`.
int LineOf(const std::string& text, const std::string& start) {
  const std::size_t at = text.find("\n" + start);
  return 2 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

TEST(PresetFileTest, NamesThatAreNotSafeFileNamesAreRefusedWithTheReason) {
  const std::string rule =
      " cannot be a preset name: it may not start or end with a dot or a blank, nor hold "
      "control characters or any of / \\ : * ? \" < > |";
  const struct {
    std::string name;
    std::string problem;
  } cases[] = {
      {"Web 1200", ""},
      {"Höhe – 800 px", ""},  // UTF-8 letters are fine
      {"v1.2", ""},
      {"", "A preset needs a name."},
      {".hidden", "\".hidden\"" + rule},
      {"trailing.", "\"trailing.\"" + rule},
      {" lead", "\" lead\"" + rule},
      {"a/b", "\"a/b\"" + rule},
      {"a:b", "\"a:b\"" + rule},
      {"a*b", "\"a*b\"" + rule},
      {"tab\there", "\"tab\there\"" + rule},
      {std::string(201, 'x'),
       "\"" + std::string(201, 'x') + "\" cannot be a preset name: it is longer than 200 bytes."},
  };
  for (const auto& c : cases) EXPECT_EQ(PresetNameProblem(c.name), c.problem) << c.name;
}

TEST(PresetFileTest, FolderFollowsXdgConfigHomeElseHome) {
  const struct {
    const char* xdg;
    const char* home;
    std::string folder;
  } cases[] = {
      {"/cfg", "/home/ann", "/cfg/Orrinvale/Brindlemark/presets"},
      {"relative/cfg", "/home/ann", "/home/ann/.config/Orrinvale/Brindlemark/presets"},
      {nullptr, "/home/ann", "/home/ann/.config/Orrinvale/Brindlemark/presets"},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(PresetsFolder(), c.folder);
    std::string path, message;
    if (c.folder.empty()) {
      EXPECT_EQ(ResolvePresetPath("web", path, message), E_INVALIDARG);
      EXPECT_EQ(message,
                "There is no folder for presets: HOME and XDG_CONFIG_HOME are both unset.");
    } else {
      EXPECT_EQ(ResolvePresetPath("web", path, message), S_OK);
      EXPECT_EQ(path, c.folder + "/web.preset");
    }
    // A text with a slash is a path, whatever the environment.
    EXPECT_EQ(ResolvePresetPath("./my.preset", path, message), S_OK);
    EXPECT_EQ(path, "./my.preset");
  }
}

TEST(PresetFileTest, NamesListsUsablePresetFilesWithoutRegardToCase) {
  TempDir dir;
  for (const char* file : {"b.preset", "A.preset", "c.txt", ".preset", " x.preset", "d.preset.bak"})
    WriteFile(dir / file, "");
  std::filesystem::create_directories(dir / "folder.preset");
  EXPECT_EQ(PresetNames(dir.path()), (std::vector<std::string>{"A", "b"}));
  EXPECT_TRUE(PresetNames(dir / "missing").empty());
}

// The preset holds exactly the values the settings store holds for the record, whatever
// fields the record has, and reads back to the same record.
TEST(PresetFileTest, CarriesEveryStoredFieldOfTheRecordAndReadsBack) {
  const ConversionSettings written = Changed();
  RegistryStore preset, store;
  preset.MergeText(PresetText(written));
  ConversionSettings copy = written;
  SerializeSettings(store, copy, Save);
  const std::vector<std::string> names = store.ValueNames(StoreKeys::BatchSetting);
  ASSERT_GT(names.size(), 30u);
  ASSERT_EQ(preset.ValueNames(StoreKeys::BatchSetting), names);
  for (const std::string& name : names)
    EXPECT_EQ(preset.Query(StoreKeys::BatchSetting, name)->data,
              store.Query(StoreKeys::BatchSetting, name)->data)
        << name;
  EXPECT_EQ(preset.KeyNames().size(), 2u);

  ConversionSettings read;
  read.source = "/kept/source";  // not part of a preset: left as it is
  std::string message;
  ASSERT_EQ(ReadPresetText(PresetText(written), "p", read, message), S_OK) << message;
  EXPECT_EQ(PresetText(read), PresetText(written));
  EXPECT_EQ(read.source, "/kept/source");
  EXPECT_EQ(read.width, 1200);
  EXPECT_EQ(read.prefix, "web-");
}

TEST(PresetFileTest, WritesTheStoreTextWithTheVersionLast) {
  const std::string text = PresetText(ConversionSettings{});
  EXPECT_EQ(
      text.rfind("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\BatchSetting]\n"
                 "\"addPadding\"=dword:00000000\n",
                 0),
      0u);
  const std::string tail =
      "\n[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\Preset]\n\"version\"=dword:"
      "00000001\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(PresetFileTest, DamagedAndForeignTextsAreRefusedWithTheirReason) {
  const std::string whole = PresetText(Changed());
  const std::string versionLine = "\"version\"=dword:00000001\n";
  const std::string damaged = "The preset p.preset is damaged: ";
  const std::string foreign = "p.preset is not a preset file";
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"", foreign},
      {"hello", foreign},
      {"\x89PNG\r\n\x1a\n", foreign},
      {"REGEDIT4\n", foreign},
      // The window's own store has the record and other keys besides.
      {whole + "[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\Window]\n", foreign},
      {whole.substr(0, whole.size() - versionLine.size()), damaged + "it is cut short"},
      {whole.substr(0, whole.size() - 5), damaged + "it is cut short"},
      {Replace(whole, versionLine, "\"version\"=dword:00000002\n"),
       damaged + "it was written in a newer format"},
      {"REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\Preset]\n" + versionLine,
       damaged + "it holds no settings"},
      {Replace(whole, "\"width\"=dword:000004b0", "\"width\"=hex:b0,04"),
       damaged + "the value \"width\" is malformed"},
      {Replace(whole, "\"ratio\"=hex:00,00,00,00,00,00,d0,3f", "\"ratio\"=dword:00000001"),
       damaged + "the value \"ratio\" is malformed"},
      {Replace(whole, "\"height\"=dword:00000320", "\"height\"=dword:zz"),
       damaged + "line " + std::to_string(LineOf(whole, "\"height\"")) + " cannot be read"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings = Changed();
    settings.width = 5;
    std::string message;
    EXPECT_EQ(ReadPresetText(c.text, "p.preset", settings, message), E_INVALIDARG) << c.text;
    EXPECT_EQ(message, c.message) << c.text;
    EXPECT_EQ(settings.width, 5) << "a refused preset changes nothing";
  }
  // A value the record does not know is a newer program's field: ignored.
  ConversionSettings settings;
  std::string message;
  EXPECT_EQ(ReadPresetText(Replace(whole, versionLine, versionLine + "\"later\"=dword:00000001\n"),
                           "p", settings, message),
            S_OK);
}

// Cut after any byte, a preset is either refused with a reason or (cut at its end only)
// gives the whole preset's settings: never a half-read record.
TEST(PresetFileTest, EveryTruncationIsRefusedOrWhole) {
  const std::string whole = PresetText(Changed());
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    ConversionSettings settings;
    std::string message;
    if (Failed(ReadPresetText(whole.substr(0, size), "p", settings, message))) {
      EXPECT_FALSE(message.empty()) << size;
    } else {
      EXPECT_GE(size, whole.size() - 1);
      EXPECT_EQ(PresetText(settings), whole) << size;
    }
  }
}

TEST(PresetFileTest, FilesThatAreMissingOrNotRegularAreRefused) {
  TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
  const std::string folder = dir / "Orrinvale/Brindlemark/presets";
  std::filesystem::create_directories(dir / "a-folder.preset");
  ASSERT_EQ(mkfifo((dir / "pipe.preset").c_str(), 0600), 0);
  const struct {
    std::string asked;
    std::string message;
  } cases[] = {
      {"nothing", "No preset named \"nothing\" in " + folder},
      {dir / "missing.preset",
       "Cannot read the preset " + (dir / "missing.preset") + ": no such file"},
      {dir / "a-folder.preset", (dir / "a-folder.preset") + " is not a preset file"},
      {dir / "pipe.preset", (dir / "pipe.preset") + " is not a preset file"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings;
    std::string message;
    EXPECT_EQ(LoadPreset(c.asked, settings, message), E_INVALIDARG) << c.asked;
    EXPECT_EQ(message, c.message);
  }
}

TEST(PresetFileTest, WritingMakesThePresetsFolderButNoOtherAndRoundTrips) {
  TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
  std::string path, message;
  ASSERT_EQ(ResolvePresetPath("web", path, message), S_OK);
  ASSERT_EQ(WritePresetFile(path, Changed(), message), S_OK) << message;
  EXPECT_EQ(ReadFile(path), PresetText(Changed()));
  ConversionSettings read;
  ASSERT_EQ(LoadPreset("web", read, message), S_OK) << message;
  EXPECT_EQ(PresetText(read), PresetText(Changed()));

  const std::string elsewhere = dir / "no/such/folder/x.preset";
  EXPECT_EQ(WritePresetFile(elsewhere, Changed(), message), E_FAIL);
  EXPECT_EQ(message, "Cannot write the preset " + elsewhere + ": the folder " +
                         (dir / "no/such/folder") + " does not exist");
  EXPECT_EQ(WritePresetFile(dir.path(), Changed(), message), E_FAIL);
  EXPECT_EQ(message, "Cannot write the preset " + dir.path() + ": it is a folder");
}

}  // namespace
