// The desktop entry: it passes desktop-file-validate, hands the files chosen in "Open With"
// to the program, and offers it only for picture types this build reads.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "image/codec/ImageType.h"
#include "support/ProgramRun.h"
#include "support/TestFolder.h"

namespace {

const std::string kEntry = std::string(BM_SOURCE_DIR) + "/packaging/brindlemark.desktop";

// The value of `key` in the entry; empty when it has none.
std::string ValueOf(const std::string& key) {
  std::istringstream lines(ReadFile(kEntry));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

TEST(DesktopEntry, PassesTheValidator) {
  const RunResult r = RunProgram("/bin/sh", {"-c", "command -v desktop-file-validate"});
  if (r.exitCode != 0) GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is missing";
  const RunResult check = RunProgram("/bin/sh", {"-c", "desktop-file-validate \"$0\"", kEntry});
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_EQ(check.out + check.err, "");
}

TEST(DesktopEntry, OpensTheChosenFilesInTheWindow) {
  EXPECT_EQ(ValueOf("Exec"), "brindlemark %F");
  EXPECT_EQ(ValueOf("Terminal"), "false");
}

// Every type offered has a name this build reads (the extension decides what is read).
TEST(DesktopEntry, OffersOnlyTypesThisBuildReads) {
  const std::map<std::string, std::string> nameOf = {
      {"image/jpeg", "a.jpg"},
      {"image/png", "a.png"},
      {"image/gif", "a.gif"},
      {"image/tiff", "a.tif"},
      {"image/bmp", "a.bmp"},
      {"image/webp", "a.webp"},
      {"image/heic", "a.heic"},
      {"image/heif", "a.heif"},
      {"image/avif", "a.avif"},
      {"image/jxl", "a.jxl"},
      {"image/jp2", "a.jp2"},
      {"image/x-icon", "a.ico"},
      {"image/vnd.microsoft.icon", "a.ico"},
      {"image/x-portable-bitmap", "a.pbm"},
      {"image/x-portable-graymap", "a.pgm"},
      {"image/x-portable-pixmap", "a.ppm"},
      {"image/x-tga", "a.tga"},
      {"image/x-pcx", "a.pcx"},
      {"image/vnd.adobe.photoshop", "a.psd"},
      {"image/x-sun-raster", "a.ras"},
      {"image/x-xbitmap", "a.xbm"},
      {"image/x-xpixmap", "a.xpm"},
      {"image/x-exr", "a.exr"},
      {"image/x-dds", "a.dds"},
      {"image/x-portable-floatmap", "a.pfm"},
      {"image/vnd.wap.wbmp", "a.wbmp"},
  };
  std::istringstream types(ValueOf("MimeType"));
  int offered = 0;
  for (std::string type; std::getline(types, type, ';');) {
    SCOPED_TRACE(type);
    ++offered;
    const auto it = nameOf.find(type);
    ASSERT_NE(it, nameOf.end()) << "a type the test does not know";
    EXPECT_TRUE(IsSupportedType(it->second, true)) << it->second;
  }
  EXPECT_EQ(offered, static_cast<int>(nameOf.size()));
}

}  // namespace
