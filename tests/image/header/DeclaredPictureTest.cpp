// The sizes that files declare, read by our own header readers: real files written by
// ImageMagick (IFF by hand: no encoder at hand writes it) give their true size; the same
// files rewritten to declare absurd sizes are refused before any decoder allocates; files
// cut short or not of their format give no answer.
#include <gtest/gtest.h>

#include "image/ImageBuffer.h"
#include "image/ImageResult.h"
#include "image/header/DeclaredPicture.h"
#include "image/header/FormatHeaders.h"
#include "support/TestFiles.h"

namespace {

// Every file is 16 x 12 unless it was rewritten to declare another size.
constexpr const char* kMakeFiles = R"(
import sys, struct, subprocess, zlib
d = sys.argv[1]
def magick(name, *args):
    subprocess.run(['convert', '-size', '16x12', 'gradient:red-blue', *args, d + '/' + name],
                   check=True, stderr=subprocess.DEVNULL)
def patched(source, name, edit):
    b = bytearray(open(d + '/' + source, 'rb').read()); edit(b); open(d + '/' + name, 'wb').write(b)
for name, args in [('ok.sgi', ['-depth', '8']), ('ok.psd', ['-depth', '8']), ('ok.dds', []),
                   ('ok.wbmp', []), ('ok.mng', []), ('ok.xbm', []), ('ok.pct', []),
                   ('ok.j2k', []), ('ok.jp2', []), ('ok.jpg', []), ('ok.psb', ['-depth', '8'])]:
    magick(name, *args)
def iff(w, h):  # one bit plane, uncompressed
    def chunk(t, data): return t + struct.pack('>I', len(data)) + data + b'\0' * (len(data) % 2)
    bmhd = struct.pack('>HHhhBBBBHBBHH', w, h, 0, 0, 1, 0, 0, 0, 0, 1, 1, w, h)
    body = bytes((w + 15) // 16 * 2 * h) if w * h < 10000 else bytes(64)
    form = (b'ILBM' + chunk(b'ANNO', b'made by hand') + chunk(b'BMHD', bmhd) +
            chunk(b'CMAP', bytes([0, 0, 0, 255, 255, 255])) + chunk(b'BODY', body))
    return b'FORM' + struct.pack('>I', len(form)) + form
open(d + '/ok.iff', 'wb').write(iff(16, 12))
open(d + '/huge.iff', 'wb').write(iff(60000, 60000))
# The 576-byte SGI header of a 65535 x 65535 RGB picture.
open(d + '/huge.sgi', 'wb').write(struct.pack('>HBBHHHH', 474, 0, 1, 3, 65535, 65535, 3) + bytes(564))
patched('ok.psd', 'huge.psd', lambda b: struct.pack_into('>II', b, 14, 30000, 30000))
patched('ok.psb', 'huge.psb', lambda b: struct.pack_into('>II', b, 14, 60000, 60000))
patched('ok.dds', 'huge.dds', lambda b: struct.pack_into('<II', b, 12, 60000, 60000))
open(d + '/huge.wbmp', 'wb').write(bytes([0, 0, 0x83, 0xd4, 0x60, 0x83, 0xd4, 0x60]) + bytes(64))
def mng_ihdr(b):
    i = b.find(b'IHDR'); struct.pack_into('>II', b, i + 4, 30000, 30000)
    struct.pack_into('>I', b, i + 17, zlib.crc32(bytes(b[i:i + 17])))
patched('ok.mng', 'huge.mng', mng_ihdr)
def mng_mhdr(b):  # the frame size FreeImage does not allocate
    i = b.find(b'MHDR'); struct.pack_into('>II', b, i + 4, 30000, 30000)
patched('ok.mng', 'frame.mng', mng_mhdr)
open(d + '/huge.xbm', 'w').write(open(d + '/ok.xbm').read().replace('_width 16', '_width 60000').replace('_height 12', '_height 60000'))
def pict_bounds(b):
    i = b.find(b'\x00\x9a', 522); struct.pack_into('>hhhh', b, i + 8, -30000, -30000, 30000, 30000)
patched('ok.pct', 'huge.pct', pict_bounds)
patched('ok.pct', 'frame.pct', lambda b: struct.pack_into('>hhhh', b, 514, 0, 0, 30000, 30000))
def siz(w, h):
    def edit(b):
        i = b.find(b'\xff\x4f\xff\x51'); struct.pack_into('>II', b, i + 8, w, h)
    return edit
patched('ok.j2k', 'huge.j2k', siz(60000, 60000))
patched('ok.jp2', 'huge.jp2', siz(60000, 60000))
patched('ok.j2k', 'wide.j2k', siz(12000, 12000))  # 3 components: 15 bytes a pixel
def sof(w, h):
    def edit(b):
        i = b.find(b'\xff\xc0'); struct.pack_into('>HH', b, i + 5, h, w)
    return edit
patched('ok.jpg', 'wide.jpg', sof(12000, 12000))  # 8 bytes a pixel
)";

struct DeclaredCase {
  const char* file;
  FREE_IMAGE_FORMAT type;
  std::int64_t width, height;  // -1: not read by our own readers
  bool allowed;
};

class DeclaredPictureFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    const RunResult made =
        RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kMakeFiles, dir_->path()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static TempDir* dir_;
};
TempDir* DeclaredPictureFiles::dir_ = nullptr;

