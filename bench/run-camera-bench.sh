#!/usr/bin/env bash
# Times job a of run-bench.sh (JPEG photos to at most 1024 x 768, quality 90) with and
# without -keepmetadata -autorotate, in one hyperfine run, on the bench corpus as made
# (no camera data) and on two camera-tagged copies of it: one upright (orientation 1) and
# one stored sideways (orientation 6).
#
#   bench/run-camera-bench.sh [--jpegs N] [--runs N] [--build DIR] [--out DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

jpegs=24 runs=5 build=$root/build out=/tmp/brindlemark-camera-bench
while [ $# -gt 0 ]; do
  case "$1" in
    --jpegs) jpegs=$2; shift ;;
    --runs) runs=$2; shift ;;
    --build) build=$2; shift ;;
    --out) out=$2; shift ;;
    *) sed -n '2,6p' "$0"; exit 2 ;;
  esac
  shift
done
bm=$build/bin/Brindlemark.exe
[ -x "$bm" ] || { echo "missing $bm: build it first" >&2; exit 2; }
for t in hyperfine exiftool /usr/bin/python3; do
  command -v "$t" >/dev/null || { echo "missing $t" >&2; exit 2; }
done

corpus=${BM_BENCH_CORPUS:-/tmp/brindlemark-bench-corpus}/camera-$jpegs
if [ "$(cat "$corpus/.made" 2>/dev/null)" != 2 ]; then
  rm -rf "$corpus"
  /usr/bin/python3 "$here/make-corpus.py" "$corpus/base" --jpegs "$jpegs" --no-linearity
  mv "$corpus/base/jpeg" "$corpus/plain"
  for o in 1 6; do
    mkdir -p "$corpus/o$o"
    cp "$corpus/plain"/*.jpg "$corpus/o$o/"
    exiftool -q -overwrite_original -Make=Acme -Model="Acme Z9" \
      "-DateTimeOriginal=2024:05:06 07:08:09" -GPSLatitude=48.8584 -GPSLatitudeRef=N \
      -GPSLongitude=2.2945 -GPSLongitudeRef=E "-Orientation#=$o" -IPTC:Keywords=bench \
      -XMP:Title=Bench "$corpus/o$o"
  done
  echo 2 >"$corpus/.made"
fi

rm -rf "$out"
mkdir -p "$out"
job="-mode:m -width:1024 -height:768 -jpegquality:90 -ext:jpg -threads:1"
args=()
for set in plain o1 o6; do
  for extra in "" "-keepmetadata -autorotate"; do
    name="$set${extra:+ kept+turned}"
    dir=$out/$set${extra:+-kept}
    args+=(--prepare "rm -rf '$dir' && mkdir -p '$dir'")
    args+=(--command-name "$name" "'$bm' -source:'$corpus/$set' -dest:'$dir' $job $extra")
  done
done
hyperfine --warmup 1 --runs "$runs" --export-json "$out/camera.json" "${args[@]}"
/usr/bin/python3 - "$out/camera.json" <<'PY'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
for name in ("plain", "o1", "o6"):
    base, kept = r[name], r[name + " kept+turned"]
    print(f"{name}: {base:.3f} s without, {kept:.3f} s with -keepmetadata -autorotate: {kept / base:.2f}x")
PY
