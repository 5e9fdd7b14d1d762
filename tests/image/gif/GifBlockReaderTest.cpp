// The block loop: what the extensions set, what is skipped, and where the loop ends.
#include <gtest/gtest.h>

#include "image/gif/GifBlockReader.h"
#include "image/gif/GifReadSupport.h"

namespace {

struct Walk {
  std::vector<GifBlock> blocks;  // every block Next returned, the last one not Image
  GifControl control;
  std::vector<GifImageDescriptor> images;
};

// Runs the loop over `bytes`, skipping each image's data.
Walk WalkBlocks(const std::string& bytes) {
  GifCursor in(BytesOf(bytes), bytes.size());
  Walk w;
  GifBlockReader reader(in, w.control);
  for (;;) {
    GifImageDescriptor image;
    const GifBlock b = reader.Next(image);
    w.blocks.push_back(b);
    if (b != GifBlock::Image) break;
    w.images.push_back(image);
    SkipGifImageData(in);
  }
  return w;
}

const std::string kImage =
    std::string("\x2C\x01\x00\x02\x00\x03\x00\x04\x00\x40\x02\x01\x00\x00", 14);

}  // namespace

TEST(GifBlockReader, GraphicControlSetsDisposalDelayAndTransparency) {
  const Walk w = WalkBlocks(std::string("\x21\xF9\x04\x0D\x34\x12\x07\x00", 8));
  EXPECT_EQ(w.control.disposal, 3);
  EXPECT_EQ(w.control.delay, 0x1234);
  EXPECT_EQ(w.control.transparentIndex, 7);
  EXPECT_TRUE(w.control.controlSeen);
}

TEST(GifBlockReader, GraphicControlWithoutTheFlagKeepsTheTransparentIndex) {
  const Walk w = WalkBlocks(
      std::string("\x21\xF9\x04\x01\x00\x00\x07\x00\x21\xF9\x04\x08\x05\x00\x09\x00", 16));
  EXPECT_EQ(w.control.transparentIndex, 7);
  EXPECT_EQ(w.control.disposal, 2);
  EXPECT_EQ(w.control.delay, 5);
}

TEST(GifBlockReader, GraphicControlWithAnotherSizeByteIsIgnored) {
  // Size 5: the four bytes are read, the fifth is taken as a sub-block count (0 ends it).
  const Walk w = WalkBlocks(std::string("\x21\xF9\x05\x05\x01\x00\x07\x00", 8) + kImage);
  EXPECT_EQ(w.control.transparentIndex, -1);
  EXPECT_EQ(w.control.disposal, 0);
  EXPECT_FALSE(w.control.controlSeen);
  ASSERT_EQ(w.images.size(), 1u);
}

TEST(GifBlockReader, CommentKeepsTheFirstSubBlockOfTheLastComment) {
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFE\x03"
                                   "abc\x02"
                                   "de\x00",
                                   10))
                .control.comment,
            "abc");
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFE\x01x\x00\x21\xFE\x00", 8) + kImage).control.comment,
            "");
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFE\x00", 3) + kImage).images.size(), 1u);
}

TEST(GifBlockReader, ApplicationBlockGivesTheLoopCount) {
  EXPECT_EQ(
      WalkBlocks(std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x05\x01\x00", 19)).control.loopCount,
      0x105);
  // Another identifier length, or a data block of 2 bytes: no loop count.
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFF\x0ANETSCAPE2.\x03\x01\x05\x01\x00", 18) + kImage)
                .control.loopCount,
            0);
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFF\x0BNETSCAPE2.0\x02\x01\x05\x00", 18) + kImage)
                .control.loopCount,
            0);
  EXPECT_EQ(WalkBlocks(std::string("\x21\xFF\x0BNETSCAPE2.0\x00", 15) + kImage).images.size(), 1u);
}

TEST(GifBlockReader, UnknownExtensionsAndStrayBytesAreSkipped) {
  const Walk w = WalkBlocks(std::string("\x00\x99\x21\x01\x02\x2C\x3B\x00\x21\x02\x00", 11) +
                            kImage + "\x3B" + kImage);
  ASSERT_EQ(w.images.size(), 1u);
  EXPECT_EQ(w.images[0].left, 1);
  EXPECT_EQ(w.images[0].top, 2);
  EXPECT_EQ(w.images[0].width, 3);
  EXPECT_EQ(w.images[0].height, 4);
  EXPECT_TRUE(w.images[0].interlaced);
  EXPECT_FALSE(w.images[0].hasLocalTable);
  EXPECT_EQ(w.blocks.back(), GifBlock::End);
}

TEST(GifBlockReader, ExtensionCutShortEndsTheLoop) {
  for (const std::string& cut :
       {std::string("\x21", 1), std::string("\x21\xF9\x04\x01\x00", 5),
        std::string("\x21\xFE\x05"
                    "ab",
                    5),
        std::string("\x21\xFF\x0BNETS", 7), std::string("\x21\x01\x03\x00\x00\x00", 6)}) {
    const Walk w = WalkBlocks(cut);
    EXPECT_EQ(w.blocks, std::vector<GifBlock>{GifBlock::End});
  }
}

TEST(GifBlockReader, DescriptorOrLocalTableCutShortIsBroken) {
  EXPECT_EQ(WalkBlocks(kImage.substr(0, 9)).blocks.back(), GifBlock::Broken);
  std::string local = kImage;
  local[9] = '\x81';  // a local table of 4 entries, 12 bytes
  EXPECT_EQ(WalkBlocks(local.substr(0, 10) + std::string(11, '\0')).blocks.back(),
            GifBlock::Broken);
  const Walk w = WalkBlocks(local.substr(0, 10) + std::string(12, '\x11') + "\x02\x00");
  ASSERT_EQ(w.images.size(), 1u);
  EXPECT_EQ(w.images[0].localTable.size, 4);
  EXPECT_EQ(w.images[0].localTable.entries[3], 0x111111u);
}
