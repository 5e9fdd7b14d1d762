#!/usr/bin/python3
"""Draws the toolbar's two image strips (normal 134, hot 135): twelve 20x20 cells each,
magenta where the toolbar shows through, and writes them as ToolbarImages.xpm.
Cells 6 to 11 are the toolbar's; 0 to 5 are left empty. Run it after changing a drawing:
    /usr/bin/python3 make-toolbar-images.py [preview.png]
"""
import os
import sys

from PIL import Image, ImageDraw

from xpm_text import xpm

CELL = 20
MAGENTA = (255, 0, 255)

NORMAL = dict(ink=(40, 40, 40), paper=(250, 250, 250), fold=(200, 200, 200),
              folder=(232, 190, 64), folder_dark=(170, 128, 24), green=(30, 150, 50),
              green_dark=(15, 90, 30), red=(200, 30, 30), red_dark=(120, 10, 10))
HOT = dict(ink=(0, 0, 0), paper=(255, 255, 255), fold=(215, 225, 240),
           folder=(255, 212, 80), folder_dark=(190, 140, 20), green=(40, 190, 60),
           green_dark=(10, 110, 30), red=(240, 40, 40), red_dark=(150, 0, 0))


def page(d, c, x, y, w=11, h=14):
    """A sheet of paper with a folded top-right corner, top-left at (x, y)."""
    d.polygon([(x, y), (x + w - 4, y), (x + w, y + 4), (x + w, y + h), (x, y + h)],
              fill=c['paper'], outline=c['ink'])
    d.polygon([(x + w - 4, y), (x + w - 4, y + 4), (x + w, y + 4)], fill=c['fold'], outline=c['ink'])
    for row in range(y + 6, y + h - 1, 2):
        d.line([(x + 2, row), (x + w - 3, row)], fill=c['fold'])


def folder(d, c, x, y, w=15, h=11):
    d.polygon([(x, y + 2), (x + 1, y), (x + 5, y), (x + 6, y + 2)], fill=c['folder_dark'],
              outline=c['ink'])
    d.rectangle([x, y + 2, x + w, y + h], fill=c['folder'], outline=c['ink'])
    d.line([(x + 1, y + 3), (x + w - 1, y + 3)], fill=c['paper'])


def plus(d, c, x, y):
    """A 7x7 plus sign centred on (x, y)."""
    d.rectangle([x - 3, y - 1, x + 3, y + 1], fill=c['green'], outline=c['green_dark'])
    d.rectangle([x - 1, y - 3, x + 1, y + 3], fill=c['green'], outline=c['green_dark'])
    d.rectangle([x - 2, y, x + 2, y], fill=c['green'])
    d.rectangle([x, y - 2, x, y + 2], fill=c['green'])


def minus(d, c, x, y):
    d.rectangle([x - 4, y - 1, x + 4, y + 1], fill=c['red'], outline=c['red_dark'])


def cross(d, c, x, y):
    for dx in (-1, 0, 1):
        d.line([(x - 3 + dx, y - 3), (x + 3 + dx, y + 3)], fill=c['red'])
        d.line([(x - 3 + dx, y + 3), (x + 3 + dx, y - 3)], fill=c['red'])
    d.line([(x - 3, y - 3), (x + 3, y + 3)], fill=c['red_dark'])
    d.line([(x - 3, y + 3), (x + 3, y - 3)], fill=c['red_dark'])


def add_files(d, c):
    page(d, c, 2, 1)
    plus(d, c, 14, 14)


def add_folder(d, c):
    folder(d, c, 1, 3)
    plus(d, c, 14, 14)


def remove_selected(d, c):
    page(d, c, 2, 1)
    minus(d, c, 14, 15)


def remove_all(d, c):
    page(d, c, 5, 0, 10, 12)
    page(d, c, 2, 3, 10, 13)
    cross(d, c, 14, 15)


def recursive(d, c):
    folder(d, c, 1, 1, 11, 7)
    d.line([(3, 9), (3, 15), (7, 15)], fill=c['ink'])
    folder(d, c, 7, 11, 11, 7)


def start(d, c):
    d.polygon([(5, 2), (16, 10), (5, 18)], fill=c['green'], outline=c['green_dark'])
    d.line([(6, 5), (6, 14)], fill=c['paper'])


DRAWINGS = {6: add_files, 7: remove_selected, 8: start, 9: add_folder, 10: remove_all, 11: recursive}


def strip(colours):
    image = Image.new('RGB', (CELL * 12, CELL), MAGENTA)
    for index, draw in DRAWINGS.items():
        cell = Image.new('RGB', (CELL, CELL), MAGENTA)
        draw(ImageDraw.Draw(cell), colours)
        image.paste(cell, (index * CELL, 0))
    return image


def main():
    normal, hot = strip(NORMAL), strip(HOT)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'ToolbarImages.xpm'), 'w') as out:
        out.write('/* Toolbar image strips 134 (normal) and 135 (hot), drawn by '
                  'make-toolbar-images.py; magenta is transparent. */\n')
        out.write(xpm('kToolbarImages134', normal))
        out.write(xpm('kToolbarImages135', hot))
    if len(sys.argv) > 1:
        preview = Image.new('RGB', (normal.width, normal.height * 2))
        preview.paste(normal, (0, 0))
        preview.paste(hot, (0, normal.height))
        preview.resize((preview.width * 4, preview.height * 4), Image.NEAREST).save(sys.argv[1])


if __name__ == '__main__':
    main()
