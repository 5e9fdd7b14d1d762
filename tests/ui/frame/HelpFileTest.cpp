// The help file's path beside the program, and the file the build puts there.
#include <gtest/gtest.h>

#include "support/ProgramRun.h"
#include "support/TestFolder.h"
#include "ui/frame/HelpFile.h"

namespace {

TEST(HelpFile, ReplacesTheLastDotPartOfTheFileNameOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/brindlemark/Brindlemark.exe", "/opt/brindlemark/Brindlemark.html"},
      {"/opt/v2.9/Brindlemark.exe", "/opt/v2.9/Brindlemark.html"},
      {"/opt/v2.9/Brindlemark", "/opt/v2.9/Brindlemark.html"},
      {"/opt/app.d/Brindle.mark.exe", "/opt/app.d/Brindle.mark.html"},
      {"Brindlemark.exe", "Brindlemark.html"},
      {"/usr/bin/brindlemark", "/usr/bin/brindlemark.html"},
  };
  for (const auto& [program, help] : cases) EXPECT_EQ(HelpFilePath(program), help) << program;
}

TEST(HelpFile, TheBuildPutsTheHelpBesideTheProgram) {
  const std::string help = HelpFilePath(BinPath("Brindlemark.exe"));
  ASSERT_TRUE(FileExists(help)) << help;
  const std::string html = ReadFile(help);
  EXPECT_NE(html.find("<title>Brindlemark Help</title>"), std::string::npos);
  EXPECT_NE(html.find("F9"), std::string::npos);
}

}  // namespace
