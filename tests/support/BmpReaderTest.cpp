// Reading BMP files made byte by byte: the header forms the reader accepts, and hostile
// files (bad sizes and offsets, short rows, too many colours) that must fail cleanly or
// give a sound raster, with palette entries the file does not supply left zero.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/BmpReader.h"

namespace {

void Put(std::string& b, std::size_t at, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// The fields of a hand-made file; rows are written bottom-up (or top-down for a negative
// height), each padded to 4 bytes.
struct BmpLayout {
  int headerSize = 40;
  std::int32_t width = 3;
  std::int32_t height = 2;
  int bpp = 8;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  int entries = 256;  // palette entries actually written
  bool fileHeader = true;
  std::int32_t ppm = 2835;
  long offsetShift = 0;  // added to the pixel offset of the file header
};

int EntryBytes(const BmpLayout& s) { return s.headerSize == 40 ? 4 : 3; }

// Palette entry i is (blue i, green 2i, red 3i, fourth 7); pixel (x, y from the top) is
// index (x + 3y) mod 2^bpp, or for 24 bits blue x, green y, red 9.
std::string MakeBmp(const BmpLayout& s) {
  const std::string signature = s.fileHeader ? std::string(14, '\0') : "";
  std::string info(static_cast<std::size_t>(s.headerSize), '\0');
  Put(info, 0, static_cast<std::uint32_t>(s.headerSize), 4);
  if (s.headerSize == 12) {
    Put(info, 4, static_cast<std::uint32_t>(s.width), 2);
    Put(info, 6, static_cast<std::uint32_t>(s.height), 2);
    Put(info, 8, 1, 2);
    Put(info, 10, static_cast<std::uint32_t>(s.bpp), 2);
  } else if (s.headerSize >= 40) {
    Put(info, 4, static_cast<std::uint32_t>(s.width), 4);
    Put(info, 8, static_cast<std::uint32_t>(s.height), 4);
    Put(info, 12, 1, 2);
    Put(info, 14, static_cast<std::uint32_t>(s.bpp), 2);
    Put(info, 16, s.compression, 4);
    Put(info, 24, static_cast<std::uint32_t>(s.ppm), 4);
    Put(info, 28, static_cast<std::uint32_t>(s.ppm * 2), 4);
    Put(info, 32, s.clrUsed, 4);
  }
  std::string palette;
  for (int i = 0; i < s.entries; ++i) {
    palette += static_cast<char>(i);
    palette += static_cast<char>(2 * i);
    palette += static_cast<char>(3 * i);
    if (EntryBytes(s) == 4) palette += '\x07';
  }
  const std::int64_t width = s.width < 0 ? 0 : s.width;
  const std::int64_t rows = s.height < 0 ? -static_cast<std::int64_t>(s.height) : s.height;
  const std::size_t stride = static_cast<std::size_t>((width * s.bpp + 31) / 32 * 4);
  std::string pixels;
  for (std::int64_t i = 0; i < rows && rows < 100000; ++i) {
    const std::int64_t y = s.height < 0 ? i : rows - 1 - i;
    std::string row(stride, '\xCC');  // padding bytes that must not matter
    for (std::int64_t x = 0; x < width; ++x) {
      const int index = static_cast<int>((x + 3 * y) % (s.bpp >= 8 ? 256 : 1 << s.bpp));
      if (s.bpp == 24) {
        row[3 * x] = static_cast<char>(x);
        row[3 * x + 1] = static_cast<char>(y);
        row[3 * x + 2] = 9;
      } else if (s.bpp == 8) {
        row[x] = static_cast<char>(index);
      } else if (s.bpp == 4) {
        auto& b = row[x / 2];
        b = static_cast<char>(x % 2 ? (b & 0xF0) | index : (b & 0x0F) | (index << 4));
      } else if (s.bpp == 1) {
        auto& b = row[x / 8];
        const int bit = 7 - static_cast<int>(x % 8);
        b = static_cast<char>((b & ~(1 << bit)) | (index << bit));
      }
    }
    pixels += row;
  }
  std::string file = signature + info + palette + pixels;
  if (s.fileHeader) {
    file[0] = 'B';
    file[1] = 'M';
    Put(file, 2, static_cast<std::uint32_t>(file.size()), 4);
    Put(file, 10, static_cast<std::uint32_t>(14 + info.size() + palette.size() + s.offsetShift), 4);
  }
  return file;
}

bool Read(const std::string& bytes, GifRaster& raster, std::int64_t maxPixels = 1 << 20) {
  return ReadBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), raster,
                 maxPixels);
}

