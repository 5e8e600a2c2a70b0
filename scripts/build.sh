#!/usr/bin/env bash
# Configures and builds QZ in build/ (incremental after the first time).
#   scripts/build.sh [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${QZ_BUILD_DIR:-$here/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ $# -gt 0 ]; then
  cmake "$build" "$@"
fi
cmake --build "$build" -j "$(nproc)"
