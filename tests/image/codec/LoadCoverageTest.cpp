// Every kind of PNG, BMP and TIFF that common encoders write loads and converts to a PNG
// whose pixels equal Pillow's decode of the source: exactly for 8-bit samples, the high
// byte for 16-bit ones. The sources are made by ImageMagick and Pillow; the generator
// checks from the file bytes that each file really is the kind its name claims.
#include <gtest/gtest.h>

#include <sstream>

#include "image/ImageBuffer.h"
#include "image/transform/TransformTestSupport.h"

namespace {

// Writes the sources into argv[1] and prints one line per picture to convert:
// "file page reference tolerance" (reference "-" is the file itself).
constexpr const char* kMakeSources = R"(
import sys, struct, subprocess
from PIL import Image
d = sys.argv[1]
W, H = 13, 7  # odd sizes exercise row padding
def base():
    im = Image.new('RGB', (W, H))
    im.putdata([((x * 19 + y * 7) % 256, (x * 5 + y * 31) % 256, (200 - x * 9 - y * 13) % 256) for y in range(H) for x in range(W)])
    return im
def alpha():
    im = base().convert('RGBA')
    im.putalpha(Image.frombytes('L', (W, H), bytes((x * 20 + y * 3) % 256 for y in range(H) for x in range(W))))
    return im
src8, srca = d + '/src8.png', d + '/srca.png'
base().save(src8); alpha().save(srca)
lines = []
def pil(name, im, **kw):
    im.save(d + '/' + name, **kw); lines.append(name + ' 0 - 0')
def magick(name, src, *args, fmt=''):
    subprocess.run(['convert', src, *args, fmt + d + '/' + name], check=True, stderr=subprocess.DEVNULL)
    lines.append(name + ' 0 - 0')
def png_kind(name, depth, ctype, interlace=0, trns=False):
    b = open(d + '/' + name, 'rb').read()
    assert (b[24], b[25], b[28], b'tRNS' in b) == (depth, ctype, interlace, trns), name
# PNG: grey 1/2/4/8/16, grey+alpha 8/16, palette 1/2/4/8, RGB 8/16, RGBA 8/16, interlaced, tRNS.
pil('png-g1.png', base().convert('1')); png_kind('png-g1.png', 1, 0)
for bits in (2, 4):
    magick('png-g%d.png' % bits, src8, '-colorspace', 'gray', '-define', 'png:bit-depth=%d' % bits, '-define', 'png:color-type=0')
    png_kind('png-g%d.png' % bits, bits, 0)
pil('png-g8.png', base().convert('L')); png_kind('png-g8.png', 8, 0)
magick('png-g16.png', src8, '-colorspace', 'gray', '-depth', '16', '-define', 'png:color-type=0'); png_kind('png-g16.png', 16, 0)
# Narrow tones 31..94 with noise in the low byte: each sample keeps its high byte.
narrow = b''.join(struct.pack('<H', (31 + (x * 5 + y * 3) % 64) << 8 | (x * 37 + y) % 256) for y in range(H) for x in range(W))
pil('png-g16-narrow.png', Image.frombytes('I;16', (W, H), narrow)); png_kind('png-g16-narrow.png', 16, 0)
pil('png-g8-trns.png', base().convert('L'), transparency=100); png_kind('png-g8-trns.png', 8, 0, trns=True)
pil('png-ga8.png', alpha().convert('LA')); png_kind('png-ga8.png', 8, 4)
magick('png-ga16.png', srca, '-colorspace', 'gray', '-depth', '16', '-define', 'png:color-type=4'); png_kind('png-ga16.png', 16, 4)
for bits in (1, 2, 4, 8):
    pil('png-p%d.png' % bits, base().quantize(min(2 ** bits, 200)), bits=bits); png_kind('png-p%d.png' % bits, bits, 3)
pil('png-p4-trns.png', base().quantize(16), bits=4, transparency=3); png_kind('png-p4-trns.png', 4, 3, trns=True)
pil('png-rgb8.png', base()); png_kind('png-rgb8.png', 8, 2)
pil('png-rgb8-trns.png', base(), transparency=base().getpixel((2, 1))); png_kind('png-rgb8-trns.png', 8, 2, trns=True)
magick('png-rgb16.png', src8, '-depth', '16', fmt='PNG48:'); png_kind('png-rgb16.png', 16, 2)
pil('png-rgba8.png', alpha()); png_kind('png-rgba8.png', 8, 6)
magick('png-rgba16.png', srca, '-depth', '16', fmt='PNG64:'); png_kind('png-rgba16.png', 16, 6)
magick('png-rgb8-i.png', src8, '-interlace', 'PNG', fmt='PNG24:'); png_kind('png-rgb8-i.png', 8, 2, 1)
magick('png-rgba8-i.png', srca, '-interlace', 'PNG', fmt='PNG32:'); png_kind('png-rgba8-i.png', 8, 6, 1)
magick('png-g16-i.png', src8, '-colorspace', 'gray', '-depth', '16', '-define', 'png:color-type=0', '-interlace', 'PNG')
png_kind('png-g16-i.png', 16, 0, 1)
# BMP: the 12-byte header knows 1, 4, 8 and 24 bits; 40, 108 and 124 bytes 1 to 32 bits.
# ImageMagick writes 8-bit BMPs run-length coded unless told not to.
def bmp_kind(name, header, bpp):
    b = open(d + '/' + name, 'rb').read()
    size = struct.unpack('<I', b[14:18])[0]
    depth = struct.unpack('<H', b[24:26] if size == 12 else b[28:30])[0]
    assert (size, depth) == (header, bpp), (name, size, depth)
palette = {1: ['-type', 'palette', '-colors', '2'], 4: ['-colors', '16'], 8: ['-colors', '200', '-type', 'palette', '-compress', 'none'],
           24: ['-type', 'truecolor'], 16: ['-define', 'bmp:subtype=RGB565']}
for bpp in (1, 4, 8, 24):
    magick('bmp12-%d.bmp' % bpp, src8, *palette[bpp], fmt='BMP2:'); bmp_kind('bmp12-%d.bmp' % bpp, 12, bpp)
for bpp in (1, 4, 8, 24):
    magick('bmp40-%d.bmp' % bpp, src8, *palette[bpp], fmt='BMP3:'); bmp_kind('bmp40-%d.bmp' % bpp, 40, bpp)
pil('bmp40-32.bmp', alpha()); bmp_kind('bmp40-32.bmp', 40, 32)
# A 5-5-5 file written by hand: neither encoder writes a correct 16-bit classic BMP.
rows = b''
for y in reversed(range(H)):
    row = b''.join(struct.pack('<H', (r >> 3) << 10 | (g >> 3) << 5 | b >> 3) for r, g, b in (base().getpixel((x, y)) for x in range(W)))
    rows += row + b'\0' * (-len(row) % 4)
info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 16, 0, len(rows), 2835, 2835, 0, 0)
open(d + '/bmp40-16.bmp', 'wb').write(b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54) + info + rows)
lines.append('bmp40-16.bmp 0 - 0'); bmp_kind('bmp40-16.bmp', 40, 16)
for bpp in (1, 4, 8, 16, 24, 32):
    magick('bmp124-%d.bmp' % bpp, srca if bpp == 32 else src8, *palette.get(bpp, []), fmt='BMP:')
    bmp_kind('bmp124-%d.bmp' % bpp, 124, bpp)
    # The 108-byte header is the 124-byte one without its last four fields.
    b = open(d + '/bmp124-%d.bmp' % bpp, 'rb').read()
    off = struct.unpack('<I', b[10:14])[0] - 16
    b = b[:2] + struct.pack('<I', len(b) - 16) + b[6:10] + struct.pack('<II', off, 108) + b[18:122] + b[138:]
    open(d + '/bmp108-%d.bmp' % bpp, 'wb').write(b); lines.append('bmp108-%d.bmp 0 - 0' % bpp); bmp_kind('bmp108-%d.bmp' % bpp, 108, bpp)