// The index of pixel (x, y from the top) that MakeBmp wrote.
void ExpectPixels(const GifRaster& r, int bpp) {
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const std::uint8_t* row = r.Row(r.Height() - 1 - y);
      if (bpp == 24) {
        EXPECT_EQ(r.ColourAt(x, r.Height() - 1 - y),
                  static_cast<std::uint32_t>(0x090000 | y << 8 | x));
      } else {
        EXPECT_EQ(r.IndexAt(row, x), (x + 3 * y) % (bpp == 8 ? 256 : 1 << bpp)) << x << "," << y;
      }
    }
}

std::uint32_t Entry(int i, bool fourth) {
  return static_cast<std::uint32_t>((i & 0xFF) | ((2 * i) & 0xFF) << 8 | ((3 * i) & 0xFF) << 16 |
                                    (fourth ? 7u << 24 : 0));
}

struct GoodCase {
  const char* name;
  BmpLayout layout;
};

TEST(BmpReader, ReadsEveryAcceptedForm) {
  const GoodCase cases[] = {
      {"8-bit", {}},
      {"8-bit, odd width", {.width = 5, .height = 3}},
      {"1-bit", {.width = 11, .height = 4, .bpp = 1, .entries = 2}},
      {"4-bit", {.width = 7, .height = 3, .bpp = 4, .entries = 16}},
      {"24-bit", {.width = 5, .height = 2, .bpp = 24, .entries = 0}},
      {"top-down", {.width = 4, .height = -3}},
      {"OS/2 12-byte", {.headerSize = 12, .width = 6, .height = 2, .bpp = 4, .entries = 16}},
      {"OS/2 64-byte", {.headerSize = 64, .width = 6, .height = 2, .bpp = 8, .clrUsed = 256}},
      {"no file header", {.width = 3, .height = 2, .fileHeader = false}},
      {"pixels after a gap", {.offsetShift = 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = MakeBmp(c.layout);
    if (c.layout.offsetShift) {
      // Six junk bytes between palette and rows, as the offset says.
      const std::size_t at = 14 + 40 + 1024;
      bytes.insert(at, std::string(static_cast<std::size_t>(c.layout.offsetShift), '\x5A'));
    }
    GifRaster r;
    ASSERT_TRUE(Read(bytes, r));
    EXPECT_EQ(r.Width(), c.layout.width);
    EXPECT_EQ(r.Height(), c.layout.height < 0 ? -c.layout.height : c.layout.height);
    EXPECT_EQ(r.Bpp(), c.layout.bpp);
    ExpectPixels(r, c.layout.bpp);
    for (int i = 0; i < c.layout.entries; ++i)
      EXPECT_EQ(r.palette[i], Entry(i, EntryBytes(c.layout) == 4)) << i;
  }
}

TEST(BmpReader, ResolutionBecomesDotsPerInchRoundedHalfUp) {
  GifRaster r;
  ASSERT_TRUE(Read(MakeBmp({.ppm = 2835}), r));  // 72.009 and 144.018
  EXPECT_EQ(r.dpiX, 72);
  EXPECT_EQ(r.dpiY, 144);
  ASSERT_TRUE(Read(MakeBmp({.ppm = 3819}), r));  // 97.0026 and 194.005
  EXPECT_EQ(r.dpiX, 97);
  EXPECT_EQ(r.dpiY, 194);
  ASSERT_TRUE(Read(MakeBmp({.ppm = 59}), r));  // 1.4986 and 2.9972
  EXPECT_EQ(r.dpiX, 1);
  EXPECT_EQ(r.dpiY, 3);
}

TEST(BmpReader, EntriesTheFileDoesNotSupplyAreZero) {
  GifRaster r;
  ASSERT_TRUE(r.Create(2, 2, 8, 100));
  r.palette.fill(0xDEADBEEF);
  ASSERT_TRUE(Read(MakeBmp({.clrUsed = 3, .entries = 3}), r));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.palette[i], Entry(i, true));
  for (int i = 3; i < 256; ++i) ASSERT_EQ(r.palette[i], 0u) << i;
}

struct BadCase {
  const char* name;
  std::string bytes;
};

TEST(BmpReader, HostileFilesFailCleanly) {
  const std::string good = MakeBmp({});
  std::string badOffset = good;
  Put(badOffset, 10, static_cast<std::uint32_t>(good.size() + 1), 4);
  std::string hugeOffset = good;
  Put(hugeOffset, 10, 0xFFFFFFF0u, 4);
  std::string shortRows = good;
  shortRows.pop_back();
  const BadCase cases[] = {
      {"empty", ""},
      {"signature only", "BM"},
      {"header size 0", MakeBmp({.headerSize = 0, .entries = 0})},
      {"header size 4", MakeBmp({.headerSize = 4, .entries = 0})},
      {"header size 39", MakeBmp({.headerSize = 39, .entries = 0})},
      {"header size 41", MakeBmp({.headerSize = 41, .entries = 0})},
      {"header size 108", MakeBmp({.headerSize = 108})},
      {"header size past the end", good.substr(0, 14) + "\xFF\xFF\xFF\x7F"},
      {"more colours than 2^bpp (8-bit)", MakeBmp({.clrUsed = 257, .entries = 257})},
      {"more colours than 2^bpp (1-bit)", MakeBmp({.bpp = 1, .clrUsed = 3, .entries = 3})},
      {"more colours than 2^bpp (4-bit)", MakeBmp({.bpp = 4, .clrUsed = 17, .entries = 17})},
      {"colours past the end", MakeBmp({.clrUsed = 0xFFFFFFFFu, .entries = 0})},
      {"palette cut short", MakeBmp({.clrUsed = 256, .entries = 100})},
      {"pixel offset past the end", badOffset},
      {"pixel offset near 2^32", hugeOffset},
      {"rows cut short", shortRows},
      {"compressed", MakeBmp({.compression = 1})},
      {"2 bits", MakeBmp({.bpp = 2, .entries = 4})},
      {"16 bits", MakeBmp({.bpp = 16, .entries = 0})},
      {"32 bits", MakeBmp({.bpp = 32, .entries = 0})},
      {"0 bits", MakeBmp({.bpp = 0, .entries = 0})},
      {"zero width", MakeBmp({.width = 0})},
      {"zero height", MakeBmp({.height = 0})},
      {"negative width", MakeBmp({.width = -5})},
      {"most negative height", MakeBmp({.height = INT32_MIN})},
      {"over the pixel budget", MakeBmp({.width = 2000000, .height = 1000000})},
  };
  for (const auto& c : cases) {
    GifRaster r;
    EXPECT_FALSE(Read(c.bytes, r)) << c.name;
    EXPECT_TRUE(r.Empty()) << c.name;
  }
}

TEST(BmpReader, EveryTruncationOfAGoodFileFails) {
  for (const BmpLayout& layout :
       {BmpLayout{}, BmpLayout{.width = 9, .height = 3, .bpp = 1, .entries = 2},
        BmpLayout{.headerSize = 12, .width = 3, .height = 3, .bpp = 4, .entries = 16}}) {
    const std::string good = MakeBmp(layout);
    GifRaster r;
    ASSERT_TRUE(Read(good, r));
    for (std::size_t n = 0; n < good.size(); ++n) {
      // Copied to a buffer of exactly n bytes, so a read past it is a sanitizer finding.
      std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
      EXPECT_FALSE(ReadBmp(cut.data(), cut.size(), r, 1 << 20)) << n;
    }
  }
}

TEST(BmpReader, PictureBudgetIsKept) {
  GifRaster r;
  const std::string bytes = MakeBmp({.width = 100, .height = 100});
  EXPECT_FALSE(Read(bytes, r, 9999));
  EXPECT_TRUE(Read(bytes, r, 10000));
}

}  // namespace
