// Decoding one frame of a GIF file from memory: frame counting, the three ways the
// picture of a frame is composed, colour tables and palettes, interlacing, the state the
// graphic control extensions carry, and the files that must fail.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifReadSupport.h"
#include "support/GifBuilder.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF,
                        kWhite = 0xFFFFFF;
const std::vector<std::uint32_t> kFour = {kBlack, kRed, kGreen, kBlue};

// A picture of `base` with the listed (x, y, index) changes.
std::vector<std::uint8_t> Painted(int width, int height, std::uint8_t base,
                                  std::initializer_list<std::array<int, 3>> changes) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height, base);
  for (const auto& [x, y, index] : changes)
    out[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(index);
  return out;
}

}  // namespace

TEST(GifDecoder, CountsEveryImageDescriptorAndFrameKShowsImageK) {
  GifBuilder b(4, 3, DistinctTable(16));
  for (int k = 0; k < 12; ++k) b.Control(0, -1, 10).Fill(0, 0, 4, 3, static_cast<std::uint8_t>(k));
  const std::string gif = b.Bytes();
  EXPECT_EQ(FrameCountOf(gif), 12);
  for (int k = 0; k < 12; ++k) {
    GifRaster r;
    int count = 0;
    ASSERT_TRUE(DecodeGif(gif, k, r, &count)) << k;
    EXPECT_EQ(count, 12);
    EXPECT_EQ(IndicesOf(r), std::vector<std::uint8_t>(12, static_cast<std::uint8_t>(k))) << k;
  }
  GifRaster r;
  int count = -1;
  EXPECT_FALSE(DecodeGif(gif, 12, r, &count));
  EXPECT_EQ(count, 12);
  EXPECT_FALSE(DecodeGif(gif, -1, r));
}

TEST(GifDecoder, SingleImageFileHasOneFrame) {
  const std::string gif = GifBuilder(2, 2, kFour).Image(ImageAt(0, 0, 2, 2, {0, 1, 2, 3})).Bytes();
  EXPECT_EQ(FrameCountOf(gif), 1);
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kBlack, kRed, kGreen, kBlue}));
}

// Frames with disposal 1 paint their non-transparent pixels over the picture so far, at
// the size of the first frame; pixels that fall outside it are dropped.
TEST(GifDecoder, Disposal1FramesPaintOverOneAnotherAtTheFirstFramesSize) {
  const std::string gif = GifBuilder(10, 8, kFour)
                              .Control(1)
                              .Fill(0, 0, 6, 5, 1)
                              .Control(1, 0)
                              .Image(ImageAt(1, 1, 2, 2, {2, 0, 0, 2}))
                              // No transparency flag: index 0 stays transparent. The third
                              // column and the second row lie outside the 6 x 5 picture.
                              .Control(1)
                              .Image(ImageAt(4, 4, 3, 2, {3, 0, 3, 3, 3, 3}))
                              .Control(1, 2)
                              .Image(ImageAt(0, 0, 2, 1, {2, 3}))
                              .Bytes();
  const auto frame1 = Painted(6, 5, 1, {{1, 1, 2}, {2, 2, 2}});
  const auto frame2 = Painted(6, 5, 1, {{1, 1, 2}, {2, 2, 2}, {4, 4, 3}});
  const auto frame3 = Painted(6, 5, 1, {{1, 1, 2}, {2, 2, 2}, {4, 4, 3}, {1, 0, 3}});
  const std::vector<std::uint8_t>* expected[] = {nullptr, &frame1, &frame2, &frame3};
  for (int k = 1; k <= 3; ++k) {
    GifRaster r;
    ASSERT_TRUE(DecodeGif(gif, k, r)) << k;
    EXPECT_EQ(r.Width(), 6);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_EQ(IndicesOf(r), *expected[k]) << k;
  }
}

TEST(GifDecoder, Disposal1IndicesTakeTheDepthAndPaletteOfThePictureSoFar) {
  // The first frame has a 2-entry table (1 bit); the second a 16-entry local one.
  const std::string gif = GifBuilder(4, 1, {kRed, kGreen})
                              .Fill(0, 0, 4, 1, 0)
                              .Control(1)
                              .Image(ImageAt(2, 0, 2, 1, {5, 6}, DistinctTable(16)))
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 1, r));
  EXPECT_EQ(r.Bpp(), 1);
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kRed, kRed, kGreen, kRed}));
}

