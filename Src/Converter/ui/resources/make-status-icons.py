#!/usr/bin/python3
"""Draws the conversion list's row icons (strip 142): five 16x16 cells, magenta where the
list shows through: 0 a white disc with a blue "i" (not started), 1 a green disc with a
white tick (succeeded), 2 a red disc with a white cross (failed), 3 and 4 blank. Writes
StatusIcons.xpm. Run it after changing a drawing:
    /usr/bin/python3 make-status-icons.py [preview.png]
"""
import os
import sys

from PIL import Image, ImageDraw

from xpm_text import xpm

CELL = 16
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)


def disc(d, fill, outline):
    d.ellipse([1, 1, 14, 14], fill=fill, outline=outline)


def not_started(d):
    disc(d, WHITE, (60, 90, 170))
    d.rectangle([7, 4, 8, 5], fill=(30, 70, 190))
    d.rectangle([7, 7, 8, 11], fill=(30, 70, 190))


def succeeded(d):
    disc(d, (30, 150, 50), (15, 90, 30))
    d.line([(4, 8), (7, 11), (11, 4)], fill=WHITE, width=2)


def failed(d):
    disc(d, (200, 30, 30), (120, 10, 10))
    d.line([(5, 5), (10, 10)], fill=WHITE, width=2)
    d.line([(10, 5), (5, 10)], fill=WHITE, width=2)


def strip():
    image = Image.new('RGB', (CELL * 5, CELL), MAGENTA)
    for index, draw in enumerate([not_started, succeeded, failed]):
        cell = Image.new('RGB', (CELL, CELL), MAGENTA)
        draw(ImageDraw.Draw(cell))
        image.paste(cell, (index * CELL, 0))
    return image


def main():
    image = strip()
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'StatusIcons.xpm'), 'w') as out:
        out.write('/* Row icon strip 142, drawn by make-status-icons.py; magenta is transparent. */\n')
        out.write(xpm('kStatusIcons142', image))
    if len(sys.argv) > 1:
        image.resize((image.width * 4, image.height * 4), Image.NEAREST).save(sys.argv[1])


main()
