#!/usr/bin/env bash
# The timedemo (bench/Timedemo.cpp): the game on Level8 in an 800x600 window
# under Xvfb on Mesa llvmpipe, 120 warm-up and 1,800 measured frames; then
# the same route headless under callgrind, twice, counting the instructions
# of frames 121-720, with the spread of the two counts and the ten costliest
# functions by inclusive count.
#   bash scripts/timedemo.sh [--short] [BUILD_FOLDER]
# --short is the quick run the tests make: 200 frames, callgrind over 60.
set -euo pipefail
cd "$(dirname "$0")/.."

short=0
if [ "${1:-}" = "--short" ]; then
  short=1
  shift
fi
build=${1:-build}
demo=$build/bench/timedemo
if [ ! -x "$demo" ]; then
  cmake --build "$build" -j3 --target timedemo
fi

if [ $short = 1 ]; then
  warmup=120 frames=80 first=121 last=180 runs=1
else
  warmup=120 frames=1800 first=121 last=720 runs=2
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Mesa's software rasteriser, whatever else the machine has.
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe

echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

# 1. The window: wall times with the device's work finished.
window=("$demo" --warmup "$warmup" --frames "$frames")
status=0
if [ -n "${DISPLAY:-}" ]; then
  "${window[@]}" || status=$?
elif command -v xvfb-run > /dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "${window[@]}" || status=$?
else
  echo "no display and no xvfb-run: the window run is left out"
  status=77
fi
if [ $status -ne 0 ] && [ $status -ne 77 ]; then
  echo "timedemo: the window run failed ($status)"
  exit $status
fi

# 2. The instruction count, headless under callgrind (main thread only). The
#    headless run mixes its sound on the main thread as far as the scripted
#    clock moved, so the count does not follow the machine's load.
if ! command -v valgrind > /dev/null; then
  echo "valgrind is not installed (scripts/deps.sh installs it): no instruction count"
  exit 1
fi
counts=()
for run in $(seq 1 $runs); do
  valgrind --tool=callgrind --instr-atstart=no --separate-threads=yes \
    --callgrind-out-file="$out/callgrind.$run" \
    "$demo" --headless --warmup "$warmup" --frames $((last - warmup)) --instrument "$first-$last" \
    > "$out/run$run.txt" 2> "$out/valgrind$run.txt" || {
    echo "timedemo: the callgrind run failed"
    tail -20 "$out/valgrind$run.txt"
    exit 1
  }
  main=$out/callgrind.$run-01
  count=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$main")
  counts+=("$count")
  echo "callgrind run $run: $count instructions in frames $first-$last (main thread)"
done
if [ $runs -gt 1 ]; then
  awk -v a="${counts[0]}" -v b="${counts[1]}" 'BEGIN {
    d = a - b; if (d < 0) d = -d;
    printf "callgrind spread over two runs: %.4f %%\n", 100 * d / ((a + b) / 2) }'
  echo "ten costliest functions by inclusive count (run 1):"
  # One line per function (inlined copies are listed again under their
  # source file), the timedemo's own frame loop left out. awk reads the
  # list to its end: a reader that stopped after ten lines would kill the
  # writers with SIGPIPE, and pipefail would fail the whole run for it.
  callgrind_annotate --inclusive=yes --threshold=100 "$out/callgrind.1-01" 2> /dev/null |
    sed -n '/Ir .*file:function/,$p' | tail -n +3 |
    awk '{ count = $1; $1 = ""; $2 = ""; sub(/^ +/, ""); sub(/ \[.*\]$/, "");
           name = $0; sub(/^[^:]*:/, "", name);
           if (shown == 10 || name == "main" || name ~ /^\(anonymous namespace\)::Timedemo::/ || seen[name]++) next;
           print "  " count "  " name; ++shown }'
fi