TEST(GifDecoder, Disposal1FrameFarOutsideTheFirstFrameLeavesItUnchanged) {
  const std::string gif =
      GifBuilder(300, 300, kFour).Fill(0, 0, 2, 2, 1).Control(1).Fill(290, 290, 10, 10, 2).Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 1, r));
  EXPECT_EQ(IndicesOf(r), std::vector<std::uint8_t>(4, 1));
}

TEST(GifDecoder, Disposal2FrameIsReturnedAtItsOwnSizeNotComposedOntoScreen) {
  GifBuilder b(10, 8, kFour);
  b.Control(2).Fill(0, 0, 10, 8, 1);
  for (int k = 1; k <= 3; ++k)
    b.Control(2).Image(ImageAt(5, 5, 3, 2, {0, 1, 2, 3, static_cast<std::uint8_t>(k), 0}));
  GifRaster r;
  ASSERT_TRUE(DecodeGif(b.Bytes(), 3, r));
  EXPECT_EQ(r.Width(), 3);
  EXPECT_EQ(r.Height(), 2);
  EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{0, 1, 2, 3, 3, 0}));
}

TEST(GifDecoder, DisposalOtherThan1AfterDisposal1StartsAFreshPicture) {
  const std::string gif = GifBuilder(4, 4, kFour)
                              .Fill(0, 0, 4, 4, 1)
                              .Control(1)
                              .Fill(0, 0, 1, 1, 2)
                              .Control(3)
                              .Fill(1, 1, 2, 2, 3)
                              .Control(1)
                              .Fill(0, 0, 1, 1, 0)
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 2, r));
  EXPECT_EQ(IndicesOf(r), std::vector<std::uint8_t>(4, 3));
  ASSERT_TRUE(DecodeGif(gif, 3, r));
  EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{0, 3, 3, 3}));
}

TEST(GifDecoder, TransparentIndexGrowsASmallerPaletteTo256WhiteEntries) {
  const auto table = DistinctTable(16);
  const std::string gif =
      GifBuilder(2, 1, table).Control(0, 3).Image(ImageAt(0, 0, 2, 1, {3, 4})).Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(r.Bpp(), 4);
  EXPECT_EQ(r.paletteSize, 256);
  EXPECT_EQ(r.transparentIndex, 3);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(r.palette[static_cast<std::size_t>(i)], table[static_cast<std::size_t>(i)]) << i;
  for (int i = 16; i < 256; ++i) EXPECT_EQ(r.palette[static_cast<std::size_t>(i)], kWhite) << i;
  // The transparent pixel keeps its own colour.
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{table[3], table[4]}));
}

TEST(GifDecoder, WithoutTransparencyThePaletteKeepsTheSizeOfItsDepth) {
  GifRaster r;
  ASSERT_TRUE(DecodeGif(GifBuilder(1, 1, kFour).Fill(0, 0, 1, 1, 2).Bytes(), 0, r));
  EXPECT_EQ(r.paletteSize, 16);
  EXPECT_EQ(r.palette[4], 0u);
  ASSERT_TRUE(DecodeGif(
      GifBuilder(1, 1, DistinctTable(256)).Control(0, 7).Fill(0, 0, 1, 1, 2).Bytes(), 0, r));
  EXPECT_EQ(r.paletteSize, 256);
  EXPECT_EQ(r.palette[255], DistinctTable(256)[255]);
}

TEST(GifDecoder, DepthFollowsTheColourTableInForce) {
  const struct {
    int entries;
    int bpp;
  } cases[] = {{2, 1}, {4, 4}, {8, 4}, {16, 4}, {32, 8}, {128, 8}, {256, 8}};
  for (const auto& c : cases) {
    GifRaster r;
    ASSERT_TRUE(DecodeGif(
        GifBuilder(3, 1, DistinctTable(c.entries)).Image(ImageAt(0, 0, 3, 1, {1, 0, 1})).Bytes(), 0,
        r));
    EXPECT_EQ(r.Bpp(), c.bpp) << c.entries;
    EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{1, 0, 1})) << c.entries;
    EXPECT_EQ(ColoursOf(r)[0], DistinctTable(c.entries)[1]) << c.entries;
  }
  // No table at all: 4 bits and a black palette.
  GifRaster r;
  ASSERT_TRUE(DecodeGif(GifBuilder(3, 1).Image(ImageAt(0, 0, 3, 1, {9, 0, 1})).Bytes(), 0, r));
  EXPECT_EQ(r.Bpp(), 4);
  EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{9, 0, 1}));
  EXPECT_EQ(ColoursOf(r), std::vector<std::uint32_t>(3, kBlack));
}

