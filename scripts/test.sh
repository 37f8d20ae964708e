#!/usr/bin/env bash
# Installs what is missing, checks the sources (scripts/lint.sh), builds, and runs the
# whole test suite: once in a normal build, once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
# Set GEMINO_SKIP_SANITIZE=1 to skip the second pass during development,
# GEMINO_SKIP_PACKAGE=1 to skip building and checking the Debian package, and
# GEMINO_SKIP_FUZZ=1 to skip the short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
# The windowed program and its tests need Qt 6; its smoke test a virtual X display; the
# figure tests read PDFs and check SVGs and PNGs with poppler, libxml2 and ImageMagick.
scripts/deps.sh qt6-base-dev xvfb xdotool poppler-utils libxml2-utils imagemagick
# The sources in the project's format, the formats in their tables.
scripts/lint.sh
scripts/build.sh build -DGEMINO_BUILD_TESTS=ON -DGEMINO_BUILD_QT=ON -DGEMINO_BUILD_BENCH=ON -DGEMINO_WERROR=ON
ctest --test-dir build --output-on-failure -j "$(nproc)"
if [ "${GEMINO_SKIP_SANITIZE:-0}" != 1 ]; then
  scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DGEMINO_SANITIZE=ON -DGEMINO_BUILD_QT=ON -DGEMINO_WERROR=ON
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
fi
# The Debian package of the tree just tested, and its contents checked.
[ "${GEMINO_SKIP_PACKAGE:-0}" = 1 ] || scripts/package.sh build
# Every fuzz target for a short, bounded time (Clang and libFuzzer, under the sanitizers).
[ "${GEMINO_SKIP_FUZZ:-0}" = 1 ] || scripts/fuzz.sh 20
echo "All tests passed."
