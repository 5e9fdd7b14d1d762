// The real Brindlemark.exe over folders of hostile files: truncated and empty pictures,
// a folder named like a picture, headers declaring enormous pictures, and a destination
// on a file system that fills up. Every bad item ends with an ERROR line and a reason,
// the good files beside them convert, and nothing half-written stays behind.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "image/gif/GifTestSupport.h"
#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "job/SmallPictures.h"
#include "support/ByteEdits.h"
#include "support/ReferenceTools.h"
#include "support/TestFiles.h"

namespace {

RunResult Start(const std::vector<std::string>& args) {
  std::vector<std::string> full = {"60", BinPath("Brindlemark.exe")};
  full.insert(full.end(), args.begin(), args.end());
  return RunProgram("/usr/bin/timeout", full);
}

// The report line of a source: "SUCCESS: ..." or "ERROR: ...", empty when there is none.
std::string LineFor(const std::string& report, const std::string& source) {
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line))
    if (line.find(" file " + source + " to ") != std::string::npos) return line;
  return {};
}

bool IsError(const std::string& line) {
  return line.rfind("ERROR: ", 0) == 0 && line.find(" Reason: ") != std::string::npos;
}

// Every file in the folder, so temporary leftovers show.
std::string AllNames(const std::string& folder) {
  std::string names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    names += e.path().filename().string() + " ";
  return names;
}

// Files whose headers declare 70000 x 70000 pixels over a few real bytes.
void WriteHugeDeclarations(const TempDir& dir, const std::string& folder) {
  WritePicture(dir / "seed.png", 16, 12);
  std::string png = ReadFile(dir / "seed.png");
  PutBig32(png, 16, 70000);
  PutBig32(png, 20, 70000);
  PutBig32(png, 29, Crc32(png.data() + 12, 17));
  WriteFile(folder + "/huge.png", png);
  WritePicture(dir / "seed.bmp", 16, 12);
  std::string bmp = ReadFile(dir / "seed.bmp");
  PutLittle32(bmp, 18, 70000);
  PutLittle32(bmp, 22, 70000);
  WriteFile(folder + "/huge.bmp", bmp);
  // A minimal little-endian TIFF: one IFD with width, length, 8 bits, one strip.
  std::string tif("II\x2A\x00\x08\x00\x00\x00", 8);
  const std::uint16_t tags[][2] = {{256, 4}, {257, 4}, {258, 3}, {259, 3}, {262, 3},
                                   {273, 4}, {277, 3}, {278, 4}, {279, 4}};
  const std::uint32_t values[] = {70000, 70000, 8, 1, 1, 200, 1, 70000, 1};
  tif += static_cast<char>(9);
  tif += '\0';
  for (int i = 0; i < 9; ++i) {
    std::string e(12, '\0');
    e[0] = static_cast<char>(tags[i][0]);
    e[1] = static_cast<char>(tags[i][0] >> 8);
    e[2] = static_cast<char>(tags[i][1]);
    e[4] = 1;
    PutLittle32(e, 8, values[i]);
    tif += e;
  }
  tif += std::string(4, '\0') + std::string(64, '\x55');
  WriteFile(folder + "/huge.tif", tif);
}

TEST(HostileFiles, DeclaredHugePicturesAreRefusedBeforeDecoding) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  WriteHugeDeclarations(dir, dir / "in");
  ImageBuffer image;
  WritePicture(dir / "small.png", 5, 4);
  ASSERT_EQ(image.Load(dir / "small.png", 0), S_OK);
  for (const char* name : {"huge.png", "huge.bmp", "huge.tif"}) {
    EXPECT_EQ(image.Load(dir / ("in/" + std::string(name)), 0), E_IMG_LOAD) << name;
    EXPECT_EQ(image.Width(), 5) << "the held picture stays";
  }
  WritePicture(dir / "in/good.png", 6, 5);
  const RunResult r =
      Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png"});
  EXPECT_EQ(r.exitCode, 1);
  for (const char* name : {"huge.png", "huge.bmp", "huge.tif"}) {
    const std::string src = dir / ("in/" + std::string(name));
    EXPECT_EQ(LineFor(r.out, src).substr(LineFor(r.out, src).find(" Reason: ")),
              " Reason: Failed to load image " + src);
  }
  EXPECT_EQ(LineFor(r.out, dir / "in/good.png").rfind("SUCCESS: ", 0), 0u);
  EXPECT_EQ(NamesIn(dir / "out"), "good.png");
}

