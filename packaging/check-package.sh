#!/usr/bin/env bash
# Builds the Debian packages from a built tree, lists them, extracts them into temporary
# roots, converts samples/ with each extracted brindlemark command, checks the icons and the
# plain `cmake --install` tree, checks that brindlemark-cli needs no GUI library, and lets
# desktop-file-validate and lintian judge them.
#   packaging/check-package.sh [build folder]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/deb" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/deb/brindlemark_*.deb)
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Section Depends
dpkg-deb --contents "$deb" | tee "$work/contents" | awk '{print $1, $2, $6, $7, $8}'

for path in usr/bin/brindlemark usr/lib/brindlemark/Brindlemark.exe usr/lib/brindlemark/Brindlemark.com \
            usr/lib/brindlemark/Brindlemark.window.so usr/lib/brindlemark/Brindlemark.html usr/share/man/man1/brindlemark.1.gz \
            usr/share/applications/brindlemark.desktop usr/share/doc/brindlemark/copyright \
            usr/share/doc/brindlemark/changelog.gz; do
  grep -q " \./$path\( \|$\)" "$work/contents" || fail "the package lacks /$path"
done
depends=$(dpkg-deb --field "$deb" Depends)
for library in libfreeimage3 libheif1 libjxl0.7 libwxgtk3.2-1 libc6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
[ "$(readlink "$root/usr/bin/brindlemark")" = ../lib/brindlemark/Brindlemark.com ] || fail "brindlemark is no relative link"
[ "$("$root/usr/bin/brindlemark" --version | head -1)" = "Brindlemark 2.9" ] || fail "--version"
"$root/usr/bin/brindlemark" --help | grep -q -- '^  -source:<file or folder>' || fail "--help"

# An extracted command converts the samples; every page succeeds and lands in out/.
converts_samples() {
  local command=$1 out=$2 status=0
  "$command" -source:"$src/samples" -dest:"$out" -mode:m -width:160 -height:120 -samedir \
    > "$out.report" || status=$?
  cat "$out.report"
  [ "$status" -eq 0 ] || fail "$command exited with $status"
  local summary converted
  summary=$(grep 'images were successfully converted' "$out.report")
  converted=${summary%% *}
  [[ "$summary" == *" 0 images failed." ]] && [ "$converted" -gt 0 ] || fail "summary: $summary"
  [ "$(find "$out" -type f | wc -l)" -eq "$converted" ] || fail "$converted pages reported, other files written"
  identify -format '%w %h\n' "$out"/*.jpg | while read -r w h; do
    [ "$w" -le 160 ] && [ "$h" -le 120 ] || fail "a result of $w x $h exceeds 160 x 120"
  done
}
converts_samples "$root/usr/bin/brindlemark" "$work/out"

# Each hicolor icon has the size of its folder (Pillow reads them).
/usr/bin/python3 - "$root/usr/share/icons/hicolor" <<'PY'
import sys
from PIL import Image
for size in (16, 32, 48, 128, 256):
    image = Image.open('%s/%dx%d/apps/brindlemark.png' % (sys.argv[1], size, size))
    assert image.size == (size, size) and image.mode == 'RGBA', (size, image.size, image.mode)
PY

# `cmake --install` lays out the same files.
cmake --install "$build" --prefix "$work/install" --strip > /dev/null
(cd "$work/install" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) > "$work/installed"
(cd "$root/usr" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) > "$work/packaged"
diff "$work/installed" "$work/packaged" || fail "cmake --install and the package differ"

desktop-file-validate "$root/usr/share/applications/brindlemark.desktop"
echo "desktop-file-validate: no complaints"
status=0
lintian --fail-on error --info "$deb" > "$work/lintian" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
echo "lintian: no errors"

# brindlemark-cli: the command line without the window. Neither its Depends nor what they
# depend on in turn name a GUI library, its program links none, and it converts the samples.
cli=$(ls "$work"/deb/brindlemark-cli_*.deb 2>/dev/null || true)
if [ -n "$cli" ]; then
  echo "== $(basename "$cli")"
  dpkg-deb --field "$cli" Package Version Architecture Section Depends Conflicts
  dpkg-deb --contents "$cli" | awk '{print $1, $2, $6, $7, $8}'
  clidepends=$(dpkg-deb --field "$cli" Depends)
  for library in libfreeimage3 libc6; do
    [[ "$clidepends" == *"$library"* ]] || fail "brindlemark-cli's Depends lacks $library: $clidepends"
  done
  gui='^(libwx|libgtk|libgdk|libx11|libxcb|libcairo|libpango|libatk|libwayland)'
  names=$(echo "$clidepends" | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | grep -v '^$')
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
            --no-replaces --no-enhances $names 2>/dev/null | grep -v '^ ' | sort -u)
  [ -n "$closure" ] || fail "apt-cache knows nothing of $names"
  if echo "$closure" | grep -E "$gui"; then fail "brindlemark-cli pulls in the GUI libraries above"; fi
  echo "brindlemark-cli: $(echo "$closure" | wc -l) packages in its Depends closure, no GUI library"
  cliroot="$work/cli-root"
  dpkg-deb -x "$cli" "$cliroot"
  for path in usr/bin/brindlemark usr/lib/brindlemark/Brindlemark.exe usr/lib/brindlemark/Brindlemark.com \
              usr/share/man/man1/brindlemark.1.gz usr/share/doc/brindlemark-cli/copyright; do
    [ -e "$cliroot/$path" ] || fail "brindlemark-cli lacks /$path"
  done
  [ ! -e "$cliroot/usr/lib/brindlemark/Brindlemark.window.so" ] || fail "brindlemark-cli ships the window"
  if ldd "$cliroot/usr/lib/brindlemark/Brindlemark.exe" | grep -E "$(echo "$gui" | tr -d '^')"; then
    fail "brindlemark-cli's program links the GUI libraries above"
  fi
  [ "$(readlink "$cliroot/usr/bin/brindlemark")" = ../lib/brindlemark/Brindlemark.com ] || fail "cli: brindlemark is no relative link"
  converts_samples "$cliroot/usr/bin/brindlemark" "$work/cli-out"
  status=0
  lintian --fail-on error --info "$cli" > "$work/cli-lintian" 2>&1 || status=$?
  grep -v '^running with root privileges' "$work/cli-lintian" || true
  [ "$status" -eq 0 ] || fail "lintian reports errors in brindlemark-cli"
  echo "brindlemark-cli: converts the samples, lintian reports no errors"
fi
echo "check-package: all checks passed"
