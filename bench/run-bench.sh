#!/usr/bin/env bash
# Times Brindlemark.exe against the command-line peers and the FreeImage floor on four jobs,
# side by side in one hyperfine run per job, checks every tool's outputs and prints a table.
#
#   bench/run-bench.sh [--quick] [--jpegs N] [--runs N] [--default-peers-only] [--jobs abcd]
#                      [--build DIR] [--out DIR] [--lanczos] [--baseline DIR]
#
#   --quick    a smoke test: 4 small JPEGs, a small mixed folder, one timed run
#   --jpegs N  photo-like JPEGs of about 6 MP in the corpus (default 24)
#   --runs N   timed runs per command after one warm-up run (default 3)
#   --default-peers-only  time the peers only at their default threads
#   --jobs S   which of the jobs a, b, c, d to run (default abcd)
#   --build D  the build folder with bin/Brindlemark.exe and bin/FreeImageFloor (default build)
#   --out D    where the outputs, the hyperfine exports and the table go
#              (default /tmp/brindlemark-bench)
#   --lanczos  also time -filter:lanczos (threads 1 and default) on the resizing jobs a and c
#   --baseline D  also time D/bin/Brindlemark.exe with -threads:1, an earlier build to compare
# The corpus is made once per size under $BM_BENCH_CORPUS (default /tmp/brindlemark-bench-corpus).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

quick=0 peers_1t=1 jpegs=24 runs=3 jobs=abcd build=$root/build out=/tmp/brindlemark-bench
lanczos=0 baseline=""
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --jpegs) jpegs=$2; shift ;;
    --runs) runs=$2; shift ;;
    --default-peers-only) peers_1t=0 ;;
    --jobs) jobs=$2; shift ;;
    --build) build=$2; shift ;;
    --out) out=$2; shift ;;
    --lanczos) lanczos=1 ;;
    --baseline) baseline=$2; shift ;;
    *) sed -n '2,17p' "$0"; exit 2 ;;
  esac
  shift
done

bm=$build/bin/Brindlemark.exe
floor=$build/bin/FreeImageFloor
for p in "$bm" "$floor" ${baseline:+"$baseline/bin/Brindlemark.exe"}; do
  [ -x "$p" ] || { echo "missing $p: build it first (cmake --build $build -j2)" >&2; exit 2; }
done
for t in hyperfine mogrify gm vips vipsthumbnail vipsheader /usr/bin/python3; do
  command -v "$t" >/dev/null || { echo "missing $t" >&2; exit 2; }
done

# --- corpus ------------------------------------------------------------------------------
if [ $quick = 1 ]; then
  corpus_args=(--jpegs 4 --mp 1.5 --mixed-mp 0.5 --no-linearity)
  runs=1
else
  corpus_args=(--jpegs "$jpegs" --no-linearity)
fi
corpus=${BM_BENCH_CORPUS:-/tmp/brindlemark-bench-corpus}/$(echo "${corpus_args[*]}" | tr -c 'a-z0-9.\n' '_')
stamp="$(md5sum "$here/make-corpus.py" | cut -d' ' -f1) ${corpus_args[*]}"
if [ "$(cat "$corpus/.made" 2>/dev/null)" != "$stamp" ]; then
  echo "making the corpus in $corpus ..."
  rm -rf "$corpus"
  /usr/bin/python3 "$here/make-corpus.py" "$corpus" "${corpus_args[@]}"
  echo "$stamp" >"$corpus/.made"
fi
jpeg=$corpus/jpeg
mixed=$corpus/mixed

rm -rf "$out"
mkdir -p "$out"
q() { printf '%q' "$1"; }