TEST(GifDecoder, PaletteIndexPastTheEndOfTheTableIsBlackOrWhiteWhenTransparent) {
  GifRaster r;
  ASSERT_TRUE(DecodeGif(
      GifBuilder(2, 1, DistinctTable(32)).Image(ImageAt(0, 0, 2, 1, {200, 31})).Bytes(), 0, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kBlack, DistinctTable(32)[31]}));
  ASSERT_TRUE(DecodeGif(GifBuilder(2, 1, DistinctTable(32))
                            .Control(0, 1)
                            .Image(ImageAt(0, 0, 2, 1, {200, 31}))
                            .Bytes(),
                        0, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kWhite, DistinctTable(32)[31]}));
}

TEST(GifDecoder, LocalTableReplacesTheGlobalOneForItsImageOnly) {
  const std::string gif = GifBuilder(2, 1, {kRed, kGreen})
                              .Image(ImageAt(0, 0, 2, 1, {0, 1}, {kBlue, kWhite, kGreen, kRed}))
                              .Image(ImageAt(0, 0, 2, 1, {0, 1}))
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kBlue, kWhite}));
  EXPECT_EQ(r.Bpp(), 4);
  ASSERT_TRUE(DecodeGif(gif, 1, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kRed, kGreen}));
  EXPECT_EQ(r.Bpp(), 1);
}

TEST(GifDecoder, InterlacedImagesComeOutInRowOrderForEveryHeight) {
  for (int height = 1; height <= 17; ++height) {
    GifTestImage s = ImageAt(
        0, 0, 3, height, IndexPicture(3, height, [](int x, int y) { return (y * 3 + x) % 16; }));
    s.interlaced = true;
    GifRaster r;
    ASSERT_TRUE(DecodeGif(GifBuilder(3, height, DistinctTable(16)).Image(s).Bytes(), 0, r))
        << height;
    EXPECT_EQ(IndicesOf(r), s.indices) << height;
  }
}

TEST(GifDecoder, NoGlobalTableAndSmallFirstImageGiveTheScreenInBlackWithEveryImage) {
  const std::string gif = GifBuilder(6, 5)
                              .Image(ImageAt(1, 1, 2, 2, {0, 1, 1, 0}, {kRed, kGreen}))
                              // Transparent pixels are painted too.
                              .Control(0, 0)
                              .Image(ImageAt(3, 3, 2, 1, {1, 0}, {kBlue, kWhite}))
                              .Bytes();
  std::vector<std::uint32_t> expected(30, kBlack);
  expected[1 * 6 + 1] = kRed;
  expected[1 * 6 + 2] = kGreen;
  expected[2 * 6 + 1] = kGreen;
  expected[2 * 6 + 2] = kRed;
  expected[3 * 6 + 3] = kWhite;
  expected[3 * 6 + 4] = kBlue;
  EXPECT_EQ(FrameCountOf(gif), 2);
  for (int k = 0; k < 2; ++k) {
    GifRaster r;
    ASSERT_TRUE(DecodeGif(gif, k, r)) << k;
    EXPECT_EQ(r.Bpp(), 24);
    EXPECT_EQ(r.Width(), 6);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_EQ(ColoursOf(r), expected) << k;
    EXPECT_EQ(r.transparentIndex, 0);
  }
}

TEST(GifDecoder, NoGlobalTableButFirstImageAsWideAsTheScreenGivesTheLastImageAlone) {
  const std::string gif = GifBuilder(4, 4)
                              .Image(ImageAt(0, 0, 4, 1, {0, 1, 0, 1}, {kRed, kGreen}))
                              .Control(1)
                              .Image(ImageAt(1, 1, 1, 1, {1}, {kBlue, kWhite}))
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(r.Bpp(), 1);
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kRed, kGreen, kRed, kGreen}));
  // Disposal 1 at (1, 1) falls below the 4 x 1 picture.
  ASSERT_TRUE(DecodeGif(gif, 1, r));
  EXPECT_EQ(ColoursOf(r), (std::vector<std::uint32_t>{kRed, kGreen, kRed, kGreen}));
}