TEST(HostileFiles, TruncatedEmptyAndMisnamedFilesFailAlone) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in/x.jpg");
  const IndexedPicture photo = PhotoLikePicture(64, 48);
  FIBITMAP* bitmap = BitmapOf(photo, 8);
  FIBITMAP* rgb = FreeImage_ConvertTo24Bits(bitmap);
  std::vector<std::string> headerCuts;  // cut inside the header: must fail
  std::vector<std::string> laterCuts;   // a decoder may still give a sound picture
  for (const char* ext : {"jpg", "png", "tif"}) {
    const std::string whole = dir / (std::string("whole.") + ext);
    ASSERT_TRUE(SavePicture(rgb, whole));
    const std::string bytes = ReadFile(whole);
    // A TIFF whose pages cannot be counted gives no item, but still its ERROR line.
    for (std::size_t cut :
         {std::size_t{1}, std::size_t{7}, std::size_t{20}, bytes.size() / 2, bytes.size() - 3}) {
      const std::string name = std::string(ext) + "-cut" + std::to_string(cut) + "." + ext;
      WriteFile(dir / ("in/" + name), bytes.substr(0, cut));
      (cut <= 20 ? headerCuts : laterCuts).push_back(name);
    }
    WriteFile(dir / (std::string("in/empty.") + ext), "");
    headerCuts.push_back(std::string("empty.") + ext);
  }
  ASSERT_TRUE(SavePicture(rgb, dir / "in/good.png"));
  ASSERT_TRUE(SavePicture(rgb, dir / "in/x.jpg/inside.png"));
  FreeImage_Unload(rgb);
  FreeImage_Unload(bitmap);

  const RunResult r =
      Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:gif", "-bpp:8"});
  EXPECT_EQ(r.exitCode, 1);
  for (const auto& name : headerCuts)
    EXPECT_TRUE(IsError(LineFor(r.out, dir / ("in/" + name)))) << name << "\n" << r.out;
  for (const auto& name : laterCuts) {
    const std::string line = LineFor(r.out, dir / ("in/" + name));
    EXPECT_TRUE(IsError(line) || line.rfind("SUCCESS: ", 0) == 0 ||
                name.find(".tif") != std::string::npos)
        << name;
  }
  // The folder named like a picture is a folder: its picture converts, it is no item.
  EXPECT_EQ(LineFor(r.out, dir / "in/x.jpg/inside.png").rfind("SUCCESS: ", 0), 0u) << r.out;
  EXPECT_EQ(LineFor(r.out, dir / "in/good.png").rfind("SUCCESS: ", 0), 0u);
  // The GIF written is whole: Pillow and giflib see the source reduced by Wu's quantiser.
  FIBITMAP* source = FreeImage_Load(FIF_PNG, (dir / "in/good.png").c_str(), 0);
  FIBITMAP* reduced = FreeImage_ColorQuantize(source, FIQ_WUQUANT);
  const std::string skipped = ExpectDecodersSee(dir / "out/good.gif", PictureOfBitmap(reduced));
  FreeImage_Unload(reduced);
  FreeImage_Unload(source);
  const std::string names = AllNames(dir / "out");
  EXPECT_EQ(names.find(".tmp"), std::string::npos) << names;
  for (const auto& name : headerCuts)
    EXPECT_EQ(names.find(name.substr(0, name.find('.')) + ".gif "), std::string::npos);
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// HEIC, AVIF and JPEG XL files made by their own encoders, then cut short and with bytes
// changed, and a HEIC declaring 70000 x 70000 pixels: each is an item that ends as an ERROR
// line (a changed byte may still decode), and the run ends with its summary under its time
// limit, so no decoder crashed or hung it.
TEST(HostileFiles, CutAndChangedHeifAndJpegXlFilesEndAsErrors) {
  const std::string missing =
      MissingTools({"/usr/bin/convert", "/usr/bin/heif-enc", "/usr/bin/cjxl"});
  if (!missing.empty()) GTEST_SKIP() << "missing " << missing;
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  ASSERT_TRUE(RunTool("/usr/bin/convert", {"-size", "96x64", "gradient:red-blue", "-swirl", "90",
                                           "-depth", "8", dir / "seed.png"}));
  ASSERT_TRUE(
      RunTool("/usr/bin/heif-enc", {"-q", "70", dir / "seed.png", "-o", dir / "seed.heic"}));
  ASSERT_TRUE(
      RunTool("/usr/bin/heif-enc", {"-q", "70", dir / "seed.png", "-o", dir / "seed.avif"}));
  ASSERT_TRUE(RunTool("/usr/bin/cjxl", {dir / "seed.png", dir / "seed.jxl", "-q", "80"}));
  std::vector<std::string> mustFail, mayConvert;
  for (const char* ext : {"heic", "avif", "jxl"}) {
    const std::string bytes = ReadFile(dir / (std::string("seed.") + ext));
    ASSERT_GT(bytes.size(), 200u) << ext;
    for (std::size_t cut : {std::size_t{8}, std::size_t{24}, std::size_t{64}, std::size_t{200},
                            bytes.size() / 2, bytes.size() - 16}) {
      const std::string name = std::string(ext) + "-cut" + std::to_string(cut) + "." + ext;
      WriteFile(dir / ("in/" + name), bytes.substr(0, cut));
      mustFail.push_back(name);
    }
    // Bytes spread over the whole file, each inverted in a copy of its own.
    for (std::size_t k = 0; k < 24; ++k) {
      std::string changed = bytes;
      changed[(k * 7919 + 5) % changed.size()] ^= '\xFF';
      const std::string name = std::string(ext) + "-changed" + std::to_string(k) + "." + ext;
      WriteFile(dir / ("in/" + name), changed);
      mayConvert.push_back(name);
    }
  }
  // The picture's size in the HEIC's ispe box, after its version and flags.
  std::string huge = ReadFile(dir / "seed.heic");
  const std::size_t ispe = huge.find("ispe");
  ASSERT_NE(ispe, std::string::npos);
  PutBig32(huge, ispe + 8, 70000);
  PutBig32(huge, ispe + 12, 70000);
  WriteFile(dir / "in/huge.heic", huge);
  mustFail.push_back("huge.heic");

  const RunResult r =
      Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png"});
  ASSERT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.out.find(" images failed."), std::string::npos);
  // What the decoders find wrong stays out of sight: the reasons are the report's.
  EXPECT_EQ(r.err, "");
  // A cut file is told as truncated when the decoder finds its end too soon, as damaged when
  // what is left makes no sense to it; the declared size past the budget fails plainly.
  for (const std::string& name : mustFail) {
    const std::string source = dir / ("in/" + name);
    const std::string line = LineFor(r.out, source);
    const std::string start = "ERROR: failed to convert file " + source + " to " +
                              dir / ("out/" + name.substr(0, name.find('.')) + ".png") +
                              " Reason: Failed to load image " + source;
    EXPECT_TRUE(line == start || line == start + ": the file is truncated" ||
                line == start + ": the file is damaged")
        << line;
  }
  EXPECT_EQ(LineFor(r.out, dir / "in/jxl-cut200.jxl")
                .substr(LineFor(r.out, dir / "in/jxl-cut200.jxl").rfind(':')),
            ": the file is truncated");
  int converted = 0;
  for (const std::string& name : mayConvert) {
    const std::string line = LineFor(r.out, dir / ("in/" + name));
    EXPECT_TRUE(IsError(line) || line.rfind("SUCCESS: ", 0) == 0) << name;
    converted += line.rfind("SUCCESS: ", 0) == 0;
  }
  // Most changed bytes fall in the coded picture, which the decoders get through.
  EXPECT_GT(converted, 0);
}

