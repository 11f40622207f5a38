#!/usr/bin/env bash
# Builds and runs every test. With --sanitize, the build and the run use
# AddressSanitizer and UndefinedBehaviorSanitizer (folder build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

dir=build
opts=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DKARVESSA_SANITIZE=ON -DKARVESSA_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
bash scripts/build.sh "$dir" "${opts[@]}"

run() {
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run > /dev/null; then
    xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  else
    "$@"
  fi
}
run ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 600