# Job b takes GIF frames only when this build reads them: a build that finds no frame in a
# GIF is measured, with every peer, on the mixed folder without its GIFs.
b_note=""
probe=$(mktemp -d)
"$bm" "-source:$(ls "$mixed"/*.gif | head -1)" "-dest:$probe" -mode:n -ext:png >/dev/null || true
if [ -z "$(ls -A "$probe")" ]; then
  b_note="without GIFs: this build of Brindlemark.exe reads no GIF frames"
  nogif=$corpus/mixed-nogif
  rm -rf "$nogif"
  mkdir -p "$nogif"
  for f in "$mixed"/*; do case "$f" in *.gif) ;; *) ln "$f" "$nogif/" ;; esac; done
  mixed=$nogif
  echo "job b: $b_note"
fi
rm -rf "$probe"

pages() {  # pages or frames of a file, 1 for single-page formats
  vipsheader -f n-pages "$1" 2>/dev/null || echo 1
}

# --- the commands of each tool, by job: $1 source folder, $2 output folder ----------------
us_cmd() {
  case "$job" in
    a) opts="-mode:m -width:1024 -height:768 -jpegquality:90 -ext:jpg" ;;
    b) opts="-mode:n -ext:png" ;;
    c) opts="-mode:m -width:800 -height:600 -ext:gif -bpp:8" ;;
    d) opts="-mode:n -ext:jpg -bpp:8 -jpegquality:90" ;;
  esac
  echo "$(q "$bm") -source:$(q "$1") -dest:$(q "$2") $opts${3:+ -threads:$3}"
}
us1_cmd() { us_cmd "$1" "$2" 1; }
lanczos1_cmd() { echo "$(us_cmd "$1" "$2" 1) -filter:lanczos"; }
lanczos_cmd() { echo "$(us_cmd "$1" "$2") -filter:lanczos"; }
baseline_cmd() { us_cmd "$1" "$2" 1 | sed "s|^$(q "$bm")|$(q "$baseline/bin/Brindlemark.exe")|"; }
floor_cmd() { echo "$(q "$floor") $job $(q "$1") $(q "$2")"; }
magick_cmd() {
  case "$job" in
    a) echo "mogrify -path $(q "$2") -resize 1024x768 -quality 90 -format jpg $(q "$1")/*.jpg" ;;
    b) echo "mogrify -path $(q "$2") -format png $(q "$1")/*" ;;
    c) echo "mogrify -path $(q "$2") -resize 800x600 -colors 256 -format gif $(q "$1")/*.jpg" ;;
    d) echo "mogrify -path $(q "$2") -colorspace Gray -quality 90 -format jpg $(q "$1")/*.jpg" ;;
  esac
}
gm_cmd() {
  local c="cd $(q "$1") && gm mogrify -output-directory $(q "$2")"
  case "$job" in
    a) echo "$c -resize 1024x768 -quality 90 -format jpg *.jpg" ;;
    c) echo "$c -resize 800x600 -colors 256 -format gif *.jpg" ;;
    d) echo "$c -colorspace Gray -quality 90 -format jpg *.jpg" ;;
    b)  # gm mogrify writes only the first page of a document: pages go through gm convert
      local single="" multi=""
      for f in "$1"/*; do
        n=$(basename "$f")
        if [ "$(pages "$f")" -gt 1 ]; then
          multi+=" && gm convert $(q "$n") +adjoin $(q "$2/${n%.*}")-%d.png"
        else
          single+=" $(q "$n")"
        fi
      done
      echo "$c -format png$single$multi" ;;
  esac
}
vips_cmd() {
  case "$job" in
    a) echo "vipsthumbnail $(q "$1")/*.jpg -s 1024x768 -o $(q "$2/%s.jpg[Q=90]")" ;;
    c) echo "vipsthumbnail $(q "$1")/*.jpg -s 800x600 -o $(q "$2/%s.gif")" ;;
    d) echo "for f in $(q "$1")/*.jpg; do b=\${f##*/}; vips colourspace \"\$f\" $(q "$2")/\"\${b%.jpg}.jpg[Q=90]\" b-w; done" ;;
    b)
      local c="true"
      for f in "$1"/*; do
        n=$(basename "$f")
        k=$(pages "$f")
        if [ "$k" -gt 1 ]; then
          for ((i = 0; i < k; i++)); do c+=" && vips copy $(q "$f[page=$i]") $(q "$2/${n%.*}-$i.png")"; done
        else
          c+=" && vips copy $(q "$f") $(q "$2/${n%.*}.png")"
        fi
      done
      echo "$c" ;;
  esac
}

one_thread="export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 VIPS_CONCURRENCY=1;"
all_threads="unset MAGICK_THREAD_LIMIT OMP_NUM_THREADS VIPS_CONCURRENCY;"
# name, command maker, thread setting. Brindlemark.exe runs with -threads:1 and with its
# default workers, the single-threaded floor once; the peers run pinned to one thread and
# with their defaults (--default-peers-only leaves out the pinned peers).
tools=(
  "brindlemark us1_cmd one_thread"
  "brindlemark-mt us_cmd all_threads"
  "floor floor_cmd one_thread"
)
[ "$peers_1t" = 1 ] && tools+=(
  "magick-1t magick_cmd one_thread"
  "gm-1t gm_cmd one_thread"
  "vips-1t vips_cmd one_thread"
)
tools+=(
  "magick magick_cmd all_threads"
  "gm gm_cmd all_threads"
  "vips vips_cmd all_threads"
)

started=$SECONDS
for job in $(echo "$jobs" | grep -o '[abcd]'); do
  src=$jpeg
  note=""
  if [ "$job" = b ]; then src=$mixed; note=$b_note; fi
  if [ "$job" = b ]; then
    images=0
    for f in "$src"/*; do images=$((images + $(pages "$f"))); done
  else
    images=$(ls "$src"/*.jpg | wc -l)
  fi
  job_tools=("${tools[@]}")
  if [ "$lanczos" = 1 ] && [ "$job" = a -o "$job" = c ]; then
    job_tools+=("brindlemark-lanczos lanczos1_cmd one_thread" "brindlemark-lanczos-mt lanczos_cmd all_threads")
  fi
  [ -n "$baseline" ] && job_tools+=("baseline baseline_cmd one_thread")
  args=()
  for t in "${job_tools[@]}"; do
    read -r name maker threads <<<"$t"
    dir=$out/out/$job/$name
    args+=(--prepare "rm -rf $(q "$dir") && mkdir -p $(q "$dir")")
    args+=(--command-name "$name" "${!threads} $($maker "$src" "$dir")")
  done
  echo "=== job $job: $images pictures, $((SECONDS - started)) s so far"
  hyperfine --warmup 1 --runs "$runs" --export-json "$out/job-$job.json" "${args[@]}"
  # The last timed run's outputs are still in place: judge them.
  wrong="{}"
  for t in "${job_tools[@]}"; do
    read -r name _ _ <<<"$t"
    if ! why=$(/usr/bin/python3 "$here/check-outputs.py" "$job" "$src" "$out/out/$job/$name"); then
      echo "job $job: $name refused: $why"
      wrong=$(/usr/bin/python3 -c 'import json,sys; d=json.loads(sys.argv[1]); d[sys.argv[2]]=sys.argv[3].splitlines()[0]; print(json.dumps(d))' "$wrong" "$name" "$why")
    fi
  done
  /usr/bin/python3 -c 'import json,sys; print(json.dumps({"job": sys.argv[1], "images": int(sys.argv[2]), "wrong": json.loads(sys.argv[3]), "note": sys.argv[4]}))' \
    "$job" "$images" "$wrong" "$note" >"$out/job-$job.meta.json"
done

echo "=== done in $((SECONDS - started)) s; corpus $corpus; $(nproc) cores; $(date -u '+%Y-%m-%d %H:%M UTC')"
/usr/bin/python3 "$here/bench-table.py" "$out" | tee "$out/table.md"
