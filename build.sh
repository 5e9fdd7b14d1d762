#!/usr/bin/env bash
# Set-up, build and the two main jobs of the project.
#   ./build.sh run   install what is missing, build (Release), convert the sample pictures
#   ./build.sh test  install what is missing, build (Release), run the whole test suite, build
#                    and check the Debian package
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake pkg-config
  libfreeimage-dev                        # every non-GIF format but the next two
  libheif-dev libjxl-dev                  # HEIC and AVIF (libheif), JPEG XL (libjxl)
  libwxgtk3.2-dev libx11-dev              # the windowed program (Xlib: display loss)
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils                    # headless GUI tests
  python3 python3-pil python3-numpy giflib-tools imagemagick   # independent image decoders and judges for the tests
  libimage-exiftool-perl                  # exiftool: reads back camera data and orientation
  libheif-examples libjxl-tools webp      # heif-enc/heif-convert, cjxl/djxl, cwebp/dwebp: the formats' own tools
  lintian desktop-file-utils groff-base   # judges of the Debian package, its desktop entry and manual page
  parallel                                # GNU parallel: the many-machines recipe and its test
  clang-format                            # the code format check
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() {
  local werror=OFF
  [ "${CI:-}" = "true" ] && werror=ON
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBM_WERROR=$werror
  cmake --build build -j"$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    build
    out="${2:-/tmp/brindlemark-samples-out}"
    rm -rf "$out"
    build/bin/Brindlemark.exe -source:samples -dest:"$out" -mode:m -width:320 -height:240 \
      -jpegquality:better -samedir
    ;;
  test)
    install_missing
    build
    (cd build && ctest --output-on-failure -j"$(nproc)")
    # The .deb: built, listed, extracted and run on samples/, judged by lintian.
    packaging/check-package.sh build
    # The same suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
    san="-fsanitize=address,undefined -fno-omit-frame-pointer"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBM_BUILD_GUI=OFF -DBM_BUILD_BENCH=OFF \
      -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build build-asan -j"$(nproc)"
    cd build-asan && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
      LSAN_OPTIONS=suppressions="$PWD/../tests/lsan-suppressions.txt" \
      UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      ctest --output-on-failure -j"$(nproc)" -E 'RunCommandLineMemory'  # peak RSS measures the sanitizer's allocator
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
