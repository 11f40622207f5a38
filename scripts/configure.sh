#!/usr/bin/env bash
# Configures a build folder: configure.sh <folder> [cmake options...]
# A new folder is made for Ninja when it is installed (a build with nothing
# to do then ends at once), else for Makefiles, unless CMAKE_GENERATOR
# names one; a folder that exists keeps the generator it was made with
# (cmake refuses another).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
generator=()
if [ ! -f "$dir/CMakeCache.txt" ] && [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja > /dev/null; then
  generator=(-G Ninja)
fi
cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
