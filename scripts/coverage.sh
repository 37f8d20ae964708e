#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the tests with coverage counters, runs them, and prints the line and branch
# coverage of the sources (gcovr). Not part of scripts/test.sh: it is a build of its own.
# Usage: scripts/coverage.sh [BUILD_DIR] (default build-coverage); add -DGEMINO_BUILD_QT=ON
# through GEMINO_COVERAGE_CMAKE_ARGS to count the windowed layer too.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-coverage}
scripts/deps.sh gcovr
# shellcheck disable=SC2086
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Debug -DGEMINO_BUILD_TESTS=ON -DGEMINO_WERROR=ON \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage ${GEMINO_COVERAGE_CMAKE_ARGS:-}
find "$dir" -name '*.gcda' -delete
ctest --test-dir "$dir" -j "$(nproc)" >/dev/null
gcovr --root . --filter 'src/' --print-summary --exclude-unreachable-branches \
  --exclude-throw-branches -o "$dir/coverage.txt" "$dir"
echo "Per-file figures: $dir/coverage.txt"
