// The LZW decoding of one image: code widths, the table, clear and end codes, the codes a
// corrupt file may hold, packing into 1- and 4-bit rows, and where the cursor is left.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "image/gif/GifCursor.h"
#include "image/gif/GifLzwDecoder.h"
#include "image/gif/GifReadSupport.h"
#include "support/GifBuilder.h"

namespace {

struct Decoded {
  std::vector<std::uint8_t> indices;
  std::size_t position;  // of the cursor afterwards
};

// Decodes the sub-blocks `data` (followed by a marker byte) into a width x height raster.
Decoded Decode(const std::string& data, int codeSize, int width, int height, int bpp = 8,
               bool interlaced = false) {
  const std::string bytes = data + "\x3B";
  GifCursor in(BytesOf(bytes), bytes.size());
  GifRaster raster;
  EXPECT_TRUE(raster.Create(width, height, bpp, 1 << 20));
  DecodeLzwImage(in, codeSize, interlaced, raster);
  return {IndicesOf(raster), in.Position()};
}

std::vector<std::uint8_t> Repeat(std::size_t n, std::uint8_t v) {
  return std::vector<std::uint8_t>(n, v);
}

}  // namespace

TEST(GifLzwDecoder, DecodesWhatADictionaryCoderPackedForEveryCodeSize) {
  for (int codeSize = 2; codeSize <= 8; ++codeSize) {
    const int colours = 1 << codeSize;
    // Runs and a pseudo-random stretch: long strings, the table filling up and clear codes.
    std::vector<std::uint8_t> pixels;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 40000; ++i) {
      seed = seed * 1103515245 + 12345;
      pixels.push_back(
          static_cast<std::uint8_t>(i < 10000 ? (i / 97) % colours : (seed >> 16) % colours));
    }
    const Decoded d = Decode(SubBlocks(LzwCompress(pixels, codeSize)), codeSize, 200, 200);
    EXPECT_EQ(d.indices, pixels) << codeSize;
  }
}

TEST(GifLzwDecoder, CodeForTheEntryBeingDefinedRepeatsThePreviousStringsFirstIndex) {
  // Clear, 1, then 6 (not yet in the table): "1" + "1"; then 7 = "1 1" + "1".
  const Decoded d = Decode(SubBlocks(PackCodes({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 3}})), 2, 6, 1);
  EXPECT_EQ(d.indices, (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1}));
}

TEST(GifLzwDecoder, CodeBeyondTheNextFreeOneIsDecodedAsIfItWereTheNextAndDecodingGoesOn) {
  // After clear and 2 the next free code is 6; 7 is beyond it: "2" + "2". Then 3.
  const Decoded d = Decode(SubBlocks(PackCodes({{4, 3}, {2, 3}, {7, 3}, {3, 3}, {5, 3}})), 2, 4, 1);
  EXPECT_EQ(d.indices, (std::vector<std::uint8_t>{2, 2, 2, 3}));
}

TEST(GifLzwDecoder, FirstCodeAtOrAboveTheFirstFreeCodeIsIndex0) {
  // With and without a clear code before it.
  EXPECT_EQ(Decode(SubBlocks(PackCodes({{4, 3}, {7, 3}, {1, 3}, {5, 3}})), 2, 2, 1).indices,
            (std::vector<std::uint8_t>{0, 1}));
  EXPECT_EQ(Decode(SubBlocks(PackCodes({{6, 3}, {2, 3}, {5, 3}})), 2, 2, 1).indices,
            (std::vector<std::uint8_t>{0, 2}));
  // No clear code at all: the first code is a plain index.
  EXPECT_EQ(Decode(SubBlocks(PackCodes({{3, 3}, {3, 3}, {6, 3}, {5, 3}})), 2, 4, 1).indices,
            (std::vector<std::uint8_t>{3, 3, 3, 3}));
}

TEST(GifLzwDecoder, RepeatedClearCodesAreSkippedAndResetTheWidth) {
  // Widths grow to 4 bits once the table reaches 8 entries; a clear brings back 3 bits.
  std::vector<std::pair<int, int>> codes = {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4},
                                            {4, 4}, {4, 3}, {4, 3}, {2, 3}, {5, 3}};
  EXPECT_EQ(Decode(SubBlocks(PackCodes(codes)), 2, 5, 1).indices,
            (std::vector<std::uint8_t>{1, 2, 3, 1, 2}));
}

TEST(GifLzwDecoder, FullTableKeeps12BitCodesWithoutNewEntries) {
  // Code size 2: after clear, 4090 single-index codes fill the table (entries 6..4095).
  std::vector<std::pair<int, int>> codes = {{4, 3}};
  std::vector<std::uint8_t> expected;
  int next = 6;
  int width = 3;
  for (int i = 0; i < 4095; ++i) {
    codes.push_back({i % 4, width});
    expected.push_back(static_cast<std::uint8_t>(i % 4));
    if (i > 0 && next < 4096 && ++next == (1 << width) && width < 12) ++width;
  }
  ASSERT_EQ(width, 12);
  // Entry 6 is "0 1"; with the table full, codes stay 12 bits wide.
  for (int i = 0; i < 3; ++i) {
    codes.push_back({6, 12});
    expected.push_back(0);
    expected.push_back(1);
  }
  codes.push_back({5, 12});
  const Decoded d = Decode(SubBlocks(PackCodes(codes)), 2, static_cast<int>(expected.size()), 1);
  EXPECT_EQ(d.indices, expected);
}

