#!/usr/bin/env bash
# Installs what is missing, builds the terminal program and inverts the bundled example.
# The report is written to example-report.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DGEMINO_BUILD_TESTS=OFF
cp examples/params.txt examples/data.txt build/
cd build
printf '\nparams.txt\ndata.txt\nexample-report.txt\n' | ./apps/gemino-term
cp example-report.txt ../example-report.txt
echo
echo "Report written to example-report.txt"
