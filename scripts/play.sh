#!/usr/bin/env bash
# Installs what is missing, builds the game and its demo data (not the
# tests), and runs the game from the build folder, where the build writes
# the demo data (DataDEMO/).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Karvessa needs a display to open its window, and none is set (DISPLAY is empty)." >&2
  echo "Run it from a desktop session, or over ssh -X." >&2
  exit 1
fi
bash scripts/deps.sh
# Configured once: a build folder with its cache is brought up to date by
# the build itself (cmake re-runs its configure when a CMakeLists changes).
[ -f build/CMakeCache.txt ] || bash scripts/configure.sh build
cmake --build build -j "$(nproc)" --target karvessa demo_data
cd build && exec ./main/karvessa "$@"
