#!/bin/sh
# Fails, naming the files, when a C++ source of the project differs from .clang-format.
# Usage: check-format.sh <source folder>. Exits 77 (skipped) without clang-format.
root=${1:?usage: check-format.sh <source folder>}
command -v clang-format >/dev/null 2>&1 || { echo "clang-format is not installed"; exit 77; }
cd "$root" || exit 2
bad=$(find Src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort | while read -r f; do
  clang-format --style=file "$f" | cmp -s - "$f" || echo "$f"
done)
[ -z "$bad" ] && exit 0
echo "Not formatted (run clang-format -i on them):"
echo "$bad"
exit 1
