#!/usr/bin/python3
"""Judges one tool's outputs of a benchmark job before its time is reported.

  check-outputs.py JOB SOURCE OUTPUT

JOB a: every JPEG of SOURCE fitted into 1024 x 768, written as a colour JPEG
    b: every page or frame of SOURCE written as a PNG of the page's size
    c: every JPEG fitted into 800 x 600, written as a palettised GIF
    d: every JPEG written as a grey JPEG of the same size
The outputs must be as many as expected, and their sizes, sorted, must match the expected
sizes, sorted, within one pixel per side (tools round the fitted side differently). Prints
nothing and exits 0 when the outputs are right; prints what is wrong and exits 1 otherwise.
"""
import os
import sys

from PIL import Image

BOX = {"a": (1024, 768), "c": (800, 600)}
FORMAT = {"a": "JPEG", "b": "PNG", "c": "GIF", "d": "JPEG"}
MODES = {"a": {"RGB"}, "c": {"P"}, "d": {"L"}}


def fitted(w, h, box):
    scale = min(box[0] / w, box[1] / h)
    return (w * scale, h * scale)


def page_sizes(path):
    """The size of every page or frame; none for a file that is not a picture."""
    try:
        with Image.open(path) as im:
            sizes = []
            for k in range(getattr(im, "n_frames", 1)):
                im.seek(k)
                sizes.append(im.size)
            return sizes
    except OSError:
        return []


def expected_sizes(job, source):
    sizes = []
    for name in sorted(os.listdir(source)):
        pages = page_sizes(os.path.join(source, name))
        if job == "b":
            sizes += pages
        elif pages:
            w, h = pages[0]
            sizes.append(fitted(w, h, BOX[job]) if job in BOX else (w, h))
    return sorted(sizes)


def problems(job, source, output):
    found = []
    for name in sorted(os.listdir(output)):
        path = os.path.join(output, name)
        try:
            with Image.open(path) as im:
                im.load()
                if im.format != FORMAT[job]:
                    yield "%s: %s, not %s" % (name, im.format, FORMAT[job])
                if job in MODES and im.mode not in MODES[job]:
                    yield "%s: mode %s, not %s" % (name, im.mode, "/".join(sorted(MODES[job])))
                found.append(im.size)
        except OSError as e:
            yield "%s: unreadable (%s)" % (name, e)
    want = expected_sizes(job, source)
    if len(found) != len(want):
        yield "%d outputs, expected %d" % (len(found), len(want))
        return
    for (fw, fh), (ew, eh) in zip(sorted(found), want):
        if abs(fw - ew) > 1 or abs(fh - eh) > 1:
            yield "an output of %dx%d where %.1fx%.1f was expected" % (fw, fh, ew, eh)


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in FORMAT:
        sys.exit(__doc__)
    wrong = list(problems(*sys.argv[1:]))
    for line in wrong[:10]:
        print(line)
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
