// GIF files written from FreeImage pictures, judged by Pillow and giflib; the file write
// checked to fail whole (no partial file) when the folder or the file system refuses.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "image/gif/GifEncode.h"
#include "image/gif/GifTestSupport.h"
#include "image/gif/GifWriter.h"
#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

struct WriterCase {
  const char* name;
  IndexedPicture picture;
  int bpp;
};

std::vector<WriterCase> Cases() {
  return {
      {"two-by-two-1bit", {2, 2, {0, 1, 1, 1}, {0x000000, 0xFFFFFF}}, 1},
      {"odd-width-1bit", RandomPicture(37, 11, 1, 3), 1},
      {"odd-width-4bit", RandomPicture(13, 9, 4, 4), 4},
      {"odd-width-8bit", RandomPicture(101, 7, 8, 5), 8},
      {"runs-of-index-0", RandomPicture(200, 50, 8, 6, 0, 2), 8},
      {"photo-like-1024x768", PhotoLikePicture(1024, 768), 8},
  };
}

TEST(GifWriter, IndependentDecodersSeeThePictureWeWrote) {
  TempDir dir;
  std::string skipped;
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.name);
    FIBITMAP* bitmap = BitmapOf(c.picture, c.bpp);
    const std::string path = dir / (std::string(c.name) + ".gif");
    ASSERT_EQ(WriteGif(path, bitmap), S_OK);
    FreeImage_Unload(bitmap);
    std::string inMemory;
    ASSERT_TRUE(EncodeGif(RasterOf(c.picture, c.bpp), inMemory));
    EXPECT_TRUE(ReadFile(path) == inMemory);
    skipped = ExpectDecodersSee(path, c.picture);
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

