#include "image/gif/GifTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <utility>

#include "support/TestFiles.h"

std::vector<LzwCode> ReferenceLzw(const std::vector<std::uint8_t>& indices, int codeSize) {
  const int clear = 1 << codeSize, end = clear + 1;
  std::vector<LzwCode> codes;
  std::map<std::pair<int, int>, int> table;  // (string code, next index) -> code
  int width = codeSize + 1, next = end + 1;
  const auto put = [&](int code) {
    codes.push_back({code, width});
    if (next >= (1 << width) && width < 12) ++width;
  };
  put(clear);
  if (indices.empty()) {
    put(end);
    return codes;
  }
  int current = indices[0];
  for (std::size_t k = 1; k < indices.size(); ++k) {
    const int c = indices[k];
    const auto found = table.find({current, c});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    put(current);
    if (next < 4096) {
      table[{current, c}] = next++;
    } else {
      table.clear();
      next = end + 1;
      put(clear);
      width = codeSize + 1;
    }
    current = c;
  }
  put(current);
  put(end);
  return codes;
}

std::string PackCodes(const std::vector<LzwCode>& codes) {
  std::string bytes;
  std::uint64_t bits = 0;
  int count = 0;
  for (const auto& c : codes) {
    bits |= static_cast<std::uint64_t>(c.code) << count;
    count += c.width;
    for (; count >= 8; count -= 8, bits >>= 8) bytes.push_back(static_cast<char>(bits & 0xFF));
  }
  if (count > 0) bytes.push_back(static_cast<char>(bits & 0xFF));
  return bytes;
}

std::string SubBlocks(const std::string& bytes) {
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += 254) {
    const std::size_t n = std::min<std::size_t>(254, bytes.size() - at);
    out.push_back(static_cast<char>(n));
    out.append(bytes, at, n);
  }
  out.push_back(0);
  return out;
}

std::string LzwSection(const std::string& gif, int bpp) {
  // Header 13, table 3 * 2^bpp, control extension 8, descriptor 10, code size byte 1;
  // the file ends with the trailer.
  const std::size_t start = 13 + 3 * (std::size_t{1} << bpp) + 8 + 10 + 1;
  if (gif.size() < start + 1) return {};
  return gif.substr(start, gif.size() - start - 1);
}

std::vector<std::uint32_t> IndexedPicture::Colours() const {
  std::vector<std::uint32_t> out;
  out.reserve(indices.size());
  for (auto i : indices) out.push_back(i < palette.size() ? palette[i] : 0);
  return out;
}

namespace {

int GetIndex(const std::uint8_t* row, int x, int bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default: return row[x];
  }
}

}  // namespace

GifRaster RasterOf(const IndexedPicture& picture, int bpp, std::uint8_t padding) {
  GifRaster raster;
  EXPECT_TRUE(raster.Create(picture.width, picture.height, bpp, std::int64_t{1} << 30));
  for (int r = 0; r < raster.Height(); ++r) {
    std::uint8_t* row = raster.Row(r);
    std::memset(row, padding, raster.Stride());
    const int y = raster.Height() - 1 - r;  // stored bottom-up
    for (int x = 0; x < raster.Width(); ++x)
      PutPackedIndex(row, x, bpp, picture.indices[static_cast<std::size_t>(y) * picture.width + x]);
  }
  for (std::size_t i = 0; i < picture.palette.size() && i < 256; ++i)
    raster.palette[i] = picture.palette[i];
  return raster;
}

FIBITMAP* BitmapOf(const IndexedPicture& picture, int bpp) {
  FIBITMAP* bitmap = FreeImage_Allocate(picture.width, picture.height, bpp);
  RGBQUAD* palette = FreeImage_GetPalette(bitmap);
  for (int i = 0; i < (1 << bpp); ++i) {
    const std::uint32_t c =
        static_cast<std::size_t>(i) < picture.palette.size() ? picture.palette[i] : 0;
    palette[i] = {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
  }
  for (int y = 0; y < picture.height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bitmap, picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x)
      PutPackedIndex(row, x, bpp, picture.indices[static_cast<std::size_t>(y) * picture.width + x]);
  }
  return bitmap;
}