TEST(GifDecoder, SingleSmallImageWithoutGlobalTableBecomesScreenSized) {
  const std::string gif = GifBuilder(3, 2).Image(ImageAt(2, 1, 1, 1, {1}, {kRed, kGreen})).Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(ColoursOf(r),
            (std::vector<std::uint32_t>{kBlack, kBlack, kBlack, kBlack, kBlack, kGreen}));
}

// Until the decoding pass meets its first graphic control extension, the state is what
// the counting pass left: that of the file's last one.
TEST(GifDecoder, FirstImageTakesTheStateOfTheFilesLastGraphicControl) {
  const std::string gif = GifBuilder(1, 1, kFour)
                              .Fill(0, 0, 1, 1, 1)
                              .Control(2, 3, 40)
                              .Fill(0, 0, 1, 1, 2)
                              .Comment("late")
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(r.transparentIndex, 3);
  EXPECT_EQ(r.paletteSize, 256);
  EXPECT_EQ(r.palette[200], kWhite);
  EXPECT_EQ(r.delay, 40);
  EXPECT_EQ(r.disposal, 2);
  EXPECT_EQ(r.comment, "late");
}

TEST(GifDecoder, ControlWithoutTransparencyFlagKeepsTheEarlierIndex) {
  const std::string gif = GifBuilder(1, 1, kFour)
                              .Control(0, 2)
                              .Fill(0, 0, 1, 1, 1)
                              .Control(0)
                              .Fill(0, 0, 1, 1, 1)
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 1, r));
  EXPECT_EQ(r.transparentIndex, 2);
}

TEST(GifDecoder, PropertiesOfTheFileAreCarriedOntoTheFrame) {
  const std::string gif = GifBuilder(1, 1, kFour)
                              .Loop(7)
                              .Comment("hello")
                              .Comment("")
                              .Control(3, -1, 250)
                              .Fill(0, 0, 1, 1, 1)
                              .Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(r.loopCount, 7);
  EXPECT_EQ(r.comment, "");
  EXPECT_EQ(r.delay, 250);
  EXPECT_EQ(r.disposal, 3);
  EXPECT_EQ(r.transparentIndex, -1);
}

TEST(GifDecoder, CodeSizeOutside2To9LeavesTheImageAtIndex0AndTheNextImageIntact) {
  for (int codeSize : {0, 1, 10, 12, 255}) {
    GifTestImage bad = ImageAt(0, 0, 2, 2, {});
    bad.rawData.assign(1, static_cast<char>(codeSize));
    bad.rawData += SubBlocks(std::string("\x0C\x21\x2C\x3B\x00\x01", 6));
    const std::string gif =
        GifBuilder(2, 2, kFour).Image(bad).Image(ImageAt(0, 0, 2, 2, {1, 2, 3, 1})).Bytes();
    EXPECT_EQ(FrameCountOf(gif), 2) << codeSize;
    GifRaster r;
    ASSERT_TRUE(DecodeGif(gif, 0, r)) << codeSize;
    EXPECT_EQ(IndicesOf(r), std::vector<std::uint8_t>(4, 0)) << codeSize;
    ASSERT_TRUE(DecodeGif(gif, 1, r)) << codeSize;
    EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{1, 2, 3, 1})) << codeSize;
  }
}

TEST(GifDecoder, CorruptDataKeepsWhatWasDecodedAndTheRestIndex0) {
  // Clear, three pixels, then the data ends without an end code.
  GifTestImage s = ImageAt(0, 0, 3, 2, {});
  s.rawData = "\x02";
  s.rawData += SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}}));
  GifRaster r;
  ASSERT_TRUE(DecodeGif(GifBuilder(3, 2, kFour).Image(s).Bytes(), 0, r));
  EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{1, 2, 3, 0, 0, 0}));
  // The file itself ends inside the image data.
  const std::string cut =
      GifBuilder(3, 2, kFour).Image(ImageAt(0, 0, 3, 2, {1, 1, 1, 1, 1, 1})).Bytes();
  ASSERT_TRUE(DecodeGif(cut.substr(0, cut.size() - 4), 0, r));
}

