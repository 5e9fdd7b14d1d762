#!/usr/bin/python3
"""Makes the benchmark corpus, the same bytes on every run.

  make-corpus.py OUT [--jpegs N] [--mp M] [--mixed-mp M] [--no-linearity | --linearity-only]

OUT/jpeg   N photo-like JPEGs of about M megapixels (default 24 of 6 MP), quality 92
OUT/mixed  PNGs with and without alpha, BMPs, 3-page TIFFs and 4-frame GIFs (default about 2 MP)
OUT/lin    linearity sets: small/ (one 1.2 MP JPEG copied 1,000 times is made by the
           driver), big6.jpg, big24.jpg, big96.jpg (one picture of 6, 24 and 96 MP)
"""
import argparse
import math
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter


def smooth_noise(rng, size, cells):
    """Low-frequency colour noise: a few random cells blown up with bicubic filtering."""
    w, h = cells
    small = Image.frombytes("RGB", (w, h), bytes(rng.randrange(256) for _ in range(w * h * 3)))
    return small.resize(size, Image.BICUBIC)


def photo(seed, width, height):
    """Sky-to-ground gradient, soft blobs, hard-edged shapes and fine grain, like a photo."""
    rng = random.Random(seed)
    top = (rng.randrange(60, 140), rng.randrange(110, 190), rng.randrange(170, 250))
    bottom = (rng.randrange(40, 120), rng.randrange(60, 140), rng.randrange(20, 80))
    grad = Image.linear_gradient("L").resize((width, height))
    base = Image.composite(Image.new("RGB", (width, height), bottom), Image.new("RGB", (width, height), top), grad)
    base = Image.blend(base, smooth_noise(rng, (width, height), (24, 16)), 0.35)
    draw = ImageDraw.Draw(base)
    for _ in range(40):
        x, y = rng.randrange(width), rng.randrange(height)
        r = rng.randrange(width // 60, width // 8)
        colour = tuple(rng.randrange(256) for _ in range(3))
        if rng.random() < 0.5:
            draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)
        else:
            draw.rectangle((x - r, y - r // 2, x + r, y + r // 2), fill=colour)
    base = base.filter(ImageFilter.GaussianBlur(1.2))
    grain = smooth_noise(rng, (width, height), (width // 3, height // 3))
    return ImageChops.add(ImageChops.multiply(base, Image.new("RGB", base.size, (230, 230, 230))),
                          grain.point(lambda v: v // 10))


def size_for(mp, aspect=1.5):
    h = int(math.sqrt(mp * 1e6 / aspect))
    return int(h * aspect) // 8 * 8, h // 8 * 8


def make_jpegs(out, count, mp):
    os.makedirs(out, exist_ok=True)
    w, h = size_for(mp)
    for i in range(count):
        # Every fifth picture is a portrait, so both fitting directions are exercised.
        size = (h, w) if i % 5 == 4 else (w, h)
        photo(1000 + i, *size).save(os.path.join(out, "photo%03d.jpg" % i), quality=92)


def make_mixed(out, mp):
    os.makedirs(out, exist_ok=True)
    w, h = size_for(mp)
    for i in range(4):
        p = photo(2000 + i, w, h)
        p.save(os.path.join(out, "rgb%d.png" % i))
        alpha = Image.radial_gradient("L").resize((w, h)).point(lambda v: 255 - v)
        rgba = p.copy()
        rgba.putalpha(alpha)
        rgba.save(os.path.join(out, "alpha%d.png" % i))
        p.save(os.path.join(out, "plain%d.bmp" % i))
    for i in range(2):
        pages = [photo(3000 + 10 * i + k, w, h) for k in range(3)]
        pages[0].save(os.path.join(out, "scan%d.tif" % i), save_all=True, append_images=pages[1:],
                      compression="tiff_lzw")
        frames = [photo(4000 + 10 * i + k, w // 2, h // 2).quantize(256) for k in range(4)]
        frames[0].save(os.path.join(out, "anim%d.gif" % i), save_all=True, append_images=frames[1:],
                       duration=100, loop=0, disposal=1)


def make_linearity(out):
    os.makedirs(out, exist_ok=True)
    w, h = size_for(1.2)
    photo(5000, w, h).save(os.path.join(out, "small.jpg"), quality=92)
    for mp in (6, 24, 96):
        photo(5000 + mp, *size_for(mp)).save(os.path.join(out, "big%d.jpg" % mp), quality=92)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--jpegs", type=int, default=24)
    ap.add_argument("--mp", type=float, default=6)
    ap.add_argument("--mixed-mp", type=float, default=2)
    ap.add_argument("--no-linearity", action="store_true")
    ap.add_argument("--linearity-only", action="store_true")
    a = ap.parse_args()
    if not a.linearity_only:
        make_jpegs(os.path.join(a.out, "jpeg"), a.jpegs, a.mp)
        make_mixed(os.path.join(a.out, "mixed"), a.mixed_mp)
    if not a.no_linearity:
        make_linearity(os.path.join(a.out, "lin"))


if __name__ == "__main__":
    main()