IndexedPicture RandomPicture(int width, int height, int bpp, unsigned seed, int low, int high) {
  std::mt19937 random(seed);
  if (high < 0) high = (1 << bpp) - 1;
  IndexedPicture p{width, height, {}, {}};
  std::uniform_int_distribution<int> index(low, high);
  for (int k = 0; k < width * height; ++k)
    p.indices.push_back(static_cast<std::uint8_t>(index(random)));
  for (int i = 0; i < (1 << bpp); ++i) p.palette.push_back(random() & 0xFFFFFF);
  return p;
}

IndexedPicture PhotoLikePicture(int width, int height) {
  FIBITMAP* rgb = FreeImage_Allocate(width, height, 24);
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> noise(-24, 24);
  const auto clamp = [](int v) { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(rgb, y);
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = clamp(255 * x / width + noise(random));
      row[3 * x + 1] = clamp(255 * y / height + noise(random));
      row[3 * x + 2] = clamp(128 + (x - y) / 8 + noise(random));
    }
  }
  FIBITMAP* reduced = FreeImage_ColorQuantize(rgb, FIQ_WUQUANT);
  FreeImage_Unload(rgb);
  IndexedPicture p = PictureOfBitmap(reduced);
  FreeImage_Unload(reduced);
  return p;
}

IndexedPicture PictureOfBitmap(FIBITMAP* bitmap) {
  IndexedPicture p;
  const int bpp = static_cast<int>(FreeImage_GetBPP(bitmap));
  p.width = static_cast<int>(FreeImage_GetWidth(bitmap));
  p.height = static_cast<int>(FreeImage_GetHeight(bitmap));
  const RGBQUAD* palette = FreeImage_GetPalette(bitmap);
  for (int i = 0; i < (1 << bpp); ++i) {
    const bool have = palette && static_cast<unsigned>(i) < FreeImage_GetColorsUsed(bitmap);
    p.palette.push_back(have ? (static_cast<std::uint32_t>(palette[i].rgbRed) << 16) |
                                   (static_cast<std::uint32_t>(palette[i].rgbGreen) << 8) |
                                   palette[i].rgbBlue
                             : 0);
  }
  for (int y = 0; y < p.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(bitmap, p.height - 1 - y);
    for (int x = 0; x < p.width; ++x)
      p.indices.push_back(static_cast<std::uint8_t>(GetIndex(row, x, bpp)));
  }
  return p;
}

namespace {

// Pillow writes "width height mode" and then, for palette pictures, the indices, then
// the RGB pixels, into the file named second.
const char* kPillowScript =
    "import sys\n"
    "from PIL import Image\n"
    "im = Image.open(sys.argv[1]); im.load()\n"
    "with open(sys.argv[2], 'wb') as f:\n"
    "    f.write(b'%d %d %s\\n' % (im.size[0], im.size[1], im.mode.encode()))\n"
    "    if im.mode == 'P': f.write(im.tobytes())\n"
    "    f.write(im.convert('RGB').tobytes())\n";

std::vector<std::uint32_t> RgbTriples(const std::string& bytes, std::size_t at, std::size_t count) {
  std::vector<std::uint32_t> colours;
  if (bytes.size() < at + 3 * count) return colours;
  for (std::size_t k = 0; k < count; ++k) {
    const auto b = [&](std::size_t i) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3 * k + i]));
    };
    colours.push_back(b(0) << 16 | b(1) << 8 | b(2));
  }
  return colours;
}

bool Executable(const char* path) { return access(path, X_OK) == 0; }

}  // namespace