TEST(GifDecoder, ImageOutsideTheScreenIsCountedButItsFrameFails) {
  const std::string gif = GifBuilder(4, 4, kFour)
                              .Fill(0, 0, 4, 4, 1)
                              .Fill(3, 3, 2, 2, 2)
                              .Control(1)
                              .Fill(0, 0, 1, 1, 3)
                              .Bytes();
  EXPECT_EQ(FrameCountOf(gif), 3);
  GifRaster r;
  EXPECT_FALSE(DecodeGif(gif, 1, r));
  // The image that was not decoded leaves the picture as it was for the next one.
  ASSERT_TRUE(DecodeGif(gif, 2, r));
  EXPECT_EQ(IndicesOf(r), Painted(4, 4, 1, {{0, 0, 3}}));
  // A first image outside the screen: no frame can be counted on.
  EXPECT_EQ(
      FrameCountOf(GifBuilder(4, 4, kFour).Fill(65535, 0, 4, 4, 1).Fill(0, 0, 1, 1, 1).Bytes()), 0);
}

TEST(GifDecoder, ZeroSizedImageIsCountedButItsFrameFails) {
  for (const auto& [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    GifTestImage empty = ImageAt(0, 0, w, h, {});
    const std::string gif = GifBuilder(4, 4, kFour).Image(empty).Fill(0, 0, 2, 2, 1).Bytes();
    EXPECT_EQ(FrameCountOf(gif), 0) << w << "x" << h;
    GifRaster r;
    EXPECT_FALSE(DecodeGif(gif, 0, r));
    ASSERT_TRUE(DecodeGif(gif, 1, r));
    EXPECT_EQ(r.Width(), 2);
  }
}

TEST(GifDecoder, FilesThatAreNotGifOrCutInTheirStructureFail) {
  const std::string good = GifBuilder(2, 2, kFour).Fill(0, 0, 2, 2, 1).Bytes();
  std::string notGif = good;
  notGif[3] = '7';
  std::string gif87 = good;
  gif87[4] = '7';
  GifRaster r;
  EXPECT_FALSE(DecodeGif(notGif, 0, r));
  EXPECT_TRUE(DecodeGif(gif87, 0, r));
  EXPECT_FALSE(DecodeGif("", 0, r));
  EXPECT_FALSE(DecodeGif(good.substr(0, 12), 0, r));           // header
  EXPECT_FALSE(DecodeGif(good.substr(0, 13 + 11), 0, r));      // global table
  EXPECT_FALSE(DecodeGif(good.substr(0, 13 + 12 + 5), 0, r));  // descriptor
  EXPECT_EQ(FrameCountOf(good.substr(0, 13 + 12 + 5)), 0);
  // A header and table without any image: no frames.
  int count = -1;
  EXPECT_FALSE(DecodeGif(good.substr(0, 25), 0, r, &count));
  EXPECT_EQ(count, 0);
}

TEST(GifDecoder, CutInADescriptorOfALaterImageFailsTheWholeFile) {
  GifBuilder b(2, 2, kFour);
  b.Fill(0, 0, 2, 2, 1);
  const std::size_t second = b.Bytes(false).size();
  const std::string gif = b.Fill(0, 0, 2, 2, 2, DistinctTable(8)).Bytes();
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_FALSE(DecodeGif(gif.substr(0, second + 4), 0, r));
  EXPECT_FALSE(DecodeGif(gif.substr(0, second + 10 + 20), 0, r));  // in the local table
  EXPECT_TRUE(DecodeGif(gif.substr(0, second + 10 + 24), 0, r));   // at its code size byte
}

TEST(GifDecoder, PicturesOverTheBudgetFail) {
  // 65535 x 65535 is more than the picture budget: refused before any memory is taken.
  const std::string huge = GifBuilder(65535, 65535, kFour)
                               .Fill(0, 0, 2, 2, 1)
                               .Raw(std::string("\x2C\0\0\0\0\xFF\xFF\xFF\xFF\0\x02\0", 12))
                               .Bytes();
  EXPECT_EQ(FrameCountOf(huge), 2);
  GifRaster r;
  EXPECT_FALSE(DecodeGif(huge, 1, r));
  ASSERT_TRUE(DecodeGif(huge, 0, r));
  // The screen raster of a file without a global table is judged the same way.
  const std::string screen = GifBuilder(65535, 65535).Fill(0, 0, 2, 2, 1).Bytes();
  EXPECT_EQ(FrameCountOf(screen), 0);
  EXPECT_FALSE(DecodeGif(screen, 0, r));
  // With a small budget.
  const std::string small = GifBuilder(20, 20, kFour).Fill(0, 0, 10, 10, 1).Bytes();
  EXPECT_EQ(FrameCountOf(small, 100), 1);
  EXPECT_EQ(FrameCountOf(small, 99), 0);
  EXPECT_FALSE(DecodeGif(small, 0, r, nullptr, 99));
}

TEST(GifDecoder, ImageOverTheBudgetFailsOnlyTheFramesThatNeedIt) {
  const std::string gif = GifBuilder(20, 20, kFour)
                              .Fill(0, 0, 20, 20, 1)
                              .Control(0)
                              .Fill(0, 0, 2, 2, 2)
                              .Control(1)
                              .Fill(1, 1, 1, 1, 3)
                              .Bytes();
  GifRaster r;
  EXPECT_EQ(FrameCountOf(gif, 100), 0);
  EXPECT_FALSE(DecodeGif(gif, 0, r, nullptr, 100));
  ASSERT_TRUE(DecodeGif(gif, 2, r, nullptr, 100));
  EXPECT_EQ(IndicesOf(r), (std::vector<std::uint8_t>{2, 2, 2, 3}));
}

TEST(GifDecoder, EndlessChainOfExtensionsEndsWithTheData) {
  std::string chain;
  for (int i = 0; i < 200000; ++i) chain += std::string("\x21\xF9\x04\x01\x00\x00\x02\x00", 8);
  const std::string gif = GifBuilder(2, 2, kFour).Fill(0, 0, 2, 2, 1).Bytes(false) + chain;
  EXPECT_EQ(FrameCountOf(gif), 1);
  GifRaster r;
  ASSERT_TRUE(DecodeGif(gif, 0, r));
  EXPECT_EQ(r.transparentIndex, 2);
  // Extensions whose sub-blocks never end.
  const std::string open =
      GifBuilder(2, 2, kFour).Bytes(false) + "\x21\x01" + std::string(100000, '\x05');
  EXPECT_EQ(FrameCountOf(open), 0);
}

// Every prefix of a small animation either fails or gives sound pictures, and the frame
// count agrees with whether frame 0 decodes. Each prefix is copied to a buffer of its
// exact size, so a read past its end is caught by the address sanitizer.
TEST(GifDecoder, TruncatedAtEveryByteNeverReadsPastTheEnd) {
  GifTestImage interlaced =
      ImageAt(1, 1, 3, 3, IndexPicture(3, 3, [](int x, int y) { return (x + y) % 4; }));
  interlaced.interlaced = true;
  const std::string gif = GifBuilder(5, 4, kFour)
                              .Loop(0)
                              .Comment("c")
                              .Control(1, 0, 5)
                              .Fill(0, 0, 5, 4, 1)
                              .Control(1, 2)
                              .Image(interlaced)
                              .Control(2)
                              .Fill(2, 0, 2, 2, 3, DistinctTable(8))
                              .Bytes();
  ASSERT_EQ(FrameCountOf(gif), 3);
  for (std::size_t n = 0; n <= gif.size(); ++n) {
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[n]);
    std::memcpy(exact.get(), gif.data(), n);
    const int count = GifFrameCount(exact.get(), n, kMaxPicturePixels);
    GifRaster first;
    int found = 0;
    EXPECT_EQ(DecodeGifFrame(exact.get(), n, 0, kMaxPicturePixels, first, &found), count > 0) << n;
    if (count > 0) {
      EXPECT_EQ(found, count) << n;
    }
    for (int k = 0; k < count; ++k) {
      GifRaster r;
      if (!DecodeGifFrame(exact.get(), n, k, kMaxPicturePixels, r)) continue;
      EXPECT_GT(r.Width(), 0);
      EXPECT_GT(r.Height(), 0);
      EXPECT_EQ(IndicesOf(r).size(), static_cast<std::size_t>(r.Width()) * r.Height());
    }
  }
}
