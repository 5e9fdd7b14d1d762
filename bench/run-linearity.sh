#!/usr/bin/env bash
# Whether the cost of Brindlemark.exe grows linearly: wall time, CPU time and peak resident
# memory of a job-a-like run (fit into 1024 x 768, JPEG quality 90) over 10, 100 and 1,000
# copies of one 1.2 MP JPEG, and over one picture of 6, 24 and 96 MP. The memory of a folder
# run must not grow with the number of files.
#
#   bench/run-linearity.sh [--runs N] [--build DIR] [--out DIR]
#
#   --runs N   runs per set; the table shows the median time and the largest peak (default 3)
#   --build D  the build folder with bin/Brindlemark.exe (default build)
#   --out D    outputs and the table (default /tmp/brindlemark-linearity)
# The pictures are made once under $BM_BENCH_CORPUS (default /tmp/brindlemark-bench-corpus).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

runs=3 build=$root/build out=/tmp/brindlemark-linearity
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift ;;
    --build) build=$2; shift ;;
    --out) out=$2; shift ;;
    *) sed -n '2,13p' "$0"; exit 2 ;;
  esac
  shift
done
bm=$build/bin/Brindlemark.exe
[ -x "$bm" ] || { echo "missing $bm: build it first (cmake --build $build -j2)" >&2; exit 2; }

corpus=${BM_BENCH_CORPUS:-/tmp/brindlemark-bench-corpus}/linearity
stamp=$(md5sum "$here/make-corpus.py" | cut -d' ' -f1)
if [ "$(cat "$corpus/.made" 2>/dev/null)" != "$stamp" ]; then
  echo "making the pictures in $corpus ..."
  rm -rf "$corpus"
  /usr/bin/python3 "$here/make-corpus.py" "$corpus" --linearity-only
  echo "$stamp" >"$corpus/.made"
fi
lin=$corpus/lin

rm -rf "$out"
mkdir -p "$out/sets"
# Folder sets: hard links to one file, so every item decodes the same bytes.
for n in 0 10 100 1000; do
  mkdir -p "$out/sets/files-$n"
  for ((i = 0; i < n; i++)); do ln "$lin/small.jpg" "$(printf '%s/sets/files-%d/p%04d.jpg' "$out" "$n" "$i")"; done
done
for mp in 6 24 96; do
  mkdir -p "$out/sets/mp-$mp"
  ln "$lin/big$mp.jpg" "$out/sets/mp-$mp/"
done

# One run: "wall user rss_kb" of Brindlemark.exe on a folder, its outputs checked.
measure() {
  local dest=$out/dest
  rm -rf "$dest"
  local log=$out/time.log
  /usr/bin/time -v -o "$log" "$bm" "-source:$1" "-dest:$dest" -mode:m -width:1024 -height:768 -jpegquality:90 \
    -ext:jpg >"$out/report.log"
  local made
  made=$(ls "$dest" 2>/dev/null | wc -l)
  [ "$made" -eq "$(ls "$1" | wc -l)" ] || { echo "only $made outputs for $1" >&2; exit 1; }
  /usr/bin/python3 - "$log" <<'EOF'
import re, sys
t = open(sys.argv[1]).read()
wall = t.split("Elapsed (wall clock) time (h:mm:ss or m:ss): ")[1].split()[0].split(":")
seconds = sum(float(v) * 60 ** k for k, v in enumerate(reversed(wall)))
user = float(re.search(r"User time \(seconds\): ([\d.]+)", t).group(1))
system = float(re.search(r"System time \(seconds\): ([\d.]+)", t).group(1))
rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", t).group(1))
print(seconds, user + system, rss)
EOF
}

results=$out/results.txt
: >"$results"
for set in files-0 files-10 files-100 files-1000 mp-6 mp-24 mp-96; do
  echo "=== $set"
  for ((r = 0; r < runs; r++)); do echo "$set $(measure "$out/sets/$set")" >>"$results"; done
done

/usr/bin/python3 - "$results" "$lin" <<'EOF' | tee "$out/table.md"
import statistics, sys
from PIL import Image
Image.MAX_IMAGE_PIXELS = None  # the 96 MP picture is ours
rows = {}
for line in open(sys.argv[1]):
    name, wall, cpu, rss = line.split()
    rows.setdefault(name, []).append((float(wall), float(cpu), int(rss)))
def mp_of(path):
    with Image.open(path) as im:
        return im.size[0] * im.size[1] / 1e6
small = mp_of(sys.argv[2] + "/small.jpg")
# The empty folder gives the fixed cost of a run (start, the end-of-run pause, exit); the
# per-file and per-MP columns are what each run costs beyond it.
print("| Set | Files | MP per file | Wall s (median) | CPU s (median) | ms per file | ms per MP | Peak RSS MB |")
print("|---|---:|---:|---:|---:|---:|---:|---:|")
peaks = {}
fixed = statistics.median(r[0] for r in rows["files-0"])
for name, runs in rows.items():
    kind, n = name.split("-")
    files, mp = (int(n), small) if kind == "files" else (1, mp_of("%s/big%s.jpg" % (sys.argv[2], n)))
    wall = statistics.median(r[0] for r in runs)
    cpu = statistics.median(r[1] for r in runs)
    peak = max(r[2] for r in runs) / 1024
    peaks[name] = peak
    per_file = "%.1f" % (1000 * (wall - fixed) / files) if files else ""
    per_mp = "%.1f" % (1000 * (wall - fixed) / (files * mp)) if files else ""
    print("| %s | %d | %.1f | %.2f | %.2f | %s | %s | %.0f |" %
          (name, files, mp if files else 0, wall, cpu, per_file, per_mp, peak))
# A run keeps its list of items (paths and log texts, about a kilobyte each) and one
# picture at a time: growth far below one picture per file means no picture is kept.
grow = peaks["files-1000"] - peaks["files-10"]
picture = small * 3
print()
print("peak memory from 10 to 1,000 files: %+.1f MB, %.1f KB per extra file (one decoded file is %.1f MB): %s" %
      (grow, 1024 * grow / 990, picture, "no picture is kept" if grow < picture else "GROWS BY PICTURES"))
EOF
