#!/usr/bin/python3
"""Writes small real BMP files (1, 4, 8 and 24 bits, bottom-up and top-down) as seeds for
BmpReaderFuzz into the folder given as the only argument."""
import os
import sys

from PIL import Image

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
base = Image.new("RGB", (13, 7))
base.putdata([((x * 37) % 256, (y * 53) % 256, (x * y * 11) % 256) for y in range(7) for x in range(13)])
base.save(os.path.join(out, "rgb24.bmp"))
base.convert("1").save(os.path.join(out, "mono1.bmp"))
base.quantize(16).save(os.path.join(out, "pal4.bmp"))
base.quantize(256).save(os.path.join(out, "pal8.bmp"))
# Top-down rows: a negative height in the info header.
data = bytearray(open(os.path.join(out, "rgb24.bmp"), "rb").read())
data[22:26] = (-7).to_bytes(4, "little", signed=True)
open(os.path.join(out, "topdown24.bmp"), "wb").write(bytes(data))
