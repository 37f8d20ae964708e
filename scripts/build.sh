#!/usr/bin/env bash
# Configures and builds into a build folder.
# Usage: scripts/build.sh BUILD_DIR [cmake option ...]
set -euo pipefail
dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
