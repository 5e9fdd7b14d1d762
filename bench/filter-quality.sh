#!/usr/bin/env bash
# How close each tool's reduction of a photo is to Pillow's Lanczos reduction of it: PSNR and
# SSIM (on the grey of each picture) for Brindlemark.exe with the box and the Lanczos filter,
# ImageMagick, GraphicsMagick and vipsthumbnail at their default filters, all written as PNG.
#
#   bench/filter-quality.sh PHOTO [WIDTHxHEIGHT] [--build DIR] [--baseline DIR]
#
#   WIDTHxHEIGHT  the box the photo is fitted into (default 1024x768, job a of run-bench.sh)
#   --build D     the build folder with bin/Brindlemark.exe (default build)
#   --baseline D  also an earlier build's Brindlemark.exe, box filter
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
photo=${1:?photo}
shift
box=1024x768
build=$root/build
baseline=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift ;;
    --baseline) baseline=$2; shift ;;
    *x*) box=$1 ;;
    *) sed -n '2,10p' "$0"; exit 2 ;;
  esac
  shift
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
w=${box%x*} h=${box#*x}
name=$(basename "${photo%.*}")
us() {  # label, build folder, options
  mkdir -p "$out/$1"
  "$2/bin/Brindlemark.exe" "-source:$photo" "-dest:$out/$1" -mode:m "-width:$w" "-height:$h" \
    -ext:png "${@:3}" >/dev/null
  mv "$out/$1/$name.png" "$out/$1.png"
}
us box "$build"
us lanczos "$build" -filter:lanczos
[ -n "$baseline" ] && us baseline-box "$baseline"
convert "$photo" -resize "${box}" "$out/imagemagick.png"
gm convert "$photo" -resize "${box}" "$out/graphicsmagick.png"
vipsthumbnail "$photo" -s "$box" -o "$out/vipsthumbnail.png"
/usr/bin/python3 - "$photo" "$out" <<'EOF'
import sys, os
import numpy as np
from PIL import Image
photo, out = sys.argv[1], sys.argv[2]
src = Image.open(photo).convert('RGB')
def grey(im): return np.asarray(im.convert('L'), dtype=np.float64)
def blur(a, r=5):  # an 11 x 11 box, as a stand-in for SSIM's local window
    k = np.ones(2 * r + 1) / (2 * r + 1)
    a = np.apply_along_axis(lambda v: np.convolve(v, k, 'valid'), 0, a)
    return np.apply_along_axis(lambda v: np.convolve(v, k, 'valid'), 1, a)
def ssim(x, y):
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    mx, my = blur(x), blur(y)
    vx, vy, cxy = blur(x * x) - mx * mx, blur(y * y) - my * my, blur(x * y) - mx * my
    return np.mean((2 * mx * my + c1) * (2 * cxy + c2) / ((mx * mx + my * my + c1) * (vx + vy + c2)))
print('| Tool | Size | PSNR vs Pillow LANCZOS | SSIM |')
print('|---|---|---:|---:|')
for label in ('baseline-box', 'box', 'lanczos', 'imagemagick', 'graphicsmagick', 'vipsthumbnail'):
    path = os.path.join(out, label + '.png')
    if not os.path.exists(path):
        continue
    im = Image.open(path).convert('RGB')
    ref = grey(src.resize(im.size, Image.LANCZOS))
    a = grey(im)
    mse = np.mean((a - ref) ** 2)
    psnr = 99 if mse == 0 else 10 * np.log10(255 ** 2 / mse)
    print('| %s | %dx%d | %.1f dB | %.4f |' % (label, im.size[0], im.size[1], psnr, ssim(a, ref)))
EOF