TEST(HostileFiles, AFileThatVanishesAfterCollectionFailsWithTheLoadText) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  WritePicture(dir / "in/a.png");
  WritePicture(dir / "in/b.png");
  ItemList items;
  ListCollector collector(items);
  collector.sources = {dir / "in"};
  collector.Collect();
  ASSERT_EQ(items.size(), 2u);
  std::filesystem::remove(dir / "in/a.png");  // gone between collection and conversion
  ConversionSettings settings;
  settings.destFolder = dir / "out";
  settings.resizeOption = NoResize;
  ImageConverter converter;
  ASSERT_EQ(converter.Run(SnapshotOf(items), settings), S_OK);
  EXPECT_EQ(items[0]->log, "Failed to load image " + dir / "in/a.png");
  EXPECT_EQ(converter.failed, 1);
  EXPECT_EQ(converter.succeeded, 1);
  EXPECT_EQ(NamesIn(dir / "out"), "b.jpg");
}

// A folder on a file system of its own that is nearly full: a small tmpfs when this
// process may mount one.
class NearlyFull {
 public:
  explicit NearlyFull(const std::string& path) : path_(path) {
    std::filesystem::create_directories(path);
    mounted_ = mount("tmpfs", path.c_str(), "tmpfs", 0, "size=256k") == 0;
    if (!mounted_) return;
    // Leave about 4 KiB free.
    std::ofstream fill(path + "/fill", std::ios::binary);
    const std::string block(4096, 'x');
    while (fill.write(block.data(), block.size())) {}
    fill.close();
    std::filesystem::resize_file(path + "/fill", std::filesystem::file_size(path + "/fill") - 4096);
  }
  ~NearlyFull() {
    if (mounted_) umount(path_.c_str());
  }
  bool mounted() const { return mounted_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

TEST(HostileFiles, AFullDestinationFailsTheSaveAndLeavesNothingHalfWritten) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  NearlyFull out(dir / "out");
  if (!out.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
  WritePicture(dir / "in/a-small.png", 4, 4);
  FIBITMAP* big = BitmapOf(PhotoLikePicture(800, 600), 8);
  FIBITMAP* big24 = FreeImage_ConvertTo24Bits(big);
  ASSERT_TRUE(SavePicture(big24, dir / "in/b-big.png"));
  FreeImage_Unload(big24);
  FreeImage_Unload(big);
  // The program's own GIF writer and FreeImage's writers alike. One worker: with two, the
  // small picture may be written while the big one has already taken the last free block.
  for (const char* ext : {"gif", "png", "bmp", "tif", "jpg"}) {
    SCOPED_TRACE(ext);
    const RunResult r = Start({"-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n",
                               "-threads:1", std::string("-ext:") + ext, "-override"});
    EXPECT_EQ(r.exitCode, 1);
    const std::string dest = dir / (std::string("out/b-big.") + ext);
    EXPECT_EQ(LineFor(r.out, dir / "in/b-big.png"), "ERROR: failed to convert file " +
                                                        dir / "in/b-big.png" + " to " + dest +
                                                        " Reason: Failed to save " + dest);
    EXPECT_EQ(LineFor(r.out, dir / "in/a-small.png").rfind("SUCCESS: ", 0), 0u) << r.out;
    EXPECT_EQ(NamesIn(dir / "out"),
              std::string("a-small.") + ext + " fill");  // no temporary file left
    EXPECT_FALSE(FileExists(dest));
    std::filesystem::remove(dir / (std::string("out/a-small.") + ext));
  }
}

TEST(HostileFiles, AFileWhereTheDestinationFolderShouldBe) {
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  WritePicture(dir / "in/a.png");
  WriteFile(dir / "blocker", "a file");
  const RunResult r = Start({"-source:" + dir / "in", "-dest:" + dir / "blocker/out", "-mode:n"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(IsError(LineFor(r.out, dir / "in/a.png"))) << r.out;
  EXPECT_EQ(ReadFile(dir / "blocker"), "a file");
}

}  // namespace
