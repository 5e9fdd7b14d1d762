// End-to-end runs of the real Brindlemark.exe that check every page is accounted for:
// source lists, sources that are not there, damaged pictures, names that would break the
// report's one-line-per-page shape, and a file type that would climb out of the destination.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const std::string kBanner =
    "Brindlemark 2.9 Command Line Processor\nCopyright (C) Orrinvale. All rights reserved.\n\n";

// Runs Brindlemark.exe through sh in `folder`, so relative paths and redirections work.
RunResult RunIn(const std::string& folder, const std::string& arguments) {
  return RunProgram("/usr/bin/timeout",
                    {"60", "/bin/sh", "-c", "cd \"$1\" && exec \"$2\" " + arguments, "sh", folder,
                     BinPath("Brindlemark.exe")});
}

// The report between the banner and the final empty line.
std::string Report(const RunResult& r) {
  if (r.out.size() < kBanner.size() + 1 || r.out.compare(0, kBanner.size(), kBanner) != 0)
    return "no banner: " + r.out;
  return r.out.substr(kBanner.size(), r.out.size() - kBanner.size() - 1);
}

std::string Success(const std::string& from, const std::string& to) {
  return "SUCCESS: converted file " + from + " to " + to + "\n";
}
std::string Failure(const std::string& from, const std::string& to, const std::string& reason) {
  return "ERROR: failed to convert file " + from + " to " + to + " Reason: " + reason + "\n";
}
std::string Summary(int ok, int bad) {
  return std::to_string(ok) + " images were successfully converted. " + std::to_string(bad) +
         " images failed.\n";
}

// Every file below `root`, relative, sorted.
std::vector<std::string> FilesBelow(const std::string& root) {
  std::vector<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}

// Runs a short Python program with Pillow, an encoder independent of the program.
void Pillow(const std::string& program, const std::string& folder) {
  const RunResult r = RunProgram("/usr/bin/timeout", {"60", "/usr/bin/python3", "-c",
                                                      "import sys, os\nfrom PIL import Image\n"
                                                      "d = sys.argv[1]\n" +
                                                          program,
                                                      folder});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

// The first `percent` of a file's bytes, written to `to`.
void Truncate(const std::string& from, const std::string& to, int percent) {
  const std::string bytes = ReadFile(from);
  WriteFile(to, bytes.substr(0, bytes.size() * percent / 100));
}

class SourceLists : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"pics/2020/trip", "pics/2021", "lists"})
      fs::create_directories(dir / folder);
    WritePicture(dir / "pics/top.png", 12, 8);
    WritePicture(dir / "pics/2020/trip/a.png", 10, 6);
    WritePicture(dir / "pics/2020/trip/b.bmp", 6, 10);
    WritePicture(dir / "pics/2021/c.tga", 8, 8);
    WriteFile(dir / "lists/shard.txt", "2021/c.tga\n\n./2020//trip/\r\ntop.png\n");
  }
  TempDir dir;
};

// The list's order is the report's; with samedir every entry keeps the path it is listed
// with below the destination, so two shards of one tree give the files of one run.
TEST_F(SourceLists, FromAFileInListOrderKeepingListedPaths) {
  const RunResult r =
      RunIn(dir / "pics", "-sourcelist:../lists/shard.txt -dest:../out -samedir -ext:png");
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(Report(r), Success("2021/c.tga", "../out/2021/c.png") +
                           Success("2020/trip/a.png", "../out/2020/trip/a.png") +
                           Success("2020/trip/b.bmp", "../out/2020/trip/b.png") +
                           Success("top.png", "../out/top.png") + Summary(4, 0));
  EXPECT_EQ(r.err, "");
  // The same pictures as one run over the whole folder.
  const RunResult whole = RunIn(dir / "pics", "-source:. -dest:../one -samedir -ext:png");
  ASSERT_EQ(whole.exitCode, 0) << whole.out;
  EXPECT_EQ(FilesBelow(dir / "out"), FilesBelow(dir / "one"));
  for (const std::string& file : FilesBelow(dir / "one"))
    EXPECT_EQ(ReadFile(dir / ("out/" + file)), ReadFile(dir / ("one/" + file))) << file;
}

TEST_F(SourceLists, FromStandardInputAsFromAFile) {
  const RunResult fromFile =
      RunIn(dir / "pics", "-sourcelist:../lists/shard.txt -dest:../a -threads:1");
  const RunResult fromInput =
      RunIn(dir / "pics", "-sourcelist:- -dest:../a -override -threads:2 < ../lists/shard.txt");
  EXPECT_EQ(fromInput.exitCode, 0) << fromInput.out;
  EXPECT_EQ(Report(fromInput), Report(fromFile));
  // Without samedir every page goes straight into the destination.
  EXPECT_EQ(FilesBelow(dir / "a"),
            (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "top.jpg"}));
}

