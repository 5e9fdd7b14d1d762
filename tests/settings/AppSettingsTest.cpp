// The window placement record's 44 bytes and the column width defaults.
#include "settings/AppSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(AppSettingsTest, PlacementBytesAreElevenLittleEndianFields) {
  WindowPlacement p;
  p.flags = 2, p.showCmd = 3, p.minX = -1, p.left = 0x01020304, p.bottom = -2;
  const auto b = p.ToBytes();
  EXPECT_EQ(b[0], 44);  // length
  EXPECT_EQ(b[4], 2);
  EXPECT_EQ(b[8], 3);
  EXPECT_EQ(b[12], 0xff);
  EXPECT_EQ(b[15], 0xff);
  EXPECT_EQ(b[28], 0x04);
  EXPECT_EQ(b[31], 0x01);
  EXPECT_EQ(b[40], 0xfe);
  EXPECT_EQ(b[43], 0xff);
  EXPECT_EQ(WindowPlacement::FromBytes(b.data()), p);
}

TEST(AppSettingsTest, ColumnWidthDefaults) {
  const std::array<int, kColumnCount> expected = {200, 25, 70,  50, 40, 120, 40, 40, 25, 40,
                                                  40,  25, 130, 0,  0,  0,   0,  0,  0,  0};
  EXPECT_EQ(AppSettings{}.columnWidths, expected);
}

}  // namespace