OutsideDecode DecodeWithPillow(const std::string& gifPath) {
  OutsideDecode d;
  if (!Executable("/usr/bin/python3")) return d.skipped = "/usr/bin/python3 is missing", d;
  if (RunProgram("/usr/bin/python3", {"-c", "import PIL"}).exitCode != 0)
    return d.skipped = "Pillow (python3-pil) is missing", d;
  const std::string out = gifPath + ".pillow";
  const RunResult r = RunProgram("/usr/bin/timeout",
                                 {"120", "/usr/bin/python3", "-c", kPillowScript, gifPath, out});
  if (r.exitCode != 0) return d.error = "Pillow failed: " + r.err, d;
  const std::string bytes = ReadFile(out);
  unlink(out.c_str());
  std::istringstream head(bytes.substr(0, bytes.find('\n')));
  std::string mode;
  head >> d.width >> d.height >> mode;
  const std::size_t pixels = static_cast<std::size_t>(d.width) * d.height;
  std::size_t at = bytes.find('\n') + 1;
  if (mode == "P") {
    d.hasIndices = true;
    d.indices.assign(
        bytes.begin() + static_cast<std::ptrdiff_t>(at),
        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + pixels)));
    at += pixels;
  }
  d.colours = RgbTriples(bytes, at, pixels);
  return d;
}

OutsideDecode DecodeWithGiflib(const std::string& gifPath) {
  OutsideDecode d;
  if (!Executable("/usr/bin/giftext") || !Executable("/usr/bin/gif2rgb"))
    return d.skipped = "giflib-tools (giftext, gif2rgb) are missing", d;
  const RunResult text = RunProgram("/usr/bin/timeout", {"60", "/usr/bin/giftext", gifPath});
  if (text.exitCode != 0) return d.error = "giftext failed: " + text.out + text.err, d;
  const std::size_t at = text.out.find("Image Size - ");
  if (at == std::string::npos ||
      std::sscanf(text.out.c_str() + at,
                  "Image Size - Left = %*d, Top = %*d, Width = %d, Height = %d", &d.width,
                  &d.height) != 2)
    return d.error = "giftext shows no image: " + text.out, d;
  const RunResult raw = RunProgram("/usr/bin/timeout", {"60", "/usr/bin/giftext", "-r", gifPath});
  if (raw.exitCode != 0) return d.error = "giftext -r failed: " + raw.err, d;
  d.hasIndices = true;
  d.indices.assign(raw.out.begin(), raw.out.end());
  const std::string rgb = gifPath + ".rgb";
  const RunResult conv =
      RunProgram("/usr/bin/timeout", {"60", "/usr/bin/gif2rgb", "-1", "-o", rgb, gifPath});
  if (conv.exitCode != 0) return d.error = "gif2rgb failed: " + conv.err, d;
  d.colours = RgbTriples(ReadFile(rgb), 0, static_cast<std::size_t>(d.width) * d.height);
  unlink(rgb.c_str());
  return d;
}

namespace {

void ExpectSame(const char* tool, const OutsideDecode& d, const IndexedPicture& expected) {
  ASSERT_TRUE(d.error.empty()) << tool << ": " << d.error;
  EXPECT_EQ(d.width, expected.width) << tool;
  EXPECT_EQ(d.height, expected.height) << tool;
  if (d.hasIndices) {
    EXPECT_TRUE(d.indices == expected.indices) << tool << " sees other indices";
  }
  EXPECT_TRUE(d.colours == expected.Colours()) << tool << " sees other colours";
}

}  // namespace

std::string ExpectDecodersSee(const std::string& gifPath, const IndexedPicture& expected) {
  std::string skipped;
  const OutsideDecode pillow = DecodeWithPillow(gifPath);
  if (pillow.skipped.empty()) {
    ExpectSame("Pillow", pillow, expected);
  } else {
    skipped += pillow.skipped + "; ";
  }
  const OutsideDecode giflib = DecodeWithGiflib(gifPath);
  if (giflib.skipped.empty()) {
    ExpectSame("giflib", giflib, expected);
  } else {
    skipped += giflib.skipped;
  }
  return skipped;
}
