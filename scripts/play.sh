#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game from the build folder,
# where the build writes the demo data (DataDEMO/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
cd build && exec ./main/karvessa
