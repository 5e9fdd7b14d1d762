#!/usr/bin/python3
"""Writes small real GIF files as seeds for GifReaderFuzz into the folder given as the
only argument: 2, 16 and 256 colours, interlaced and not, an animation with disposal 1,
transparency and frames at offsets, one with local tables only whose first image is
smaller than the screen, and the repository's spinner."""
import os
import shutil
import sys

from PIL import Image

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
here = os.path.dirname(os.path.abspath(__file__))


def picture(w, h, colours, seed):
    im = Image.new("P", (w, h))
    im.putpalette([(i * 37 + seed * 11 + c * 71) % 256 for i in range(colours) for c in range(3)])
    im.putdata([(x * 3 + y * 5 + seed) % colours for y in range(h) for x in range(w)])
    return im


picture(9, 5, 2, 1).save(os.path.join(out, "two-colours.gif"))
picture(11, 7, 16, 2).save(os.path.join(out, "sixteen-colours.gif"), interlace=False)
picture(24, 17, 256, 3).save(os.path.join(out, "interlaced-256.gif"), optimize=False)

frames = []
for k in range(4):
    f = Image.new("P", (16, 10), 0)
    f.putpalette([(i * 53 + c * 29) % 256 for i in range(8) for c in range(3)])
    for y in range(k, k + 4):
        for x in range(2 * k, 2 * k + 5):
            f.putpixel((x, y), 1 + (x + y) % 7)
    frames.append(f)
frames[0].save(os.path.join(out, "disposal-1-transparent.gif"), save_all=True, append_images=frames[1:],
               disposal=1, transparency=0, duration=40, loop=0)


def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        out += bytes([len(data[i:i + 255])]) + data[i:i + 255]
    return out + b"\0"


# No global table, a 2 x 2 first image on a 6 x 5 screen, then a second image with a
# graphic control block: codes clear, 0, 1, 1 at 3 bits, then 0 and end at 4 bits.
lzw = bytes([0x44, 0x02, 0x05])
local = b"\xff\x00\x00\x00\xff\x00"
screen = (b"GIF89a\x06\x00\x05\x00\x00\x00\x00"
          + b"\x2c\x01\x00\x01\x00\x02\x00\x02\x00\x80" + local + b"\x02" + sub_blocks(lzw)
          + b"\x21\xf9\x04\x05\x00\x00\x00\x00"
          + b"\x2c\x03\x00\x02\x00\x02\x00\x02\x00\x80" + local + b"\x02" + sub_blocks(lzw)
          + b"\x3b")
open(os.path.join(out, "local-tables-screen.gif"), "wb").write(screen)

shutil.copy(os.path.join(here, "..", "samples", "spinner.gif"), os.path.join(out, "spinner.gif"))
