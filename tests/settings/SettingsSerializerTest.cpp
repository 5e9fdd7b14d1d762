// Loading and saving the windowed program's settings through the store, with the read
// rules for malformed values, and proof that the command line never touches the store.
#include "settings/SettingsSerializer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "support/TestFiles.h"

namespace {

const std::string kBatch(StoreKeys::BatchSetting);
const std::string kWindow(StoreKeys::Window);

std::vector<std::uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> out;
  for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

// The settings loaded from a store that holds only `value` under `name`.
ConversionSettings LoadedWith(const std::string& name, const RegValue& value) {
  RegistryStore store;
  store.Set(kBatch, name, value);
  ConversionSettings s;
  SerializeSettings(store, s, Load);
  return s;
}

TEST(SettingsSerializerTest, FirstStartGivesDefaultsAndCreatesTheKeys) {
  TempDir dir;
  RegistryStore store(dir / "cfg/Brindlemark.reg");
  AppSettings app;
  app.conversion.width = 1;  // Load replaces it
  LoadAll(store, app);
  EXPECT_EQ(app.conversion.width, 150);
  EXPECT_EQ(app.conversion.destFileExt, "jpg");
  EXPECT_EQ(app.conversion.destFolder, "");
  EXPECT_EQ(app.columnWidths, AppSettings::DefaultColumnWidths());
  EXPECT_EQ(app.columnWidths[0], 200);
  EXPECT_EQ(app.columnWidths[12], 130);
  EXPECT_TRUE(app.addDirRecursive);
  EXPECT_FALSE(app.placementValid);
  EXPECT_EQ(ReadFile(dir / "cfg/Brindlemark.reg"),
            "REGEDIT4\n\n"
            "[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\BatchSetting]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\Window]\n");
}

TEST(SettingsSerializerTest, NumbersNeedExactlyFourBytesWhateverTheirType) {
  struct Case {
    RegValue value;
    int expected;
  };
  const Case cases[] = {
      {{RegType::Sz, Bytes({0x2c, 0x01, 0, 0})}, 300},  // a 4-byte SZ is a number
      {{RegType::Sz, Bytes({0x2c, 0x01, 0})}, 150},     // 3 bytes: the default
      {{RegType::Binary, Bytes({7, 0, 0, 0})}, 7},
      {{RegType::Dword, Bytes({7, 0, 0, 0, 0})}, 150},
      {{RegType::Dword, Bytes({0xff, 0xff, 0xff, 0xff})}, -1},  // kept as read
  };
  for (const Case& c : cases) EXPECT_EQ(LoadedWith("width", c.value).width, c.expected);
}

TEST(SettingsSerializerTest, DoublesNeedExactlyEightBytes) {
  RegistryStore store;
  store.SetDword(kBatch, "ratio", 3);  // a DWORD ratio is ignored
  const double quarter = 0.25;
  store.SetBinary(kBatch, "cropLeftRatio", &quarter, 8);
  store.SetBinary(kBatch, "cropTopRatio", &quarter, 7);
  ConversionSettings s;
  SerializeSettings(store, s, Load);
  EXPECT_EQ(s.ratio, 0.5);
  EXPECT_EQ(s.cropLeftRatio, 0.25);
  EXPECT_EQ(s.cropTopRatio, 0.5);
}

TEST(SettingsSerializerTest, BoolsAreAnyNonZeroNumber) {
  RegistryStore store;
  store.SetDword(kBatch, "greyScale", 7);
  store.SetDword(kBatch, "sameForPortrait", 0);
  store.Set(kBatch, "override", {RegType::Dword, Bytes({1})});  // malformed: default false
  ConversionSettings s;
  SerializeSettings(store, s, Load);
  EXPECT_TRUE(s.greyScale);
  EXPECT_FALSE(s.sameForPortrait);
  EXPECT_FALSE(s.override);
}

TEST(SettingsSerializerTest, StringsStopAtTheFirstNulOrTheEndOfTheData) {
  struct Case {
    RegValue value;
    const char* expected;
  };
  const Case cases[] = {
      {{RegType::Sz, Bytes({'p', 'n', 'g', 0})}, "png"},
      {{RegType::Binary, Bytes({'t', 'i', 'f'})}, "tif"},  // no NUL at all
      {{RegType::Dword, Bytes({'b', 0, 'm', 'p'})}, "b"},
      {{RegType::Sz, {}}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadedWith("destFileExt", c.value).destFileExt, c.expected);
}

TEST(SettingsSerializerTest, PlacementNeedsExactly44Bytes) {
  RegistryStore store;
  AppSettings app;
  app.MainFramePlacement.left = 99;
  std::vector<std::uint8_t> forty(40, 1);
  store.Set(kWindow, "MainFramePlacement", {RegType::Binary, forty});
  SerializeAppSettings(store, app, Load);
  EXPECT_FALSE(app.placementValid);
  EXPECT_EQ(app.MainFramePlacement.left, 99);  // untouched

  WindowPlacement p;
  p.left = 10, p.top = 20, p.right = 690, p.bottom = 555,
  p.showCmd = WindowPlacement::kShowMaximized;
  const auto bytes = p.ToBytes();
  store.SetBinary(kWindow, "MainFramePlacement", bytes.data(), bytes.size());
  SerializeAppSettings(store, app, Load);
  EXPECT_TRUE(app.placementValid);
  EXPECT_EQ(app.MainFramePlacement, p);
}

TEST(SettingsSerializerTest, EveryFieldSurvivesASaveAndALoadThroughTheFile) {
  TempDir dir;
  AppSettings out;
  for (int i = 0; i < kColumnCount; ++i) out.columnWidths[i] = 300 + i;
  out.addDirRecursive = false;
  out.CurrentFolder = "/home/u/Pictures/with \"quotes\" and \\";
  out.lastSelFileDir = "/media/ü";
  out.MainFramePlacement.right = 700;
  ConversionSettings& s = out.conversion;
  s.resizeOption = ByRatio, s.sameForPortrait = false, s.width = 11, s.height = 12;
  s.portraitWidth = 13, s.portraitHeight = 14, s.ratio = 0.29, s.cropLeftRatio = 0.1;
  s.cropTopRatio = 0.9, s.rotateDegree = 270, s.destFileExt = "png", s.bpp = 8;
  s.greyScale = true, s.paddingColor = 0x123456, s.addPadding = true, s.paddingVert = 5;
  s.paddingHorz = 6, s.createShadow = true, s.shadowOpaque = 0.58, s.shadowDistance = 9;
  s.shadowAngle = 45, s.shadowBlur = 3, s.shadowBackColor = 0xFF000000, s.shadowColor = 0xABCDEF;
  s.overlay = true, s.overlayFilePath = "/logo.png", s.overlayHAlignRatio = 0.3;
  s.overlayVAlignRatio = 0.7, s.overlayTransparency = 0.2, s.overlayTransparentClr = 0xFFFF00FF;
  s.zeroPadding = 4, s.override = true, s.sameDir = true, s.jpegQualityNew = 95;
  s.destFolder = "/out", s.prefix = "p-", s.suffix = "-s";
  s.source = "/not/stored", s.recursive = false, s.autoRotate = true;
  s.keepMetadata = true, s.filter = LanczosFilter, s.progressive = true, s.gifDither = true;
  {
    RegistryStore store(dir / "s.reg");
    SaveAll(store, out);
  }
  RegistryStore store(dir / "s.reg");
  AppSettings in;
  LoadAll(store, in);
  EXPECT_EQ(in.columnWidths, out.columnWidths);
  EXPECT_EQ(in.addDirRecursive, false);
  EXPECT_EQ(in.CurrentFolder, out.CurrentFolder);
  EXPECT_EQ(in.lastSelFileDir, out.lastSelFileDir);
  EXPECT_TRUE(in.placementValid);
  EXPECT_EQ(in.MainFramePlacement, out.MainFramePlacement);
  const ConversionSettings& r = in.conversion;
  EXPECT_EQ(r.resizeOption, ByRatio);
  EXPECT_EQ(r.sameForPortrait, false);
  EXPECT_EQ(std::vector<int>(
                {r.width, r.height, r.portraitWidth, r.portraitHeight, r.rotateDegree, r.bpp}),
            std::vector<int>({11, 12, 13, 14, 270, 8}));
  EXPECT_EQ(
      std::vector<double>({r.ratio, r.cropLeftRatio, r.cropTopRatio, r.shadowOpaque,
                           r.overlayHAlignRatio, r.overlayVAlignRatio, r.overlayTransparency}),
      std::vector<double>({0.29, 0.1, 0.9, 0.58, 0.3, 0.7, 0.2}));
  EXPECT_EQ(r.destFileExt, "png");
  EXPECT_TRUE(r.autoRotate && r.keepMetadata);
  EXPECT_EQ(r.filter, LanczosFilter);
  EXPECT_TRUE(r.progressive && r.gifDither);
  EXPECT_TRUE(r.greyScale && r.addPadding && r.createShadow && r.overlay && r.override &&
              r.sameDir);
  EXPECT_EQ(r.paddingColor, 0x123456u);
  EXPECT_EQ(std::vector<int>({r.paddingVert, r.paddingHorz, r.shadowDistance, r.shadowAngle,
                              r.shadowBlur, r.zeroPadding, r.jpegQualityNew}),
            std::vector<int>({5, 6, 9, 45, 3, 4, 95}));
  EXPECT_EQ(r.shadowBackColor, 0xFF000000u);
  EXPECT_EQ(r.shadowColor, 0xABCDEFu);
  EXPECT_EQ(r.overlayFilePath, "/logo.png");
  EXPECT_EQ(r.overlayTransparentClr, 0xFFFF00FFu);
  EXPECT_EQ(r.destFolder, "/out");
  EXPECT_EQ(r.prefix, "p-");
  EXPECT_EQ(r.suffix, "-s");
  EXPECT_EQ(r.source, "");   // not stored
  EXPECT_TRUE(r.recursive);  // not stored
}

TEST(SettingsSerializerTest, SavedValuesHaveTheirTypesAndNames) {
  RegistryStore store;
  AppSettings app;
  SaveAll(store, app);
  EXPECT_EQ(store.Query(kBatch, "width")->type, RegType::Dword);
  EXPECT_EQ(store.Query(kBatch, "greyScale")->data, Bytes({0, 0, 0, 0}));
  EXPECT_EQ(store.Query(kBatch, "autoRotate")->data, Bytes({0, 0, 0, 0}));
  // The filter is stored as its number (box 0); the two JPEG and GIF choices as flags.
  EXPECT_EQ(*store.Query(kBatch, "filter"), (RegValue{RegType::Dword, Bytes({0, 0, 0, 0})}));
  EXPECT_EQ(*store.Query(kBatch, "progressive"), (RegValue{RegType::Dword, Bytes({0, 0, 0, 0})}));
  EXPECT_EQ(*store.Query(kBatch, "gifDither"), (RegValue{RegType::Dword, Bytes({0, 0, 0, 0})}));
  EXPECT_EQ(store.Query(kBatch, "sameForPortrait")->data, Bytes({1, 0, 0, 0}));
  EXPECT_EQ(store.Query(kBatch, "ratio")->type, RegType::Binary);
  EXPECT_EQ(store.Query(kBatch, "ratio")->data, Bytes({0, 0, 0, 0, 0, 0, 0xe0, 0x3f}));
  EXPECT_EQ(*store.Query(kBatch, "destFileExt"),
            (RegValue{RegType::Sz, Bytes({'j', 'p', 'g', 0})}));
  EXPECT_EQ(store.Query(kWindow, "ConvListColumnWidth19")->data, Bytes({0, 0, 0, 0}));
  EXPECT_EQ(store.Query(kWindow, "ConvListColumnWidth5")->data, Bytes({120, 0, 0, 0}));
  EXPECT_EQ(store.Query(kWindow, "MainFramePlacement")->data.size(), 44u);
  EXPECT_EQ(store.Query(kBatch, "source"), nullptr);
  EXPECT_EQ(store.Query(kBatch, "recursive"), nullptr);
  EXPECT_EQ(store.Query(kBatch, "overlayImage"), nullptr);
  const char* batchNames[] = {"resizeOption",
                              "sameForPortrait",
                              "width",
                              "height",
                              "portraitWidth",
                              "portraitHeight",
                              "ratio",
                              "cropLeftRatio",
                              "cropTopRatio",
                              "rotateDegree",
                              "destFileExt",
                              "bpp",
                              "greyScale",
                              "addPadding",
                              "paddingVert",
                              "paddingHorz",
                              "paddingColor",
                              "createShadow",
                              "shadowAngle",
                              "shadowBackColor",
                              "shadowBlur",
                              "shadowColor",
                              "shadowDistance",
                              "shadowOpaque",
                              "overlay",
                              "overlayFilePath",
                              "overlayHAlignRatio",
                              "overlayVAlignRatio",
                              "overlayTransparency",
                              "overlayTransparentClr",
                              "zeroPadding",
                              "jpegQualityNew",
                              "destFolder",
                              "prefix",
                              "suffix",
                              "override",
                              "sameDir",
                              "autoRotate",
                              "keepMetadata",
                              "filter",
                              "progressive",
                              "gifDither"};
  for (const char* name : batchNames) EXPECT_NE(store.Query(kBatch, name), nullptr) << name;
}

TEST(SettingsSerializerTest, ResetSetsDefaultsWithoutTouchingTheStore) {
  RegistryStore store;
  AppSettings app;
  app.columnWidths[0] = 5;
  app.addDirRecursive = false;
  app.CurrentFolder = "/x";
  app.placementValid = true;
  app.conversion.width = 9;
  app.conversion.destFolder = "/d";
  SerializeAppSettings(store, app, Reset);
  EXPECT_EQ(store.ToText(), "REGEDIT4\n");
  EXPECT_EQ(app.columnWidths[0], 5);  // left alone
  EXPECT_TRUE(app.addDirRecursive);
  EXPECT_EQ(app.CurrentFolder, "");
  EXPECT_FALSE(app.placementValid);
  EXPECT_EQ(app.conversion.width, 150);
  EXPECT_EQ(app.conversion.destFolder, "");

  app.conversion.width = 9;
  app.conversion.destFolder = "/d";
  SerializeImageOperations(store, app.conversion, Reset);
  EXPECT_EQ(app.conversion.width, 150);
  EXPECT_EQ(app.conversion.destFolder, "/d");  // job group kept
}

TEST(SettingsSerializerTest, DamagedFileLoadsWhatItCan) {
  TempDir dir;
  WriteFile(dir / "s.reg",
            "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\BatchSetting]\n"
            "\"width\"=dword:0000012c\n\"height\"=dword:zz\n\x01\xff garbage\n\"prefix\"=\"ok-\"\n"
            "\"suffix\"=\"cut");
  RegistryStore store(dir / "s.reg");
  AppSettings app;
  LoadAll(store, app);
  EXPECT_EQ(app.conversion.width, 300);
  EXPECT_EQ(app.conversion.height, 100);
  EXPECT_EQ(app.conversion.prefix, "ok-");
  EXPECT_EQ(app.conversion.suffix, "");
}

TEST(SettingsSerializerTest, BarStateIsSavedUnderTheRoot) {
  RegistryStore store;
  SaveBarState(store, true, false);
  EXPECT_EQ(store.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "ToolBarVisible")->data,
            Bytes({1, 0, 0, 0}));
  EXPECT_EQ(store.Query("Software\\Orrinvale\\Brindlemark\\Brindlemark", "StatusBarVisible")->data,
            Bytes({0, 0, 0, 0}));
}

// A store whose destination folder would make the options valid: the command line must
// still ask for one, and leave the file as it was.
TEST(SettingsSerializerTest, CommandLineNeverReadsOrWritesTheStore) {
  TempDir dir;
  const std::string storePath = dir / "conf/Orrinvale/Brindlemark/Brindlemark.reg";
  RegistryStore store(storePath);
  AppSettings app;
  app.conversion.destFolder = dir.path();
  app.conversion.width = 7;
  SaveAll(store, app);
  const std::string before = ReadFile(storePath);

  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  setenv("XDG_CONFIG_HOME", (dir / "conf").c_str(), 1);
  const RunResult r = RunProgram(BinPath("Brindlemark.exe"), {"/source:" + dir.path()});
  if (oldXdg)
    setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");

  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("ERROR: Please choose a destination folder."), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(storePath), before);
}

}  // namespace
