// The messages a run and its workers exchange: settings with awkward texts and exact
// fractions arrive unchanged, and a report that does not decode whole is refused rather
// than read as a result.
#include "job/WorkMessages.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkMessages, SettingsArriveWithEveryFieldTheWorkerReads) {
  ConversionSettings sent;
  sent.resizeOption = 7;
  sent.width = 1234;
  sent.ratio = 0.1 + 0.2;  // not representable in a short decimal
  sent.cropLeftRatio = 1.0 / 3.0;
  sent.overlay = true;
  sent.overlayFilePath = "/pics/\"quoted\" = [key]\\logo \xC3\xA9t\xC3\xA9.png";
  sent.prefix = "a;b\nc";
  sent.destFileExt = "tif";
  sent.keepMetadata = true;
  sent.autoRotate = true;
  sent.jpegQualityNew = 93;
  sent.paddingColor = 0x00123456;
  const ConversionSettings got = DecodeSettings(EncodeSettings(sent));
  EXPECT_EQ(got.resizeOption, 7);
  EXPECT_EQ(got.width, 1234);
  EXPECT_EQ(got.ratio, sent.ratio);
  EXPECT_EQ(got.cropLeftRatio, sent.cropLeftRatio);
  EXPECT_TRUE(got.overlay);
  EXPECT_EQ(got.overlayFilePath, sent.overlayFilePath);
  EXPECT_EQ(got.prefix, "a;b\nc");
  EXPECT_EQ(got.destFileExt, "tif");
  EXPECT_TRUE(got.keepMetadata);
  EXPECT_TRUE(got.autoRotate);
  EXPECT_EQ(got.jpegQualityNew, 93);
  EXPECT_EQ(got.paddingColor, 0x00123456u);
}

TEST(WorkMessages, OrdersAndReportsDecodeWholeOrNotAtAll) {
  const WorkOrder order{7, "/in/a b.tif", 3, "/out/.a b.tmp-XYZ.jpg"};
  const auto back = DecodeOrder(EncodeOrder(order));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->id, 7u);
  EXPECT_EQ(back->sourcePath, order.sourcePath);
  EXPECT_EQ(back->pageIndex, 3);
  EXPECT_EQ(back->tempPath, order.tempPath);

  WorkReport report;
  report.id = 9;
  report.percent = 100;
  report.failedAt = WorkStage::Save;
  report.code = E_FAIL;
  report.width = 640;
  report.newBitDepth = 8;
  const std::string bytes = EncodeReport(report);
  const auto decoded = DecodeReport(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->failedAt, WorkStage::Save);
  EXPECT_EQ(decoded->code, E_FAIL);
  EXPECT_EQ(decoded->width, 640);
  EXPECT_EQ(decoded->newBitDepth, 8);

  std::string badStage = bytes;
  badStage[8] = 9;  // a stage that does not exist
  const std::string cases[] = {bytes.substr(0, bytes.size() - 1), bytes + "x", badStage, ""};
  for (const std::string& bad : cases) EXPECT_FALSE(DecodeReport(bad)) << bad.size();
  std::string longText = EncodeOrder(order);
  longText[4] = '\x7F';  // the source path claims more bytes than follow
  EXPECT_FALSE(DecodeOrder(longText));
}

}  // namespace
