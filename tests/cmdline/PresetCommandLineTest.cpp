// Presets on the real Brindlemark.exe: -savepreset writes one and converts nothing,
// -preset starts from one and later options override it; unknown, damaged and foreign
// presets are refused with their exact text and exit 1, nothing converted.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/PresetFile.h"
#include "support/TestFiles.h"

namespace {

const std::string kBanner =
    "Brindlemark 2.9 Command Line Processor\nCopyright (C) Orrinvale. All rights reserved.\n\n";

// What Pillow, an independent reader, sees in a file: "FORMAT WxH".
std::string PillowSees(const std::string& path) {
  const RunResult r = RunProgram(
      "/usr/bin/timeout", {"30", "/usr/bin/python3", "-c",
                           "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                           "print(im.format, '%dx%d' % im.size, end='')",
                           path});
  return r.out;
}

class PresetCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    // The source comes from ImageMagick, an independent encoder.
    const RunResult made =
        RunProgram("/usr/bin/convert", {"-size", "300x200", "gradient:red-blue", dir / "src.png"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
  }

  // Runs the program with its own config folder; the report between the banner and the
  // final empty line.
  RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"30", BinPath("Brindlemark.exe")});
    RunOptions options;
    options.environment = {{"XDG_CONFIG_HOME", dir / "cfg"}, {"HOME", dir / "home"}};
    RunResult r = RunProgram("/usr/bin/timeout", args, options);
    EXPECT_EQ(r.out.substr(0, kBanner.size()), kBanner);
    r.out = r.out.size() > kBanner.size() + 1
                ? r.out.substr(kBanner.size(), r.out.size() - kBanner.size() - 2)
                : std::string();
    return r;
  }

  std::string Folder() const { return dir / "cfg/Orrinvale/Brindlemark/presets"; }

  TempDir dir;
};

TEST_F(PresetCommandLine, SaveByNameOrPathWritesTheOptionsAndConvertsNothing) {
  const RunResult byName =
      Run({"-savepreset:Web small", "-width:40", "-height:30", "-ext:png", "-prefix:w_",
           "-source:" + (dir / "src.png"), "-dest:" + (dir / "out")});
  EXPECT_EQ(byName.exitCode, 0);
  const std::string named = Folder() + "/Web small.preset";
  EXPECT_EQ(byName.out, "Preset written to " + named);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));

  const RunResult byPath = Run({"-width:40", "-height:30", "-ext:png", "-prefix:w_",
                                "-dest:" + (dir / "out"), "-savepreset:" + (dir / "mine.preset")});
  EXPECT_EQ(byPath.exitCode, 0);
  EXPECT_EQ(byPath.out, "Preset written to " + (dir / "mine.preset"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));

  // The same options give the same bytes, whichever way the preset was named.
  EXPECT_EQ(ReadFile(named), ReadFile(dir / "mine.preset"));
  ConversionSettings expected;
  expected.width = 40;
  expected.height = 30;
  expected.destFileExt = "png";
  expected.prefix = "w_";
  expected.destFolder = dir / "out";
  EXPECT_EQ(ReadFile(named), PresetText(expected));
}

TEST_F(PresetCommandLine, PresetGivesItsValuesAndLaterOptionsOverrideThem) {
  ASSERT_EQ(
      Run({"-savepreset:thumbs", "-mode:m", "-width:60", "-height:60", "-ext:png", "-prefix:t_"})
          .exitCode,
      0);
  const std::string src = "-source:" + (dir / "src.png");
  const struct {
    std::vector<std::string> args;
    std::string file, seen;
  } cases[] = {
      {{"-preset:thumbs", src, "-dest:" + (dir / "a")}, "a/t_src.png", "PNG 60x40"},
      {{"-preset:thumbs", "-width:30", src, "-dest:" + (dir / "b")}, "b/t_src.png", "PNG 30x20"},
      {{"-preset:thumbs", "-ext:bmp", "-prefix:", src, "-dest:" + (dir / "c")},
       "c/src.bmp",
       "BMP 60x40"},
      // Options before the preset are replaced by its values.
      {{"-width:30", "-ext:bmp", "-preset:thumbs", src, "-dest:" + (dir / "d")},
       "d/t_src.png",
       "PNG 60x40"},
      {{"-preset:" + Folder() + "/thumbs.preset", src, "-dest:" + (dir / "e")},
       "e/t_src.png",
       "PNG 60x40"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(PillowSees(dir / c.file), c.seen) << c.file;
  }
}

TEST_F(PresetCommandLine, UnknownDamagedForeignAndInvalidPresetsAreRefused) {
  ASSERT_EQ(Run({"-savepreset:" + (dir / "good.preset"), "-width:40"}).exitCode, 0);
  const std::string good = ReadFile(dir / "good.preset");
  WriteFile(dir / "cut.preset", good.substr(0, good.size() / 2));
  WriteFile(dir / "photo.preset", ReadFile(dir / "src.png"));
  std::string zeroWidth = good;
  zeroWidth.replace(zeroWidth.find("\"width\"=dword:00000028"), 22, "\"width\"=dword:00000000");
  WriteFile(dir / "zero.preset", zeroWidth);
  const struct {
    std::string option, error;
  } cases[] = {
      {"-preset:nope", "ERROR: No preset named \"nope\" in " + Folder()},
      {"-preset:" + (dir / "none.preset"),
       "ERROR: Cannot read the preset " + (dir / "none.preset") + ": no such file"},
      {"-preset:" + (dir / "cut.preset"),
       "ERROR: The preset " + (dir / "cut.preset") + " is damaged: it is cut short"},
      {"-preset:" + (dir / "photo.preset"),
       "ERROR: " + (dir / "photo.preset") + " is not a preset file"},
      // A preset's values meet the checks of the command line's own.
      {"-preset:" + (dir / "zero.preset"), "ERROR: Please choose a width larger than 0."},
      {"-preset:", "ERROR: A preset needs a name."},
      {"-preset:a*b",
       "ERROR: \"a*b\" cannot be a preset name: it may not start or end with a dot or a blank, "
       "nor hold control characters or any of / \\ : * ? \" < > |"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run({c.option, "-source:" + (dir / "src.png"), "-dest:" + (dir / "out")});
    EXPECT_EQ(r.exitCode, 1) << c.option;
    EXPECT_EQ(r.out, c.error);
    EXPECT_FALSE(std::filesystem::exists(dir / "out")) << c.option;
  }
}

TEST_F(PresetCommandLine, SavingRefusesInvalidOptionsAndMissingFolders) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"-savepreset:w", "-width:0"}, "ERROR: Please choose a width larger than 0."},
      {{"-savepreset:" + (dir / "no/x.preset")},
       "ERROR: Cannot write the preset " + (dir / "no/x.preset") + ": the folder " + (dir / "no") +
           " does not exist"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, c.error);
  }
  EXPECT_FALSE(std::filesystem::exists(Folder() + "/w.preset"));
}

}  // namespace