# The same rows stored top-down (negative height).
b = open(d + '/bmp124-24.bmp', 'rb').read()
off = struct.unpack('<I', b[10:14])[0]; stride = (3 * W + 3) // 4 * 4
flipped = b''.join(b[off + y * stride:off + (y + 1) * stride] for y in reversed(range(H)))
open(d + '/bmp124-24-topdown.bmp', 'wb').write(b[:22] + struct.pack('<i', -H) + b[26:off] + flipped)
lines.append('bmp124-24-topdown.bmp 0 - 0')
# TIFF: 8 and 16 bits per channel, strips and tiles, float colour, mixed-depth pages.
def tiff_kind(name, page, bits, tiled):
    im = Image.open(d + '/' + name); im.seek(page)
    assert (im.tag_v2[258][0], 322 in im.tag_v2) == (bits, tiled), (name, page)
for kind, src in (('rgb', src8), ('rgba', srca)):
    for bits in (8, 16):
        magick('tif-%s%d.tif' % (kind, bits), src, '-depth', str(bits), '-compress', 'none'); tiff_kind('tif-%s%d.tif' % (kind, bits), 0, bits, False)
        name = 'tif-%s%d-tiles.tif' % (kind, bits)
        magick(name, src, '-depth', str(bits), '-define', 'tiff:tile-geometry=16x16'); tiff_kind(name, 0, bits, True)
