#include "ui/resources/StringTable.h"

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

}  // namespace