TEST(GifLzwDecoder, EndCodeStopsAndTheRestOfTheSubBlocksIsSkipped) {
  // Data after the end code, in the same sub-block and in further ones, holds bytes that
  // look like block starts; the cursor must land just after the terminator.
  std::string data = PackCodes({{4, 3}, {1, 3}, {5, 3}}) + std::string("\x21\x2C\x3B\x00\x21", 5);
  const std::string blocks =
      SubBlocks(data).substr(0, data.size() + 1) + std::string("\x03\x2C\x2C\x2C\x00", 5);
  const Decoded d = Decode(blocks, 2, 3, 1);
  EXPECT_EQ(d.indices, (std::vector<std::uint8_t>{1, 0, 0}));
  EXPECT_EQ(d.position, blocks.size());
}

TEST(GifLzwDecoder, PixelsBeyondTheRasterAreDroppedAndTheCursorStillEndsAfterTheImage) {
  const std::string blocks = SubBlocks(LzwCompress(Repeat(1000, 2), 2));
  const Decoded d = Decode(blocks, 2, 3, 2);
  EXPECT_EQ(d.indices, Repeat(6, 2));
  EXPECT_EQ(d.position, blocks.size());
}

TEST(GifLzwDecoder, TooFewPixelsLeaveTheRestAtIndex0) {
  const Decoded d = Decode(SubBlocks(LzwCompress({3, 3, 3, 3, 3}, 2)), 2, 3, 3);
  EXPECT_EQ(d.indices, (std::vector<std::uint8_t>{3, 3, 3, 3, 3, 0, 0, 0, 0}));
}

TEST(GifLzwDecoder, IndicesArePackedMostSignificantFirstAndMaskedToTheDepth) {
  const std::vector<std::uint8_t> pixels = {1, 0, 1, 1, 0, 0, 1, 0, 1, 3, 2};
  EXPECT_EQ(Decode(SubBlocks(LzwCompress(pixels, 2)), 2, 11, 1, 1).indices,
            (std::vector<std::uint8_t>{1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0}));
  const std::vector<std::uint8_t> wide = {15, 1, 7, 200, 31};
  EXPECT_EQ(Decode(SubBlocks(LzwCompress(wide, 8)), 8, 5, 1, 4).indices,
            (std::vector<std::uint8_t>{15, 1, 7, 8, 15}));
  // Code size 9 into 8 bits: indices 256 and up lose their ninth bit.
  EXPECT_EQ(
      Decode(SubBlocks(PackCodes({{512, 10}, {257, 10}, {300, 10}, {5, 10}, {513, 10}})), 9, 3, 1)
          .indices,
      (std::vector<std::uint8_t>{1, 44, 5}));
}

TEST(GifLzwDecoder, InterlacedRowsGoToTheirPassesAndRowsPastTheHeightAreDropped) {
  for (int height = 1; height <= 12; ++height) {
    const auto rows = IndexPicture(2, height, [](int, int y) { return y; });
    // Extra pixels after the last pass must not wrap into the picture again.
    auto data = InterlaceRows(rows, 2, height);
    data.insert(data.end(), 10, 15);
    const Decoded d = Decode(SubBlocks(LzwCompress(data, 4)), 4, 2, height, 8, true);
    EXPECT_EQ(d.indices, rows) << height;
  }
}

TEST(GifLzwDecoder, CodeSizeOutside2To9DecodesNothingButSkipsTheData) {
  for (int codeSize : {0, 1, 10, 11, 12, 200}) {
    const std::string blocks = SubBlocks(std::string(300, '\x21'));
    const Decoded d = Decode(blocks, codeSize, 4, 4);
    EXPECT_EQ(d.indices, Repeat(16, 0)) << codeSize;
    EXPECT_EQ(d.position, blocks.size()) << codeSize;
  }
}

TEST(GifLzwDecoder, DataEndingInsideASubBlockEndsTheImageAtTheEndOfTheData) {
  const std::string blocks = SubBlocks(LzwCompress(Repeat(64, 1), 2));
  for (std::size_t n = 0; n < blocks.size(); ++n) {
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[n]);
    std::memcpy(exact.get(), blocks.data(), n);
    GifCursor in(exact.get(), n);
    GifRaster raster;
    ASSERT_TRUE(raster.Create(8, 8, 8, 64));
    DecodeLzwImage(in, 2, false, raster);
    EXPECT_EQ(in.Position(), n);
    // Whatever came through is index 1, the rest 0.
    for (std::uint8_t v : IndicesOf(raster)) EXPECT_TRUE(v == 0 || v == 1);
  }
}
