#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the sources (scripts/lint.sh), builds, and runs the
# whole test suite: once in a normal build, once more under AddressSanitizer and
# UndefinedBehaviorSanitizer. Warnings are errors in every build. A Release build (the
# terminal program and the tests without Qt) and a Clang -O3 -march=native build of the
# terminal program follow; both must give the bundled example's report byte for byte (a
# lost -ffp-contract=off would not).
# Set GEMINO_SKIP_SANITIZE=1 to skip the sanitizer pass during development,
# GEMINO_SKIP_RELEASE=1 and GEMINO_SKIP_CLANG=1 to skip those builds,
# GEMINO_SKIP_PACKAGE=1 to skip building and checking the Debian package, and
# GEMINO_SKIP_FUZZ=1 to skip the short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
# The windowed program and its tests need Qt 6; its smoke test a virtual X display; the
# figure tests read PDFs and check SVGs and PNGs with poppler, libxml2 and ImageMagick.
scripts/deps.sh qt6-base-dev xvfb xdotool xclip poppler-utils libxml2-utils imagemagick
# The sources in the project's format, the formats in their tables.
scripts/lint.sh
scripts/build.sh build --preset ci
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The bundled example's report from the terminal program $1 must be the golden one.
check_example() {
  local run
  run=$(mktemp -d)
  cp examples/params.txt examples/data.txt "$run/"
  (cd "$run" && printf '\nparams.txt\ndata.txt\nreport.txt\n' | "$1" >/dev/null)
  cmp "$run/report.txt" tests/data/example-report.txt
  rm -rf "$run"
}
if [ "${GEMINO_SKIP_RELEASE:-0}" != 1 ]; then
  scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DGEMINO_BUILD_TESTS=ON -DGEMINO_WERROR=ON
  check_example "$PWD/build-release/apps/gemino-term"
fi
if [ "${GEMINO_SKIP_CLANG:-0}" != 1 ]; then
  scripts/deps.sh clang
  scripts/build.sh build-clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="-O3 -march=native" -DGEMINO_BUILD_TESTS=OFF -DGEMINO_WERROR=ON \
    -- --target gemino-term
  check_example "$PWD/build-clang/apps/gemino-term"
fi
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
