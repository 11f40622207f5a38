#!/usr/bin/env bash
# Configures and builds into a build folder: build.sh [folder] [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
bash scripts/configure.sh "$dir" "$@"
cmake --build "$dir" -j "$(nproc)"
