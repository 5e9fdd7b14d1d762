// The preview's renderer: its result is the very file a run writes (same bytes, so the
// same dimensions and size), its display copies are PNG files that fit their box, and a
// render given up kills its worker at once.
#include "job/preview/PreviewRender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "support/TestFiles.h"

namespace {

// What Pillow, an independent reader, sees in a file: "FORMAT WxH MODE".
std::string PillowSees(const std::string& path) {
  return RunProgram("/usr/bin/timeout",
                    {"30", "/usr/bin/python3", "-c",
                     "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                     "print(im.format, '%dx%d' % im.size, im.mode, end='')",
                     path})
      .out;
}

class PreviewRenderTest : public ::testing::Test {
 protected:
  // A photo-like source from ImageMagick, an independent encoder, as the list holds it.
  ConversionItem& Source(const std::string& name, const std::string& size = "640x480") {
    const RunResult made =
        RunProgram("/usr/bin/convert", {"-seed", "7", "-size", size, "plasma:", dir / name});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    ListCollector collector(items);
    collector.sources = {dir / name};
    collector.Collect();
    return *items.back();
  }

  // The settings a photographer might use for the web: every step that changes pixels.
  static ConversionSettings WebSettings() {
    ConversionSettings s;
    s.resizeOption = MaxSize;
    s.width = 200;
    s.height = 200;
    s.destFileExt = "jpg";
    s.jpegQualityNew = 70;
    s.addPadding = true;
    s.paddingHorz = 6;
    s.paddingVert = 3;
    s.createShadow = true;
    s.rotateDegree = 90;
    return s;
  }

  TempDir dir;
  ItemList items;
};

TEST_F(PreviewRenderTest, ResultIsTheFileARunWritesByteForByte) {
  ConversionItem& page = Source("photo.jpg");
  const ConversionSettings settings = WebSettings();
  PreviewRenderer renderer;
  ASSERT_TRUE(renderer.Ready());
  const PreviewResult result = renderer.RenderResult(page, settings);
  ASSERT_TRUE(result.converted) << result.reason;
  EXPECT_EQ(result.sourceWidth, 640);
  EXPECT_EQ(result.sourceHeight, 480);

  ConversionSettings run = settings;
  run.destFolder = dir / "out";
  ImageConverter converter;
  ASSERT_EQ(converter.Run(SnapshotOf(items), run), S_OK);
  const std::string written = ReadFile(dir / "out/photo.jpg");
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(ReadFile(result.file), written);
  EXPECT_EQ(result.bytes, written.size());
  EXPECT_EQ(PillowSees(result.file),
            "JPEG " + std::to_string(result.width) + "x" + std::to_string(result.height) + " RGB");
}

TEST_F(PreviewRenderTest, DisplayCopiesArePngsFittedIntoTheBoxNeverEnlarged) {
  ConversionItem& page = Source("photo.png");
  PreviewRenderer renderer;
  const PreviewResult result = renderer.RenderResult(page, WebSettings());
  ASSERT_TRUE(result.converted) << result.reason;
  const struct {
    PreviewBox box;
    std::string source, result;
  } cases[] = {
      {{100, 100}, "PNG 100x75", "PNG 79x100"},
      {{1000, 1000}, "PNG 640x480", "PNG 172x216"},
  };
  for (const auto& c : cases) {
    const std::string source = PillowSees(renderer.DisplayOfSource(page, c.box));
    const std::string shown = PillowSees(renderer.DisplayOfResult(result, c.box));
    EXPECT_EQ(source.substr(0, source.rfind(' ')), c.source);
    EXPECT_EQ(shown.substr(0, shown.rfind(' ')), c.result);
  }
  // The renderer keeps its files in a private folder that goes with it.
  const std::string folder = renderer.Folder();
  EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
}

TEST_F(PreviewRenderTest, RefusedSettingsAndBrokenSourcesSayWhy) {
  ConversionItem& page = Source("photo.png");
  WriteFile(dir / "broken.png", "\x89PNG\r\n\x1a\nnot really");
  ListCollector collector(items);
  collector.sources = {dir / "broken.png"};
  collector.Collect();
  ConversionItem& broken = *items.back();

  PreviewRenderer renderer;
  ConversionSettings zeroWidth = WebSettings();
  zeroWidth.width = 0;
  PreviewResult result = renderer.RenderResult(page, zeroWidth);
  EXPECT_FALSE(result.converted);
  EXPECT_EQ(result.reason, "Please choose a width larger than 0.");

  result = renderer.RenderResult(broken, WebSettings());
  EXPECT_FALSE(result.converted);
  EXPECT_EQ(result.reason.rfind("Failed to load image ", 0), 0u) << result.reason;
  EXPECT_EQ(renderer.DisplayOfResult(result, {100, 100}), "");
}

TEST_F(PreviewRenderTest, AbandonKillsTheWorkerAtOnce) {
  // A worker that never finishes: the pipeline's test fault for such file names.
  setenv("BRINDLEMARK_TEST_FAULTS", "1", 1);
  const RunResult made =
      RunProgram("/usr/bin/convert", {"-size", "8x8", "xc:red", dir / "x-spin-forever.png"});
  ASSERT_EQ(made.exitCode, 0);
  ListCollector collector(items);
  collector.sources = {dir / "x-spin-forever.png"};
  collector.Collect();

  PreviewRenderer renderer;
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    renderer.Abandon();
  });
  const auto start = std::chrono::steady_clock::now();
  const PreviewResult result = renderer.RenderResult(*items.back(), WebSettings());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  later.join();
  unsetenv("BRINDLEMARK_TEST_FAULTS");
  EXPECT_FALSE(result.converted);
  EXPECT_EQ(result.reason, "");
  EXPECT_LT(ms, 3000) << "the worker's own time limit is far longer";
}

}  // namespace
