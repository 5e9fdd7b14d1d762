#!/usr/bin/python3
"""Prints the benchmark table from the hyperfine exports of run-bench.sh.

  bench-table.py OUT

Reads OUT/job-J.json (hyperfine's export) and OUT/job-J.meta.json (the number of pictures
of the job and the tools whose outputs were refused) for every job J that was run. Times
are the median of the runs divided by the number of pictures; "x floor" is the tool's time
over the floor program's; "peer / us" is the peer's time over Brindlemark's; "CPU ms" is
the mean user and system time per picture, which a busy shared machine disturbs less than
the wall time (the ratios against the baseline build and of the Lanczos filter are given
for both).
"""
import json
import os
import sys

TOOLS = [  # (command name in the export, label, threads)
    ("brindlemark", "Brindlemark.exe", "1"),
    ("brindlemark-mt", "Brindlemark.exe", "default"),
    ("floor", "FreeImage floor", "1"),
    ("magick-1t", "ImageMagick mogrify", "1"),
    ("gm-1t", "GraphicsMagick mogrify", "1"),
    ("vips-1t", "libvips", "1"),
    ("magick", "ImageMagick mogrify", "default"),
    ("gm", "GraphicsMagick mogrify", "default"),
    ("vips", "libvips", "default"),
    ("brindlemark-lanczos", "Brindlemark.exe -filter:lanczos", "1"),
    ("brindlemark-lanczos-mt", "Brindlemark.exe -filter:lanczos", "default"),
    ("baseline", "Brindlemark.exe, baseline build", "1"),
]
JOBS = {
    "a": "JPEG fitted into 1024x768, JPEG q90",
    "b": "mixed folder to PNG",
    "c": "JPEG fitted into 800x600, 256-colour GIF",
    "d": "JPEG to 8-bit grey JPEG q90",
}
FLOOR_TARGET = {"a": 1.15, "b": 1.15, "c": 1.3, "d": 1.15}
MUST_BEAT_PEERS = {"a", "c", "d"}
PARALLEL_TARGET = 0.6  # default threads over -threads:1, wall time, on jobs a, c and d
LANCZOS_TARGET = 1.5  # -filter:lanczos over the default filter, threads 1
BASELINE_TARGET = 1.1  # this build over the baseline build, threads 1


def load(out, job):
    with open(os.path.join(out, "job-%s.json" % job)) as f:
        results = {r["command"]: r for r in json.load(f)["results"]}
    with open(os.path.join(out, "job-%s.meta.json" % job)) as f:
        meta = json.load(f)
    return results, meta


def per_image_ms(results, meta, name, cpu=False):
    if name not in results or name in meta["wrong"]:
        return None
    r = results[name]
    seconds = r["user"] + r["system"] if cpu else r["median"]
    return 1000.0 * seconds / meta["images"]


def job_rows(job, results, meta):
    ms = {name: per_image_ms(results, meta, name) for name, _, _ in TOOLS}
    cpu = {name: per_image_ms(results, meta, name, True) for name, _, _ in TOOLS}
    us, floor = ms["brindlemark"], ms["floor"]
    rows = []
    for name, label, threads in TOOLS:
        if name not in results:
            continue
        if ms[name] is None:
            rows.append((job, label, threads, "refused: " + meta["wrong"][name], "", "", ""))
            continue
        to_floor = "%.2f" % (ms[name] / floor) if floor else ""
        ours = name.startswith("brindlemark") or name in ("floor", "baseline")
        peer_us = "%.2f" % (ms[name] / us) if us and not ours else ""
        rows.append((job, label, threads, "%.0f" % ms[name], to_floor, peer_us, "%.0f" % cpu[name]))
    return rows, ms, cpu


def verdicts(job, ms, cpu):
    us, floor = ms["brindlemark"], ms["floor"]
    if us is None or floor is None:
        return ["job %s: no verdict (Brindlemark or the floor refused)" % job]
    lines = []
    ratio = us / floor
    lines.append("job %s: %.2f x floor (target %.2f): %s" %
                 (job, ratio, FLOOR_TARGET[job], "met" if ratio <= FLOOR_TARGET[job] else "MISSED"))
    if job in MUST_BEAT_PEERS:
        slower = [n for n in ("magick-1t", "gm-1t", "vips-1t") if ms[n] is not None and ms[n] <= us]
        if any(n in ms and ms[n] is not None for n in ("magick-1t", "gm-1t", "vips-1t")):
            lines.append("job %s: faster than every single-threaded peer: %s" %
                         (job, "yes" if not slower else "NO (" + ", ".join(slower) + ")"))
        mt = ms.get("brindlemark-mt")
        if mt is not None:
            lines.append("job %s: default threads %.2f x threads 1 (target %.2f): %s" %
                         (job, mt / us, PARALLEL_TARGET, "met" if mt / us <= PARALLEL_TARGET else "MISSED"))
            slower = [n for n in ("magick", "gm", "vips") if ms.get(n) is not None and ms[n] <= mt]
            lines.append("job %s: default threads faster than every peer at its default: %s" %
                         (job, "yes" if not slower else "NO (" + ", ".join(slower) + ")"))
    lanczos, lanczos_mt = ms.get("brindlemark-lanczos"), ms.get("brindlemark-lanczos-mt")
    if lanczos is not None:
        for what, t in (("wall", ms), ("CPU", cpu)):
            r = t["brindlemark-lanczos"] / t["brindlemark"]
            lines.append("job %s: -filter:lanczos %.2f x the default filter, %s time (target %.2f): %s" %
                         (job, r, what, LANCZOS_TARGET, "met" if r <= LANCZOS_TARGET else "MISSED"))
    if lanczos_mt is not None and ms.get("vips") is not None:
        lines.append("job %s: -filter:lanczos at default threads %.2f x libvips at its default: %s" %
                     (job, lanczos_mt / ms["vips"], "faster" if lanczos_mt < ms["vips"] else "NOT FASTER"))
    if ms.get("baseline") is not None:
        for what, t in (("wall", ms), ("CPU", cpu)):
            r = t["brindlemark"] / t["baseline"]
            lines.append("job %s: %.2f x the baseline build, %s time (target %.2f): %s" %
                         (job, r, what, BASELINE_TARGET, "met" if r <= BASELINE_TARGET else "MISSED"))
    return lines


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    header = ("Job", "Tool", "Threads", "ms per picture", "x floor", "peer / us", "CPU ms")
    rows, notes = [], []
    for job in "abcd":
        if not os.path.exists(os.path.join(out, "job-%s.json" % job)):
            continue
        results, meta = load(out, job)
        job_table, ms, cpu = job_rows(job, results, meta)
        rows += job_table
        notes.append("job %s: %s, %d pictures%s" % (job, JOBS[job], meta["images"],
                                                  (" (" + meta["note"] + ")") if meta.get("note") else ""))
        notes += verdicts(job, ms, cpu)
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join("---" if i < 3 else "---:" for i in range(len(header))) + "|")
    for r in rows:
        print("| " + " | ".join(r) + " |")
    print()
    for n in notes:
        print(n)


if __name__ == "__main__":
    main()
