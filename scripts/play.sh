#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
if [ -x build/main/karvessa ]; then
  cd build && exec ./main/karvessa
else
  echo "Built the engine and its tests; the game program is not part of the build yet."
fi