TEST_F(DeclaredPictureFiles, TrueSizesAreReadAndLiesRefused) {
  const DeclaredCase cases[] = {
      {"ok.sgi", FIF_SGI, 16, 12, true},
      {"huge.sgi", FIF_SGI, 65535, 65535, false},
      {"ok.psd", FIF_PSD, 16, 12, true},
      {"huge.psd", FIF_PSD, 30000, 30000, false},
      {"ok.psb", FIF_PSD, 16, 12, true},
      {"huge.psb", FIF_PSD, 60000, 60000, false},
      {"ok.dds", FIF_DDS, 16, 12, true},
      {"huge.dds", FIF_DDS, 60000, 60000, false},
      {"ok.wbmp", FIF_WBMP, 16, 12, true},
      {"huge.wbmp", FIF_WBMP, 60000, 60000, false},
      {"ok.iff", FIF_IFF, 16, 12, true},
      {"huge.iff", FIF_IFF, 60000, 60000, false},
      {"ok.mng", FIF_MNG, 16, 12, true},
      {"huge.mng", FIF_MNG, 30000, 30000, false},
      {"frame.mng", FIF_MNG, 16, 12, true},
      {"ok.xbm", FIF_XBM, 16, 12, true},
      {"huge.xbm", FIF_XBM, 60000, 60000, false},
      {"ok.pct", FIF_PICT, 16, 12, true},
      {"huge.pct", FIF_PICT, 60000, 60000, false},
      {"frame.pct", FIF_PICT, 16, 12, true},
      {"ok.j2k", FIF_J2K, 16, 12, true},
      {"huge.j2k", FIF_J2K, 60000, 60000, false},
      {"ok.jp2", FIF_JP2, 16, 12, true},
      {"huge.jp2", FIF_JP2, 60000, 60000, false},
      // The same 144 megapixels: within the budget as JPEG, over it as JPEG 2000.
      {"wide.j2k", FIF_J2K, 12000, 12000, false},
      {"wide.jpg", FIF_JPEG, -1, -1, true},
  };
  for (const DeclaredCase& c : cases) {
    const std::string path = *dir_ / c.file;
    EXPECT_EQ(FreeImage_GetFIFFromFilename(path.c_str()), c.type) << c.file;
    if (c.width >= 0) {
      FileBytes bytes(path);
      const std::optional<DeclaredPicture> read = ReadDeclaredPicture(c.type, bytes, 0);
      ASSERT_TRUE(read.has_value()) << c.file;
      EXPECT_EQ(read->width, c.width) << c.file;
      EXPECT_EQ(read->height, c.height) << c.file;
    }
    EXPECT_EQ(DeclaredSizeAllowed(c.type, path, 0), c.allowed) << c.file;
  }
}

// A refused header fails the load at once and keeps the picture held before.
TEST_F(DeclaredPictureFiles, ImageBufferRefusesTheHugeHeadersAndKeepsItsPicture) {
  ImageBuffer buffer;
  ASSERT_EQ(buffer.Load(*dir_ / "ok.sgi", 0), S_OK);
  for (const char* file : {"huge.sgi", "huge.psd", "huge.dds", "huge.wbmp", "huge.iff", "huge.mng",
                           "huge.xbm", "huge.pct", "huge.j2k", "huge.jp2"}) {
    EXPECT_EQ(buffer.Load(*dir_ / file, 0), E_IMG_LOAD) << file;
    EXPECT_EQ(buffer.Width(), 16) << file;
  }
  for (const char* file : {"ok.psd", "ok.dds", "ok.wbmp", "ok.iff", "ok.mng", "ok.xbm", "ok.pct",
                           "frame.pct", "ok.j2k", "ok.jp2"}) {
    EXPECT_EQ(buffer.Load(*dir_ / file, 0), S_OK) << file;
    EXPECT_EQ(buffer.Width(), 16) << file;
    EXPECT_EQ(buffer.Height(), 12) << file;
  }
}

// Cut at every length up to 600 bytes, and with their signature spoiled, the files give
// either no answer or one read from the bytes that are there; never a read past the end.
TEST_F(DeclaredPictureFiles, CutOrForeignHeadersGiveNoAnswer) {
  const std::pair<const char*, FREE_IMAGE_FORMAT> files[] = {
      {"ok.sgi", FIF_SGI}, {"ok.psd", FIF_PSD},  {"ok.dds", FIF_DDS}, {"ok.iff", FIF_IFF},
      {"ok.mng", FIF_MNG}, {"ok.pct", FIF_PICT}, {"ok.j2k", FIF_J2K}, {"ok.jp2", FIF_JP2}};
  for (const auto& [file, type] : files) {
    const std::string whole = ReadFile(*dir_ / file);
    for (std::size_t n = 0; n < std::min<std::size_t>(whole.size(), 600); ++n) {
      MemoryBytes cut(reinterpret_cast<const std::uint8_t*>(whole.data()), n);
      const std::optional<DeclaredPicture> read = ReadDeclaredPicture(type, cut, 0);
      if (read) {
        EXPECT_TRUE(read->width == 16 && read->height == 12) << file << " cut at " << n;
      }
    }
    // PICT's signature is its version opcode after the 512-byte preamble.
    std::string foreign = whole;
    const std::size_t at = type == FIF_PICT ? 523 : type == FIF_JP2 ? 4 : 0;
    foreign[at] = static_cast<char>(foreign[at] ^ 0x5A);
    MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(foreign.data()), foreign.size());
    EXPECT_FALSE(ReadDeclaredPicture(type, bytes, 0).has_value()) << file;
  }
}

}  // namespace