magick('tif-g16.tif', src8, '-colorspace', 'gray', '-depth', '16'); tiff_kind('tif-g16.tif', 0, 16, False)
for kind, src in (('rgbf', src8), ('rgbaf', srca)):
    subprocess.run(['convert', src, '-depth', '32', '-define', 'quantum:format=floating-point', d + '/tif-%s.tif' % kind], check=True, stderr=subprocess.DEVNULL)
    kind_of = subprocess.run(['identify', '-format', '%z %[quantum:format]', d + '/tif-%s.tif' % kind], capture_output=True, text=True).stdout
    assert kind_of == '32 floating-point', kind_of  # Pillow cannot open float colour TIFF
    lines.append('tif-%s.tif 0 %s 1' % (kind, src.rsplit('/', 1)[1]))
subprocess.run(['convert', '(', src8, '-depth', '8', ')', '(', src8, '-depth', '16', ')', '(', srca, '-depth', '16', ')',
                '(', src8, '-colorspace', 'gray', '-depth', '16', ')', '(', srca, '-depth', '8', ')', d + '/tif-pages.tif'], check=True, stderr=subprocess.DEVNULL)
for page, bits in enumerate((8, 16, 16, 16, 8)):
    tiff_kind('tif-pages.tif', page, bits, False); lines.append('tif-pages.tif %d - 0' % page)
print('\n'.join(lines))
)";

// Compares argv[2]/out-<file>-<page>.png with Pillow's decode of each source in argv[1].
constexpr const char* kCompare = R"(
import sys
from PIL import Image
src, out = sys.argv[1], sys.argv[2]
bad = []
def decoded(path, page):
    im = Image.open(path); im.seek(page)
    if im.mode.startswith('I'):  # 16-bit grey: its high byte
        return Image.frombytes('L', im.size, bytes(v >> 8 for v in im.getdata())).convert('RGBA')
    return im.convert('RGBA')
for line in filter(None, sys.stdin.read().splitlines()):
    name, page, ref, tol = line.split(); page, tol = int(page), int(tol)
    want = decoded(src + '/' + (name if ref == '-' else ref), 0 if ref != '-' else page)
    try: got = Image.open('%s/out-%s-%d.png' % (out, name, page)).convert('RGBA')
    except OSError: bad.append((name, page, 'no output')); continue
    if got.size != want.size: bad.append((name, page, got.size)); continue
    for i, (p, q) in enumerate(zip(got.getdata(), want.getdata())):
        # A fully transparent pixel's colour is invisible and not compared.
        if q[3] == 0 and p[3] == 0: continue
        if any(abs(a - b) > tol for a, b in zip(p, q)): bad.append((name, page, i, p, q)); break
print(bad if bad else 'ok')
)";

struct Source {
  std::string file;
  int page;
};

std::vector<Source> Manifest(const std::string& text) {
  std::vector<Source> out;
  std::istringstream in(text);
  std::string file, ref, tol;
  int page = 0;
  while (in >> file >> page >> ref >> tol) out.push_back({file, page});
  return out;
}

TEST(LoadCoverage, EveryCommonKindConvertsToPillowsPixels) {
  TempDir src, out;
  const RunResult made =
      RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kMakeSources, src.path()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const std::vector<Source> sources = Manifest(made.out);
  ASSERT_GE(sources.size(), 50u);
  // Every kind is tried, so one failure does not hide the others.
  for (const Source& s : sources) {
    ImageBuffer buffer;
    const std::string name = s.file + " page " + std::to_string(s.page);
    if (buffer.Load(src / s.file, s.page) != S_OK) {
      ADD_FAILURE() << "Failed to load " << name;
      continue;
    }
    EXPECT_EQ(buffer.ApplySettings(PlainSettings()), S_OK) << name;
    EXPECT_EQ(
        buffer.Save(out / ("out-" + s.file + "-" + std::to_string(s.page) + ".png"), 0, 80, 0),
        S_OK)
        << name;
  }
  WriteFile(out / "manifest", made.out);
  const RunResult r = RunProgram(
      "/bin/sh", {"-c", "timeout 120 /usr/bin/python3 -c \"$0\" \"$1\" \"$2\" < \"$2/manifest\"",
                  kCompare, src.path(), out.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ok\n") << r.err;
}

}  // namespace
