#!/usr/bin/env bash
# Builds and runs every test. With --sanitize, the build and the run use
# AddressSanitizer and UndefinedBehaviorSanitizer (folder build-asan).
# With --fuzz, clang builds the file readers' libFuzzer targets (folder
# build-fuzz) and runs each for its bounded time (tests/fuzz/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

run() {
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run > /dev/null; then
    xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  else
    "$@"
  fi
}

if [ "${1:-}" = "--fuzz" ]; then
  if ! command -v clang++ > /dev/null || ! command -v clang > /dev/null; then
    echo "clang is not installed: the fuzz targets ran only under the mutation driver"
    exit 0
  fi
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVESSA_FUZZ=ON \
    -DKARVESSA_BENCH=OFF > /dev/null
  cmake --build build-fuzz -j "$(nproc)" --target karvessa_fuzz
  ctest --test-dir build-fuzz -L fuzz --output-on-failure -j "$(nproc)"
  exit 0
fi

dir=build
opts=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DKARVESSA_SANITIZE=ON -DKARVESSA_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Mesa's software renderer draws on the calling thread alone: the leak
  # checker stops every thread at exit, and a pool of rasterizer threads
  # winding down then has made its tracer crash now and then.
  export LP_NUM_THREADS=0
fi
bash scripts/build.sh "$dir" "${opts[@]}"
run ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 600
