#include "strings/StringTable.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, KnowsEveryEngineTextByNumber) {
  const std::pair<int, const char*> texts[] = {
      {61233, "Please choose a destination folder."},
      {61235, "Please choose a ratio larger than 0."},
      {61236, "Please choose a width larger than 0."},
      {61237, "Please choose a height larger than 0."},
      {61238, "Please choose a zero padding not negative."},
      {61239, "Please enter a destination file type."},
      {61240, "Destination file type is not supported."},
      {61241, "Wrong command line argument %s"},
      {61242, "Wrong /m argument. Acceptable values are n,a,m,r,w,wr,h,hr"},
      {61243, "Fail to create destination folder %s"},
      {61249, "File %s already exists"},
      {61250, "Failed to load image %s"},
      {61251, "Failed to resize %s"},
      {61252, "Failed to save %s"},
      {61253, "Successfully converted %s to %s"},
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(LoadText(id), text) << id;
  EXPECT_EQ(LoadText(12345), "");
}

TEST(StringTable, FillsArgumentsAsTextNeverAsFormat) {
  EXPECT_EQ(FormatText(Ids::Converted, "/in/a %s.png", "/out/a%d.jpg"),
            "Successfully converted /in/a %s.png to /out/a%d.jpg");
  EXPECT_EQ(FormatText(Ids::FileExists, "/x/100%.jpg"), "File /x/100%.jpg already exists");
  EXPECT_EQ(FillNumbers("Total files: %d Succeeded: %d Failed: %d", 12, 10, -2),
            "Total files: 12 Succeeded: 10 Failed: -2");
  EXPECT_EQ(FillText("50%% of %s", "it", ""), "50% of it");
}

TEST(StringTable, KnowsTheMainWindowTextsByNumber) {
  const std::pair<int, const char*> texts[] = {
      {128, "Brindlemark"},
      {57345, "Ready"},
      {61208, "Add Files"},
      {61209, "Remove Selected"},
      {61284, "Brindlemark %s"},
      {61288, "Start"},
      {61289, "Add Folder"},
      {61290, "Remove All"},
      {1016, "Conversion by a specified ratio."},
      {1027, "Override existing files"},
      {1043, "Version of this"},
      {1060, "Enable Shadow Effect"},
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(LoadText(id), text) << id;
  EXPECT_EQ(FormatText(Ids::AboutVersion, "2.9"), "Brindlemark 2.9");
}

TEST(StringTable, SplitsCommandPromptsIntoStatusTextAndToolTip) {
  struct Prompt {
    int id;
    const char* status;
    const char* tip;
  };
  const Prompt prompts[] = {
      {32771, "Add selected files to conversion list", "Add selected files to conversion list"},
      {32774, "Add Folder", "Add Folder"},
      {32772, "Remove selected files (hit delete in the list)",
       "Remove selected files(hit delete in the list)"},
      {32811, "Remove all files", "Remove all files"},
      {32814, "View orginal image with default viewer", "View orginal image with default viewer"},
      {32813, "View converted image with default viewer (double click to open)",
       "View converted image with default viewer (double click to open)"},
      {32818, "Add Folder Recursively", "Add Folder Recursively"},
      {32773, "Start conversion", "Start conversion"},
      {59392, "Show or hide the toolbar", "Toggle ToolBar"},
      {59393, "Show or hide the status bar", "Toggle StatusBar"},
  };
  for (const Prompt& p : prompts) {
    EXPECT_EQ(PromptStatusText(p.id), p.status) << p.id;
    EXPECT_EQ(PromptToolTip(p.id), p.tip) << p.id;
  }
  // A text without a line break is all status text; a missing one is empty.
  EXPECT_EQ(PromptStatusText(57345), "Ready");
  EXPECT_EQ(PromptToolTip(57345), "");
  EXPECT_EQ(PromptStatusText(4242), "");
  EXPECT_EQ(PromptToolTip(4242), "");
}

}  // namespace