TEST_F(SourceLists, MissingEntriesFailAndTheRestConverts) {
  WriteFile(dir / "lists/holes.txt", "nothere.png\ntop.png\n../pics/2021\n~/x\n");
  const RunResult r = RunIn(dir / "pics", "-sourcelist:../lists/holes.txt -dest:../out -samedir");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r),
            Failure("nothere.png", "", "no such file or folder") +
                Failure("../pics/2021", "",
                        "a listed path with \"..\" has no place below the destination with "
                        "-samedir") +
                Failure("~/x", "", "no such file or folder (~ is not expanded here)") +
                Success("top.png", "../out/top.jpg") + Summary(1, 3));
  // A list that cannot be read and a source given twice over are refused outright.
  const RunResult noList = RunIn(dir / "pics", "-sourcelist:../lists/none.txt -dest:../out");
  EXPECT_EQ(noList.exitCode, 1);
  EXPECT_EQ(Report(noList),
            "ERROR: Cannot read the source list ../lists/none.txt: No such file or directory\n");
  const RunResult both = RunIn(dir / "pics", "-source:. -sourcelist:- -dest:../out");
  EXPECT_EQ(both.exitCode, 1);
  EXPECT_EQ(Report(both), "ERROR: Give -source or -sourcelist, not both.\n");
}

TEST(Accounting, MissingSourceAndPathTooLongAreCountedFailures) {
  TempDir dir;
  const RunResult missing = RunIn(dir.path(), "-source:gone -dest:out");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(Report(missing), Failure("gone", "", "no such file or folder") + Summary(0, 1));

  // A picture below folders whose path passes the system's 4096 bytes.
  fs::create_directories(dir / "deep");
  const std::string name(200, 'd');
  std::string relative = "deep";
  int folder = open((dir / "deep").c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 21; ++level) {
    ASSERT_EQ(mkdirat(folder, name.c_str(), 0700), 0);
    const int next = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(folder);
    folder = next;
    relative += "/" + name;
  }
  close(folder);
  WritePicture(dir / "deep/ok.png");
  const RunResult deep = RunIn(dir.path(), "-source:deep -dest:out");
  EXPECT_EQ(deep.exitCode, 1);
  EXPECT_EQ(Report(deep), Failure(relative, "", "the path is too long for the system") +
                              Success("deep/ok.png", "out/ok.jpg") + Summary(1, 1));
}

// Names with a line feed, a carriage return and an escape print escaped in SUCCESS,
// ERROR and WARNING lines: the report keeps one line per page and nothing forged.
TEST(Accounting, ControlCharactersInNamesPrintEscaped) {
  TempDir dir;
  fs::create_directories(dir / "in");
  const std::string forged = "nl\nSUCCESS: converted file FORGED to FORGED.jpg\nz";
  WritePicture(dir / ("in/" + forged + ".png"));
  WritePicture(dir / "in/cr\rover.png");
  WriteFile(dir / "in/esc\x1b[2J.jpg", "not a picture");
  ASSERT_EQ(mkfifo((dir / "in/pipe\n.png").c_str(), 0600), 0);
  const RunResult r = RunIn(dir.path(), "-source:in -dest:out -ext:png");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r),
            Success("in/cr\\rover.png", "out/cr\\rover.png") +
                Failure("in/esc\\x1b[2J.jpg", "out/esc\\x1b[2J.png",
                        "Failed to load image in/esc\\x1b[2J.jpg") +
                Success("in/nl\\nSUCCESS: converted file FORGED to FORGED.jpg\\nz.png",
                        "out/nl\\nSUCCESS: converted file FORGED to FORGED.jpg\\nz.png") +
                Summary(2, 1));
  EXPECT_EQ(r.err, "WARNING: skipped in/pipe\\n.png: not a regular file\n");
  EXPECT_TRUE(FileExists(dir / ("out/" + forged + ".png")));  // the file keeps its real name
  // A refused token is quoted escaped too.
  const RunResult refused =
      RunProgram(BinPath("Brindlemark.exe"), {"-bogus:a\nSUCCESS: forged", "-dest:" + dir / "x"});
  EXPECT_EQ(Report(refused), "ERROR: Wrong command line argument -bogus:a\\nSUCCESS: forged\n");
}

