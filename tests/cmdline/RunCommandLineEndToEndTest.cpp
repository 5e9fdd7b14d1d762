// End-to-end runs of the real Brindlemark.exe on real folders: its report, its summary,
// its exit code and the files it leaves.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

const std::string kBanner =
    "Brindlemark 2.9 Command Line Processor\nCopyright (C) Orrinvale. All rights reserved.\n\n";

// Every start runs under a time limit.
RunResult Start(const std::vector<std::string>& args,
                const std::string& program = "Brindlemark.exe") {
  std::vector<std::string> full = {"30", BinPath(program)};
  full.insert(full.end(), args.begin(), args.end());
  return RunProgram("/usr/bin/timeout", full);
}

// The report without the banner and the final empty line, checked to be there.
std::string Report(const RunResult& r) {
  EXPECT_EQ(r.out.substr(0, kBanner.size()), kBanner);
  EXPECT_GE(r.out.size(), kBanner.size() + 1);
  EXPECT_EQ(r.out.back(), '\n');
  return r.out.substr(kBanner.size(), r.out.size() - kBanner.size() - 1);
}

// Counts SUCCESS and ERROR lines and checks that the summary agrees with them.
void ExpectSummaryAgrees(const std::string& report) {
  std::istringstream lines(report);
  std::string line, last;
  int ok = 0, bad = 0;
  while (std::getline(lines, line)) {
    ok += line.rfind("SUCCESS: ", 0) == 0;
    bad += line.rfind("ERROR: ", 0) == 0;
    last = line;
  }
  EXPECT_EQ(last, std::to_string(ok) + " images were successfully converted. " +
                      std::to_string(bad) + " images failed.");
}

std::string Success(const std::string& from, const std::string& to) {
  return "SUCCESS: converted file " + from + " to " + to + "\n";
}
std::string Failure(const std::string& from, const std::string& to, const std::string& reason) {
  return "ERROR: failed to convert file " + from + " to " + to + " Reason: " + reason + "\n";
}

// What Pillow, an independent reader, sees in a file: "FORMAT WxH MODE".
std::string PillowSees(const std::string& path) {
  const RunResult r = RunProgram(
      "/usr/bin/timeout", {"30", "/usr/bin/python3", "-c",
                           "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                           "print(im.format, '%dx%d' % im.size, im.mode)",
                           path});
  return r.out;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "in/sub/deeper");
    WritePicture(dir / "in/a.png", 30, 20, 0xFFFF0000);
    WritePicture(dir / "in/b.jpg", 20, 30);
    WriteFile(dir / "in/notes.txt", "not an image");
    WritePicture(dir / "in/sub/c.bmp", 16, 16);
    WritePicture(dir / "in/sub/deeper/d.tga", 10, 10);
  }
  std::string in(const std::string& name) const { return dir / ("in/" + name); }
  std::string out(const std::string& name) const { return dir / ("out/" + name); }

  TempDir dir;
};

