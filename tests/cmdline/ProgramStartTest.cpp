// What a start of Brindlemark.exe loads: a command-line start the engine and FreeImage and
// never the window's toolkit, which lives in a module loaded only for the window.
#include <gtest/gtest.h>

#include "job/SmallPictures.h"
#include "support/TestFiles.h"

namespace {

TEST(ProgramStart, CommandLineStartLoadsNoGuiLibrary) {
  TempDir dir;
  WritePicture(dir / "a.png");
  RunOptions options;
  options.environment = {{"LD_DEBUG", "files"}};  // the dynamic loader names what it loads
  const RunResult r = RunProgram(BinPath("Brindlemark.exe"),
                                 {"-source:" + dir / "a.png", "-dest:" + dir / "out"}, options);
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.err.find("libfreeimage"), std::string::npos);
  for (const char* gui : {"libwx", "libgtk", "libX11", "Brindlemark.window"})
    EXPECT_EQ(r.err.find(gui), std::string::npos) << gui;
}

TEST(ProgramStart, VersionNamesTheToolkitOfTheWindowWhenThereIsOne) {
  const RunResult r = RunProgram(BinPath("Brindlemark.exe"), {"--version"});
  EXPECT_EQ(r.exitCode, 0);
  const bool window = FileExists(BinPath("Brindlemark.window.so"));
  EXPECT_NE(r.out.find(window ? "wxWidgets 3." : "wxWidgets: not part of this build"),
            std::string::npos)
      << r.out;
}

}  // namespace
