#!/usr/bin/python3
"""Draws the program icon: a stack of two photographs and a round arrow badge, on a
transparent ground. Writes icons/brindlemark-<size>.png for the hicolor theme (16, 32, 48,
128 and 256 pixels) and ProgramIcon.h with the 16, 32 and 48 pixel PNG files as byte arrays,
which the main window and the About box show. Run it after changing the drawing:
    /usr/bin/python3 make-program-icon.py
"""
import io
import os

from PIL import Image, ImageDraw

SIZES = (16, 32, 48, 128, 256)
EMBEDDED = (16, 32, 48)
CANVAS = 256      # the drawing's own coordinates
SUPERSAMPLE = 4   # drawn this many times larger, then reduced: smooth edges

INK = (40, 40, 40, 255)
PAPER = (250, 250, 250, 255)
BACK_CARD = (214, 222, 235, 255)
SKY = (120, 180, 235, 255)
SUN = (255, 212, 80, 255)
HILL = (30, 150, 50, 255)
HILL_DARK = (15, 90, 30, 255)
BADGE = (232, 120, 30, 255)
BADGE_DARK = (150, 70, 10, 255)


def box(coords):
    return [c * SUPERSAMPLE for c in coords]


def points(pairs):
    return [(x * SUPERSAMPLE, y * SUPERSAMPLE) for x, y in pairs]


def card(d, left, top, right, bottom, fill, line):
    d.rounded_rectangle(box([left, top, right, bottom]), radius=8 * SUPERSAMPLE, fill=fill,
                        outline=INK, width=line * SUPERSAMPLE)


def photo(d, line):
    """The front photograph: a white card holding sky, sun and two hills."""
    card(d, 16, 64, 196, 214, PAPER, line)
    d.rectangle(box([32, 80, 180, 198]), fill=SKY)
    d.ellipse(box([128, 92, 160, 124]), fill=SUN)
    d.polygon(points([(32, 198), (32, 160), (76, 116), (124, 170), (132, 198)]), fill=HILL_DARK)
    d.polygon(points([(84, 198), (132, 142), (180, 184), (180, 198)]), fill=HILL)


def badge(d, line):
    """A round badge with a bent arrow pointing right: the conversion."""
    d.ellipse(box([150, 150, 246, 246]), fill=BADGE, outline=BADGE_DARK, width=line * SUPERSAMPLE)
    d.line(points([(176, 220), (176, 186), (210, 186)]), fill=PAPER, width=12 * SUPERSAMPLE,
           joint='curve')
    d.polygon(points([(206, 168), (230, 186), (206, 204)]), fill=PAPER)


def draw(size):
    # Thin outlines vanish when reduced to 16 or 32 pixels; small icons get thicker ones.
    line = 10 if size <= 32 else 6
    big = Image.new('RGBA', (CANVAS * SUPERSAMPLE, CANVAS * SUPERSAMPLE), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    card(d, 60, 24, 240, 164, BACK_CARD, line)
    photo(d, line)
    badge(d, line)
    return big.resize((size, size), Image.LANCZOS)


def png_bytes(image):
    out = io.BytesIO()
    image.save(out, 'PNG', optimize=True)
    return out.getvalue()


def c_array(name, data):
    rows = [', '.join('0x%02X' % b for b in data[i:i + 16]) for i in range(0, len(data), 16)]
    return 'inline constexpr unsigned char %s[] = {\n    %s};\n' % (name, ',\n    '.join(rows))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    os.makedirs(os.path.join(here, 'icons'), exist_ok=True)
    pngs = {}
    for size in SIZES:
        pngs[size] = png_bytes(draw(size))
        with open(os.path.join(here, 'icons', 'brindlemark-%d.png' % size), 'wb') as out:
            out.write(pngs[size])
    with open(os.path.join(here, 'ProgramIcon.h'), 'w') as out:
        out.write('// The program icon at %s pixels as PNG files, drawn by make-program-icon.py.\n'
                  % ', '.join(str(s) for s in EMBEDDED))
        out.write('#pragma once\n\n')
        for size in EMBEDDED:
            out.write(c_array('kProgramIcon%d' % size, pngs[size]))


if __name__ == '__main__':
    main()
