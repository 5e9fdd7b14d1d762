// The per-picture estimate against what whole conversions really take: the peak resident
// memory of Brindlemark.exe -threads:1 on one picture of 2.25 and of 9 megapixels, the growth
// per pixel added never more than PeakBytesFor says (5 % for the allocator's rounding),
// for the JPEG, TIFF, PSD and GIF load paths with the lightest and the heaviest common
// steps. Pictures by Pillow (PSD by ImageMagick).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "image/codec/ImageType.h"
#include "image/codec/PictureMemory.h"
#include "support/Sanitizers.h"
#include "support/TestFiles.h"

namespace {

constexpr const char* kMakePictures = R"(
import sys, os, random, subprocess
from PIL import Image
d = sys.argv[1]
random.seed(3)
for side in (1500, 3000):
    rgb = Image.frombytes('RGB', (side, side), random.randbytes(side * side * 3))
    rgb.save('%s/p%d.jpg' % (d, side), quality=90)
    rgb.save('%s/p%d.tif' % (d, side), compression='tiff_lzw')
    rgb.save('%s/p%d.ppm' % (d, side))
    subprocess.run(['convert', '%s/p%d.ppm' % (d, side), '-depth', '8', '%s/p%d.psd' % (d, side)],
                   check=True)
    os.remove('%s/p%d.ppm' % (d, side))
    grey = Image.frombytes('P', (side, side), random.randbytes(side * side))
    grey.putpalette(random.randbytes(768))
    grey.save('%s/p%d.gif' % (d, side))
)";

// Peak resident memory of one conversion, in bytes; -1 when it fails.
std::int64_t PeakBytes(const std::string& source, const std::string& dest,
                       const std::vector<std::string>& options) {
  std::vector<std::string> args = {BinPath("Brindlemark.exe"), "-source:" + source, "-dest:" + dest,
                                   "-threads:1", "-override"};
  args.insert(args.end(), options.begin(), options.end());
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(120);  // kept across exec: the run cannot hang the suite
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return std::int64_t{usage.ru_maxrss} * 1024;  // the run's own and its workers' peak
}

struct PathCase {
  const char* extension;
  int type;
  int bpp;
};

TEST(PeakMemory, GrowthPerPixelStaysWithinTheEstimate) {
  if (kUnderAddressSanitizer) GTEST_SKIP() << "the sanitizer's allocator inflates resident memory";
  TempDir dir;
  const RunResult made =
      RunProgram("/usr/bin/timeout", {"300", "/usr/bin/python3", "-c", kMakePictures, dir.path()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const PathCase paths[] = {{"jpg", FIF_JPEG, 24},
                            {"tif", FIF_TIFF, 24},
                            {"psd", FIF_PSD, 24},
                            {"gif", ImageTypeOwnGif, 8}};
  const std::vector<std::vector<std::string>> settings = {
      {},                          // resampled to 150 x 100 straight from the decoded picture
      {"-mode:n", "-rotate:90"}};  // 32-bit copy, then a rotated one beside it
  for (const PathCase& path : paths) {
    for (const auto& options : settings) {
      const std::string what =
          std::string(path.extension) + " " + ::testing::PrintToString(options);
      const std::int64_t small =
          PeakBytes(dir / ("p1500." + std::string(path.extension)), dir / "out", options);
      const std::int64_t large =
          PeakBytes(dir / ("p3000." + std::string(path.extension)), dir / "out", options);
      ASSERT_GT(small, 0) << what;
      ASSERT_GT(large, 0) << what;
      const std::int64_t estimate = PeakBytesFor(path.type, 3000, 3000, path.bpp) -
                                    PeakBytesFor(path.type, 1500, 1500, path.bpp);
      EXPECT_LE(large - small, estimate + estimate / 20)
          << what << ": " << (large - small) / 6.75e6 << " bytes a pixel measured";
    }
  }
}

TEST(PeakMemory, EstimateAtTheBudgetAndBeyondOverflow) {
  // 2^28 pixels of 24-bit JPEG fill the 2 GiB budget exactly.
  EXPECT_EQ(PeakBytesFor(FIF_JPEG, 16384, 16384, 24), kMaxPictureBytes);
  EXPECT_EQ(PeakBytesFor(FIF_JPEG, 0, 5, 24), 0);
  EXPECT_EQ(PeakBytesFor(FIF_JPEG, 5, -1, 24), 0);
  // Sizes whose product would overflow saturate instead.
  const std::int64_t most = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(PeakBytesFor(FIF_TIFF, std::int64_t{1} << 32, std::int64_t{1} << 32, 1 << 20), most);
  EXPECT_EQ(PeakBytesFor(FIF_J2K, std::int64_t{1} << 31, std::int64_t{1} << 31, 64), most);
}

}  // namespace