TEST(Accounting, FileTypeWithASlashOrTwoDotsIsRefused) {
  TempDir dir;
  fs::create_directories(dir / "in/a/b");
  WritePicture(dir / "in/a/b/p.png");
  for (const char* ext : {"/../../EXT.png", "png/x", "a..b"}) {
    const RunResult r =
        RunIn(dir.path(), std::string("-source:in -dest:in/a/b '-ext:") + ext + "'");
    EXPECT_EQ(r.exitCode, 1) << ext;
    EXPECT_TRUE(Report(r) ==
                    "ERROR: Invalid file type. A file type cannot contain / or \"..\".\n" ||
                Report(r) == "ERROR: Destination file type is not supported.\n")
        << Report(r);
  }
  EXPECT_EQ(FilesBelow(dir.path()), std::vector<std::string>{"in/a/b/p.png"});
  EXPECT_EQ(Report(RunIn(dir.path(), "-source:in -dest:out '-ext:/../../EXT.png'")),
            "ERROR: Invalid file type. A file type cannot contain / or \"..\".\n");
}

// Pictures cut short, written by ImageMagick and Pillow, fail with the reason instead of
// converting with a grey or black band; the whole files convert.
TEST(Accounting, TruncatedPicturesFailWithTheirReason) {
  TempDir dir;
  fs::create_directories(dir / "whole");
  ASSERT_EQ(RunProgram("/usr/bin/timeout", {"60", "convert", "-size", "320x240", "plasma:fractal",
                                            "-seed", "7", "-depth", "8", dir / "whole/ppm.ppm"})
                .exitCode,
            0);
  for (const char* made : {"jpeg.jpg", "bmp.bmp", "tga.tga", "pgm.pgm", "pcx.pcx"}) {
    const std::string to = dir / ("whole/" + std::string(made));
    ASSERT_EQ(RunProgram("/usr/bin/timeout", {"60", "convert", dir / "whole/ppm.ppm", to}).exitCode,
              0)
        << made;
  }
  Pillow(
      "im = Image.open(os.path.join(d, 'ppm.ppm'))\n"
      "im.save(os.path.join(d, 'pil-tif.tif'))\n"
      "im.save(os.path.join(d, 'pil-progressive.jpg'), progressive=True, quality=90)\n"
      "im.save(os.path.join(d, 'pil-bmp.bmp'))\n"
      "im.save(os.path.join(d, 'pil-tga.tga'))\n"
      "im.save(os.path.join(d, 'pil-rle.tga'), compression='tga_rle')\n",
      dir / "whole");
  struct Case {
    const char* name;
    const char* reason;
  };
  const Case cases[] = {
      {"jpeg.jpg", "the file is truncated"},    {"pil-progressive.jpg", "the file is truncated"},
      {"pil-tif.tif", "the file is truncated"}, {"bmp.bmp", "the file is truncated"},
      {"pil-bmp.bmp", "the file is truncated"}, {"tga.tga", "the file is truncated"},
      {"pil-tga.tga", "the file is truncated"}, {"pil-rle.tga", "the file is damaged"},
      {"ppm.ppm", "the file is truncated"},     {"pgm.pgm", "the file is truncated"},
      {"pcx.pcx", "the file is truncated"},
  };
  fs::create_directories(dir / "cut");
  for (const Case& c : cases)
    Truncate(dir / ("whole/" + std::string(c.name)), dir / ("cut/" + std::string(c.name)), 70);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string cut = "cut/" + std::string(c.name);
    const RunResult r = RunIn(dir.path(), "-source:" + cut + " -dest:out -ext:png -mode:n");
    const std::string png =
        "out/" + std::string(c.name).substr(0, std::string(c.name).rfind('.')) + ".png";
    EXPECT_EQ(Report(r),
              Failure(cut, png, "Failed to load image " + cut + ": " + c.reason) + Summary(0, 1));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(FileExists(dir / png));
  }
  const RunResult whole = RunIn(dir.path(), "-source:whole -dest:all -ext:png -mode:n");
  EXPECT_EQ(whole.exitCode, 0) << whole.out;
  EXPECT_NE(whole.out.find(Summary(11, 0)), std::string::npos) << whole.out;
}

// A three-page TIFF cut inside its second page: the first converts, the second fails as
// truncated, and the third, which the file claims but no longer holds, is one more ERROR.
TEST(Accounting, TruncatedThreePageTiffAccountsForEveryPage) {
  TempDir dir;
  Pillow(
      "p = [Image.new('RGB', (64, 48), (40 * k, 90, 200 - 50 * k)) for k in range(3)]\n"
      "p[0].save(os.path.join(d, 'three.tif'), save_all=True, append_images=p[1:])\n",
      dir.path());
  Truncate(dir / "three.tif", dir / "cut.tif", 55);
  const RunResult r = RunIn(dir.path(), "-source:cut.tif -dest:out -ext:png -mode:n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Report(r),
            Failure("cut.tif", "", "the pages after page 2 cannot be read: the file is truncated") +
                Success("cut.tif", "out/cut00.png") +
                Failure("cut.tif", "out/cut01.png",
                        "Failed to load image cut.tif: the file is truncated") +
                Summary(1, 2));
}

}  // namespace