TEST_F(EndToEnd, FolderWithSubfoldersKeepsItsStructure) {
  const RunResult r = Start({"-source:" + dir / "in", "/dest:" + dir / "out", "-samedir"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(in("a.png"), out("a.jpg")) + Success(in("b.jpg"), out("b.jpg")) +
                           Success(in("sub/c.bmp"), out("sub/c.jpg")) +
                           Success(in("sub/deeper/d.tga"), out("sub/deeper/d.jpg")) +
                           "4 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(PillowSees(out("a.jpg")), "JPEG 150x100 RGB\n");
  EXPECT_EQ(PillowSees(out("sub/deeper/d.jpg")), "JPEG 150x100 RGB\n");
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg b.jpg sub");
  EXPECT_EQ(NamesIn(dir / "out/sub"), "c.jpg deeper");
}

TEST_F(EndToEnd, NoRecursiveAndFlatDestination) {
  const RunResult r = Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-norecursive",
                             "-ext:png", "-prefix:s_", "-suffix:_small"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(in("a.png"), out("s_a_small.png")) +
                           Success(in("b.jpg"), out("s_b_small.png")) +
                           "2 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(PillowSees(out("s_a_small.png")), "PNG 150x100 RGB\n");
}

TEST_F(EndToEnd, ExtensionWithADotAndPrefixWithASlash) {
  const RunResult dotted = Start({"-source:" + in("a.png"), "-dest:" + dir / "out", "-ext:.png"});
  EXPECT_EQ(dotted.exitCode, 0);
  EXPECT_EQ(Report(dotted), Success(in("a.png"), out("a.png")) +
                                "1 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(PillowSees(out("a.png")), "PNG 150x100 RGB\n");
  // A prefix that climbs out of the destination is refused before anything is written.
  const RunResult climbing =
      Start({"-source:" + in("a.png"), "-dest:" + dir / "out", "-prefix:../"});
  EXPECT_EQ(climbing.exitCode, 1);
  EXPECT_EQ(Report(climbing), "ERROR: Invalid prefix. A prefix cannot contain /.\n");
  EXPECT_FALSE(FileExists(dir / "a.jpg"));
}

// Only GIF limits a side to 65,535 pixels: a long strip is framed and written as PNG,
// and refused when written as GIF.
TEST_F(EndToEnd, StripWiderThan65535IsFramedExceptForGif) {
  const RunResult made = RunProgram(
      "/usr/bin/timeout", {"30", "/usr/bin/python3", "-c",
                           "import sys; from PIL import Image; "
                           "Image.new('RGB', (70000, 4), (32, 64, 160)).save(sys.argv[1])",
                           in("strip.png")});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const std::vector<std::string> frame = {"-source:" + in("strip.png"),
                                          "-dest:" + dir / "out",
                                          "-mode:n",
                                          "-paddinghorz:3",
                                          "-paddingvert:2",
                                          "-paddingcolor:00FF00"};
  auto args = frame;
  args.push_back("-ext:png");
  const RunResult png = Start(args);
  EXPECT_EQ(Report(png), Success(in("strip.png"), out("strip.png")) +
                             "1 images were successfully converted. 0 images failed.\n");
  const RunResult seen =
      RunProgram("/usr/bin/timeout",
                 {"30", "/usr/bin/python3", "-c",
                  "import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert('RGB'); "
                  "print(im.size, im.getpixel((0, 0)), im.getpixel((35000, 5)), "
                  "im.getpixel((70003, 9)))",
                  out("strip.png")});
  // The horizontal bars (3 rows) go above and below, the vertical ones (2 columns) beside.
  EXPECT_EQ(seen.out, "(70004, 10) (0, 255, 0) (32, 64, 160) (0, 255, 0)\n") << seen.err;
  args.back() = "-ext:gif";
  const RunResult gif = Start(args);
  EXPECT_EQ(gif.exitCode, 1);
  EXPECT_EQ(Report(gif),
            Failure(in("strip.png"), out("strip.gif"), "Failed to save " + out("strip.gif")) +
                "0 images were successfully converted. 1 images failed.\n");
}

TEST_F(EndToEnd, ThreePageTiffGivesThreeNumberedOutputs) {
  CopySample("scan-3-pages.tif", in("scan.tif"));
  const RunResult r =
      Start({"-source:" + in("scan.tif"), "-dest:" + dir / "out", "-samedir", "-zeropadding:3"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(in("scan.tif"), out("scan000.jpg")) +
                           Success(in("scan.tif"), out("scan001.jpg")) +
                           Success(in("scan.tif"), out("scan002.jpg")) +
                           "3 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(NamesIn(dir / "out"), "scan000.jpg scan001.jpg scan002.jpg");
}

TEST_F(EndToEnd, UnreadableFileFailsWithItsReasonAndTheOthersConvert) {
  WriteFile(in("broken.png"), "\x89PNG but nothing more");
  const RunResult r = Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-norecursive"});
  EXPECT_EQ(r.exitCode, 1);
  const std::string report = Report(r);
  EXPECT_EQ(report, Success(in("a.png"), out("a.jpg")) + Success(in("b.jpg"), out("b.jpg")) +
                        Failure(in("broken.png"), out("broken.jpg"),
                                "Failed to load image " + in("broken.png")) +
                        "2 images were successfully converted. 1 images failed.\n");
  ExpectSummaryAgrees(report);
  EXPECT_FALSE(FileExists(out("broken.jpg")));
}

TEST_F(EndToEnd, SecondRunRefusesToOverwriteAndOverrideReplaces) {
  const std::vector<std::string> args = {"-source:" + dir / "in", "-dest:" + dir / "out",
                                         "-norecursive"};
  ASSERT_EQ(Start(args).exitCode, 0);
  const std::string firstA = ReadFile(out("a.jpg")), firstB = ReadFile(out("b.jpg"));
  struct stat before;
  stat(out("a.jpg").c_str(), &before);

  const RunResult again = Start(args);
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(Report(again),
            Failure(in("a.png"), out("a.jpg"), "File " + out("a.jpg") + " already exists") +
                Failure(in("b.jpg"), out("b.jpg"), "File " + out("b.jpg") + " already exists") +
                "0 images were successfully converted. 2 images failed.\n");
  EXPECT_EQ(ReadFile(out("a.jpg")), firstA);
  EXPECT_EQ(ReadFile(out("b.jpg")), firstB);

  std::vector<std::string> overriding = args;
  overriding.push_back("-override");
  overriding.push_back("-jpegquality:40");
  const RunResult replaced = Start(overriding);
  EXPECT_EQ(replaced.exitCode, 0);
  EXPECT_EQ(Report(replaced), Success(in("a.png"), out("a.jpg")) +
                                  Success(in("b.jpg"), out("b.jpg")) +
                                  "2 images were successfully converted. 0 images failed.\n");
  struct stat after;
  stat(out("a.jpg").c_str(), &after);
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file renamed into place
  EXPECT_NE(ReadFile(out("b.jpg")), firstB);
  EXPECT_EQ(NamesIn(dir / "out"), "a.jpg b.jpg");  // no temporary file left
}

TEST_F(EndToEnd, InPlaceConversionWithOverride) {
  std::filesystem::create_directories(dir / "flat");
  WritePicture(dir / "flat/p.png", 40, 40);
  const RunResult r =
      Start({"-source:" + dir / "flat", "-dest:" + dir / "flat", "-ext:png", "-override"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(dir / "flat/p.png", dir / "flat/p.png") +
                           "1 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(PillowSees(dir / "flat/p.png"), "PNG 150x100 RGB\n");
  EXPECT_EQ(NamesIn(dir / "flat"), "p.png");
}

TEST_F(EndToEnd, PipelineFailureIsReportedAsResize) {
  const RunResult r =
      Start({"-source:" + in("a.png"), "-dest:" + dir / "out", "-ext:png", "-bpp:5"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r), Failure(in("a.png"), out("a.png"), "Failed to resize " + in("a.png")) +
                           "0 images were successfully converted. 1 images failed.\n");
}

TEST_F(EndToEnd, FolderThatCannotBeCreatedLeavesTwoBlanksBeforeTheReason) {
  WriteFile(dir / "blocker", "");
  const RunResult r = Start({"-source:" + in("a.png"), "-dest:" + dir / "blocker/out"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r),
            Failure(in("a.png"), "", "Fail to create destination folder " + dir / "blocker/out") +
                "0 images were successfully converted. 1 images failed.\n");
}

TEST_F(EndToEnd, RefusedOptionsAndEmptySources) {
  struct Case {
    std::vector<std::string> args;
    std::string report;
    int exitCode;
  };
  const Case cases[] = {
      {{"-dest:" + dir / "out", "-mode:w", "-width:abc"},
       "ERROR: Please choose a width larger than 0.\n",
       1},
      {{"-source:" + dir / "in", "-bogus:1"}, "ERROR: Wrong command line argument -bogus:1\n", 1},
      {{"-source:" + dir / "in"}, "ERROR: Please choose a destination folder.\n", 1},
      {{"-dest:" + dir / "out"}, "0 images were successfully converted. 0 images failed.\n", 0},
      {{"-source:" + dir / "missing", "-dest:" + dir / "out"},
       Failure(dir / "missing", "", "no such file or folder") +
           "0 images were successfully converted. 1 images failed.\n",
       1},
      {{"-source:~/missing", "-dest:" + dir / "out"},
       Failure("~/missing", "", "no such file or folder (~ is not expanded here)") +
           "0 images were successfully converted. 1 images failed.\n",
       1},
      {{"-source:" + in("notes.txt"), "-dest:" + dir / "out"},
       "0 images were successfully converted. 0 images failed.\n",
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const RunResult r = Start(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(Report(r), c.report);
    EXPECT_EQ(r.err, "");
  }
  EXPECT_FALSE(FileExists(dir / "out/a.jpg"));
}

// A picture made by ImageMagick, an encoder independent of the program.
void MagickPicture(const std::string& path) {
  ASSERT_EQ(RunProgram("/usr/bin/timeout",
                       {"30", "convert", "-size", "12x8", "xc:#3080C0", "-depth", "8", path})
                .exitCode,
            0);
}

TEST_F(EndToEnd, FifoSocketAndDeviceNamedLikePicturesAreSkippedAndTheRunEnds) {
  const std::string tree = dir / "odd";
  std::filesystem::create_directories(tree + "/sub");
  MagickPicture(tree + "/real.png");
  MagickPicture(tree + "/sub/real.tif");
  for (const char* name : {"/pipe.tif", "/pipe.png", "/sub/pipe.jpg"})
    ASSERT_EQ(mkfifo((tree + name).c_str(), 0600), 0);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  (tree + "/socket.gif").copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  ASSERT_EQ(symlink("/dev/zero", (tree + "/device.bmp").c_str()), 0);

  // Were an open to block, the time limit would end the run with 124 and no summary.
  const RunResult r = Start({"-source:" + tree, "-dest:" + dir / "out", "-samedir"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(tree + "/real.png", out("real.jpg")) +
                           Success(tree + "/sub/real.tif", out("sub/real.jpg")) +
                           "2 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(r.err, "WARNING: skipped " + tree + "/device.bmp: not a regular file\n" +
                       "WARNING: skipped " + tree + "/pipe.png: not a regular file\n" +
                       "WARNING: skipped " + tree + "/pipe.tif: not a regular file\n" +
                       "WARNING: skipped " + tree + "/socket.gif: not a regular file\n" +
                       "WARNING: skipped " + tree + "/sub/pipe.jpg: not a regular file\n");
  // A FIFO given as the one source is told the same way.
  const RunResult single = Start({"-source:" + tree + "/pipe.tif", "-dest:" + dir / "out"});
  EXPECT_EQ(Report(single), "0 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(single.err, "WARNING: skipped " + tree + "/pipe.tif: not a regular file\n");
}

// A file named like a picture this build cannot read is told, one line each, by the type its
// name gives; ordinary files beside pictures (notes, sidecars, files without a name's dot)
// stay silent.
TEST_F(EndToEnd, PictureTypesThisBuildCannotReadAreToldAndOtherFilesAreNot) {
  struct NamedFile {
    const char* name;
    const char* told;  // the reason of its warning; nullptr: silent
  };
  // In the listing's order: by bytes, capitals first.
  const NamedFile files[] = {
      {"Makefile", nullptr},
      {"archive.zip", nullptr},
      {"clip.wmf", "WMF pictures cannot be read"},
      {"icon.SVGZ", "SVGZ pictures cannot be read"},
      {"layers.xcf", "XCF pictures cannot be read"},
      {"logo.svg", "SVG pictures cannot be read"},
      {"notes.txt", nullptr},
      {"poster.eps", "EPS pictures cannot be read"},
      {"raw.CR3", "CR3 pictures cannot be read"},
      {"raw.xmp", nullptr},
  };
  const std::string tree = dir / "mixed";
  std::filesystem::create_directories(tree);
  WritePicture(tree + "/real.png");
  std::string expected;
  for (const NamedFile& f : files) {
    WriteFile(tree + "/" + f.name, "some bytes");
    if (f.told) expected += "WARNING: skipped " + tree + "/" + f.name + ": " + f.told + "\n";
  }
  const RunResult r = Start({"-source:" + tree, "-dest:" + dir / "out"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(tree + "/real.png", out("real.jpg")) +
                           "1 images were successfully converted. 0 images failed.\n");
  EXPECT_EQ(r.err, expected);
}

// Each run converts the same four pictures into the same four files: earlier outputs
// are neither collected again nor nested one level deeper.
TEST_F(EndToEnd, DestinationInsideTheSourceIsNotCollectedAgain) {
  const std::string expected = Success(in("a.png"), in("thumbs/a.jpg")) +
                               Success(in("b.jpg"), in("thumbs/b.jpg")) +
                               Success(in("sub/c.bmp"), in("thumbs/c.jpg")) +
                               Success(in("sub/deeper/d.tga"), in("thumbs/d.jpg")) +
                               "4 images were successfully converted. 0 images failed.\n";
  for (int run = 0; run < 2; ++run) {
    const RunResult r = Start({"-source:" + dir / "in", "-dest:" + in("thumbs"), "-override"});
    EXPECT_EQ(Report(r), expected) << run;
  }
  EXPECT_EQ(NamesIn(in("thumbs")), "a.jpg b.jpg c.jpg d.jpg");
}

// The real launcher in front of the real program, when the launcher has been built.
TEST_F(EndToEnd, ThroughTheConsoleLauncher) {
  if (!FileExists(BinPath("Brindlemark.com"))) GTEST_SKIP() << "launcher not built";
  const RunResult r = Start({"-source:" + in("a.png"), "-dest:" + dir / "out"}, "Brindlemark.com");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Report(r), Success(in("a.png"), out("a.jpg")) +
                           "1 images were successfully converted. 0 images failed.\n");
}

}  // namespace
