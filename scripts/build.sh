#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into a build folder.
# Usage: scripts/build.sh BUILD_DIR [cmake option ...] [-- build option ...]
# e.g. scripts/build.sh build-clang -DCMAKE_CXX_COMPILER=clang++ -- --target gemino-term
set -euo pipefail
dir=$1
shift
configure=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  configure+=("$1")
  shift
done
[ $# -gt 0 ] && shift
# ccache, when installed, makes the repeated builds of CI cheap.
command -v ccache >/dev/null && configure=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${configure[@]}")
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "$@"
