#!/usr/bin/env bash
# Builds and runs every test (folder build).
# With --sanitize, clang builds the project in build-asan with
# AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's coverage, and
# every test but the fuzz targets runs there. With --fuzz, the file readers'
# libFuzzer targets of that same build (built first if they are not) each run
# for their bounded time (tests/fuzz/README.md). Without clang, --sanitize
# builds with gcc and runs every test, the fuzz targets under the mutation
# driver, and --fuzz has nothing to run.
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

mode=${1:-}
if [ "$mode" != "--sanitize" ] && [ "$mode" != "--fuzz" ]; then
  bash scripts/build.sh build
  run ctest --test-dir build --no-tests=error --output-on-failure -j "$(nproc)" --timeout 600
  exit 0
fi

dir=build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The runtime's own defaults (the tracer's crash at exit among them) are
# built into every program of the sanitizer build:
# tools/sanitizer/RuntimeDefaults.cpp.

if ! command -v clang++ > /dev/null || ! command -v clang > /dev/null; then
  echo "clang is not installed: the sanitizers are gcc's, and the fuzz targets run only under the mutation driver"
  [ "$mode" = "--fuzz" ] && exit 0
  bash scripts/build.sh "$dir" -DKARVESSA_SANITIZE=ON -DKARVESSA_FUZZ=OFF -DKARVESSA_BENCH=OFF
  run ctest --test-dir "$dir" --no-tests=error --output-on-failure -j "$(nproc)" --timeout 600
  exit 0
fi

# A folder another compiler configured is configured afresh for clang.
cache=$dir/CMakeCache.txt
if [ -f "$cache" ] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' "$cache"; then
  echo "$dir was configured with another compiler: configuring it again with clang"
  rm -rf "$cache" "$dir/CMakeFiles"
fi
CC=clang CXX=clang++ bash scripts/configure.sh "$dir" -DKARVESSA_SANITIZE=ON -DKARVESSA_FUZZ=ON -DKARVESSA_BENCH=OFF
if [ "$mode" = "--sanitize" ]; then
  cmake --build "$dir" -j "$(nproc)"
  run ctest --test-dir "$dir" --no-tests=error --output-on-failure -j "$(nproc)" --timeout 600 -LE fuzz
else
  cmake --build "$dir" -j "$(nproc)" --target karvessa_fuzz
  ctest --test-dir "$dir" -L fuzz --no-tests=error --output-on-failure -j "$(nproc)"
fi