TEST(GifWriter, AFullCodeTableStillDecodes) {
  // Pairs that never repeat fill the table several times over.
  IndexedPicture p{256, 64, {}, {}};
  for (int d = 1; d < 128; d += 2)
    for (int k = 0; k < 256; ++k) p.indices.push_back(static_cast<std::uint8_t>(k * d));
  for (int i = 0; i < 256; ++i) p.palette.push_back(static_cast<std::uint32_t>(i) * 0x010101);
  p.palette[1] = 0xFF0000;  // not a grey ramp, so no decoder takes it for a grey picture
  TempDir dir;
  FIBITMAP* bitmap = BitmapOf(p, 8);
  ASSERT_EQ(WriteGif(dir / "full.gif", bitmap), S_OK);
  FreeImage_Unload(bitmap);
  const std::string skipped = ExpectDecodersSee(dir / "full.gif", p);
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

TEST(GifWriter, RefusesPicturesItCannotWrite) {
  TempDir dir;
  FIBITMAP* deep = FreeImage_Allocate(4, 4, 24);
  EXPECT_EQ(WriteGif(dir / "deep.gif", deep), E_FAIL);
  FreeImage_Unload(deep);
  EXPECT_EQ(WriteGif(dir / "none.gif", nullptr), E_FAIL);
  FIBITMAP* wide = FreeImage_Allocate(65536, 1, 8);
  EXPECT_EQ(WriteGif(dir / "wide.gif", wide), E_FAIL);
  FreeImage_Unload(wide);
  EXPECT_EQ(NamesIn(dir.path()), "");
}

TEST(GifWriter, AFolderThatDoesNotExistFailsTheWrite) {
  TempDir dir;
  FIBITMAP* bitmap = BitmapOf(RandomPicture(8, 8, 8, 9), 8);
  EXPECT_EQ(WriteGif(dir / "missing/a.gif", bitmap), E_FAIL);
  EXPECT_EQ(WriteGif(dir.path(), bitmap), E_FAIL);  // a folder where the file should go
  FreeImage_Unload(bitmap);
  EXPECT_EQ(NamesIn(dir.path()), "");
}

// Runs WriteGif in a child whose files may not grow past `limit` bytes (the write then
// fails with EFBIG, as on a full disk); the child's exit code is the result's low byte.
int WriteUnderFileSizeLimit(const std::string& path, FIBITMAP* bitmap, rlim_t limit) {
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    _exit(WriteGif(path, bitmap) == S_OK ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GifWriter, AWriteThatRunsOutOfRoomLeavesNoFile) {
  TempDir dir;
  FIBITMAP* bitmap = BitmapOf(PhotoLikePicture(256, 256), 8);
  EXPECT_EQ(WriteUnderFileSizeLimit(dir / "cut.gif", bitmap, 4096), 1);
  EXPECT_FALSE(FileExists(dir / "cut.gif"));
  EXPECT_EQ(WriteUnderFileSizeLimit(dir / "whole.gif", bitmap, 1 << 20), 0);
  EXPECT_TRUE(FileExists(dir / "whole.gif"));
  FreeImage_Unload(bitmap);
}

TEST(GifWriter, KeepsTheResolutionOutOfTheFile) {
  // The picture's dots per metre do not change a single byte.
  TempDir dir;
  const IndexedPicture p = RandomPicture(9, 9, 8, 11);
  FIBITMAP* a = BitmapOf(p, 8);
  FIBITMAP* b = BitmapOf(p, 8);
  FreeImage_SetDotsPerMeterX(b, 11811);
  FreeImage_SetDotsPerMeterY(b, 3937);
  ASSERT_EQ(WriteGif(dir / "a.gif", a), S_OK);
  ASSERT_EQ(WriteGif(dir / "b.gif", b), S_OK);
  EXPECT_EQ(ReadFile(dir / "a.gif"), ReadFile(dir / "b.gif"));
  FreeImage_Unload(a);
  FreeImage_Unload(b);
}

// What the program should write for a sample at 8 bits (Wu's quantiser on 24 bits, as
// FreeImage does it) or 1 bit (dark where the channel average is below 127; palette
// white, black).
IndexedPicture ExpectedSample(const std::string& path, int bpp) {
  FIBITMAP* source = FreeImage_Load(FreeImage_GetFIFFromFilename(path.c_str()), path.c_str(), 0);
  FIBITMAP* rgb = FreeImage_ConvertTo24Bits(source);
  IndexedPicture p;
  if (bpp == 8) {
    FIBITMAP* reduced = FreeImage_GetBPP(source) == 8 ? FreeImage_Clone(source)
                                                      : FreeImage_ColorQuantize(rgb, FIQ_WUQUANT);
    p = PictureOfBitmap(reduced);
    FreeImage_Unload(reduced);
  } else {
    p.width = static_cast<int>(FreeImage_GetWidth(rgb));
    p.height = static_cast<int>(FreeImage_GetHeight(rgb));
    p.palette = {0xFFFFFF, 0x000000};
    for (int y = 0; y < p.height; ++y) {
      const BYTE* row = FreeImage_GetScanLine(rgb, p.height - 1 - y);
      for (int x = 0; x < p.width; ++x)
        p.indices.push_back((row[3 * x] + row[3 * x + 1] + row[3 * x + 2]) / 3 < 127 ? 1 : 0);
    }
  }
  FreeImage_Unload(rgb);
  FreeImage_Unload(source);
  return p;
}

TEST(GifWriter, SamplePicturesThroughTheProgram) {
  const char* samples[] = {"harbour.jpg", "tower-portrait.jpg", "meadow.png", "badge-alpha.png"};
  std::string skipped;
  for (int bpp : {8, 1}) {
    TempDir dir;
    std::filesystem::create_directories(dir / "in");
    for (const char* s : samples) CopySample(s, dir / (std::string("in/") + s));
    const RunResult r =
        RunProgram("/usr/bin/timeout",
                   {"120", BinPath("Brindlemark.exe"), "-source:" + dir / "in",
                    "-dest:" + dir / "out", "-mode:n", "-ext:gif", "-bpp:" + std::to_string(bpp)});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    for (const char* s : samples) {
      SCOPED_TRACE(std::string(s) + " at " + std::to_string(bpp));
      const std::string title = std::string(s).substr(0, std::string(s).rfind('.'));
      skipped = ExpectDecodersSee(dir / ("out/" + title + ".gif"),
                                  ExpectedSample(dir / (std::string("in/") + s), bpp));
    }
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

}  // namespace
